#pragma once

#include "platform/db/recordset.h"
#include "storage/user_preferences.h"

#include <QString>

namespace kst {

// Reads the current row of an open recordset on `userPreferences`. A font size outside
// the list reads as the smallest.
void ReadPreferences(const db::Recordset& row, UserPreferences& prefs);
// Reads the one row of the support database's preferences.
UserPreferences LoadPreferences(const QString& supportConnStr);
// Writes every field of the one row in one transaction: a failure raises and leaves the
// row as it was. Fields 0 and 13 keep what they hold.
void SavePreferences(const QString& supportConnStr, const UserPreferences& prefs);

} // namespace kst
