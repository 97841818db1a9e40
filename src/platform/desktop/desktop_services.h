#pragma once

#include <functional>
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

// Runs `call` now or, while a message box or a file or colour dialog waits for its answer,
// once the code that showed it has taken the answer (and after any box that follows it). A
// request from outside the program, such as the session's end, must not run in the middle
// of what asked the question.
void whenNoBoxWaits(std::function<void()> call);

} // namespace kst
