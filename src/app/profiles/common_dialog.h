#pragma once

#include "platform/file_names.h"
#include "platform/services.h"
#include "storage/ini_file.h"

#include <optional>

namespace kst {

// A file dialog as the file commands use it: each command sets the properties it needs;
// the others stay as the previous use left them, and the file and filter chosen are
// remembered for the next use. The main window has one that all its file commands
// share; the import dialog has one of its own.
class CommonDialog {
public:
    FileDialogRequest properties;

    // What the file commands set before showing the dialog: `filter` with its second
    // entry preselected, opening in the profiles folder beside the program.
    void prepare(const QString& filter, const QString& programFolder) {
        properties.filter = filter;
        properties.filterIndex = 2;
        properties.initDir = programFolder + QStringLiteral("/Devices");
    }

    std::optional<ChosenFile> showOpen() {
        return remember(Platform::fileDialogs().showOpen(properties));
    }
    // A name where something other than a file stands (a named pipe, a device node, a
    // socket, a folder) is no file to save to: writing would replace it, and a serial tool
    // often runs with the rights to /dev. It is refused with a box titled `refusalTitle`
    // that says what stands there, and the dialog is shown again.
    std::optional<ChosenFile> showSave(const QString& refusalTitle) {
        for (;;) {
            std::optional<ChosenFile> chosen =
                remember(Platform::fileDialogs().showSave(properties));
            const QString reason = chosen ? notAFileReason(chosen->fileName) : QString();
            if (reason.isEmpty())
                return chosen;
            msgBox(reason, MsgIcon::Exclamation, MsgButtons::Ok, refusalTitle);
        }
    }

private:
    std::optional<ChosenFile> remember(std::optional<ChosenFile> chosen) {
        if (chosen) {
            properties.fileName = chosen->fileName;
            if (chosen->filterIndex > 0)
                properties.filterIndex = chosen->filterIndex;
        }
        return chosen;
    }
};

// The filter of the commands that choose a profile file.
inline const QString ProfileFileFilter =
    QStringLiteral("All Files (*.*)|*.*|Kestrelon Files (*.kst)|*.kst");

// What the user decided when the file chosen for saving already exists.
enum class OverwriteChoice { Overwrite, ChooseAgain, Abandon };

// Yes destroys the file there: Enter answers No.
inline OverwriteChoice confirmOverwrite(const QString& fileName) {
    if (!FileExists(fileName))
        return OverwriteChoice::Overwrite;
    const int answer = msgBox(QStringLiteral("File already exist, do you want to overwrite it?"),
                              MsgIcon::Question, MsgButtons::YesNoCancelDefaultNo);
    if (answer == AnswerNo)
        return OverwriteChoice::Abandon;
    if (answer == AnswerCancel)
        return OverwriteChoice::ChooseAgain;
    return OverwriteChoice::Overwrite;
}

} // namespace kst
