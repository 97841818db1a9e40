#include "macro_runner.h"

#include "traffic/send_engine.h"

namespace kst {

MacroRunner::MacroRunner(SendEngine& sender, AutoResponder& autoResponder, MacroRunView& view)
    : sender_(sender), autoResponder_(autoResponder), view_(view) {}

void MacroRunner::setContinuousPlay(bool continuous) {
    continuousPlay_ = continuous;
    view_.playModeShown(continuous);
}

void MacroRunner::portOpened() {
    state_ = MacroRunState::Idle;
}

void MacroRunner::portClosed() {
    state_ = MacroRunState::StopRequested;
    resumeStep_ = 0;
    paused_ = false;
}

void MacroRunner::offer(const ReceivedEvent&) {
    (void)sender_;
    (void)autoResponder_;
}

} // namespace kst
