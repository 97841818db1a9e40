#include "traffic/receive_lines.h"

#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

using namespace kst;

namespace {

// The log as plain text, each run tagged with its style: {M:label}{1:body}.
class RecordingLog : public ReceiveLog {
public:
    void write(const QString& label, const QString& body, LogStyle bodyStyle) override {
        ++writes;
        longestWrite = qMax(longestWrite, label.size() + body.size());
        if (!label.isEmpty())
            text += "{M:" + label + "}";
        if (!body.isEmpty())
            text += QStringLiteral("{%1:").arg(tag(bodyStyle)) + body + "}";
    }
    static QString tag(LogStyle style) {
        return style == LogStyle::Rx1 ? "1" : style == LogStyle::Rx2 ? "2" : "M";
    }
    QString text;
    int writes = 0;
    qsizetype longestWrite = 0;
};

class ReceiveLinesTest : public ::testing::Test {
protected:
    RecordingLog log;
    int lastRxPort = 0;
    // Bytes read as they are, one character each.
    ReceiveLines lines{log, lastRxPort,
                       [](const QByteArray& bytes) { return QString::fromLatin1(bytes); }};
};

} // namespace

TEST_F(ReceiveLinesTest, DebuggingLinesAreWholeLinesWithTheirLabels) {
    lines.dataReceived("41,42,");
    lines.signalReceived("CTS Turned ON ...");
    lines.notice("Attention: Input Buffer Overflow!");
    EXPECT_EQ(log.text, "{M:Data received: }{1:41,42,\r\n}"
                        "{M:Signal received: }{1:CTS Turned ON ...\r\n}"
                        "{M:Attention: Input Buffer Overflow!\r\n}");
}

TEST_F(ReceiveLinesTest, HalfDuplexContinuesTheLineWithinTheSameMillisecondCountOnly) {
    lines.monitoredData(0, "41,");
    lines.monitoredData(0, "42,");
    lines.monitoredData(1250, "43,");
    EXPECT_EQ(log.text, "{M:\r\n00:00:00.000 [RX]: }{2:41,}{2:42,}"
                        "{M:\r\n00:00:01.250 [RX]: }{2:43,}");
}

TEST_F(ReceiveLinesTest, FullDuplexStartsALineAtEachChangeOfPortAndAfterALineEvent) {
    lines.portData(5, 1, "41,", LogStyle::Rx1);
    lines.portData(9, 2, "61,", LogStyle::Rx2);
    // However long the silence, the same port continues its line.
    lines.portData(60000, 2, "62,", LogStyle::Rx2);
    lines.lineEvent(60001, "RTS Turned ON ...");
    EXPECT_EQ(lastRxPort, 0);
    lines.portData(60002, 2, "63,", LogStyle::Rx2);
    EXPECT_EQ(lastRxPort, 2);
    EXPECT_EQ(log.text, "{M:\r\n00:00:00.005 [COM 1]: }{1:41,}"
                        "{M:\r\n00:00:00.009 [COM 2]: }{2:61,}{2:62,}"
                        "{M:\r\n00:01:00.001 [ LINE ]: }{1:RTS Turned ON ...}"
                        "{M:\r\n00:01:00.002 [COM 2]: }{2:63,}");
}

TEST_F(ReceiveLinesTest, ANewSessionContinuesNothingOfTheLast) {
    lines.monitoredData(40, "41,");
    lines.portData(41, 3, "42,", LogStyle::Rx1);
    lines.reset();
    EXPECT_EQ(lastRxPort, 0);
    log.text.clear();
    lines.monitoredData(40, "43,");
    lines.portData(41, 3, "44,", LogStyle::Rx1);
    EXPECT_EQ(log.text, "{M:\r\n00:00:00.040 [RX]: }{2:43,}{M:\r\n00:00:00.041 [COM 3]: }{1:44,}");
}

TEST_F(ReceiveLinesTest, ALargeBlockIsTurnedIntoTextAndWrittenASliceAtATime) {
    const QByteArray block(3 * ReceiveLines::SliceBytes, 'x');
    lines.dataReceived(block);
    EXPECT_EQ(log.writes, 3);
    EXPECT_LE(log.longestWrite, ReceiveLines::SliceBytes + 40) << "40: label and line breaks";
    EXPECT_TRUE(log.text.startsWith("{M:Data received: }{1:xxx"));
    EXPECT_TRUE(log.text.endsWith("xxx\r\n}"));
    EXPECT_EQ(log.text.count("Data received: "), 1);
    EXPECT_EQ(log.text.count('x'), block.size());
}

TEST_F(ReceiveLinesTest, ALineThatKeepsGrowingGoesOnOnContinuationLinesWithoutAStamp) {
    const QByteArray block = QByteArray("41 ").repeated(500); // 1500 characters
    for (int i = 0; i < 10; ++i)
        lines.portData(100 + i, 1, block, LogStyle::Rx1);
    const QStringList logLines = log.text.split("\r\n");
    EXPECT_EQ(log.text.count("[COM 1]"), 1);
    EXPECT_GE(logLines.size(), 4);
    for (const QString& line : logLines)
        EXPECT_LE(line.size(), BoundedLines::MaxLineChars + 20) << "20: the style tags";
    EXPECT_EQ(QString(log.text).remove(QRegularExpression("\\{.:|\\}|\r\n")).count("41 "), 5000);
}
