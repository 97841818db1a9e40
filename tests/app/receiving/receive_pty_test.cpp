#include "app/app_fixtures.h"
#include "notation/notation.h"
#include "support/pty_pair.h"
#include "traffic/rx_text.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

// A window whose COM ports are pseudo-terminals, on the program's own timers.
class ReceivePty : public ::testing::Test {
protected:
    ReceivePty() {
        folder.makeReady();
        EXPECT_TRUE(linkPort(folder.path(), 1, com1.slavePath()));
        EXPECT_TRUE(linkPort(folder.path(), 2, com2.slavePath()));
        main = std::make_unique<RecordingMain>(folder.path());
        main->InitMainWindow();
        ui().Check1->setChecked(false);
    }
    const MainControls& ui() const { return main->ui(); }
    QString log() { return main->log().plainText(); }
    void open() {
        main->controller().port().OpenPort();
        ASSERT_TRUE(main->state().PortIsOpen);
        main->log().clear();
    }
    bool waitFor(const QString& text) {
        return QTest::qWaitFor([&] { return log().contains(text); }, 5000);
    }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    PtyPair com1;
    PtyPair com2;
    std::unique_ptr<RecordingMain> main;
};

// Bytes whose value depends on their place well beyond 256: a block lost, repeated or
// out of order shows.
QByteArray pattern(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 31 + (i >> 8) * 7);
    return bytes;
}

// The bytes of the "Data received: " lines of a log in formatted hexadecimal.
QByteArray receivedBytes(const QString& log) {
    QByteArray bytes;
    for (QString line : log.split('\n', Qt::SkipEmptyParts)) {
        line.remove(QStringLiteral("Data received: "));
        for (const QString& item : line.split(' ', Qt::SkipEmptyParts))
            bytes.append(char(item.toInt(nullptr, 16)));
    }
    return bytes;
}

TEST_F(ReceivePty, EveryByteOfABusyLineIsShownOnceAndInOrder) {
    ui().Option2[ncHex]->setChecked(true);
    ui().Check3->setChecked(true);
    open();
    const QByteArray sent = pattern(200 * 1024);
    ASSERT_TRUE(com1.write(sent));
    ASSERT_TRUE(QTest::qWaitFor([&] { return receivedBytes(log()).size() >= sent.size(); }, 20000))
        << receivedBytes(log()).size();
    QTest::qWait(50);
    EXPECT_EQ(receivedBytes(log()), sent);
    EXPECT_EQ(main->MSComm1().droppedInputBytes(), 0);
}

TEST_F(ReceivePty, EachNotationShowsTheBytesSentWithAndWithoutFormattedView) {
    open();
    const QByteArray sent("A\r\n\xFF\x00z", 6);
    for (int rxFormat : {ncDec, ncHex, ncOct, ncBin, ncAscii}) {
        for (bool formatted : {false, true}) {
            ui().Option2[static_cast<size_t>(rxFormat)]->setChecked(true);
            ui().Check3->setChecked(formatted);
            main->log().clear();
            ASSERT_TRUE(com1.write(sent));
            // The log keeps a received CR LF as its own line break.
            const QString expected =
                "Data received: " + RxDisplayText(sent, rxFormat, formatted)
                                        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            EXPECT_TRUE(waitFor(expected)) << rxFormat << formatted << log().toStdString();
            QTest::qWait(40);
            EXPECT_EQ(log().count("Data received: "), 1) << rxFormat << formatted;
        }
    }
}

TEST_F(ReceivePty, FullDuplexMonitoringLabelsEachPortAndStampsRise) {
    main->state().MonitoringMode = true;
    main->state().TwoPortActive = true;
    main->state().SecondPort = 2;
    main->menus().mnuDebugging->setChecked(false);
    main->menus().mnuMonitoring->setChecked(true);
    ui().Check3->setChecked(false);
    ui().Option2[ncHex]->setChecked(true);
    open();
    ASSERT_TRUE(com1.write("A"));
    ASSERT_TRUE(waitFor("]: 41,"));
    ASSERT_TRUE(com2.write("B"));
    ASSERT_TRUE(waitFor("]: 42,"));
    QTest::qWait(30);
    ASSERT_TRUE(com2.write("C"));
    ASSERT_TRUE(waitFor("42,43,")) << "the same port continues its line";
    ASSERT_TRUE(com1.write("D"));
    ASSERT_TRUE(waitFor("]: 44,"));

    const QRegularExpression header(
        "^(\\d\\d):(\\d\\d):(\\d\\d)\\.(\\d\\d\\d) \\[COM (\\d)\\]: (.*)$");
    QList<int> ports;
    qint64 previousMs = -1;
    for (const QString& line : log().split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = header.match(line);
        ASSERT_TRUE(m.hasMatch()) << line.toStdString();
        const qint64 ms = ((m.captured(1).toLongLong() * 60 + m.captured(2).toLongLong()) * 60 +
                           m.captured(3).toLongLong()) *
                              1000 +
                          m.captured(4).toLongLong();
        EXPECT_GE(ms, previousMs);
        previousMs = ms;
        ports << m.captured(5).toInt();
    }
    EXPECT_EQ(ports, QList<int>({1, 2, 1}));
    EXPECT_GE(previousMs, 30);
}

} // namespace
