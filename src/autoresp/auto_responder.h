#pragma once

#include "autoresp/auto_response_rule.h"

namespace kst {

class ReceivedEvent;
class SendEngine;

// Where the auto-response switch shows: the toolbar button, its tool tip, the status
// panel and the log's echo. The main window implements it.
class AutoResponseView {
public:
    virtual ~AutoResponseView() = default;
    // Shown on every switch, also to the state in force.
    virtual void autoResponseSwitched(bool on) = 0;
};

// The auto-response rules of the open profile and their switch. A button chain or a
// macro run suspends the rules while it runs and the one that ends by itself resumes
// them; the user's own switch wins over both.
class AutoResponder {
public:
    AutoResponder(SendEngine& sender, AutoResponseView& view);

    bool isOn() const { return on_; }
    bool isSuspended() const { return suspended_; }

    // Switches on or off and shows it.
    void switchTo(bool on);
    void toggle() { switchTo(!on_); }
    // A chain or a run starts: the rules go off while it runs, if they were on.
    void suspend();
    // A chain or a run ended by itself: the rules it switched off come back.
    void resume();

    // A block or line event of the primary port.
    void offer(const ReceivedEvent& received);

private:
    SendEngine& sender_;
    AutoResponseView& view_;
    bool on_ = false;
    bool suspended_ = false;
};

} // namespace kst
