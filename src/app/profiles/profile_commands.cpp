#include "app/profiles/profile_commands.h"

#include "app/main/session.h"
#include "app/profiles/profile_control.h"
#include "platform/file_names.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "storage/ini_file.h"
#include "storage/profile_files.h"
#include "storage/profile_readers.h"
#include "storage/profile_schema.h"
#include "storage/profile_validation.h"

#include <QFileInfo>

namespace kst {

namespace {

const QString ErrorTitle = QStringLiteral("Error:");

void tell(const QString& message) {
    msgBox(message, MsgIcon::Exclamation, MsgButtons::Ok, ErrorTitle);
}

} // namespace

CommonDialog& ProfileCommands::prepareDialog(const QString& filter) {
    session_.cmdlg1().prepare(filter, session_.programFolder());
    return session_.cmdlg1();
}

void ProfileCommands::mnuNew_Click() {
    for (;;) {
        const std::optional<ChosenFile> chosen =
            prepareDialog(ProfileFileFilter).showSave(ErrorTitle);
        if (!chosen)
            return;
        // The name as the user gave it: no extension is added.
        if (FileExists(chosen->fileName)) {
            msgBox(QStringLiteral("File already exists, please use another name!"),
                   MsgIcon::Exclamation);
            continue;
        }
        if (!profile_.settleNotes())
            return;
        profile_.CreateDB(chosen->fileName, chosen->fileTitle);
        return;
    }
}

void ProfileCommands::mnuOpenSettings_Click() {
    const std::optional<ChosenFile> chosen = prepareDialog(ProfileFileFilter).showOpen();
    if (!chosen)
        return;
    try {
        if (!ValidateSettingsDB(chosen->fileName)) {
            tell(QStringLiteral("Invalid file! If you are trying to open the previous verions' "
                                "setting file, \nplease convert the file first by using: "
                                "Tools\\Import device profile..."));
            return;
        }
    } catch (const RunTimeError& e) {
        // Not a profile, another password, damaged, locked: said, and the open one stays.
        tell(e.description());
        return;
    }
    if (!profile_.settleNotes())
        return;
    profile_.openCheckedProfile(chosen->fileName, chosen->fileTitle);
}

void ProfileCommands::mnuSaveSettings_Click() {
    const QString current = session_.ini().settingsFile();
    QString target;
    for (;;) {
        const std::optional<ChosenFile> chosen =
            prepareDialog(QStringLiteral("All Files (*.*)|*.*|Database Files (*.kst)|*.kst"))
                .showSave(ErrorTitle);
        if (!chosen)
            return;
        target = chosen->fileName;
        // The profile itself, under its name or another: the settings shown are stored in
        // it, and there is no copy to ask about.
        if (sameFile(target, current)) {
            target = current;
            break;
        }
        if (const QString own = session_.ownFileAt(target); !own.isEmpty()) {
            tell(QStringLiteral("'%1' is %2: the profile is not saved over it. Please choose "
                                "another name.")
                     .arg(target, own));
            continue;
        }
        const OverwriteChoice choice = confirmOverwrite(target);
        if (choice == OverwriteChoice::Abandon)
            return;
        if (choice == OverwriteChoice::ChooseAgain)
            continue;
        break;
    }
    // Notes stored on the question go into the copy as well; notes that could not be stored
    // stay in the box, and the open profile with them.
    if (!profile_.settleNotes())
        return;
    // The copy is made and given the settings shown before the program switches to it:
    // a failure leaves the open profile and kst.ini as they were.
    try {
        if (target != current)
            CopyProfileFile(current, target);
        SettingsToSave values;
        values.lineChoice = profile_.lineChoice();
        SaveSettings(profileConnStr(target), values);
    } catch (const RunTimeError& e) {
        tell(QStringLiteral("The profile could not be saved as '%1':\n%2")
                 .arg(target, e.description()));
        return;
    }
    profile_.Open_DB(target, QFileInfo(target).fileName());
}

} // namespace kst
