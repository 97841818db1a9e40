#pragma once

#include "platform/scheduler.h"
#include "traffic/button_chain.h"

#include <memory>
#include <vector>

namespace kst {

class Session;
struct MainControls;

// The two banks of one-click senders: the 16 control-code buttons and the 32
// programmable buttons on two pages, with their chains.
class SendButtons {
public:
    SendButtons(Session& session, const MainControls& ui);
    ~SendButtons();

    // Shows bank Index of the control codes: 0 00h-0Fh, 1 10h-1Fh.
    void Option3_Click(int Index);
    void cmdFreqused_Click(int Index);
    // Shows page Index of the programmable buttons (0: buttons 1-16, 1: 17-32) with
    // their captions and tool tips.
    void Option6_Click(int Index);
    void cmdProBut_Click(int Index);

private:
    void chainEnded(ButtonChain* chain);

    Session& session_;
    const MainControls& ui_;
    std::vector<std::unique_ptr<ButtonChain>> chains_;
    std::vector<std::unique_ptr<ButtonChain>> ended_;
    TimerHandle sweep_;
};

} // namespace kst
