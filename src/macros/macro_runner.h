#pragma once

#include "macros/macro_records.h"

namespace kst {

class AutoResponder;
class ReceivedEvent;
class SendEngine;

// The state of a macro run, by its old numbers.
enum class MacroRunState : int { Idle = 0, Running = 1, PauseRequested = 2, StopRequested = 3 };

// Where a run shows: the continuous-play button. The main window implements it.
class MacroRunView {
public:
    virtual ~MacroRunView() = default;
    virtual void playModeShown(bool continuous) = 0;
};

// Plays the loaded macro against the open port and owns the state of its run.
class MacroRunner {
public:
    MacroRunner(SendEngine& sender, AutoResponder& autoResponder, MacroRunView& view);

    MacroRunState state() const { return state_; }
    // No run is under way (a paused run included).
    bool idle() const { return state_ == MacroRunState::Idle; }
    // A running step waits on a sub-routine for a block or a line event.
    bool waitsForEvent() const { return state_ == MacroRunState::Running && waiting_; }
    bool continuousPlay() const { return continuousPlay_; }

    // Single or continuous play, shown on its button.
    void setContinuousPlay(bool continuous);

    // A port opened, or the window starts: no run.
    void portOpened();
    // The port closed: a run stops at its next check.
    void portClosed();

    // A block or line event while a step waits.
    void offer(const ReceivedEvent& received);

private:
    SendEngine& sender_;
    AutoResponder& autoResponder_;
    MacroRunView& view_;
    MacroRunState state_ = MacroRunState::Idle;
    // The step the next Run starts at (0-7).
    int resumeStep_ = 0;
    // A pause ended a sub-routine wait; only a stop clears it.
    bool paused_ = false;
    bool waiting_ = false;
    bool continuousPlay_ = false;
};

} // namespace kst
