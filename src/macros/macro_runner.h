#pragma once

#include "autoresp/auto_responder.h"
#include "macros/macro_records.h"
#include "platform/failure_box.h"
#include "platform/scheduler.h"

#include <QString>
#include <array>

namespace kst {

class ReceivedEvent;
class SendEngine;
enum class SendOutcome;

// The state of a macro run, by its old numbers.
enum class MacroRunState : int { Idle = 0, Running = 1, PauseRequested = 2, StopRequested = 3 };

// Which run controls (the toolbar buttons and their menu entries, and the macro box)
// are enabled.
struct MacroRunControls {
    bool run = false;
    bool pause = false;
    bool stop = false;
    bool macroBox = false;
    bool operator==(const MacroRunControls&) const = default;
};

// Where a run shows, and the macro choice it moves on in continuous play. The main
// window implements it.
class MacroRunView {
public:
    virtual ~MacroRunView() = default;
    // A line of the run in the log; written only while Description is on.
    virtual void describe(const QString& text) = 0;
    // A note in the log, whatever Description says.
    virtual void note(const QString& line) = 0;
    virtual void showRunControls(const MacroRunControls& controls) = 0;
    // Only the macro box, when a stop is asked for.
    virtual void enableMacroBox() = 0;
    virtual void playModeShown(bool continuous) = 0;
    // The macro the macro box shows (1-8).
    virtual int shownMacro() const = 0;
    // Selects macro `number` as the user's choice does, which loads it; false when the
    // load failed (it said why).
    virtual bool selectMacro(int number) = 0;
    virtual bool portOpen() const = 0;
};

// Plays the loaded macro against the open port: its 8 steps in order, a send step
// through the send engine, a sub-routine step arming one of the macro's sub-routines
// and waiting for a block or line event, which its IF / ELSE IF / ELSE answers. Run,
// Pause and Stop act as requests that take effect at a step's head, inside a
// sub-routine's wait and inside a send (which ends silently). Nothing waits in a loop:
// each wait is the step timer or a send's end, and the run goes on when it comes.
class MacroRunner {
public:
    MacroRunner(SendEngine& sender, Scheduler& scheduler, AutoResponder& autoResponder,
                MacroRunView& view);
    ~MacroRunner();

    // The macro `number` (1-8) a load made the current one.
    void setMacro(int number, const MacroRecords& macro) {
        loaded_ = number;
        macro_ = macro;
    }
    const MacroRecords& macro() const { return macro_; }
    // The number of the macro held (1-8), 0 while none is.
    int loadedMacro() const { return loaded_; }

    MacroRunState state() const { return state_; }
    // No run is under way (a paused one counts as none).
    bool idle() const { return state_ == MacroRunState::Idle; }
    // A running step waits on a sub-routine for a block or a line event. The first one
    // decides the wait: once a branch is taken (its send may still be under way), later
    // ones are not evaluated.
    bool waitsForEvent() const {
        return state_ == MacroRunState::Running && phase_ == Phase::Waiting && !stepDone_;
    }
    bool continuousPlay() const { return continuousPlay_; }
    // The sub-routine (0-7) the waiting step evaluates.
    int armedSubRoutine() const { return armed_; }

    // Run (F5): starts the shown macro, or resumes a paused run.
    void run();
    // Pause (F6), Stop (F7).
    void pause();
    void stop();
    // Toggle Single / Continuous (F8).
    void togglePlayMode() { setContinuousPlay(!continuousPlay_); }
    void setContinuousPlay(bool continuous);

    // A port opened, or the window starts: no run.
    void portOpened();
    // The port closed: a run stops; one that is paused stops at once. The view's port
    // reads closed already, so the run's end leaves the controls of a closed port.
    void portClosed();

    // A block or line event while a step waits.
    void offer(const ReceivedEvent& received);

private:
    enum class Phase { None, Sending, Waiting };
    enum class Branch { If, ElseIf, Else };

    void startMacro();
    void head(int step);
    void afterLastStep();
    void playSend(int step);
    void playSubRoutine(int step);
    void stepTimerFired();
    void evaluate(const ReceivedEvent* received);
    void take(Branch branch);
    void branchSent();
    void endWaitIfDone();
    void endWait();
    void pauseExit(int step);
    void stopMacro();
    void fail(int error);
    void setRunning(bool running);
    // The send of a step or branch in the send notation; nothing after the message when
    // its list holds an item that is no byte.
    std::optional<SendAction> outgoing(const SendAction& stored);

    SendEngine& sender_;
    Scheduler& scheduler_;
    // Auto-response is off from a run's start to its stop, pauses included.
    AutoResponder::Suspension autoResponse_;
    MacroRunView& view_;
    MacroRecords macro_;
    int loaded_ = 0;
    OneFailureBox subRoutineFailures_;

    MacroRunState state_ = MacroRunState::Idle;
    // The step loop is active (a paused run has none).
    bool running_ = false;
    // From a run's start to its stop, pauses included.
    bool active_ = false;
    // The step the next Run starts at (0-7).
    int resumeStep_ = 0;
    // A pause ended a sub-routine wait; only a stop clears it.
    bool paused_ = false;
    bool continuousPlay_ = false;

    // What the step under way waits for: its send, or (Waiting) a block or line event
    // for its sub-routine.
    Phase phase_ = Phase::None;
    int step_ = 0;
    int armed_ = 0;
    // The wait is over once its branch sends have ended.
    bool stepDone_ = false;
    int branchSends_ = 0;
    // Counts the waits, so a call that outlived its wait leaves the next one alone.
    quint64 wait_ = 0;
    // Each sub-routine's ELSE-on-timeout flag for this wait; a branch that acts clears it.
    std::array<bool, 8> elseCheck_{};
    TimerHandle stepTimer_;
};

} // namespace kst
