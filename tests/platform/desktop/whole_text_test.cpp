#include "platform/desktop/whole_text.h"

#include <QFontMetrics>
#include <QLabel>
#include <gtest/gtest.h>

using namespace kst;

// A count grown to millions still shows whole in the room of a few digits, and one that
// fits keeps the window's font; going back to a short text gives the font back.
TEST(WholeText, ALongerTextShrinksTheFontUntilItFitsAndAShortOneKeepsIt) {
    QWidget window;
    QFont design = window.font();
    design.setPointSize(8);
    window.setFont(design);
    auto* label = new QLabel(&window);
    label->setGeometry(0, 0, 78, 30); // the search result's room: two lines of 8 points
    label->setWordWrap(true);
    const struct {
        const char* text;
        bool designFont;
    } cases[] = {
        {"String found: 1/2", true},
        {"String found: 54800000/54800000", false},
        {"String found: 0/0", true},
        // The most a log held in memory can hold.
        {"String found: 8600000000/8600000000", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        showTextWhole(label, c.text);
        EXPECT_EQ(label->text(), c.text);
        const QRect needed = QFontMetrics(label->font())
                                 .boundingRect(label->contentsRect(), Qt::TextWordWrap, c.text);
        EXPECT_LE(needed.width(), label->contentsRect().width());
        EXPECT_LE(needed.height(), label->contentsRect().height());
        EXPECT_EQ(label->font().pointSizeF() == design.pointSizeF(), c.designFont);
    }
}
