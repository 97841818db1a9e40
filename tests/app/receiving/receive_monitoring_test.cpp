#include "app/receiving/receive_fixture.h"

using namespace kst;
using namespace kst::test;

namespace {

class MonitoringReceive : public ReceiveTest {
protected:
    MonitoringReceive() {
        MainState& state = main.state();
        state.DetectCTS = state.DetectDSR = state.DetectDCD = state.DetectRI = true;
    }
    // Bytes arriving `ms` after the port opened at 1000.
    void arriveAt(qint64 ms, comm::SimulatedLine& line, const QByteArray& bytes) {
        clock.ms = 1000 + ms;
        arrive(line, bytes);
    }
};

TEST_F(MonitoringReceive, HalfDuplexStampsALineForEachNewMillisecondCount) {
    monitoring(false);
    open(1000);
    arriveAt(0, com1, "A"); // in the very millisecond of the opening
    arriveAt(0, com1, "B");
    arriveAt(3725, com1, "C");
    EXPECT_EQ(log(), "\n00:00:00.000 [RX]: 41,42,\n00:00:03.725 [RX]: 43,");
    EXPECT_EQ(ball(), "Ready");
    EXPECT_TRUE(engines.calls.isEmpty()) << "nothing received while monitoring is answered";
    EXPECT_EQ(timers.waitingCount(), 0) << "monitoring reads at once";
}

TEST_F(MonitoringReceive, HalfDuplexWritesNoLineChangesButACtsChangeIsHeard) {
    monitoring(false);
    main.shared().Prefs.bolSoundOnLineChange = true;
    open(1000);
    for (bool on : {true, false, true}) {
        com1.setCts(on);
        deliverEvents();
    }
    com1.setDsr(true);
    com1.ring();
    deliverEvents();
    EXPECT_TRUE(log().isEmpty());
    EXPECT_EQ(beeper.count, 3) << "every CTS change, and nothing else";
}

TEST_F(MonitoringReceive, ANewSessionStartsItsOwnLineEvenAtTheSameStamp) {
    monitoring(false);
    open(1000);
    arriveAt(5, com1, "A");
    port().ClosePort();
    open(1000);
    arriveAt(5, com1, "B");
    EXPECT_EQ(log(), "\n00:00:00.005 [RX]: 42,");
}

TEST_F(MonitoringReceive, FullDuplexNamesThePortOfEachLineAndTheLineEventsBetween) {
    monitoring(true);
    open(1000);
    arriveAt(10, com1, "A");
    arriveAt(15, com2, "a");
    arriveAt(4000, com2, "b"); // the same port, however late: the same line
    com2.setCts(true);         // the other device's RTS
    clock.ms = 1000 + 4100;
    deliverEvents();
    arriveAt(4200, com2, "c");
    com1.ring();
    clock.ms = 1000 + 4300;
    deliverEvents();
    EXPECT_EQ(log(), "\n00:00:00.010 [COM 1]: 41,"
                     "\n00:00:00.015 [COM 2]: 61,62,"
                     "\n00:00:04.100 [ LINE ]: RTS Turned ON ..."
                     "\n00:00:04.200 [COM 2]: 63,"
                     "\n00:00:04.300 [ LINE ]: RI Detected ...");
    EXPECT_TRUE(ledOn(Led::RTS));
    EXPECT_FALSE(ledOn(Led::CTS));
    EXPECT_EQ(main.state().LastRxPort, 0);
    EXPECT_TRUE(engines.calls.isEmpty());
}

TEST_F(MonitoringReceive, FullDuplexWritesEachPortInItsOwnStyle) {
    main.shared().Prefs.rx1Color = 0x0000FF;
    main.shared().Prefs.rx2Color = 0xFF0000;
    monitoring(true);
    open(1000);
    arriveAt(1, com1, "A");
    arriveAt(2, com2, "B");
    const std::vector<StyledRun> runs = main.log().runs();
    const auto colorOf = [&](const QString& text) {
        for (const StyledRun& run : runs)
            if (run.text.contains(text))
                return run.style.color;
        return quint32(0x1000000);
    };
    EXPECT_EQ(colorOf("41,"), 0x0000FFu);
    EXPECT_EQ(colorOf("42,"), 0xFF0000u);
}

TEST_F(MonitoringReceive, TheSecondPortsErrorsNameIt) {
    monitoring(true);
    open(1000);
    raise(com2, comm::comEventFrame);
    EXPECT_EQ(ball(), "COM 2 Framing Error");
    raise(com2, comm::comEventRxOver);
    EXPECT_EQ(log(), "Attention: COM 2 Input Buffer Overflow!\n");
    EXPECT_EQ(main.state().NoDataTickLimit, 1);
}

TEST_F(MonitoringReceive, ClosingShowsWhatBothPortsReceivedLast) {
    monitoring(true);
    open(1000);
    arriveAt(1, com1, "A");
    clock.ms = 1000 + 2;
    com1.deliver("B");
    com2.deliver("C");
    port().ClosePort();
    EXPECT_TRUE(log().startsWith("\n00:00:00.001 [COM 1]: 41,42,\n00:00:00.002 [COM 2]: 43,\n"
                                 "* * * * * * * * * * COM Port Closed"))
        << log().toStdString();
}

} // namespace
