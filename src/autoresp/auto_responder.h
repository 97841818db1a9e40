#pragma once

#include "autoresp/auto_response_rule.h"
#include "platform/failure_box.h"

#include <QString>
#include <bitset>

namespace kst {

class ReceivedEvent;
class SendEngine;

// Where the auto-response rules show: the switch on the toolbar button, its tool tip,
// the status panel and the log's echo, and notes in the log. The main window
// implements it.
class AutoResponseView {
public:
    virtual ~AutoResponseView() = default;
    // Shown on every switch, also to the state in force.
    virtual void autoResponseSwitched(bool on) = 0;
    // A line of the log in the message style.
    virtual void note(const QString& line) = 0;
};

// The 16 auto-response rules of the open profile and their switch. The first rule, in
// order, whose condition holds for a block or line event sends its response, once. A
// button chain or a macro run suspends the rules while it runs; they come back when the
// last of those that hold them ends by itself. The user's own switch wins over all.
class AutoResponder {
public:
    // What one button chain or macro run holds of the suspension. Chains and runs
    // overlap (a button pressed during a run), so none gives back what another still
    // needs off.
    class Suspension {
    public:
        explicit Suspension(AutoResponder& responder) : responder_(responder) {}
        ~Suspension() { drop(); }
        Suspension(const Suspension&) = delete;
        Suspension& operator=(const Suspension&) = delete;

        // The chain or run starts or goes on: the rules go off while it runs, if they
        // are on.
        void take();
        // It ended by itself: the rules switched off for it come back, once nothing
        // else holds them.
        void giveBack();
        // It was cut short: the rules stay off until a chain or run ends by itself.
        void drop();

    private:
        AutoResponder& responder_;
        bool held_ = false;
    };

    AutoResponder(SendEngine& sender, AutoResponseView& view);

    bool isOn() const { return on_; }
    // Switched off by a chain or run, to come back when one ends by itself.
    bool isSuspended() const { return suspended_; }

    // Switches on or off and shows it (a profile's start-up choice); a suspension
    // stays as it was.
    void switchTo(bool on);
    // The user's own switch: it ends any suspension, so no chain or run switches the
    // rules back on afterwards.
    void toggle();

    // The rules of a profile just loaded or saved. A rule holding a kind, line state or
    // event that no editor writes never answers, nor does one that has no line state or
    // event chosen; each such rule is noted once, saying which. A signal that no
    // editor writes is no signal.
    void setRules(const AutoResponseRules& rules);
    const AutoResponseRules& rules() const { return rules_; }

    // A block or line event of the primary port.
    void offer(const ReceivedEvent& received);

private:
    void respond(int index);

    SendEngine& sender_;
    AutoResponseView& view_;
    AutoResponseRules rules_;
    // Rules whose stored values are out of every list.
    std::bitset<AutoResponseRuleCount> unusable_;
    // Rules whose response was refused since the rules were set: told once each.
    std::bitset<AutoResponseRuleCount> refusalTold_;
    OneFailureBox failures_;
    bool on_ = false;
    bool suspended_ = false;
    // The chains and runs that hold the suspension now.
    int holders_ = 0;
};

// Whether a rule's stored condition lies in the lists the editor offers. A line state
// (under a ticked line-state box) or line event of -1 is the editor's own "none chosen":
// every save keeps it, and the rule never answers until one is chosen.
enum class RuleValues { Known, NoneChosen, OutOfLists };
RuleValues ruleValues(const AutoResponseRule& rule);

} // namespace kst
