#include "link_label.h"

#include "notice.h"
#include "platform/desktop/bgr_color.h"

#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>

namespace kst {

LinkLabel::LinkLabel(QLabel* label) : QObject(label), label_(label) {
    label->setCursor(Qt::PointingHandCursor);
    // Moves without a button down bring the hover look back after a click.
    label->setMouseTracking(true);
    label->installEventFilter(this);
}

bool LinkLabel::inside(QEvent* event) const {
    return label_->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
}

bool LinkLabel::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        if (!hover_)
            SetLinkState(true, pressed_);
        break;
    case QEvent::Leave:
        if (hover_)
            SetLinkState(false, pressed_);
        break;
    case QEvent::MouseMove:
        // Also while a button held on the label keeps the mouse: leaving it then ends the
        // hover look, coming back restores it.
        if (inside(event) != hover_)
            SetLinkState(!hover_, pressed_);
        break;
    case QEvent::MouseButtonPress:
        secondPress_ = false;
        SetLinkState(inside(event), true);
        break;
    case QEvent::MouseButtonDblClick:
        secondPress_ = true;
        SetLinkState(inside(event), true);
        break;
    case QEvent::MouseButtonRelease: {
        const bool over = inside(event);
        const bool open =
            over && !secondPress_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        secondPress_ = false;
        if (open)
            OpenLink(linkPath_);
        // Every release ends in the normal look, until the mouse moves over the label again.
        SetLinkState(false, false);
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void LinkLabel::SetLinkState(bool hover, bool pressed) {
    hover_ = hover;
    pressed_ = pressed;
    if (hoverUnderline_ || hoverBold_) {
        QFont font = label_->font();
        if (hoverUnderline_)
            font.setUnderline(hover);
        if (hoverBold_)
            font.setBold(hover);
        label_->setFont(font);
    }
    if (hover)
        emit MouseOverLink();
    else
        emit MouseOffLink();
    const quint32 color = !hover ? normalColor_ : pressed ? pressedColor_ : hoverColor_;
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, colorFromBgr(color));
    label_->setPalette(palette);
}

void LinkLabel::OpenLink(const QString& path) {
    QString reason;
    if (path.isEmpty())
        reason = QStringLiteral("No link is set.");
    else if (!Platform::shell().open(path))
        reason = QStringLiteral("No program on this computer opens it.");
    else
        return;
    Notice{QStringLiteral("Error Opening Link to ") + path + QStringLiteral("\n\n") + reason,
           MsgIcon::None, QStringLiteral("Execute Link Error")}
        .show();
}

} // namespace kst
