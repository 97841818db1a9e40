#include "app/app_fixtures.h"
#include "app/port/port_control.h"
#include "autoresp/auto_responder.h"
#include "macros/macro_runner.h"
#include "support/pty_pair.h"

#include <QTest>

using namespace kst;
using namespace kst::test;
using db::Value;

namespace {

// The program on a pseudo-terminal as COM1 with the default profile; the test plays the
// device at the far end.
class EnginesPty : public ::testing::Test {
protected:
    EnginesPty() { folder.makeReady(); }

    void start() {
        ASSERT_TRUE(linkPort(folder.path(), 1, device.slavePath()));
        main = std::make_unique<RecordingMain>(folder.path());
        main->InitMainWindow();
        main->controller().port().OpenPort();
        ASSERT_TRUE(main->MSComm1().PortOpen());
    }
    void setRow(const QString& table, int id, FieldValues fields) {
        kst::test::setRow(profileConnStr(folder.file("Devices/Device1.kst")), table, id, fields);
    }
    // What the device reads within a few seconds, while the program runs.
    QByteArray deviceReads(qsizetype size) {
        QByteArray got;
        // A device that reads too little is told by the caller's comparison.
        (void)QTest::qWaitFor(
            [&] {
                got += device.read(size - got.size(), 5);
                return got.size() >= size;
            },
            5000);
        return got;
    }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    PtyPair device;
    std::unique_ptr<RecordingMain> main;
};

TEST_F(EnginesPty, AStoredRuleAnswersTheDevice) {
    setRow("progAutoResp", 2, {{1, Value("4F,4B,")}, {2, Value("41,54,")}, {6, Value(qint64(0))}});
    start();
    main->session().autoResponder().switchTo(true);
    ASSERT_TRUE(device.write("OK"));
    EXPECT_EQ(deviceReads(2), QByteArray("AT"));
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('|').toStdString();
}

TEST_F(EnginesPty, AMacroSendsWaitsForTheReplyAndAnswersByItsIf) {
    setRow("progMacrosSeq", 1, {{2, Value(qint64(0))}, {3, Value("51,")}});
    setRow("progMacrosSeq", 2,
           {{2, Value(qint64(1))}, {5, Value(qint64(0))}, {7, Value(qint64(3000))}});
    setRow("progMacrosSubRoutines", 1,
           {{2, Value(qint64(0))}, {3, Value("52,")}, {5, Value("53,")}});
    start();
    main->controller().runMacro();
    EXPECT_EQ(deviceReads(1), QByteArray("Q"));
    ASSERT_TRUE(device.write("R"));
    EXPECT_EQ(deviceReads(1), QByteArray("S"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->session().macroRunner().idle(); }, 2000));
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('|').toStdString();
}

} // namespace
