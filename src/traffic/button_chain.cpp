#include "button_chain.h"

#include "notation/notation.h"
#include "platform/services.h"

namespace kst {

ButtonChain::ButtonChain(SendEngine& engine, const ProgButtons& buttons, Hooks hooks)
    : engine_(engine), buttons_(buttons), hooks_(std::move(hooks)) {}

std::optional<SendAction> ButtonChain::actionOf(const ProgButton& button, int txFormat) {
    SendAction action = button.action;
    if (txFormat == ncAscii)
        return action;
    ConversionIssues issues;
    const std::optional<QString> command = ConvertHexList(action.command, txFormat, &issues);
    if (issues.any() || !command) {
        // An item read as 0 must not go out on the line.
        showConversionIssues(issues);
        return std::nullopt;
    }
    action.command = command->toUpper();
    action.controlCodes.clear();
    return action;
}

void ButtonChain::run(int index) {
    current_ = index;
    sendCurrent();
}

void ButtonChain::sendCurrent() {
    if (hooks_.autoResponseOn()) {
        hooks_.setAutoResponse(false);
        hooks_.autoResponseSuspended() = true;
    }
    const std::optional<SendAction> action =
        actionOf(buttons_[static_cast<size_t>(current_)], hooks_.txFormat());
    if (!action) {
        // As after a refused send, the chain goes on with the next linked button.
        sent(SendOutcome::Refused);
        return;
    }
    engine_.send(*action, QStringLiteral("Programmable Buttons"),
                 [this](SendOutcome outcome) { sent(outcome); });
}

void ButtonChain::sent(SendOutcome outcome) {
    const qint32 next = buttons_[static_cast<size_t>(current_)].chain;
    if (next == 0)
        return end();
    if (next < 1 || next > 32) {
        msgBox(QStringLiteral("Programmable button %1 links to button %2, which does not exist: "
                              "the chain stops here.")
                   .arg(current_ + 1)
                   .arg(next),
               MsgIcon::Exclamation, MsgButtons::Ok, appTitle());
        return end();
    }
    if (outcome == SendOutcome::Interrupted || outcome == SendOutcome::MacroEnded ||
        !hooks_.portOpen())
        return end();
    if (++links_ >= MostLinks) {
        msgBox(QStringLiteral("The chain of programmable buttons ran through %1 links and comes "
                              "back on itself: it stops here.")
                   .arg(MostLinks),
               MsgIcon::Exclamation, MsgButtons::Ok, appTitle());
        return end();
    }
    current_ = next - 1;
    sendCurrent();
}

void ButtonChain::end() {
    bool& suspended = hooks_.autoResponseSuspended();
    if (suspended) {
        hooks_.setAutoResponse(true);
        suspended = false;
    }
    if (ended_)
        ended_();
}

} // namespace kst
