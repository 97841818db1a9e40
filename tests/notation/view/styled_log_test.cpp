#include "notation/view/memory_check.h"
#include "notation/view/styled_log.h"
#include "support/fakes.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace kst;

namespace {

class StyledLogTest : public ::testing::Test {
protected:
    LogView box;
    StyledLog log{&box};

    void showBox(QSize size = QSize(300, 100)) {
        box.resize(size);
        box.show();
        QApplication::sendPostedEvents();
    }
    void lines(int count, const QString& text = QStringLiteral("line")) {
        for (int i = 0; i < count; ++i)
            log.Add_Color(text + QStringLiteral("\r\n"), 0, false, false, false);
        log.flush();
    }
};

} // namespace

TEST_F(StyledLogTest, LabelAndBodyKeepTheirOwnStyles) {
    log.setFontSizeIndex(3);
    log.Add_Color("Data sent: ", 0x0000FF, true, false, false, "41 42\r\n", 0xFF0000, false, true,
                  true);
    EXPECT_EQ(log.plainText(), "Data sent: 41 42\n");
    const std::vector<StyledRun> expected = {
        {"Data sent: ", {0x0000FF, true, false, false, 14}},
        {"41 42\n", {0xFF0000, false, true, true, 14}},
    };
    EXPECT_EQ(log.runs(), expected);
}

TEST_F(StyledLogTest, EmptyTextsWriteNothing) {
    QSignalSpy changes(&log, &StyledLog::changed);
    log.Add_Color("", 0, false, false, false);
    log.flush();
    EXPECT_TRUE(changes.isEmpty());
    log.Add_Color("", 0, false, false, false, "body", 0x00FF00);
    const std::vector<StyledRun> expected = {{"body", {0x00FF00, false, false, false, 8}}};
    EXPECT_EQ(log.runs(), expected);
}

TEST_F(StyledLogTest, ABodyWithoutLineBreakContinuesTheLineAndEveryBreakCounts) {
    log.Add_Color("Data received: ", 0, false, false, false, "41,", 0x808080);
    log.Add_Color("", 0, false, false, false, "42,\r\n", 0x808080);
    log.Add_Color("next\r", 0, false, false, false, "\nlast\n", 0);
    EXPECT_EQ(log.plainText(), "Data received: 41,42,\nnext\n\nlast\n");
}

TEST_F(StyledLogTest, SmallestFontSizeAndUnusualCharacters) {
    log.setFontSizeIndex(0);
    const QString odd = QString("nul:") + QChar(0) + "tab:\t euro:" + QChar(0x20AC) + "\xFF";
    log.Add_Color(odd, 0, false, false, false);
    EXPECT_EQ(log.plainText(), odd);
    EXPECT_EQ(log.runs()[0].style.pointSize, 8);
}

TEST_F(StyledLogTest, RunsWrittenInOneEventLoopPassAreShownTogetherInOrder) {
    QSignalSpy changes(&log, &StyledLog::changed);
    QString expected;
    for (int i = 0; i < 1000; ++i) {
        log.Add_Color(QString::number(i) + ",", 0, i % 2, false, false);
        expected += QString::number(i) + ",";
    }
    EXPECT_EQ(log.plainText(), expected) << "the log holds every run at once";
    EXPECT_TRUE(log.hasPending());
    EXPECT_TRUE(changes.isEmpty()) << "the view has not been told yet";
    QTRY_VERIFY(!log.hasPending());
    ASSERT_EQ(changes.size(), 1) << "one refresh for the whole burst";
    EXPECT_EQ(changes[0][0].toLongLong(), 0);
    EXPECT_EQ(changes[0][1].toLongLong(), 0);
    EXPECT_EQ(log.runs().size(), 1000u); // alternating bold keeps every run apart
}

TEST_F(StyledLogTest, RunsLandAtTheEndWhateverTheUsersCaretAndSelection) {
    showBox();
    log.Add_Color("first line\r\n", 0, false, false, false);
    log.Add_Color("second line\r\n", 0, false, false, false);
    log.flush();
    box.select(2, 8);
    EXPECT_EQ(box.selectedText(), "rst li");

    log.Add_Color("third", 0, false, false, false);
    log.flush();
    EXPECT_EQ(log.plainText(), "first line\nsecond line\nthird");
    EXPECT_FALSE(box.hasSelection());
    EXPECT_EQ(box.caret(), log.length());
}

