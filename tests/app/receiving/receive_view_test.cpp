#include "app/receiving/receive_fixture.h"
#include "traffic/log_search.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

using ReceiveView = ReceiveTest;

TEST_F(ReceiveView, TheRxTimerTakesOnlyIntervalsItCanRun) {
    ui().CbTimer->setCurrentText("10000 ms");
    EXPECT_EQ(main.state().RxTimerMs, 10000);
    for (const QString junk : {"0 ms", "-5 ms", "ms", "20000 ms"}) {
        ui().CbTimer->addItem(junk);
        ui().CbTimer->setCurrentText(junk);
        EXPECT_EQ(main.state().RxTimerMs, 10000) << junk.toStdString();
    }
    ui().CbTimer->setCurrentIndex(-1);
    EXPECT_EQ(main.state().RxTimerMs, 10000);
    ui().CbTimer->setCurrentText("10 ms");
    EXPECT_EQ(main.state().RxTimerMs, 10);
}

TEST_F(ReceiveView, ANewRxNotationIsNotedInALogThatHasText) {
    open();
    ui().Option2[ncDec]->click();
    EXPECT_EQ(main.state().RxFormat, ncDec);
    EXPECT_TRUE(log().isEmpty());
    main.Add_Color("x\r\n", {});
    ui().Option2[ncBin]->click();
    EXPECT_EQ(log(), "x\n\n# # # RX data format changed to: Bin # # # \n");
    EXPECT_EQ(main.state().RxFormat, ncBin);
}

TEST_F(ReceiveView, ClearEmptiesTheLogAndDisablesWhatNeedsText) {
    EXPECT_FALSE(ui().Clear->isEnabled());
    open();
    arrive(com1, "A");
    tick();
    tick();
    main.log().flush();
    for (QWidget* control : std::initializer_list<QWidget*>{ui().Clear, ui().Label2, ui().Text2})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    ui().Text2->setText("41");
    ui().Clear->click();
    EXPECT_TRUE(log().isEmpty());
    for (QWidget* control : std::initializer_list<QWidget*>{ui().Clear, ui().Label2, ui().Text2})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_TRUE(ui().cmdSearch->isEnabled()) << "the search button follows its field only";
}

class LogSearchView : public ReceiveTest {
protected:
    LogSearchView() {
        open();
        clearLog();
    }
    void write(const QString& line) {
        main.Add_Color(line + "\r\n", {});
        main.log().flush();
    }
    QString search(const QString& text) {
        ui().Text2->setText(text);
        ui().cmdSearch->click();
        return result();
    }
    QString result() const {
        return ui().lblSearchResult->isHidden() ? QString() : ui().lblSearchResult->text();
    }
    QString selected() const { return ui().responseBox->selectedText(); }
    int highlighted() const { return ui().responseBox->hasMark() ? 1 : 0; }
};

TEST_F(LogSearchView, StepsThroughTheMatchesInAnyCaseAndWrapsToTheTop) {
    write("Data received: OK");
    write("Data sent: AT");
    write("Data received: ok");
    EXPECT_EQ(search("ok"), "String found: 1/2");
    EXPECT_EQ(selected(), "OK");
    EXPECT_EQ(highlighted(), 1);
    ui().cmdSearch->click();
    EXPECT_EQ(result(), "String found: 2/2");
    EXPECT_EQ(selected(), "ok");
    ui().cmdSearch->click();
    EXPECT_EQ(result(), "String found: 1/2");
    // A new text starts at the top; a step goes on behind the caret the user moved.
    EXPECT_EQ(search("data"), "String found: 1/3");
    QTest::keyClick(ui().responseBox, Qt::Key_End, Qt::ControlModifier);
    ui().cmdSearch->click();
    EXPECT_EQ(result(), "String found: 1/3") << "nothing behind the end: from the top";
    QTest::keyClick(ui().responseBox, Qt::Key_Down);
    ui().cmdSearch->click();
    EXPECT_EQ(result(), "String found: 3/3");
    QTest::keyClick(ui().responseBox, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(ui().responseBox, Qt::Key_Right);
    QTest::keyClick(ui().responseBox, Qt::Key_Down, Qt::ShiftModifier);
    ui().cmdSearch->click();
    EXPECT_EQ(result(), "String found: 3/3") << "behind the selection's end, not its start";
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(LogSearchView, ATextFoundNowhereIsSaidSo) {
    write("Data received: 41,");
    EXPECT_EQ(search("zz"), "String found: 0/0");
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].text, "String not found!");
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(highlighted(), 0);
}

TEST_F(LogSearchView, DataArrivingBetweenClicksMovesTheSearchToTheNextMatch) {
    write("41 first");
    write("41 second");
    EXPECT_EQ(search("41"), "String found: 1/2");
    arrive(com1, "A");
    tick();
    tick();
    main.log().flush();
    EXPECT_TRUE(result().isEmpty()) << "the count shown is out of date";
    ui().cmdSearch->click();
    EXPECT_EQ(result(), "String found: 2/3") << "the second match, not the first again";
    EXPECT_TRUE(ui().responseBox->caretRowText().endsWith("second"));
    ui().cmdSearch->click();
    EXPECT_EQ(result(), "String found: 3/3");
    EXPECT_EQ(ui().responseBox->caretRowText(), "Data received: 41,");
}

