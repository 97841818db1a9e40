#pragma once

#include "app/app_fixtures.h"
#include "app/port/port_control.h"
#include "app/receiving/comm_events.h"
#include "app/receiving/receive_path.h"
#include "notation/notation.h"
#include "platform/scheduler.h"
#include "platform/serial/simulated_line.h"
#include "support/recording_engines.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QRadioButton>

namespace kst::test {

// A main window on two simulated lines, COM1 and COM2, whose timers and clock move only
// when the test moves them, and whose engines record what they are offered.
class ReceiveTest : public ::testing::Test {
protected:
    ReceiveTest() : main((folder.makeReady(), folder.path()), FullScreen, &timers) {
        main.session().useDevices(comm::SimulatedLine::factory({{1, &com1}, {2, &com2}}));
        main.InitMainWindow();
        main.controller().commEvents().setEngines(&engines);
        rxTimer(false);
        formattedView(false);
        boxes.clear();
    }

    const MainControls& ui() const { return main.ui(); }
    PortControl& port() { return main.controller().port(); }
    QString log() { return main.log().plainText(); }
    void clearLog() { main.log().clear(); }
    QString ball() const { return ui().StatusBar1->panelText("Ball"); }
    bool ledOn(Led led) const {
        return ui().ledImage(led)->picture().cacheKey() ==
               ui().imgLedSample[1]->picture().cacheKey();
    }

    void rxTimer(bool on) { ui().Check1->setChecked(on); }
    void formattedView(bool on) { ui().Check3->setChecked(on); }
    void notation(int rxFormat) { ui().Option2[static_cast<size_t>(rxFormat)]->setChecked(true); }
    void monitoring(bool fullDuplex) {
        main.state().MonitoringMode = true;
        main.state().TwoPortActive = fullDuplex;
        main.state().SecondPort = 2;
        main.menus().mnuDebugging->setChecked(false);
        main.menus().mnuMonitoring->setChecked(true);
    }
    // Opens the port with an empty log, at `ms` of the clock.
    void open(qint64 ms = 0) {
        clock.ms = ms;
        port().OpenPort();
        clearLog();
    }

    // The port's events reach the window.
    static void deliverEvents() {
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::sendPostedEvents();
    }
    void arrive(comm::SimulatedLine& line, const QByteArray& bytes) {
        line.deliver(bytes);
        deliverEvents();
    }
    void raise(comm::SimulatedLine& line, int commEvent) {
        line.raise(commEvent);
        deliverEvents();
    }
    int gapTick() { return main.controller().commEvents().receivePath().cutter().gapTickMs(); }
    void tick() { timers.advance(gapTick()); }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    CountingBeeper beeper;
    ManualClock clock;
    ManualScheduler timers;
    comm::SimulatedLine com1;
    comm::SimulatedLine com2;
    RecordingEngines engines;
    RecordingMain main;
};

} // namespace kst::test
