#pragma once

namespace kst {

// Makes the desktop's message boxes, beep, shell and file dialogs the defaults of the
// platform seams. The program calls it once, after its application object exists.
void installDesktopServices();

} // namespace kst
