#include "whole_text.h"

#include <QFontMetrics>
#include <QLabel>

namespace kst {

void showTextWhole(QLabel* label, const QString& text) {
    constexpr qreal SmallestPoints = 4;
    QFont font = label->parentWidget() ? label->parentWidget()->font() : QFont();
    const QRect room = label->contentsRect();
    const int flags = label->wordWrap() ? Qt::TextWordWrap : 0;
    const auto fits = [&] {
        const QRect needed = QFontMetrics(font).boundingRect(room, flags, text);
        return needed.width() <= room.width() && needed.height() <= room.height();
    };
    while (!fits() && font.pointSizeF() > SmallestPoints)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
    label->setText(text);
}

} // namespace kst
