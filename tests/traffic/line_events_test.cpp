#include "platform/serial/comm_codes.h"
#include "traffic/line_events.h"

#include <gtest/gtest.h>

using namespace kst;
using Show = LineChange::Show;

TEST(PrimaryLineChange, AChangeOfAWatchedLineIsWrittenAsTheModeWritesIt) {
    const LineChange debugging =
        primaryLineChange(ReceiveMode::Debugging, InputLine::Dsr, true, false, true);
    EXPECT_EQ(debugging.show, Show::Signal);
    EXPECT_EQ(debugging.event, LineEvent::DsrOn);
    EXPECT_EQ(debugging.text, "DSR Turned ON ...");
    EXPECT_TRUE(debugging.beep);

    const LineChange full =
        primaryLineChange(ReceiveMode::FullDuplex, InputLine::Dcd, false, true, true);
    EXPECT_EQ(full.show, Show::MonitorLine);
    EXPECT_EQ(full.text, "DCD Turned OFF ...");
    EXPECT_FALSE(full.beep) << "only a CTS change is heard in Monitoring mode";

    const LineChange half =
        primaryLineChange(ReceiveMode::HalfDuplex, InputLine::Cts, true, false, true);
    EXPECT_EQ(half.show, Show::Quietly);
    EXPECT_TRUE(half.beep);
}

TEST(PrimaryLineChange, EachLineHasItsOwnOnAndOffCodes) {
    const struct {
        InputLine line;
        int on, off;
    } lines[] = {{InputLine::Cts, 1, 2}, {InputLine::Dsr, 3, 4}, {InputLine::Dcd, 5, 6}};
    for (const auto& l : lines) {
        EXPECT_EQ(primaryLineChange(ReceiveMode::Debugging, l.line, true, false, true).event,
                  LineEvent(l.on));
        EXPECT_EQ(primaryLineChange(ReceiveMode::Debugging, l.line, false, true, true).event,
                  LineEvent(l.off));
    }
}

TEST(PrimaryLineChange, NoChangeOrAnUnwatchedLineIsIgnoredInEveryMode) {
    for (ReceiveMode mode :
         {ReceiveMode::Debugging, ReceiveMode::HalfDuplex, ReceiveMode::FullDuplex}) {
        const LineChange same = primaryLineChange(mode, InputLine::Cts, true, true, true);
        EXPECT_EQ(same.show, Show::Ignored);
        EXPECT_FALSE(same.beep);
        EXPECT_EQ(primaryLineChange(mode, InputLine::Cts, true, false, false).show, Show::Ignored);
    }
}

TEST(SecondLineChange, TheSecondPortsLinesAreTheOtherDevicesRtsAndDtr) {
    const LineChange rts = secondLineChange(InputLine::Cts, true, false, true);
    EXPECT_EQ(rts.show, Show::MonitorLine);
    EXPECT_EQ(rts.text, "RTS Turned ON ...");
    EXPECT_TRUE(rts.beep);
    const LineChange dtr = secondLineChange(InputLine::Dsr, false, true, true);
    EXPECT_EQ(dtr.text, "DTR Turned OFF ...");
    EXPECT_FALSE(dtr.beep);
    EXPECT_EQ(secondLineChange(InputLine::Dsr, true, true, true).show, Show::Ignored);
    EXPECT_EQ(secondLineChange(InputLine::Cts, true, false, false).show, Show::Ignored);
}

TEST(PortEvents, ErrorsAndEventsOfThePrimaryPortBecomeTheirTexts) {
    using K = PortEvent::Kind;
    const struct {
        int commEvent;
        K kind;
        const char* text;
    } rows[] = {{comm::comEvSend, K::None, ""},
                {comm::comEvEOF, K::EventText, "End of File Detected"},
                {comm::comEventCTSTO, K::ErrorText, "CTS Timeout"},
                {comm::comEventDSRTO, K::ErrorText, "DSR Timeout"},
                {comm::comEventFrame, K::ErrorText, "Framing Error"},
                {comm::comEventOverrun, K::ErrorText, "Overrun Error"},
                {comm::comEventCDTO, K::ErrorText, "Carrier Detect Timeout"},
                {comm::comEventRxOver, K::InputOverflow, "Attention: Input Buffer Overflow!"},
                {comm::comEventRxParity, K::ErrorText, "Parity Error"},
                {comm::comEventTxFull, K::OutputOverflow, "Attention: Output Buffer Overflow!"},
                {comm::comEventDCB, K::ErrorText, "Error retrieving DCB"},
                {comm::comEventBreak, K::ErrorText, "Unknown error or event"},
                {4711, K::ErrorText, "Unknown error or event"}};
    for (const auto& row : rows) {
        const PortEvent event = primaryPortEvent(row.commEvent);
        EXPECT_EQ(event.kind, row.kind) << row.commEvent;
        EXPECT_EQ(event.text, row.text) << row.commEvent;
    }
}

TEST(PortEvents, TheSecondPortsEventsNameIt) {
    EXPECT_EQ(secondPortEvent(comm::comEventRxOver, 4).kind, PortEvent::Kind::InputOverflow);
    EXPECT_EQ(secondPortEvent(comm::comEventRxOver, 4).text,
              "Attention: COM 4 Input Buffer Overflow!");
    EXPECT_EQ(secondPortEvent(comm::comEventFrame, 4).text, "COM 4 Framing Error");
    EXPECT_EQ(secondPortEvent(comm::comEventOverrun, 4).text, "COM 4 Overrun Error");
    EXPECT_EQ(secondPortEvent(comm::comEventRxParity, 12).text, "COM 12 Parity Error");
    EXPECT_EQ(secondPortEvent(comm::comEventDCB, 4).text, "COM 4 Unknown error or event");
}