TEST_F(LogSearchView, TheSearchFieldIsYellowWithItsTextSelectedWhileItHasTheFocus) {
    ui().Text2->setText("41");
    ui().Text2->deselect();
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(ui().Text2, &in);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ui().Text2->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_EQ(ui().Text2->selectedText(), "41");
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(ui().Text2, &out);
    EXPECT_EQ(ui().Text2->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST_F(LogSearchView, EnterInTheFieldSearchesAndAChangedTextHidesTheResult) {
    write("abc");
    ui().Text2->setText("b");
    EXPECT_TRUE(ui().cmdSearch->isEnabled());
    QTest::keyClick(ui().Text2, Qt::Key_Return);
    EXPECT_EQ(result(), "String found: 1/1");
    ui().Text2->setText("");
    EXPECT_TRUE(result().isEmpty());
    EXPECT_FALSE(ui().cmdSearch->isEnabled());
    QTest::keyClick(ui().Text2, Qt::Key_Return);
    EXPECT_TRUE(boxes.boxes().isEmpty()) << "an empty field searches nothing";
}

} // namespace

namespace {

TEST_F(LogSearchView, MatchesAreNumberedAcrossALargeLogItsLongLinesAndAnyCharacter) {
    // One match across the place where a long line goes on in its next row, one in a
    // line beyond Latin-1, one behind more text than the search reads at a time.
    write(QString(LogStore::MaxRowChars - 3, u'x') + "NEEDLE" + QString(10, u'x'));
    write(QStringLiteral("caf\u00e9 \u20ac needle"));
    for (int i = 0; i < 300; ++i)
        write(QString(4000, u'.'));
    write(QStringLiteral("Needle at the end"));
    ASSERT_GT(main.log().length(), LogSearch::PieceChars);
    EXPECT_EQ(search("needle"), "String found: 1/3");
    EXPECT_EQ(selected(), "NEEDLE");
    for (const auto& [shown, match] :
         {std::pair{"String found: 2/3", "needle"}, std::pair{"String found: 3/3", "Needle"},
          std::pair{"String found: 1/3", "NEEDLE"}}) {
        ui().cmdSearch->click();
        EXPECT_EQ(result(), shown);
        EXPECT_EQ(selected(), match);
    }
    EXPECT_EQ(search("\u20ac NEEDLE"), "String found: 1/1");
}

} // namespace

namespace {

// Each row: the text, what happens while a step counts a log in slices, and what the
// result label and the boxes show when the scheduler has nothing more to do.
TEST_F(LogSearchView, AStepOnALargeLogShowsItsMatchAtOnceAndItsNumberWhenCounted) {
    enum class Meanwhile { Nothing, DataArrives, LogCleared, TextChanged, ClickedAgain };
    const std::tuple<QString, Meanwhile, QString, int> cases[] = {
        {"LARGE", Meanwhile::Nothing, "String found: 1/40", 0},
        {"LARGE", Meanwhile::DataArrives, "String found: 1/41", 0},
        {"LARGE", Meanwhile::LogCleared, "", 0},
        {"LARGE", Meanwhile::TextChanged, "", 0},
        {"LARGE", Meanwhile::ClickedAgain, "String found: 2/40", 0},
        {"small", Meanwhile::Nothing, "String found: 0/0", 1},
        {"small", Meanwhile::DataArrives, "String found: 1/1", 0},
    };
    for (const auto& [text, meanwhile, shown, boxCount] : cases) {
        SCOPED_TRACE(static_cast<int>(meanwhile));
        clearLog();
        boxes.clear();
        for (int line = 0; line < 40; ++line)
            write(QStringLiteral("Data received: line %1 of a large log").arg(line));
        main.controller().logSearch().setPace({64, 0});
        ui().Text2->setText(text);
        ui().cmdSearch->click();
        if (text == "LARGE") {
            EXPECT_EQ(selected(), "large") << "the match shows before the count ends";
        }
        EXPECT_TRUE(result().isEmpty());
        timers.turn();
        switch (meanwhile) {
        case Meanwhile::Nothing:
            break;
        case Meanwhile::DataArrives:
            write("one large line more, a small one");
            break;
        case Meanwhile::LogCleared:
            ui().Clear->click();
            break;
        case Meanwhile::TextChanged:
            ui().Text2->setText("line");
            break;
        case Meanwhile::ClickedAgain:
            ui().cmdSearch->click();
            EXPECT_TRUE(ui().responseBox->caretRowText().contains("line 1 "));
            break;
        }
        for (int turn = 0; turn < 1000 && timers.waitingCount() > 0; ++turn)
            timers.turn();
        EXPECT_EQ(timers.waitingCount(), 0);
        EXPECT_EQ(result(), shown);
        EXPECT_EQ(boxes.boxes().size(), boxCount);
    }
}

} // namespace