TEST_F(StyledLogTest, TheViewFollowsTheEndAfterEveryWrite) {
    showBox();
    lines(200);
    QScrollBar* bar = box.verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(box.showsEnd());
    bar->setValue(0);
    EXPECT_EQ(box.firstShownRow(), 0);
    EXPECT_FALSE(box.showsEnd());
    QWheelEvent wheel(QPointF(10, 10), box.mapToGlobal(QPoint(10, 10)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box.viewport(), &wheel);
    EXPECT_GT(box.firstShownRow(), 0) << "the wheel scrolls down";
    log.Add_Color("more\r\n", 0, false, false, false);
    log.flush();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(box.showsEnd());

    // The bar may lag behind a growing log while it looks the same; a user who reaches
    // for it finds it up to date.
    lines(50);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(bar, &enter);
    bar->setValue(bar->maximum() - 1);
    EXPECT_FALSE(box.showsEnd());
    EXPECT_LT(log.store().rowCount() - box.firstShownRow(), 12) << "one row above the end";
}

TEST_F(StyledLogTest, ALineWiderThanTheViewIsWrappedAtItsWidth) {
    showBox(QSize(200, 300));
    log.Add_Color("Data received: " + QString(60, u'x') + " " + QString(600, u'y') + "\r\n", 0,
                  false, false, false);
    log.flush();
    const QRect first = box.characterRect(0);
    const QRect wordAfterLabel = box.characterRect(15);
    const QRect far = box.characterRect(400);
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(far.isNull());
    EXPECT_GT(far.top(), first.top()) << "a later line";
    EXPECT_GT(wordAfterLabel.top(), first.top()) << "the x word does not fit beside the label";
    for (qint64 at : {0, 15, 100, 400, 600})
        EXPECT_LE(box.characterRect(at).right(), box.viewport()->width()) << at;
}

TEST_F(StyledLogTest, TheUserSelectsWithMouseAndKeysAndCopies) {
    showBox(QSize(400, 200));
    lines(1, "alpha beta");
    lines(1, "gamma");
    // The mouse: pressed at the start of the log, let go in the second line.
    const QPoint start(box.characterRect(0).left(), box.characterRect(0).center().y());
    const QPoint end(box.characterRect(13).left() + 1, box.characterRect(13).center().y());
    QTest::mousePress(box.viewport(), Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(box.viewport(), end);
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, Qt::NoModifier, end);
    EXPECT_EQ(box.selectedText(), "alpha beta\nga");

    // Clicks in "beta": one puts the caret there, two take the word, three the line.
    const QPoint inBeta(box.characterRect(7).center());
    for (const auto& [clicks, selected] :
         {std::pair{1, ""}, std::pair{2, "beta"}, std::pair{3, "alpha beta\n"}, std::pair{1, ""}}) {
        box.select(0, 14);
        QTest::qWait(QApplication::doubleClickInterval() + 10);
        if (clicks >= 2)
            QTest::mouseDClick(box.viewport(), Qt::LeftButton, Qt::NoModifier, inBeta);
        if (clicks != 2)
            QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::NoModifier, inBeta);
        EXPECT_EQ(box.selectedText(), selected) << clicks << " clicks";
    }

    struct Keys {
        const char* what;
        std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
        QString selected;
    };
    const std::vector<Keys> table = {
        {"shift and right",
         {{Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Right, Qt::ShiftModifier}},
         "al"},
        {"shift and end", {{Qt::Key_End, Qt::ShiftModifier}}, "alpha beta"},
        {"shift and down", {{Qt::Key_Down, Qt::ShiftModifier}}, "alpha beta\n"},
        {"select all", {{Qt::Key_A, Qt::ControlModifier}}, "alpha beta\ngamma\n"},
        {"a move drops the selection",
         {{Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Right, Qt::NoModifier}},
         ""},
    };
    for (const Keys& k : table) {
        box.select(0, 0);
        for (const auto& [key, modifiers] : k.keys)
            QTest::keyClick(&box, Qt::Key(key), modifiers);
        EXPECT_EQ(box.selectedText(), k.selected) << k.what;
    }
    box.select(6, 10);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "beta");
}

