#pragma once

#include <QString>

namespace kst {

// Whether the file at `path` is a usable profile: it opens with the profile password
// and holds the six tables (names compared without regard to case; columns and rows
// play no part). A file that does not open at all (missing, not a database, another
// password) raises its kst::RunTimeError to the caller instead of giving False.
bool ValidateSettingsDB(const QString& path);

} // namespace kst
