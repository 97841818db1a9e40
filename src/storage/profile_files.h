#pragma once

#include <QString>
#include <functional>

namespace kst {

// Copies a profile file to `target`, replacing what is there. The copy is written beside
// the target and put in its place only when whole, so a failure leaves the target as it
// was. A copy onto the file itself is refused (it would destroy it). Raises a
// kst::RunTimeError that names the files and the reason.
void CopyProfileFile(const QString& source, const QString& target);

// Brings the settings of a profile of an earlier version into the profile at
// `currentPath`: the leading columns of five tables, row by row (the buttons, rules,
// macros and port settings; not the notes, the newer line options or tblBackup). The
// older file is only read. The whole import reaches the profile or none of it: it runs
// on a copy that replaces the profile once complete. `progress` hears 20, 40, 60, 80
// and 100 as the tables finish. Raises a kst::RunTimeError naming the reason.
void ImportOlderProfile(const QString& olderPath, const QString& currentPath,
                        const std::function<void(int)>& progress);

// Removes from `folder` what a copy or an import of this program left when it was
// killed part-way: its work files (".kestrelon-" six letters or digits ".part") and the
// database engine's journals beside them ("-journal"), when no running instance holds
// them. Nothing else is touched: no other name, no link, no folder, and no file that
// cannot be removed (it stays, unsaid).
void RemoveAbandonedWorkFiles(const QString& folder);

} // namespace kst
