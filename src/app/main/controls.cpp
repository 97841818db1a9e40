#include "app/main/controls.h"

#include "platform/desktop/bgr_color.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <algorithm>

namespace kst {

QColor toQColor(quint32 storedColor) {
    if (storedColor & 0x80000000u) {
        const QPalette palette;
        switch (storedColor & 0xFFu) {
        case 0x00: // scroll bar: the grey of a control that is out of use
            return palette.color(QPalette::Disabled, QPalette::WindowText);
        case 0x12:
            return palette.color(QPalette::ButtonText);
        default:
            return palette.color(QPalette::WindowText);
        }
    }
    return colorFromBgr(storedColor);
}

LineControl::LineControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::setPoints(int x1, int y1, int x2, int y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    setGeometry(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1);
    update();
}

void LineControl::setBorderColor(quint32 storedColor) {
    borderColor_ = storedColor;
    update();
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(toQColor(borderColor_));
    const QPoint origin = geometry().topLeft();
    painter.drawLine(QPoint(x1_, y1_) - origin, QPoint(x2_, y2_) - origin);
}

ImageControl::ImageControl(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
}

void ImageControl::setPicture(const QPixmap& picture) {
    if (picture.cacheKey() == picture_.cacheKey())
        return; // a LED set to what it shows already is not painted again
    picture_ = picture;
    setPixmap(picture);
}

void ImageControl::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    const QSize size = picture_.deviceIndependentSize().toSize();
    painter.drawPixmap(
        QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size),
        picture_);
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

namespace {

// Without a base style of its own, the proxy follows the application's style and owns
// nothing it must not delete.
class CompactComboStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        if (control != CC_ComboBox)
            return QProxyStyle::subControlRect(control, option, sub, widget);
        constexpr int ArrowWidth = 11;
        constexpr int Margin = 2;
        const QRect r = option->rect;
        switch (sub) {
        case SC_ComboBoxArrow:
            return QRect(r.right() - ArrowWidth, r.top() + 1, ArrowWidth, r.height() - 2);
        case SC_ComboBoxEditField:
            return QRect(r.left() + Margin, r.top() + 2, r.width() - ArrowWidth - 2 * Margin,
                         r.height() - 4);
        default:
            return QProxyStyle::subControlRect(control, option, sub, widget);
        }
    }
};

} // namespace

void useCompactArrow(QComboBox* list) {
    auto* style = new CompactComboStyle();
    style->setParent(list);
    list->setStyle(style);
}

namespace {

// Draws the frame of the tab pages below the tab row.
class TabPage : public QWidget {
public:
    TabPage(QWidget* parent, QTabBar* tabs) : QWidget(parent), tabs_(tabs) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QStyleOptionTabWidgetFrame option;
        option.initFrom(this);
        option.rect = rect().adjusted(0, tabs_->height() - 1, 0, 0);
        option.shape = QTabBar::RoundedNorth;
        option.tabBarSize = tabs_->size();
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
    }

private:
    QTabBar* tabs_;
};

} // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent), tabs_(new QTabBar(this)) {
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { showPage(index); });
}

QWidget* TabControl::addPage(const QString& caption) {
    auto* page = new TabPage(this, tabs_);
    page->setGeometry(rect());
    pages_ << page;
    tabs_->addTab(caption);
    tabs_->raise();
    showPage(tabs_->currentIndex());
    return page;
}

void TabControl::showPage(int index) {
    for (int i = 0; i < pages_.size(); ++i)
        pages_[i]->setVisible(i == index);
}

void TabControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    tabs_->setGeometry(0, 0, width(), tabs_->sizeHint().height());
    for (QWidget* page : pages_)
        page->setGeometry(rect());
}

} // namespace kst
