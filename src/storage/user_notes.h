#pragma once

#include <QString>

namespace kst {

// Stores the user's notes in the profile's settings row.
void SaveUserNotes(const QString& settingsConnStr, const QString& notes);

} // namespace kst
