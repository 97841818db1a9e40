#pragma once

#include <memory>

namespace kst {

class FileDialogs;
class MessageBoxes;

// Makes the desktop's message boxes, beep, shell and file dialogs the defaults of the
// platform seams. The program calls it once, after its application object exists.
void installDesktopServices();

// The desktop's file dialogs on their own, as installDesktopServices installs them.
std::unique_ptr<FileDialogs> makeDesktopFileDialogs();
// The desktop's message boxes on their own.
std::unique_ptr<MessageBoxes> makeDesktopMessageBoxes();

} // namespace kst
