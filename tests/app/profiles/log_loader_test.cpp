#include "app/profiles/log_loader.h"
#include "notation/line_codec.h"
#include "notation/view/styled_log.h"
#include "platform/scheduler.h"
#include "storage/rtf.h"
#include "support/fakes.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst;
using namespace kst::test;

namespace {

constexpr qint64 Piece = 64 * 1024;

// A log file read one small piece a turn of the event loop, so that every file here
// takes several turns.
class LogLoaderTest : public ::testing::Test {
protected:
    LogLoaderTest() {
        log.Add_Color("old\r\n", 0, false, false, false);
        log.flush();
    }
    std::unique_ptr<QFile> file(const QByteArray& content) {
        const QString path = dir.filePath(QStringLiteral("log-%1").arg(++files));
        writeFile(path, content);
        auto opened = std::make_unique<QFile>(path);
        EXPECT_TRUE(opened->open(QIODevice::ReadOnly));
        return opened;
    }
    // Turns of the event loop until the load has ended; how many it took.
    int finish() {
        int turns = 0;
        while (loader.running() && turns < 10000) {
            scheduler.turn();
            ++turns;
        }
        return turns;
    }

    QTemporaryDir dir;
    int files = 0;
    RecordingMessageBoxes boxes;
    QWidget window;
    LogView box{&window};
    StyledLog log{&box};
    ManualScheduler scheduler;
    LogLoader loader{log, scheduler, &window, LogLoader::Pace{Piece, 1000, 1}};
};

} // namespace

TEST_F(LogLoaderTest, AFileIsReadInSlicesAndReplacesTheLogOnlyWhenItIsWhole) {
    const QString longLine(400000, u'x');
    std::vector<StyledRun> styled;
    for (int i = 0; i < 3000; ++i)
        styled.push_back({QStringLiteral("line %1 \u20ac\n").arg(i),
                          {quint32(i % 3), i % 2 == 0, false, i % 5 == 0, 10}});
    const QByteArray smile = "\xF0\x9F\x98\x80";
    struct Case {
        const char* what;
        QByteArray content;
        QString text;
    };
    const std::vector<Case> cases = {
        {"a line of 400,000 characters without a blank",
         "head\r\n" + longLine.toLatin1() + "\r\ntail\r\n", "head\n" + longLine + "\ntail\n"},
        {"UTF-8 whose characters fall across the pieces",
         QByteArray(Piece - 1, 'a') + smile + QByteArray(Piece - 4, 'b') + "\xC3\xA9",
         QString(Piece - 1, u'a') + QString::fromUtf8(smile) + QString(Piece - 4, u'b') +
             u'\u00e9'},
        {"text that is no UTF-8 after a few pieces: read again in the line's code page",
         QByteArray(3 * Piece, 'a') + "\xE9\x80 end",
         LineCodec::toText(QByteArray(3 * Piece, 'a') + "\xE9\x80 end")},
        {"rich text", WriteRtf(styled, "Mono"), QString()},
        {"another program's rich text in a two-byte code page, its characters cut by the pieces",
         "{\\rtf1\\ansicpg1252{\\fonttbl{\\f0\\fcharset128 G;}}\\f0 " +
             QByteArray(Piece / 3, '-').replace("-", "\\'82\\'a0") +
             "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt \\'83A\\emdash}}\\par}",
         QString(Piece / 3, QChar(0x3042)) + QChar(0x30A2) + QChar(0x2014) + u'\n'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        log.Add_Color("old\r\n", 0, false, false, false);
        loader.start(file(c.content), QStringLiteral("the file"));
        EXPECT_TRUE(loader.running());
        EXPECT_EQ(log.plainText(), "old\n") << "the log stays until the file is read";
        log.Add_Color("during\r\n", 0x0000FF, true, false, false);
        EXPECT_GE(finish(), 1);
        EXPECT_FALSE(log.holding());
        if (c.text.isEmpty()) {
            std::vector<StyledRun> expected = styled;
            expected.push_back({"during\n", {0x0000FF, true, false, false, 8}});
            EXPECT_EQ(log.runs(), expected);
        } else {
            EXPECT_EQ(log.plainText(), c.text + "during\n");
        }
        for (qint64 row = 0; row < log.store().rowCount(); ++row)
            ASSERT_LE(log.store().rowLength(row), LogStore::MaxRowChars) << "shown in rows";
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(LogLoaderTest, ADamagedFileOrCancelLeavesTheLogAsItWas) {
    QByteArray cut = WriteRtf({{QString(5 * Piece, u'r'), 0, false, false, false, 10}}, "Mono");
    cut.chop(3);
    loader.start(file(cut), QStringLiteral("cut.rtf"));
    log.Add_Color("during\r\n", 0, false, false, false);
    finish();
    EXPECT_EQ(log.plainText(), "old\nduring\n");
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].text, "The log file cut.rtf is damaged rich text; the log was left "
                                     "as it was.");
    EXPECT_EQ(boxes.boxes()[0].title, "Open Log Error:");

    boxes.clear();
    loader.start(file(QByteArray(20 * Piece, 'z')), QStringLiteral("big.txt"));
    scheduler.turn();
    auto* progress = window.findChild<QProgressDialog*>();
    ASSERT_NE(progress, nullptr) << "a load of more than a moment shows its progress";
    EXPECT_GT(progress->value(), 0);
    log.Add_Color("more\r\n", 0, false, false, false);
    progress->findChild<QPushButton*>()->click();
    EXPECT_FALSE(loader.running());
    EXPECT_EQ(log.plainText(), "old\nduring\nmore\n");
    EXPECT_EQ(scheduler.waitingCount(), 0);
    EXPECT_TRUE(boxes.boxes().isEmpty());
}