// Each row: where the view and the caret stand, the key, and where the caret goes: a page
// on, keeping its place on screen, or to either end of the log.
TEST_F(StyledLogTest, PageKeysTurnTheViewAPageAndTheCaretWithIt) {
    showBox(QSize(300, 200));
    for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageUp}) {
        QTest::keyClick(&box, key);
        EXPECT_EQ(box.caret(), 0) << "an empty log has nowhere to page";
    }
    for (int k = 0; k < 300; ++k)
        lines(1, QStringLiteral("line %1").arg(k));
    const qint64 lastRow = log.store().rowCount() - 1;
    enum class Goes { Page, ToStart, ToEnd };
    struct Case {
        const char* what;
        bool viewAtEnd;
        qint64 caretRow;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Goes goes;
    };
    const Case cases[] = {
        {"page down from the top", false, 2, Qt::Key_PageDown, Qt::NoModifier, Goes::Page},
        {"page up from the end", true, lastRow - 2, Qt::Key_PageUp, Qt::NoModifier, Goes::Page},
        {"shift selects a page", false, 0, Qt::Key_PageDown, Qt::ShiftModifier, Goes::Page},
        {"page up at the top", false, 2, Qt::Key_PageUp, Qt::NoModifier, Goes::ToStart},
        {"page down at the end", true, lastRow - 3, Qt::Key_PageDown, Qt::NoModifier, Goes::ToEnd},
        // A caret out of sight, far or just below the view, pages from what is shown.
        {"caret out of sight", false, lastRow, Qt::Key_PageDown, Qt::NoModifier, Goes::Page},
        {"caret just below", false, 20, Qt::Key_PageDown, Qt::NoModifier, Goes::Page},
    };
    qint64 pageRows = -1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const qint64 caret = log.store().rowStart(c.caretRow) + 2;
        box.select(caret, caret);
        QScrollBar* bar = box.verticalScrollBar();
        bar->setValue(c.viewAtEnd ? bar->maximum() : 0);
        const qint64 top = box.firstShownRow();
        const QRect at = box.characterRect(caret);
        const bool caretShown = !at.isNull() && at.top() >= 0 && at.top() < box.height();
        const int y = caretShown ? at.top() : box.characterRect(log.store().rowStart(top)).top();
        QTest::keyClick(&box, c.key, c.modifiers);
        switch (c.goes) {
        case Goes::Page:
            EXPECT_NE(box.firstShownRow(), top) << "the first press pages";
            EXPECT_EQ(log.store().rowAt(box.caret()) - (caretShown ? c.caretRow : top),
                      box.firstShownRow() - top)
                << "the caret moves as far as the view";
            // Every page is as long as the first.
            if (pageRows < 0)
                pageRows = std::abs(box.firstShownRow() - top);
            EXPECT_EQ(std::abs(box.firstShownRow() - top), pageRows);
            EXPECT_EQ(box.characterRect(box.caret()).top(), y) << "the caret keeps its place";
            break;
        case Goes::ToStart:
            EXPECT_EQ(box.firstShownRow(), top);
            EXPECT_EQ(box.caret(), 0);
            break;
        case Goes::ToEnd:
            EXPECT_TRUE(box.showsEnd());
            EXPECT_EQ(box.caret(), log.length());
            break;
        }
        EXPECT_EQ(box.hasSelection(), c.modifiers == Qt::ShiftModifier);
    }
}

TEST_F(StyledLogTest, ACopyTakesTheFormsAddedAndBuildsEachOnlyWhenAskedFor) {
    int built = 0;
    box.addCopyFormat(
        {{"text/x-runs", "application/x-runs"}, [&](const LogStore& copied, const QString& family) {
             ++built;
             QString runs = family;
             copied.visitRuns(0, copied.length(), [&](QStringView text, LogStore::StyleId id) {
                 runs += QStringLiteral("|%1@%2").arg(text).arg(copied.style(id).color, 0, 16);
             });
             return runs.toUtf8();
         }});
    log.Add_Color("Data sent: ", 0x0000FF, true, false, false, "41 42\r\nnext", 0x00FF00, false);
    log.flush();
    box.select(5, 18);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(built, 0) << "nothing is built before it is asked for";
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->formats(), QStringList({"text/plain", "text/x-runs", "application/x-runs"}));
    EXPECT_EQ(copied->text(), "sent: 41 42\nn");
    EXPECT_EQ(copied->data("text/plain"), "sent: 41 42\nn");
    const QString runs = box.font().family() + "|sent: @ff|41 42\n@ff00|n@ff00";
    EXPECT_EQ(QString::fromUtf8(copied->data("text/x-runs")), runs);
    EXPECT_EQ(QString::fromUtf8(copied->data("application/x-runs")), runs);
    EXPECT_EQ(built, 2);
    log.clear();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "sent: 41 42\nn")
        << "the copy outlives the log";

    // A selection too large to be of use elsewhere is refused, and the clipboard kept.
    test::RecordingMessageBoxes boxes;
    const QString chunk(1 << 20, u'x');
    while (log.length() <= LogView::MostCopiedChars)
        log.Add_Color(chunk, 0, false, false, false);
    log.flush();
    box.selectAll();
    box.copy();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("The selection is too large to copy"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "sent: 41 42\nn");
    box.select(0, LogView::MostCopiedChars);
    box.copy();
    EXPECT_EQ(boxes.boxes().size(), 1) << "the largest copy is taken";
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->text().size(), LogView::MostCopiedChars);
}

