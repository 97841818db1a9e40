#include "macro_runner.h"

#include "autoresp/auto_responder.h"
#include "autoresp/match_condition.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "traffic/received_event.h"
#include "traffic/send_engine.h"

namespace kst {

namespace {

const QString CRLF = QStringLiteral("\r\n");
constexpr int MaxStepWaitMs = 65535;

} // namespace

MacroRunner::MacroRunner(SendEngine& sender, Scheduler& scheduler, AutoResponder& autoResponder,
                         MacroRunView& view)
    : sender_(sender), scheduler_(scheduler), autoResponse_(autoResponder), view_(view),
      subRoutineFailures_(QStringLiteral("Macros Sub-routine Error:"),
                          QStringLiteral("Error number: "),
                          [&view](const QString& line) { view.note(line); }) {}

MacroRunner::~MacroRunner() = default;

void MacroRunner::setContinuousPlay(bool continuous) {
    continuousPlay_ = continuous;
    view_.playModeShown(continuous);
}

// ---------------------------------------------------------------------------------------
// The requests

void MacroRunner::run() {
    // The run controls are live only with the port open, and a run starts from none;
    // with no macro loaded (its load failed) there is nothing to play.
    if (!view_.portOpen() || state_ != MacroRunState::Idle || loaded_ == 0)
        return;
    view_.showRunControls({.run = false, .pause = true, .stop = true, .macroBox = false});
    state_ = MacroRunState::Running;
    active_ = true;
    setRunning(true);
    if (resumeStep_ > 0 || paused_)
        view_.describe(CRLF + QStringLiteral("Macro %1 resumed ...").arg(view_.shownMacro()) +
                       CRLF);
    startMacro();
}

void MacroRunner::pause() {
    if (state_ != MacroRunState::Running)
        return;
    state_ = MacroRunState::PauseRequested;
    setRunning(false);
    const bool inWait = phase_ == Phase::Waiting;
    // A send step's send ends silently and the run pauses at the next step's head; the
    // sends of a branch end too.
    sender_.endForMacro();
    if (inWait && phase_ == Phase::Waiting) {
        // The step is played again from its start, with its whole wait.
        paused_ = true;
        stepTimer_.cancel();
        phase_ = Phase::None;
        pauseExit(step_);
    }
}

void MacroRunner::stop() {
    view_.enableMacroBox();
    state_ = MacroRunState::StopRequested;
    resumeStep_ = 0;
    paused_ = false;
    // A paused run has no step to end: it stops now.
    if (!running_)
        return stopMacro();
    if (phase_ == Phase::Waiting)
        stepDone_ = true;
    // A send step ends silently and the next step's head stops the run; a wait ends
    // once its branch sends have.
    sender_.endForMacro();
    endWaitIfDone();
}

void MacroRunner::portOpened() {
    state_ = MacroRunState::Idle;
}

void MacroRunner::portClosed() {
    state_ = MacroRunState::StopRequested;
    resumeStep_ = 0;
    paused_ = false;
    if (!active_)
        return;
    // Nothing is left to see the stop of a paused run: it stops now.
    if (!running_)
        return stopMacro();
    // The sends are interrupted as the port closes; a wait without one ends now.
    if (phase_ == Phase::Waiting) {
        stepDone_ = true;
        endWaitIfDone();
    }
}

// ---------------------------------------------------------------------------------------
// The steps

void MacroRunner::startMacro() {
    if (!paused_) {
        view_.describe(
            CRLF +
            QStringLiteral("Macro %1 is now running . . . . . . . . . .").arg(view_.shownMacro()) +
            CRLF);
    }
    autoResponse_.take();
    head(resumeStep_);
}

void MacroRunner::head(int step) {
    if (step > 7)
        return afterLastStep();
    if (state_ == MacroRunState::StopRequested) {
        setRunning(false);
        return stopMacro();
    }
    if (state_ == MacroRunState::PauseRequested)
        return pauseExit(step);
    const MacroStep& s = macro_.steps[static_cast<size_t>(step)];
    view_.describe(CRLF + QStringLiteral("Step %1 (%2):").arg(step + 1).arg(s.name) + CRLF);
    step_ = step;
    if (s.action == 0)
        playSend(step);
    else
        playSubRoutine(step);
}

void MacroRunner::afterLastStep() {
    const int shown = view_.shownMacro();
    if (shown < 8 && continuousPlay_) {
        resumeStep_ = 0;
        // A macro that cannot be loaded does not run half of itself: the run stops.
        if (!view_.selectMacro(shown + 1)) {
            setRunning(false);
            return stopMacro();
        }
        return startMacro();
    }
    setRunning(false);
    stopMacro();
}

void MacroRunner::playSend(int step) {
    const std::optional<SendAction> action = outgoing(macro_.steps[static_cast<size_t>(step)].send);
    if (!action)
        return head(step + 1);
    phase_ = Phase::Sending;
    sender_.send(*action, QStringLiteral("Macros"), [this, step](SendOutcome) {
        if (phase_ != Phase::Sending || step_ != step)
            return;
        phase_ = Phase::None;
        head(step + 1);
    });
}

void MacroRunner::playSubRoutine(int step) {
    const MacroStep& s = macro_.steps[static_cast<size_t>(step)];
    const int k = s.subRoutineNo;
    if (k < 0 || k > 7)
        return fail(err::SubscriptOutOfRange);
    const MacroSubRoutine& sub = macro_.subRoutines[static_cast<size_t>(k)];
    view_.describe(QStringLiteral("Running Sub-Routine %1 (%2) for %3 ms ...")
                       .arg(k + 1)
                       .arg(sub.name)
                       .arg(s.waitMs) +
                   CRLF);
    armed_ = k;
    // A sub-routine played again gets its ELSE on timeout back.
    elseCheck_[static_cast<size_t>(k)] = sub.elseOnTimeout;
    if (s.waitMs < 1)
        return head(step + 1);
    if (s.waitMs > MaxStepWaitMs)
        return fail(err::InvalidPropertyValue);
    stepDone_ = false;
    branchSends_ = 0;
    phase_ = Phase::Waiting;
    ++wait_;
    stepTimer_ = scheduler_.after(s.waitMs, [this] { stepTimerFired(); });
}

// ---------------------------------------------------------------------------------------
// The wait of a sub-routine step

void MacroRunner::offer(const ReceivedEvent& received) {
    if (waitsForEvent())
        evaluate(&received);
}

void MacroRunner::stepTimerFired() {
    stepDone_ = true;
    const quint64 wait = wait_;
    if (elseCheck_[static_cast<size_t>(armed_)])
        evaluate(nullptr);
    // The ELSE's send may have ended the wait, and a later step begun another.
    if (wait == wait_)
        endWaitIfDone();
}

void MacroRunner::evaluate(const ReceivedEvent* received) {
    try {
        const MacroSubRoutine& sub = macro_.subRoutines[static_cast<size_t>(armed_)];
        if (!received)
            take(Branch::Else);
        else if (conditionHolds(sub.ifCondition, *received))
            take(Branch::If);
        else if (conditionHolds(sub.elseIfCondition, *received))
            take(Branch::ElseIf);
        else
            take(Branch::Else);
    } catch (const RunTimeError& e) {
        // The step waits on for the next block, event or its timer.
        subRoutineFailures_.report(e);
    }
}

void MacroRunner::take(Branch branch) {
    const MacroSubRoutine& sub = macro_.subRoutines[static_cast<size_t>(armed_)];
    static const char* const lines[] = {"<IF> condition met ...", "<ELSE IF> condition met ...",
                                        "No condition met ..."};
    view_.describe(QString::fromLatin1(lines[static_cast<int>(branch)]) + CRLF);
    // Cleared before anything is sent: the step timer may fire while the branch sends,
    // and must not start the ELSE as well.
    elseCheck_[static_cast<size_t>(armed_)] = false;
    stepDone_ = true;
    const SendAction& stored = branch == Branch::If       ? sub.ifThen
                               : branch == Branch::ElseIf ? sub.elseIfThen
                                                          : sub.elseThen;
    const quint64 wait = wait_;
    // The wait ends when the branch has been sent, not in the middle of its send.
    if (const std::optional<SendAction> action = outgoing(stored)) {
        ++branchSends_;
        sender_.send(*action, QStringLiteral("Macros"), [this](SendOutcome) { branchSent(); });
    } else if (wait == wait_) {
        endWaitIfDone();
    }
}

void MacroRunner::branchSent() {
    --branchSends_;
    endWaitIfDone();
}

void MacroRunner::endWaitIfDone() {
    if (phase_ != Phase::Waiting || branchSends_ > 0)
        return;
    // A pause takes the wait's own exit; a stop or an acted branch ends the wait.
    if (state_ == MacroRunState::PauseRequested)
        return;
    if (stepDone_ || state_ == MacroRunState::StopRequested)
        endWait();
}

void MacroRunner::endWait() {
    stepTimer_.cancel();
    phase_ = Phase::None;
    head(step_ + 1);
}

// ---------------------------------------------------------------------------------------
// Pausing and stopping

void MacroRunner::pauseExit(int step) {
    resumeStep_ = step;
    view_.showRunControls({.run = true, .pause = false, .stop = true, .macroBox = false});
    view_.describe(CRLF + QStringLiteral("Macro %1 paused ...").arg(view_.shownMacro()) + CRLF);
    state_ = MacroRunState::Idle;
    phase_ = Phase::None;
    setRunning(false);
}

void MacroRunner::stopMacro() {
    view_.describe(CRLF +
                   QStringLiteral(". . . . . . . . . . Macro %1 stopped.").arg(view_.shownMacro()) +
                   CRLF + CRLF);
    // Ended by a closing port, the run leaves the controls of a closed port.
    const bool open = view_.portOpen();
    view_.showRunControls({.run = open, .pause = false, .stop = false, .macroBox = open});
    // Any stop gives back what the run took; a chain that still runs keeps it off.
    autoResponse_.giveBack();
    stepTimer_.cancel();
    state_ = MacroRunState::Idle;
    resumeStep_ = 0;
    paused_ = false;
    active_ = false;
    phase_ = Phase::None;
    setRunning(false);
}

void MacroRunner::fail(int error) {
    msgBox(failureText(error, describeError(error)) +
               QStringLiteral("\nUnexpected errors occur when running macros, please try again!"),
           MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("MacrosSteps Error:"));
    // Left as it was, the run could neither go on nor be stopped: it ends as a stop would.
    setRunning(false);
    stopMacro();
}

void MacroRunner::setRunning(bool running) {
    running_ = running;
    sender_.setMacroRunning(running);
}

std::optional<SendAction> MacroRunner::outgoing(const SendAction& stored) {
    return inSendNotation(stored, sender_.sendNotation(), true);
}

} // namespace kst
