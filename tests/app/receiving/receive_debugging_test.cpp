#include "app/receiving/receive_fixture.h"

#include <QComboBox>

using namespace kst;
using namespace kst::test;

namespace {

using DebuggingReceive = ReceiveTest;

TEST_F(DebuggingReceive, ABurstIsOneBlockWrittenKeptAndOfferedToTheRules) {
    open();
    arrive(com1, "AB");
    EXPECT_TRUE(ledOn(Led::RX));
    EXPECT_EQ(ball(), "Receiving data ...");
    EXPECT_EQ(ui().StatusBar1->panelPicture("Ball"), 3);
    arrive(com1, "\r");
    tick();
    EXPECT_TRUE(log().isEmpty()) << "a tick that brings bytes does not end the block";
    tick();
    EXPECT_EQ(log(), "Data received: 41,42,D,\n");
    EXPECT_EQ(engines.calls, QStringList({"AutoRespond(41,42,D,)"}));
    EXPECT_FALSE(ledOn(Led::RX));
    EXPECT_EQ(ball(), "Ready");
    EXPECT_EQ(ui().StatusBar1->panelPicture("Ball"), 2);
}

TEST_F(DebuggingReceive, AStreamIsCutIntoBlocksOfElevenPiecesAndOfTwoAfterAnOverflow) {
    open();
    // One byte a tick: every tick brings a piece.
    auto stream = [&](int pieces) {
        for (int k = 0; k < pieces; ++k) {
            arrive(com1, QByteArray(1, char('a' + k % 26)));
            tick();
        }
        tick();
    };
    stream(22);
    EXPECT_EQ(log(), "Data received: 61,62,63,64,65,66,67,68,69,6A,6B,\n"
                     "Data received: 6C,6D,6E,6F,70,71,72,73,74,75,76,\n");

    clearLog();
    raise(com1, comm::comEventRxOver);
    EXPECT_EQ(log(), "Attention: Input Buffer Overflow!\n");
    stream(4);
    EXPECT_EQ(log().count("Data received: "), 2);
    EXPECT_TRUE(log().endsWith("Data received: 61,62,\nData received: 63,64,\n"));

    // A new opening cuts long blocks again.
    open();
    stream(11);
    EXPECT_EQ(log(), "Data received: 61,62,63,64,65,66,67,68,69,6A,6B,\n");
}

TEST_F(DebuggingReceive, TheGapTickFollowsTheRateOfTheOpenPort) {
    ui().BaudChoice->setCurrentText("300");
    open();
    EXPECT_EQ(gapTick(), 67) << "two characters of ten bits";
    // A line that sends without a pause: a character every 33 ms.
    for (const char c : {'A', 'B', 'C', 'D'}) {
        arrive(com1, QByteArray(1, c));
        timers.advance(33);
    }
    timers.advance(200);
    EXPECT_EQ(log(), "Data received: 41,42,43,44,\n");
}

TEST_F(DebuggingReceive, WithTheRxTimerEverythingOfTheChosenDelayIsOneLine) {
    rxTimer(true);
    ui().CbTimer->setCurrentText("50 ms");
    open();
    arrive(com1, "12");
    timers.advance(30);
    arrive(com1, "34");
    timers.advance(19);
    EXPECT_TRUE(log().isEmpty());
    timers.advance(1);
    EXPECT_EQ(log(), "Data received: 31,32,33,34,\n");
    EXPECT_EQ(engines.calls.size(), 1);
    EXPECT_FALSE(ledOn(Led::RX));
    EXPECT_FALSE(ledOn(Led::TX));
    arrive(com1, "5");
    timers.advance(50);
    EXPECT_TRUE(log().endsWith("\nData received: 35,\n"));
}

TEST_F(DebuggingReceive, TheNotationShapesTheLineAndAsciiKeepsTheRawTextForTheEngines) {
    open();
    const QByteArray block("OK\r\n", 4);
    const struct {
        int rxFormat;
        bool formatted;
        QString line;
        QString match;
    } cases[] = {
        {ncDec, false, "79,75,13,10,", "4F,4B,D,A,"},
        {ncDec, true, "079 075 013 010 ", "4F,4B,D,A,"},
        {ncHex, true, "4F 4B 0D 0A ", "4F,4B,D,A,"},
        {ncOct, false, "117,113,15,12,", "4F,4B,D,A,"},
        {ncBin, true, "01001111 01001011 00001101 00001010 ", "4F,4B,D,A,"},
        {ncAscii, true, "OK<CR><LF>", "OK\r\n"},
    };
    for (const auto& c : cases) {
        notation(c.rxFormat);
        formattedView(c.formatted);
        clearLog();
        arrive(com1, block);
        tick();
        tick();
        EXPECT_EQ(log(), "Data received: " + c.line + "\n") << c.rxFormat << c.formatted;
        EXPECT_EQ(engines.calls.takeLast(), "AutoRespond(" + c.match + ")") << c.rxFormat;
    }
    // The raw text keeps its own line breaks.
    formattedView(false);
    clearLog();
    arrive(com1, block);
    tick();
    tick();
    EXPECT_EQ(log(), "Data received: OK\n\n");
}

TEST_F(DebuggingReceive, AReceiveEventWhoseBytesWereTakenAlreadyWritesAndOffersNothing) {
    open();
    arrive(com1, "A");
    // More bytes, and their event, come while the block is gathered; a tick takes them.
    com1.deliver("B");
    tick();
    tick();
    EXPECT_EQ(log(), "Data received: 41,42,\n");
    deliverEvents(); // the event of "B" arms the detector again
    tick();
    tick();
    EXPECT_EQ(log(), "Data received: 41,42,\n");
    EXPECT_EQ(engines.calls, QStringList({"AutoRespond(41,42,)"}));
    EXPECT_EQ(ball(), "Ready");
    EXPECT_FALSE(ledOn(Led::RX));
}

TEST_F(DebuggingReceive, ABlockGoesToTheWaitingMacroAndToNoOtherEngine) {
    open();
    engines.waits = true;
    engines.idle = false;
    arrive(com1, "A");
    tick();
    tick();
    engines.waits = false;
    arrive(com1, "B");
    tick();
    tick();
    EXPECT_EQ(engines.calls, QStringList({"EvaluateSubRoutine(41,)"}))
        << "a macro that runs without waiting takes nothing, and the rules wait for it";
}

TEST_F(DebuggingReceive, ClosingWritesTheBlockBeingGatheredAndTheNextOpeningStartsEmpty) {
    open();
    arrive(com1, "A");
    tick();
    com1.deliver("B"); // received, its event not yet handled
    port().ClosePort();
    EXPECT_TRUE(log().startsWith("Data received: 41,42,\n\n* * * * * * * * * * COM Port Closed"))
        << log().toStdString();
    EXPECT_TRUE(engines.calls.isEmpty()) << "a block of a closed session answers nothing";
    EXPECT_EQ(timers.waitingCount(), 0);

    open();
    arrive(com1, "C");
    tick();
    tick();
    EXPECT_EQ(log(), "Data received: 43,\n");
}

} // namespace
