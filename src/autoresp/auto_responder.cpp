#include "auto_responder.h"

#include "notation/notation.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "traffic/received_event.h"
#include "traffic/send_engine.h"

namespace kst {

AutoResponder::AutoResponder(SendEngine& sender, AutoResponseView& view)
    : sender_(sender), view_(view),
      failures_(QStringLiteral("AutoResp_Checking Error:"), QStringLiteral("Error Number: "),
                [&view](const QString& line) { view.note(line); }) {}

void AutoResponder::switchTo(bool on) {
    on_ = on;
    view_.autoResponseSwitched(on);
}

void AutoResponder::toggle() {
    suspended_ = false;
    switchTo(!on_);
}

void AutoResponder::Suspension::take() {
    if (held_)
        return;
    held_ = true;
    AutoResponder& r = responder_;
    ++r.holders_;
    if (r.on_) {
        r.switchTo(false);
        r.suspended_ = true;
    }
}

void AutoResponder::Suspension::giveBack() {
    if (!held_)
        return;
    held_ = false;
    AutoResponder& r = responder_;
    --r.holders_;
    if (r.holders_ == 0 && r.suspended_) {
        r.suspended_ = false;
        r.switchTo(true);
    }
}

void AutoResponder::Suspension::drop() {
    if (!held_)
        return;
    held_ = false;
    --responder_.holders_;
}

RuleValues ruleValues(const AutoResponseRule& rule) {
    const MatchCondition& c = rule.condition;
    const auto kind = static_cast<qint32>(c.kind);
    if (kind < 0 || kind >= ConditionKindCount)
        return RuleValues::OutOfLists;
    if (c.kind == ConditionKind::Signaling) {
        if (c.event == LineEvent::None)
            return c.noEventChosen ? RuleValues::NoneChosen : RuleValues::OutOfLists;
    } else if (c.requireLineState) {
        const auto state = static_cast<qint32>(c.lineState);
        if (state == -1)
            return RuleValues::NoneChosen;
        if (state < 0 || state >= LineStateCount)
            return RuleValues::OutOfLists;
    }
    // A signal out of its list is no signal: the response goes out without one.
    return RuleValues::Known;
}

namespace {

QString unusableRuleNote(const AutoResponseRule& rule, RuleValues values, int ruleNo) {
    if (values == RuleValues::NoneChosen) {
        const bool event = rule.condition.kind == ConditionKind::Signaling;
        return QStringLiteral("Auto-Response %1 has no %2 chosen: it never answers until one is "
                              "chosen in the rule editor.")
            .arg(ruleNo)
            .arg(event ? QStringLiteral("line event") : QStringLiteral("line state"));
    }
    // The rule editor refuses to show such a rule, so it cannot be chosen again there: only
    // the editor's Reset mends it, with all the others.
    return QStringLiteral("Auto-Response %1 holds a condition that is not in its lists: it never "
                          "answers. The rule editor cannot show the rules while it does; its "
                          "Reset sets all %2 rules back to empty.")
        .arg(ruleNo)
        .arg(AutoResponseRuleCount);
}

} // namespace

void AutoResponder::setRules(const AutoResponseRules& rules) {
    rules_ = rules;
    refusalTold_.reset();
    for (int k = 0; k < AutoResponseRuleCount; ++k) {
        const RuleValues values = ruleValues(rules_[k]);
        unusable_[k] = values != RuleValues::Known;
        if (unusable_[k])
            view_.note(unusableRuleNote(rules_[k], values, k + 1));
    }
}

void AutoResponder::offer(const ReceivedEvent& received) {
    try {
        for (int k = 0; k < AutoResponseRuleCount; ++k) {
            if (!unusable_[k] && conditionHolds(rules_[k].condition, received))
                return respond(k);
        }
    } catch (const RunTimeError& e) {
        failures_.report(e);
    }
}

void AutoResponder::respond(int index) {
    const SendAction& stored = rules_[index].response;
    const int notation = sender_.sendNotation();
    const bool listOk = notation == ncAscii || ValidateByteList(stored.command, ncHex);
    const std::optional<SendAction> action =
        listOk ? inSendNotation(stored, notation) : std::nullopt;
    if (!action) {
        // No byte nobody typed goes out; the rule is named once, not on every block.
        if (!refusalTold_[index]) {
            refusalTold_[index] = true;
            view_.note(QStringLiteral("Auto-Response %1 was not sent: its response \"%2\" is "
                                      "not a list of hexadecimal bytes.")
                           .arg(index + 1)
                           .arg(stored.command));
        }
        return;
    }
    sender_.send(*action, QStringLiteral("Auto Response"));
}

} // namespace kst
