#pragma once

#include "progress_display.h"

#include <QString>
#include <functional>

namespace kst {

// Makes a new device profile: `CreateDB` creates the password-protected file with
// its six empty tables, then `AppendData` copies every row of the support database's
// template tables into it and hands the new file to the profile loader (`Open_DB`).
//
// Failures are shown in a failure box ("CreateDB Error:" / "AppendData Error:"), the
// progress bar is hidden and the loader is not called. A file that `CreateDB` made
// and could not finish, or whose load failed, is removed again, so a half-made or
// unloadable default profile cannot stop every later start; a file that existed
// before is never touched.
class ProfileCreator {
public:
    // Loads the new profile; false when its load failed (the loader says why).
    using ProfileOpener = std::function<bool(const QString& fileName, const QString& fileTitle)>;

    ProfileCreator(QString supportConnStr, ProgressDisplay& progress, ProfileOpener openProfile);

    // `fileName` is the full path of the new file, `fileTitle` its name part. True when
    // the profile was made and loaded.
    bool CreateDB(const QString& fileName, const QString& fileTitle);
    // Fills the six tables of an existing new profile from the templates and opens it.
    // True when it was filled and loaded. On failure the rows written so far stay (see
    // CreateDB).
    bool AppendData(const QString& fileName, const QString& fileTitle);

private:
    void copyTemplates(const QString& fileName);

    QString supportConnStr_;
    ProgressDisplay& progress_;
    ProfileOpener openProfile_;
};

} // namespace kst
