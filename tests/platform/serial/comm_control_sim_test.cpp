#include "platform/serial/comm_control.h"
#include "platform/serial/simulated_line.h"
#include "serial_test_support.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

using namespace kst::comm;
using Action = SimulatedLine::Action;
using kst::test::errorNumberOf;
using kst::test::settle;

namespace {

// What the OnComm handler saw when it ran.
struct Seen {
    int commEvent;
    bool cts, dsr, cd, open;
};

class SimulatedPort : public ::testing::Test {
protected:
    void SetUp() override {
        port.setCommPort(3);
        QObject::connect(&port, &CommControl::OnComm, [this] {
            seen.push_back({port.CommEvent(), port.CTSHolding(), port.DSRHolding(),
                            port.CDHolding(), port.PortOpen()});
        });
    }

    bool waitForEvents(size_t count) {
        return QTest::qWaitFor([&] { return seen.size() >= count; }, 5000);
    }
    std::vector<int> codes() const {
        std::vector<int> result;
        for (const Seen& s : seen)
            result.push_back(s.commEvent);
        return result;
    }

    SimulatedLine line;
    SimulatedLine other;
    CommControl port{SimulatedLine::factory({{3, &line}, {4, &other}})};
    std::vector<Seen> seen;
};

TEST_F(SimulatedPort, EveryEventReachesOnCommWithItsCodeAndTheLinesOfItsTime) {
    port.setPortOpen(true);
    struct Step {
        std::function<void()> far;
        Seen expected;
    };
    const std::vector<Step> steps = {
        {[&] { line.setCts(true); }, {comEvCTS, true, false, false, true}},
        {[&] { line.setDsr(true); }, {comEvDSR, true, true, false, true}},
        {[&] { line.setCd(true); }, {comEvCD, true, true, true, true}},
        {[&] { line.setCts(false); }, {comEvCTS, false, true, true, true}},
        {[&] { line.ring(); }, {comEvRing, false, true, true, true}},
        {[&] { line.deliver("x"); }, {comEvReceive, false, true, true, true}},
        {[&] { line.raise(comEvSend); }, {comEvSend, false, true, true, true}},
        {[&] { line.raise(comEvEOF); }, {comEvEOF, false, true, true, true}},
        {[&] { line.setDsr(false); }, {comEvDSR, false, false, true, true}},
        {[&] { line.setCd(false); }, {comEvCD, false, false, false, true}},
    };
    for (const Step& step : steps) {
        step.far();
        ASSERT_TRUE(waitForEvents(seen.size() + 1)) << step.expected.commEvent;
        const Seen& got = seen.back();
        EXPECT_EQ(got.commEvent, step.expected.commEvent);
        EXPECT_EQ(got.cts, step.expected.cts) << got.commEvent;
        EXPECT_EQ(got.dsr, step.expected.dsr) << got.commEvent;
        EXPECT_EQ(got.cd, step.expected.cd) << got.commEvent;
        EXPECT_TRUE(got.open);
    }
    for (int error :
         {comEventBreak, comEventCTSTO, comEventDSRTO, comEventFrame, comEventOverrun, comEventCDTO,
          comEventRxOver, comEventRxParity, comEventTxFull, comEventDCB}) {
        line.raise(error);
        ASSERT_TRUE(waitForEvents(seen.size() + 1)) << error;
        EXPECT_EQ(seen.back().commEvent, error);
        EXPECT_EQ(port.CommEvent(), error);
    }
    EXPECT_EQ(port.Input(), QByteArray("x"));
}

TEST_F(SimulatedPort, EventsArriveInOrderOneDeliveryPerKindWhileWaiting) {
    port.setPortOpen(true);
    line.raise(comEventFrame);
    line.setCts(true);
    line.deliver(QByteArray("\x00\x01", 2));
    line.deliver("\xFF");
    line.raise(comEventFrame); // still waiting: no second delivery
    ASSERT_TRUE(waitForEvents(3));
    settle();
    EXPECT_EQ(codes(), (std::vector<int>{comEventFrame, comEvCTS, comEvReceive}));
    EXPECT_EQ(port.Input(), QByteArray("\x00\x01\xFF", 3));
    EXPECT_EQ(port.Input(), QByteArray());
}

TEST_F(SimulatedPort, OutputLinesAreKeptWhileClosedAndAppliedInOrderOnOpen) {
    port.setDTREnable(true);
    port.setRTSEnable(true);
    port.setBreak(true);
    EXPECT_FALSE(port.Break()) << "no break on a closed port";
    EXPECT_TRUE(line.actions().isEmpty());
    EXPECT_EQ(errorNumberOf([&] { port.Output("a"); }), err::PortNotOpen);

    port.setSettings("19200,E,7,2");
    port.setHandshaking(2);
    port.setPortOpen(true);
    port.setBreak(true);
    port.Output("ab");
    port.setBreak(false);
    port.setRTSEnable(false);
    port.setDTREnable(false);
    port.setPortOpen(false);

    EXPECT_EQ(line.actions(), (QList<Action>{{Action::Open, {}, false},
                                             {Action::Dtr, {}, true},
                                             {Action::Rts, {}, true},
                                             {Action::Break, {}, true},
                                             {Action::Write, "ab", false},
                                             {Action::Break, {}, false},
                                             {Action::Rts, {}, false},
                                             {Action::Dtr, {}, false},
                                             {Action::Close, {}, false}}));
    const LineSettings applied = line.settings();
    EXPECT_EQ(applied.baud, 19200);
    EXPECT_EQ(applied.parity, Parity::Even);
    EXPECT_EQ(applied.dataBits, 7);
    EXPECT_EQ(applied.stopBits, StopBits::Two);
    EXPECT_EQ(applied.handshake, Handshake::RtsCts);
    EXPECT_FALSE(port.DTREnable());
}

TEST_F(SimulatedPort, SettingsOnAnOpenPortApplyAtOnce) {
    port.setPortOpen(true);
    port.setSettings("256000,m,5,1.5");
    port.setHandshaking(3);
    EXPECT_EQ(port.Settings(), "256000,M,5,1.5");
    EXPECT_EQ(line.settings().baud, 256000);
    EXPECT_EQ(line.settings().handshake, Handshake::Both);
    EXPECT_EQ(line.actions().count(Action{Action::Configure, {}, false}), 2);

    EXPECT_EQ(errorNumberOf([&] { port.setSettings("9600,N,4,1"); }), err::CommStateInvalid);
    EXPECT_EQ(port.Settings(), "256000,M,5,1.5") << "the line keeps running as it was";
}

TEST_F(SimulatedPort, OpeningErrorsLeaveThePortClosed) {
    EXPECT_EQ(errorNumberOf([&] { port.setCommPort(0); }), err::InvalidPortNumber);
    EXPECT_EQ(errorNumberOf([&] { port.setCommPort(17); }), err::InvalidPortNumber);
    EXPECT_EQ(port.CommPort(), 3);
    EXPECT_EQ(errorNumberOf([&] { port.setSettings("9600,X,8,1"); }), err::InvalidPropertyValue);
    EXPECT_EQ(errorNumberOf([&] { port.setHandshaking(4); }), err::InvalidPropertyValue);
    EXPECT_EQ(port.Settings(), "9600,N,8,1");
    EXPECT_EQ(port.Handshaking(), 0);

    port.setCommPort(5); // no line there
    EXPECT_EQ(errorNumberOf([&] { port.setPortOpen(true); }), err::InvalidPortNumber);
    EXPECT_FALSE(port.PortOpen());

    port.setCommPort(3);
    port.setSettings("9600,N,4,1");
    EXPECT_EQ(errorNumberOf([&] { port.setPortOpen(true); }), err::CommStateInvalid);
    EXPECT_FALSE(port.PortOpen());
    EXPECT_FALSE(line.isOpen());

    port.setSettings("9600,N,8,1");
    line.setOpenError(err::HardwareNotAvailable);
    EXPECT_EQ(errorNumberOf([&] { port.setPortOpen(true); }), err::HardwareNotAvailable);
    EXPECT_FALSE(port.PortOpen());
    line.setOpenError(0);
    port.setPortOpen(true);
    EXPECT_TRUE(port.PortOpen());
}

TEST_F(SimulatedPort, APortAlreadyOpenHereOrByTheOtherControlIs8005) {
    port.setPortOpen(true);
    EXPECT_EQ(errorNumberOf([&] { port.setPortOpen(true); }), err::PortAlreadyOpen);
    EXPECT_EQ(errorNumberOf([&] { port.setCommPort(4); }), err::PortAlreadyOpen);

    CommControl second(SimulatedLine::factory({{3, &line}}));
    second.setCommPort(3);
    EXPECT_EQ(errorNumberOf([&] { second.setPortOpen(true); }), err::PortAlreadyOpen);
    EXPECT_FALSE(second.PortOpen());
    EXPECT_TRUE(port.PortOpen()) << "the holder keeps its port";

    port.setPortOpen(false);
    second.setPortOpen(true);
    EXPECT_TRUE(second.PortOpen());
}

TEST_F(SimulatedPort, AnUnpluggedDeviceIsReportedOnceAndThePortReadsClosed) {
    port.setPortOpen(true);
    line.deliver("abc");
    line.unplug();
    EXPECT_EQ(errorNumberOf([&] { port.Output("after"); }), err::PortNotOpen)
        << "refused while the loss is still on its way";
    ASSERT_TRUE(waitForEvents(2));
    settle();
    EXPECT_EQ(codes(), (std::vector<int>{comEvReceive, comEventPortLost}));
    EXPECT_FALSE(seen.back().open) << "closed by the time the handler runs";
    EXPECT_FALSE(port.PortOpen());
    EXPECT_FALSE(line.isOpen());
    EXPECT_EQ(port.Input(), QByteArray("abc")) << "what came before the loss is kept";
    EXPECT_FALSE(port.CTSHolding());
    EXPECT_EQ(errorNumberOf([&] { port.Output("x"); }), err::PortNotOpen);
    EXPECT_TRUE(line.written().isEmpty());

    EXPECT_EQ(errorNumberOf([&] { port.setPortOpen(true); }), err::InvalidPortNumber);
    line.plugIn();
    port.setPortOpen(true);
    EXPECT_TRUE(port.PortOpen());
}

TEST_F(SimulatedPort, ARefusedOutputRaisesTheOutputBufferEvent) {
    port.setPortOpen(true);
    line.setOutputFull(true);
    port.Output("lost");
    ASSERT_TRUE(waitForEvents(1));
    EXPECT_EQ(seen.back().commEvent, comEventTxFull);
    EXPECT_TRUE(line.written().isEmpty());
}

TEST_F(SimulatedPort, ClosingDropsWhatWasNotDeliveredYet) {
    port.setPortOpen(true);
    line.deliver("old");
    line.setCts(true);
    port.setPortOpen(false);
    settle();
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(port.Input(), QByteArray());
}

TEST(SimulatedPortBuffer, AFullInputBufferRaisesTheOverflowEventAndCountsTheLoss) {
    SimulatedLine line;
    CommControl port(SimulatedLine::factory({{1, &line}}), nullptr, 8);
    std::vector<int> codes;
    QObject::connect(&port, &CommControl::OnComm, [&] { codes.push_back(port.CommEvent()); });
    port.setPortOpen(true);
    line.deliver("12345");
    line.deliver("67890");
    ASSERT_TRUE(QTest::qWaitFor([&] { return codes.size() >= 2; }, 5000));
    EXPECT_EQ(codes, (std::vector<int>{comEvReceive, comEventRxOver}));
    EXPECT_EQ(port.Input(), QByteArray("12345678"));
    EXPECT_EQ(port.droppedInputBytes(), 2);
}

TEST(SimulatedPortThreads, AFarEndOnAnotherThreadLosesNoByteAndEventsComeOnTheUiThread) {
    SimulatedLine line;
    CommControl port(SimulatedLine::factory({{1, &line}}));
    QByteArray received;
    bool onUiThread = true;
    QObject::connect(&port, &CommControl::OnComm, [&] {
        onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
        if (port.CommEvent() == comEvReceive)
            received += port.Input();
    });
    port.setPortOpen(true);
    QByteArray sent;
    for (int i = 0; i < 4000; ++i)
        sent.append(char(i * 7));
    std::thread farEnd([&] {
        bool cts = false;
        for (qsizetype i = 0; i < sent.size(); i += 10) {
            line.deliver(sent.mid(i, 10));
            if (i % 500 == 0)
                line.setCts(cts = !cts);
        }
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= sent.size(); }, 10000));
    farEnd.join();
    received += port.Input();
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(onUiThread);
}

} // namespace

TEST_F(SimulatedPort, ARefusedBreakRaisesAndLeavesTheBreakOff) {
    port.setPortOpen(true);
    line.setBreakRefused(true);
    EXPECT_EQ(errorNumberOf([&] { port.setBreak(true); }), err::HardwareNotAvailable);
    EXPECT_FALSE(port.Break());
    EXPECT_FALSE(line.breakOn());
    line.setBreakRefused(false);
    port.setBreak(true);
    EXPECT_TRUE(port.Break());
    EXPECT_TRUE(port.portPresent(3));
    line.unplug();
    EXPECT_TRUE(port.portPresent(3)) << "open here until its loss is delivered";
    EXPECT_FALSE(port.portPresent(5));
}
