#pragma once

#include "traffic/prog_button.h"
#include "traffic/send_engine.h"

#include <functional>

namespace kst {

// One click of a programmable button: its send, then the button its chain link names,
// and so on until a button ends the chain. Auto-response is off while a chain runs and
// comes back however the chain ends. A link outside 1-32, or a chain of more than 32
// links (a loop), ends it with a message.
class ButtonChain {
public:
    // What the chain needs of the program around it.
    struct Hooks {
        std::function<bool()> autoResponseOn;
        std::function<void(bool)> setAutoResponse;
        // Set while a chain has switched auto-response off; shared by every chain (and
        // a macro run) so the one that ends last switches it on again.
        std::function<bool&()> autoResponseSuspended;
        std::function<bool()> portOpen;
        // The send notation (0 Dec .. 4 ASCII).
        std::function<int()> txFormat;
    };
    static constexpr int MostLinks = 32;

    // `buttons` are read as the chain reaches each one.
    ButtonChain(SendEngine& engine, const ProgButtons& buttons, Hooks hooks);
    // Called once, when the chain ends.
    void setEnded(std::function<void()> ended) { ended_ = std::move(ended); }

    // Runs from button `index` (0-31).
    void run(int index);

    // The send of a button in the send notation: its stored byte list converted from
    // hexadecimal (ASCII: its text and control codes as stored). Nothing, after the
    // conversion's message, when the stored list holds an item beyond one byte.
    static std::optional<SendAction> actionOf(const ProgButton& button, int txFormat);

private:
    void sendCurrent();
    void sent(SendOutcome outcome);
    void end();

    SendEngine& engine_;
    const ProgButtons& buttons_;
    Hooks hooks_;
    std::function<void()> ended_;
    int current_ = 0;
    int links_ = 0;
};

} // namespace kst
