#pragma once

#include "autoresp/auto_response_rule.h"
#include "macros/macro_records.h"
#include "storage/user_preferences.h"
#include "traffic/prog_button.h"

#include <QString>
#include <array>

namespace kst {

// What the windows share of the current profile, the preferences and the switches that
// outlive one handler. A profile load fills it whole; the editors and the run-time code
// read it from here and never from the files.
struct SharedState {
    QString SettingsConnStr;
    UserPreferences Prefs;
    ProgButtons LoadedButtons;
};

} // namespace kst
