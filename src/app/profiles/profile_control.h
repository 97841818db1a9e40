#pragma once

#include "platform/runtime_error.h"
#include "storage/profile_readers.h"

#include <QString>
#include <functional>
#include <optional>

namespace kst {

class DamagedLists;
class MainView;
class PortListControl;
class ReceiveOptions;
class SendButtons;
class Session;

// The main window's side of the device profile: which profile opens at start-up, the
// load that makes it the current one, the macro held in memory, the programmable
// buttons' captions, and the exit save. Every load replaces the notes box: the command that
// loads asks about notes typed first (`settleNotes`).
class ProfileControl {
public:
    // `endProgram` ends the program at once, without the exit save.
    ProfileControl(Session& session, MainView& window, PortListControl& portList,
                   ReceiveOptions& receiveOptions, SendButtons& buttons,
                   std::function<void()> endProgram)
        : session_(session), window_(window), portList_(portList), receiveOptions_(receiveOptions),
          buttons_(buttons), endProgram_(std::move(endProgram)) {}

    // Makes a new profile from the templates and loads it. A new profile whose load
    // fails is removed again and the program ends.
    void CreateDB(const QString& fileName, const QString& fileTitle);
    // The profile kst.ini names, the one the user picks, or the default. A file that is
    // refused is named with the reason, once, before the default opens instead.
    void OpenSettingsFile();
    // Makes the profile the current one and loads everything it holds. A failed load
    // ends the program, except for a damaged default profile: that one is set aside
    // and a new default is made from the templates.
    void Open_DB(const QString& File_Name, const QString& File_Title);
    // Opens a profile that has just passed CheckProfileFile: the whole file is not read
    // a second time.
    void openCheckedProfile(const QString& File_Name, const QString& File_Title);
    // Loads the open profile again after an import wrote into it, whatever the notes'
    // question answers: notes that Yes could not store stay in the box, still unsaved.
    void reloadAfterImport();
    // Loads macro MacrosNo (1-8); the first loads after start-up apply the start-up
    // preferences.
    bool Get_Macros_Details(int MacrosNo);
    // Both false when the macro could not be loaded (after the message).
    bool cboMacros_Click();
    // Writes the port settings and line options back as the preferences ask.
    void ExitSave();

    // The port and line settings the window shows, as a profile stores them.
    SettingsToSave::LineChoice lineChoice() const;

    // The "User Notes" tab: Clear empties the notes box, Save stores it in the profile.
    void cmdClearNotes_Click();
    void cmdSaveNotes_Click();
    // Before the notes box is replaced or the window closes: notes typed and not saved are
    // stored into the open profile on Yes, given up on No for the load that follows. False
    // when Yes could not store them (after the failure's box): a command that would replace
    // them stops.
    bool settleNotes();

private:
    // Why a load failed, and whether the profile's own content is to blame (rather
    // than kst.ini, the support database, or a file out of reach).
    struct LoadFailure {
        RunTimeError error;
        bool profileAtFault;
    };

    // Whether the file still needs CheckProfileFile, or has just passed it.
    enum class FileCheck { Needed, Done };

    void openProfile(const QString& File_Name, const QString& File_Title, FileCheck check);
    // The names are copies: a caller may pass kst.ini's own names, which recording the
    // profile reads anew.
    std::optional<LoadFailure> load(QString File_Name, QString File_Title, FileCheck check);
    // Shows the profile's port settings and line options; returns the receive-timer
    // position it stores, applied after the preferences.
    int applySettings(const QString& connStr);
    bool showMacro(int MacrosNo, DamagedLists& damaged);
    // The notes as the box holds them.
    QString notesShown() const;
    // False after the failure's box.
    bool storeNotes();
    bool isDefaultProfile(const QString& path) const;
    bool opensAsProfile(const QString& path);
    void replaceDamagedDefault(const QString& path, const RunTimeError& why);
    // The failure box, then the end; `note` goes before the box's last words.
    void endAfterFailedLoad(const QString& fileName, const RunTimeError& why,
                            const QString& note = QString());

    Session& session_;
    MainView& window_;
    PortListControl& portList_;
    ReceiveOptions& receiveOptions_;
    SendButtons& buttons_;
    std::function<void()> endProgram_;
    // The notes box as it was when the notes were loaded or last stored (or given up).
    QString settledNotes_;
};

} // namespace kst
