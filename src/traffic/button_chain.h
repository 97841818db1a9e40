#pragma once

#include "platform/scheduler.h"
#include "traffic/prog_button.h"
#include "traffic/send_engine.h"

#include <functional>
#include <set>

namespace kst {

// One click of a programmable button: its send, then the button its chain link names,
// and so on until a button ends the chain. A chain may come back on itself (users poll
// a device that way): it then runs until Stop or until the port closes. It returns to
// the event loop between two links, so the window and Stop stay live even when no
// button of it waits. Auto-response is off while a chain runs; a chain that ends by
// itself gives back what it switched off, one ended by Stop or a closed port leaves it
// off for the next chain or run that ends by itself.
class ButtonChain : public SendEngine::Sequence {
public:
    // What the chain needs of the program around it.
    struct Hooks {
        // Auto-response goes off while the chain runs; its end either gives it back
        // (ended by itself) or drops its hold (cut short).
        std::function<void()> suspendAutoResponse;
        std::function<void()> resumeAutoResponse;
        std::function<void()> dropAutoResponse;
        std::function<bool()> portOpen;
    };

    // `buttons` are read as the chain reaches each one.
    ButtonChain(SendEngine& engine, Scheduler& scheduler, const ProgButtons& buttons, Hooks hooks);
    ~ButtonChain() override;
    // Called once, when the chain ends.
    void setEnded(std::function<void()> ended) { ended_ = std::move(ended); }

    // Runs from button `index` (0-31).
    void run(int index);
    void stopRequested() override;

    // The send of a button in the send notation: its stored byte list converted from
    // hexadecimal (ASCII: its text and control codes as stored). Nothing, after the
    // conversion's message, when the stored list holds an item beyond one byte.
    static std::optional<SendAction> actionOf(const ProgButton& button, int txFormat);

private:
    enum class End { ByItself, Stopped };

    void sendCurrent();
    void sent(SendOutcome outcome);
    void end(End how);

    SendEngine& engine_;
    Scheduler& scheduler_;
    const ProgButtons& buttons_;
    Hooks hooks_;
    std::function<void()> ended_;
    int current_ = 0;
    bool running_ = false;
    bool stopped_ = false;
    // Buttons whose send was refused: coming back to one would only repeat its message.
    std::set<int> refused_;
    TimerHandle nextLink_;
};

} // namespace kst
