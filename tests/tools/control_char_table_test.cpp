#include "notation/notation.h"
#include "support/fakes.h"
#include "tools/control_char_table.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kst;

namespace {

QStringList rowOf(const QTreeWidget& list, int code) {
    QStringList cells;
    const QTreeWidgetItem* item = list.topLevelItem(code);
    for (int column = 0; column < list.columnCount(); ++column)
        cells << item->text(column);
    return cells;
}

class ControlCharTableTest : public ::testing::Test {
protected:
    ControlCharTableTest() {
        list.setHeaderLabels({"Ctrl", "Hex", "Dec", "Oct", "ASCII"});
        FillControlCharTable(&list);
    }
    test::RecordingMessageBoxes boxes;
    QTreeWidget list;
};

TEST_F(ControlCharTableTest, NamedRowsReadAsTheChartShowsThem) {
    ASSERT_EQ(list.topLevelItemCount(), 256);
    EXPECT_EQ(rowOf(list, 0), QStringList({"^@", "0", "0", "0", "NUL"}));
    EXPECT_EQ(rowOf(list, 10), QStringList({"^J", "A", "10", "12", "LF"}));
    EXPECT_EQ(rowOf(list, 27), QStringList({"^[", "1B", "27", "33", "ESC"}));
    EXPECT_EQ(rowOf(list, 31), QStringList({"^_", "1F", "31", "37", "US"}));
    EXPECT_EQ(rowOf(list, 32), QStringList({"^`", "20", "32", "40", "(Space)"}));
    EXPECT_EQ(rowOf(list, 65), QStringList({" ", "41", "65", "101", "A"}));
    EXPECT_EQ(rowOf(list, 127), QStringList({"", "7F", "127", "177", "(Delete)"}));
    EXPECT_EQ(rowOf(list, 200), QStringList({" ", "C8", "200", "310", ""}));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(ControlCharTableTest, EveryRowCarriesItsCodeWithoutLeadingZeros) {
    for (int code = 0; code < 256; ++code) {
        const QTreeWidgetItem* item = list.topLevelItem(code);
        bool ok = false;
        EXPECT_EQ(item->text(1).toInt(&ok, 16), code);
        EXPECT_TRUE(ok);
        EXPECT_EQ(item->text(2).toInt(), code);
        EXPECT_EQ(item->text(3).toInt(&ok, 8), code);
        for (int column = 1; column <= 3; ++column)
            EXPECT_TRUE(code == 0 || !item->text(column).startsWith('0')) << code;
        // Codes above 127 have no ASCII cell at all.
        EXPECT_EQ(item->columnCount(), code < 128 ? 5 : 4) << code;
    }
}

TEST(ControlCharTable, MissingListIsReportedNotCrashed) {
    test::RecordingMessageBoxes boxes;
    FillControlCharTable(nullptr);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Error on loading ASCII chart:");
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("Error Number: 91\n"));
}

TEST(ControlCharTable, MnemonicsCoverTheControlCodesOnly) {
    EXPECT_EQ(ControlCodeName(7), "BEL");
    EXPECT_EQ(ControlCodeName(32), "");
    EXPECT_EQ(ControlCodeName(-1), "");
    EXPECT_EQ(caretForm(0), "^@");
}

} // namespace
