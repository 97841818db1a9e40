#pragma once

namespace kst {

struct MainControls;

// What gives the command box the focus back.
enum class FocusReturn {
    // A send wrote: the send pane's fields belong to the send, and give the focus back
    // (Enter in the control-code field sends, and the next command goes in the box).
    AfterWrite,
    // A block came in: the user may be typing the next send's fields meanwhile.
    AfterBlock,
};

// Gives the command box the focus back, so the next command can be typed at once.
// Nobody busy elsewhere loses the focus: not someone typing in another field, nor one
// holding a mouse button or a button down, nor the keyboard user who moved to Stop. A
// box on a hidden pane, or disabled, cannot take the focus; that is no failure.
void returnFocusToCommandBox(const MainControls& ui, FocusReturn after);

} // namespace kst