TEST_F(StyledLogTest, TheSearchMarkStaysUntilClearedOrTheLogIsReplaced) {
    lines(3, "41 42");
    box.setMark(3, 2);
    EXPECT_TRUE(box.hasMark());
    log.Add_Color("more\r\n", 0, false, false, false);
    log.flush();
    EXPECT_TRUE(box.hasMark()) << "new lines leave it";
    box.clearMark();
    EXPECT_FALSE(box.hasMark());
    box.setMark(3, 2);
    log.clear();
    EXPECT_FALSE(box.hasMark());
}

TEST_F(StyledLogTest, AssistiveToolsReadTheLogAsReadOnlyTextOfManyLines) {
    showBox();
    lines(2, "Data received: 41");
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&box);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::EditableText);
    EXPECT_TRUE(face->state().readOnly);
    EXPECT_TRUE(face->state().multiLine);
    QAccessibleTextInterface* text = face->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), log.length());
    EXPECT_EQ(text->text(0, text->characterCount()), log.plainText());
    text->setSelection(0, 5, 13);
    EXPECT_EQ(box.selectedText(), "received");
    int from = 0, to = 0;
    text->selection(0, &from, &to);
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(5, 13));
}

// Each row: the log (a first piece, one repeated until the log is longer than the tools
// read, a last one), and what the text they read begins and ends with.
TEST_F(StyledLogTest, AssistiveToolsReadTheLastPartOfALogTooLongForThem) {
    const QString line = QStringLiteral("Data received: 3C A5 01 00 5B 3C A5 01 00 5B\r\n");
    QString chunk;
    while (chunk.size() < 1 << 20)
        chunk += line;
    const QString pair = QStringLiteral("\U0001F600");
    const QString longLine(1 << 20, u'y');
    const std::tuple<const char*, QString, QString, QString, QString, QString> cases[] = {
        {"many lines", "", chunk, "the end", "Data received: ", "the end"},
        // A last line longer than they read: its last part.
        {"one long line", "", longLine, "the end", "yyyy", "the end"},
        {"a long line, then an empty one", "", longLine, "\r\n", "yyyy", "y\n"},
        // Never half of a character of two units.
        {"characters of two units", "x", pair.repeated(1 << 19), "y", pair, pair + "y"},
    };
    for (const auto& [what, first, repeated, last, begins, ends] : cases) {
        SCOPED_TRACE(what);
        log.clear();
        log.Add_Color(first, 0, false, false, false);
        while (log.length() + last.size() <= LogView::AccessibleChars)
            log.Add_Color(repeated, 0, false, false, false);
        log.Add_Color(last, 0, false, false, false);
        log.flush();
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(&box)->textInterface();
        const int count = text->characterCount();
        EXPECT_LE(count, LogView::AccessibleChars);
        EXPECT_GT(count, LogView::AccessibleChars - line.size());
        EXPECT_TRUE(text->text(0, 20).startsWith(begins));
        EXPECT_EQ(text->text(count - int(ends.size()), count), ends);
        EXPECT_EQ(text->cursorPosition(), count);
    }
}

// A cleared or opened log numbers its styles anew: the view paints each run in the
// colour it has now, not in the colour of the run that had its number before.
TEST_F(StyledLogTest, AClearedOrOpenedLogIsShownInItsOwnColours) {
    showBox();
    log.setFontSizeIndex(3);
    const auto pixels = [&](QRgb colour) {
        const QImage image = box.viewport()->grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
        return count;
    };
    const std::vector<std::pair<const char*, std::function<void()>>> resets = {
        {"cleared", [&] { log.clear(); }},
        {"replaced by a file", [&] { log.adopt(log.newStore()); }},
    };
    for (const auto& [what, reset] : resets) {
        SCOPED_TRACE(what);
        log.Add_Color("MMMM WWWW\r\n", 0x0000FF, true, false, false);
        log.flush();
        EXPECT_GT(pixels(qRgb(255, 0, 0)), 0) << "red text";
        reset();
        log.Add_Color("MMMM WWWW\r\n", 0xFF0000, true, false, false);
        log.flush();
        EXPECT_GT(pixels(qRgb(0, 0, 255)), 0) << "blue text";
        EXPECT_EQ(pixels(qRgb(255, 0, 0)), 0) << "no red left";
        log.clear();
    }
}

