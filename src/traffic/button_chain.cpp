#include "button_chain.h"

#include "notation/notation.h"
#include "platform/services.h"

namespace kst {

ButtonChain::ButtonChain(SendEngine& engine, Scheduler& scheduler, const ProgButtons& buttons,
                         Hooks hooks)
    : engine_(engine), scheduler_(scheduler), buttons_(buttons), hooks_(std::move(hooks)) {}

ButtonChain::~ButtonChain() {
    if (running_)
        engine_.endSequence(this);
}

std::optional<SendAction> ButtonChain::actionOf(const ProgButton& button, int txFormat) {
    std::optional<SendAction> action = inSendNotation(button.action, txFormat, true);
    if (action && txFormat != ncAscii)
        action->command = action->command.toUpper();
    return action;
}

void ButtonChain::run(int index) {
    current_ = index;
    running_ = true;
    engine_.beginSequence(this);
    sendCurrent();
}

void ButtonChain::stopRequested() {
    // Between two links: the next one never starts.
    stopped_ = true;
    if (nextLink_.pending()) {
        nextLink_.cancel();
        end(End::Stopped);
    }
}

void ButtonChain::sendCurrent() {
    hooks_.suspendAutoResponse();
    const std::optional<SendAction> action =
        actionOf(buttons_[static_cast<size_t>(current_)], engine_.sendNotation());
    if (!action) {
        sent(SendOutcome::Refused);
        return;
    }
    engine_.send(*action, QStringLiteral("Programmable Buttons"),
                 [this](SendOutcome outcome) { sent(outcome); });
}

void ButtonChain::sent(SendOutcome outcome) {
    if (outcome == SendOutcome::Refused)
        refused_.insert(current_);
    const qint32 next = buttons_[static_cast<size_t>(current_)].chain;
    if (next == 0)
        return end(End::ByItself);
    if (next < 1 || next > ProgButtonCount) {
        msgBox(QStringLiteral("Programmable button %1 links to button %2, which does not exist: "
                              "the chain stops here.")
                   .arg(current_ + 1)
                   .arg(next),
               MsgIcon::Exclamation, MsgButtons::Ok, appTitle());
        return end(End::ByItself);
    }
    if (outcome == SendOutcome::Interrupted || outcome == SendOutcome::MacroEnded || stopped_ ||
        !hooks_.portOpen())
        return end(End::Stopped);
    current_ = next - 1;
    // The send that was refused would be refused again, with the same message, forever.
    if (refused_.count(current_) != 0)
        return end(End::ByItself);
    nextLink_ = scheduler_.after(0, [this] {
        if (stopped_ || !hooks_.portOpen())
            return end(End::Stopped);
        sendCurrent();
    });
}

void ButtonChain::end(End how) {
    running_ = false;
    engine_.endSequence(this);
    if (how == End::ByItself)
        hooks_.resumeAutoResponse();
    else
        hooks_.dropAutoResponse();
    if (ended_)
        ended_();
}

} // namespace kst
