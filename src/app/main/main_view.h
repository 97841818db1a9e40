#pragma once

#include "app/main/main_controls.h"
#include "notation/display_style.h"

#include <QString>
#include <QtGlobal>

class QWidget;

namespace kst {

class MainCommands;
class StyledLog;

// The main window as the program's parts see it: its controls and menus, the log, and
// the window's commands. A part that runs a command as the user would goes through
// commands(), so tests that record the commands see it too. Nothing here reaches the
// controller or another part: a part gets those it uses when it is made.
class MainView {
public:
    virtual ~MainView() = default;

    virtual const MainControls& ui() const = 0;
    virtual const MainMenus& menus() const = 0;

    // The styled log: a line in the given styles; an informational line, written only
    // while the port is open and Description is ticked; the view itself; its back
    // colour, 0x00BBGGRR.
    virtual void Add_Color(const QString& label, const DisplayStyle& labelStyle,
                           const QString& body = QString(), const DisplayStyle& bodyStyle = {}) = 0;
    virtual void describe(const QString& message) = 0;
    virtual StyledLog& log() = 0;
    virtual void setLogBackground(quint32 bgr) = 0;

    // Where the window's menus, toolbar and keys send their commands.
    virtual MainCommands& commands() = 0;

    // The window itself: the parent of dialogs, the holder of the caption.
    virtual QWidget* widget() = 0;
};

} // namespace kst
