#pragma once

#include "platform/session_end.h"

#include <QObject>
#include <functional>

class QWidget;

namespace kst {

// The end of the session (TERM, HUP, INT) closes the program as the user would: the windows
// open over the main window first, the topmost first, each as its own close box closes it
// (an editor asks about its edits, the import dialog loads the profile it wrote), then the
// main window as its close box does. A window that refuses to close (a value its check
// refuses) stops the closing there: the program stays with that window open, and a later
// signal starts again. Before the main window is shown the program ends at once.
class SessionClosing : public QObject {
public:
    // `mainWindow` gives the main window once it exists, null before.
    explicit SessionClosing(std::function<QWidget*()> mainWindow);

private:
    void begin();
    void closeNextWhenNoBoxWaits();
    void closeNext();

    std::function<QWidget*()> mainWindow_;
    // From a signal until the program ends or a window refuses: a signal meanwhile is part
    // of the same closing.
    bool underWay_ = false;
    SessionEnd signals_;
};

} // namespace kst
