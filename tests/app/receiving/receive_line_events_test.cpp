#include "app/receiving/receive_fixture.h"

using namespace kst;
using namespace kst::test;

namespace {

class LineEvents : public ReceiveTest {
protected:
    LineEvents() {
        MainState& state = main.state();
        state.DetectCTS = state.DetectDSR = state.DetectDCD = state.DetectRI = true;
        main.shared().Prefs.bolSoundOnLineChange = true;
    }
    void change(void (comm::SimulatedLine::*set)(bool), bool on) {
        (com1.*set)(on);
        deliverEvents();
    }
};

TEST_F(LineEvents, AWatchedChangeIsWrittenCodedLitAndOfferedToTheEngines) {
    open();
    change(&comm::SimulatedLine::setCts, true);
    change(&comm::SimulatedLine::setDsr, true);
    engines.waits = true;
    engines.idle = false;
    change(&comm::SimulatedLine::setCd, true);
    EXPECT_EQ(log(), "Signal received: CTS Turned ON ...\n"
                     "Signal received: DSR Turned ON ...\n"
                     "Signal received: DCD Turned ON ...\n");
    EXPECT_EQ(engines.calls,
              QStringList({"AutoRespond(#1)", "AutoRespond(#3)", "EvaluateSubRoutine(#5)"}));
    EXPECT_EQ(beeper.count, 3);
    for (Led led : {Led::CTS, Led::DSR, Led::CD})
        EXPECT_TRUE(ledOn(led));
}

TEST_F(LineEvents, AGlitchThatCameBackAndAnUnwatchedLineAreInvisible) {
    main.state().DetectDCD = false;
    open();
    com1.setCts(true);
    com1.setCts(false); // one event, which finds the line as it was
    deliverEvents();
    change(&comm::SimulatedLine::setCd, true);
    EXPECT_TRUE(log().isEmpty());
    EXPECT_EQ(beeper.count, 0);
    EXPECT_TRUE(engines.calls.isEmpty());
    EXPECT_FALSE(ledOn(Led::CD));
}

TEST_F(LineEvents, AChangeDuringTheEventsOwnDispatchIsTheNextEvent) {
    open();
    // A device that drops CTS as soon as it is answered.
    engines.answer = [this] {
        engines.answer = nullptr;
        com1.setCts(false);
    };
    change(&comm::SimulatedLine::setCts, true);
    deliverEvents();
    EXPECT_EQ(log(), "Signal received: CTS Turned ON ...\nSignal received: CTS Turned OFF ...\n");
    EXPECT_EQ(engines.calls, QStringList({"AutoRespond(#1)", "AutoRespond(#2)"}));
}

TEST_F(LineEvents, ARingFlashesAndIsOfferedAsARingWhenTheFlashEnds) {
    open();
    com1.ring();
    deliverEvents();
    EXPECT_TRUE(ledOn(Led::RI));
    EXPECT_TRUE(main.state().RingPending);
    EXPECT_TRUE(log().isEmpty()) << "nothing is written before the flash ends";
    EXPECT_EQ(beeper.count, 1);
    timers.advance(PortEvents::RingFlashMs / 2);
    change(&comm::SimulatedLine::setCts, true);
    timers.advance(PortEvents::RingFlashMs / 2);
    EXPECT_FALSE(ledOn(Led::RI));
    EXPECT_EQ(log(), "Signal received: CTS Turned ON ...\nSignal received: RI Detected ...\n");
    EXPECT_EQ(engines.calls,
              QStringList({"AutoRespond(#1 ring pending)", "AutoRespond(#7 ring pending)"}));
    EXPECT_FALSE(main.state().RingPending);

    // A ring still flashing when the port closes goes with the session.
    com1.ring();
    deliverEvents();
    port().ClosePort();
    timers.advance(PortEvents::RingFlashMs);
    EXPECT_EQ(log().count("RI Detected"), 1);
    EXPECT_FALSE(main.state().RingPending);
    EXPECT_EQ(engines.calls.size(), 2);
}

TEST_F(LineEvents, ErrorTextsComeBackAfterEveryEventUntilThePortOpensAgain) {
    open();
    raise(com1, comm::comEventFrame);
    EXPECT_EQ(ball(), "Framing Error");
    change(&comm::SimulatedLine::setCts, true);
    EXPECT_EQ(ball(), "Framing Error");
    raise(com1, comm::comEvEOF);
    raise(com1, comm::comEventRxParity);
    EXPECT_EQ(ball(), "End of File Detected") << "the end of file wins over any error";
    raise(com1, comm::comEvSend);
    EXPECT_EQ(ball(), "End of File Detected");
    arrive(com1, "A");
    EXPECT_EQ(ball(), "End of File Detected") << "a receive event ends with the stored text too";
    tick();
    tick();
    EXPECT_EQ(ball(), "Ready");
    EXPECT_TRUE(boxes.boxes().isEmpty());

    // Another session, even on another port, starts without them.
    port().ClosePort();
    ui().portChoice->setCurrentText("2");
    open();
    com2.setCts(true);
    deliverEvents();
    EXPECT_EQ(log(), "Signal received: CTS Turned ON ...\n");
    EXPECT_EQ(ball(), "Ready");
}

TEST_F(LineEvents, BufferOverflowsAreWrittenAsAttentionLines) {
    open();
    raise(com1, comm::comEventTxFull);
    raise(com1, comm::comEventRxOver);
    EXPECT_EQ(log(), "Attention: Output Buffer Overflow!\nAttention: Input Buffer Overflow!\n");
    EXPECT_EQ(main.state().NoDataTickLimit, 1);
}

} // namespace