TEST_F(StyledLogTest, ClearEmptiesTheLogAndSaysWhatWent) {
    QSignalSpy changes(&log, &StyledLog::changed);
    log.Add_Color("a", 0, false, false, false);
    log.flush();
    log.Add_Color("bc", 0, false, false, false);
    log.clear();
    QTest::qWait(20);
    EXPECT_TRUE(log.plainText().isEmpty());
    EXPECT_FALSE(log.hasPending());
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(changes[1][0].toLongLong(), 0);
    EXPECT_EQ(changes[1][1].toLongLong(), 3);
}

TEST_F(StyledLogTest, ALogOfReceivedLinesHoldsLittleMoreThanOneByteACharacter) {
    const QString body = QStringLiteral("3C A5 01 00 5B 3C A5 01 00 5B 3C A5 01 00 5B 3C\r\n");
    for (int i = 0; i < 20000; ++i)
        log.Add_Color("Data received: ", 0x000080, true, false, false, body, 0x800000);
    EXPECT_LT(double(log.store().bytesHeld()) / double(log.length()), 1.3);
}

TEST_F(StyledLogTest, WhenMemoryRunsShortTheLogStopsGrowingAndSaysSo) {
    qsizetype granted = 0;
    log.setMemoryCheck([&](qsizetype bytes) {
        granted += bytes;
        return granted <= 4 * 1024 * 1024;
    });
    QSignalSpy full(&log, &StyledLog::full);
    const QString line = QStringLiteral("Data received: 41 42 43\r\n");
    for (int i = 0; i < 300000; ++i)
        log.Add_Color(line, 0, false, false, false);
    ASSERT_EQ(full.size(), 1);
    EXPECT_TRUE(full[0][0].toString().startsWith("* * * The log is full"));
    EXPECT_TRUE(log.plainText().endsWith(full[0][0].toString() + "\n"));
    const qint64 length = log.length();
    log.Add_Color(line, 0, false, false, false);
    EXPECT_EQ(log.length(), length) << "nothing more is written";

    granted = 0;
    log.clear();
    EXPECT_TRUE(memoryAllows(1 << 20)) << "the machine the tests run on has a megabyte to give";
    EXPECT_FALSE(memoryAllows(qsizetype(1) << 50)) << "but not a petabyte";
    log.Add_Color(line, 0, false, false, false);
    EXPECT_EQ(log.plainText(), "Data received: 41 42 43\n") << "a cleared log takes text again";
}

TEST_F(StyledLogTest, WhatIsWrittenWhileAFileLoadsFollowsTheFilesText) {
    log.Add_Color("old\r\n", 0, false, false, false);
    log.hold();
    log.Add_Color("during\r\n", 0x0000FF, true, false, false);
    EXPECT_EQ(log.plainText(), "old\n");
    LogStore loaded = log.newStore();
    loaded.append(u"from the file\n", loaded.styleId(log.plainStyle()));
    log.adopt(std::move(loaded));
    EXPECT_EQ(log.plainText(), "from the file\nduring\n");
    EXPECT_TRUE(log.runs().back().style.bold);

    log.hold();
    log.Add_Color("after\r\n", 0, false, false, false);
    log.release();
    EXPECT_EQ(log.plainText(), "from the file\nduring\nafter\n") << "a load given up";
}

TEST_F(StyledLogTest, RunsReadBackAsWrittenAndAnotherLogOpenedWithThemReadsTheSame) {
    log.setFontSizeIndex(2);
    log.Add_Color("Data sent: ", 0x0080FF, true, false, false, "41 42\r\n", 0x123456, false, true,
                  true);
    log.Add_Color("", 0, false, false, false, "more", 0x123456, false, true, true);
    const std::vector<StyledRun> written = log.runs();
    const std::vector<StyledRun> expected = {
        {"Data sent: ", {0x0080FF, true, false, false, 12}},
        {"41 42\nmore", {0x123456, false, true, true, 12}},
    };
    EXPECT_EQ(written, expected);

    LogView otherBox;
    StyledLog other(&otherBox);
    other.Add_Color("replaced\r\n", 0, false, false, false);
    LogStore opened = other.newStore();
    for (const StyledRun& run : written)
        opened.append(run.text, opened.styleId(run.style));
    other.adopt(std::move(opened));
    EXPECT_EQ(other.runs(), written);
    EXPECT_EQ(other.plainText(), "Data sent: 41 42\nmore");
}
