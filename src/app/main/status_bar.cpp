#include "app/main/status_bar.h"

#include "app/main/keyboard_locks.h"
#include "app/main/pictures.h"
#include "platform/services.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <algorithm>

namespace kst {

namespace {

// A panel asks for its nominal width. The panels the program writes never give way
// below the width of their text, so a narrow window does not clip what the port is
// doing; the panels the bar keeps itself (lock keys, date, time) give way first.
class PanelFrame : public QFrame {
public:
    PanelFrame(QWidget* parent, int nominalWidth, bool keepText)
        : QFrame(parent), nominal_(nominalWidth), keepText_(keepText) {}
    void setParts(QLabel* picture, QLabel* text) {
        picture_ = picture;
        text_ = text;
    }

    // The text is sized here rather than by the layout: a label the layout sizes asks the
    // whole bar to be laid out and repainted whenever its text changes, which a busy line
    // does twice a block. Fixed to the room the panel leaves it, it repaints only itself.
    void fitText() {
        if (!text_)
            return;
        const QMargins margins = layout()->contentsMargins();
        int width = contentsRect().width() - margins.left() - margins.right();
        if (picture_)
            width -= picture_->width() + layout()->spacing();
        text_->setFixedSize(qMax(0, width), qMax(0, contentsRect().height()));
    }

    QSize sizeHint() const override {
        return {std::max(nominal_, minimumSizeHint().width()), QFrame::sizeHint().height()};
    }
    QSize minimumSizeHint() const override {
        const int height = QFrame::minimumSizeHint().height();
        if (!keepText_ || !text_)
            return {16, height};
        // The frame, the margins and the picture, plus the text at its full width.
        const QMargins margins = layout()->contentsMargins();
        int width = 2 * frameWidth() + margins.left() + margins.right() +
                    text_->fontMetrics().horizontalAdvance(text_->text()) + 2;
        if (picture_)
            width += picture_->width() + layout()->spacing();
        return {width, height};
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QFrame::resizeEvent(event);
        fitText();
    }

private:
    int nominal_;
    bool keepText_;
    QLabel* picture_ = nullptr;
    QLabel* text_ = nullptr;
};

// The panels in their order: key, nominal width in pixels, stretch, whether it shows a
// picture, and whether the program writes it (its text then keeps its full width).
struct PanelDef {
    const char* key;
    int nominalWidth;
    int stretch;
    bool withPicture;
    bool keepText;
};
constexpr PanelDef Panels[] = {
    {"Status", 134, 0, false, true},    {"Ball", 116, 0, true, true},
    {"Setting", 260, 1, false, true},   {"AutoResp", 130, 0, false, true},
    {"capStatus", 40, 0, false, false}, {"numStatus", 40, 0, false, false},
    {"Date", 80, 0, false, false},      {"Time", 64, 0, false, false},
};

} // namespace

PanelStatusBar::PanelStatusBar(QWidget* parent) : QStatusBar(parent), clock_(new QTimer(this)) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    for (const PanelDef& panel : Panels)
        addPanel(QString::fromLatin1(panel.key), panel.nominalWidth, panel.stretch,
                 panel.withPicture, panel.keepText);
    setPanelText(QStringLiteral("capStatus"), QStringLiteral("CAPS"));
    setPanelText(QStringLiteral("numStatus"), QStringLiteral("NUM"));

    clock_->setObjectName(QStringLiteral("StatusBarClock"));
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &PanelStatusBar::refreshAutomaticPanels);
    clock_->start();
    refreshAutomaticPanels();
}

const QStringList& PanelStatusBar::panelKeys() {
    static const QStringList keys = [] {
        QStringList all;
        for (const PanelDef& panel : Panels)
            all << QString::fromLatin1(panel.key);
        return all;
    }();
    return keys;
}

void PanelStatusBar::addPanel(const QString& key, int nominalWidth, int stretch, bool withPicture,
                              bool keepText) {
    Panel panel;
    auto* frame = new PanelFrame(this, nominalWidth, keepText);
    frame->setObjectName(key);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    auto* layout = new QHBoxLayout(frame);
    // The bar decides the panel's width; the fixed-size text must not hold it.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(3, 0, 3, 0);
    layout->setSpacing(3);
    if (withPicture) {
        panel.picture = new QLabel(frame);
        panel.picture->setFixedSize(16, 16);
        layout->addWidget(panel.picture);
    }
    panel.text = new QLabel(frame);
    layout->addWidget(panel.text, 1);
    frame->setParts(panel.picture, panel.text);
    panel.frame = frame;
    addWidget(frame, stretch);
    panels_.insert(key, panel);
}

QString PanelStatusBar::panelText(const QString& key) const {
    const auto it = panels_.constFind(key);
    return it == panels_.constEnd() ? QString() : it->text->text();
}

// A busy line sets the same text many times a second, and switches between two texts
// with every block: only a text longer than its panel asks the bar to be laid out again.
void PanelStatusBar::setPanelText(const QString& key, const QString& text) {
    const auto it = panels_.constFind(key);
    if (it != panels_.constEnd() && it->text->text() != text) {
        it->text->setText(text);
        // A longer text asks the bar for the room it needs; one that fits asks nothing.
        if (it->text->fontMetrics().horizontalAdvance(text) >= it->text->width())
            it->frame->updateGeometry();
    }
}

int PanelStatusBar::panelPicture(const QString& key) const {
    return panels_.value(key).pictureIndex;
}

void PanelStatusBar::setPanelPicture(const QString& key, int picture) {
    auto it = panels_.find(key);
    if (it == panels_.end() || !it->picture || it->pictureIndex == picture)
        return;
    it->pictureIndex = picture;
    it->picture->setPixmap(pictures::statusImage(picture));
}

void PanelStatusBar::showPortState(PortBall picture, const QString& text) {
    const QString ball = QStringLiteral("Ball");
    setPanelPicture(ball, static_cast<int>(picture));
    setPanelText(ball, text);
}

void PanelStatusBar::refreshAutomaticPanels() {
    const QDateTime now = Platform::clock().now();
    const QLocale locale;
    setPanelText(QStringLiteral("Date"), locale.toString(now.date(), QLocale::ShortFormat));
    setPanelText(QStringLiteral("Time"), locale.toString(now.time(), QLocale::ShortFormat));
    const std::optional<KeyboardLocks> locks = keyboardLocks();
    // Where the lock keys cannot be read the indicators stay greyed.
    panels_[QStringLiteral("capStatus")].text->setEnabled(locks && locks->capsLock);
    panels_[QStringLiteral("numStatus")].text->setEnabled(locks && locks->numLock);
}

} // namespace kst
