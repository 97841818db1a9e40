#include "auto_responder.h"

namespace kst {

AutoResponder::AutoResponder(SendEngine& sender, AutoResponseView& view)
    : sender_(sender), view_(view) {}

void AutoResponder::switchTo(bool on) {
    on_ = on;
    view_.autoResponseSwitched(on);
}

void AutoResponder::suspend() {
    if (!on_)
        return;
    switchTo(false);
    suspended_ = true;
}

void AutoResponder::resume() {
    if (!suspended_)
        return;
    switchTo(true);
    suspended_ = false;
}

void AutoResponder::offer(const ReceivedEvent&) {
    (void)sender_;
}

} // namespace kst
