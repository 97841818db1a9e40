#pragma once

#include "autoresp/auto_response_rule.h"
#include "macros/macro_records.h"
#include "platform/db/recordset.h"
#include "storage/user_preferences.h"
#include "traffic/prog_button.h"

#include <QString>
#include <array>

namespace kst {

// Readers of the profile rows that become the program's state in memory. Text fields
// read Null as empty text; numbers are the leading number of their text, rounded into
// the field (a value outside its range raises error 6); Yes/No fields are Booleans (a
// Null raises error 94). Each reader reads the current row of an open recordset.

// The preferences row of the support database.
void ReadPreferences(const db::Recordset& row, UserPreferences& prefs);
void ReadProgButton(const db::Recordset& row, ProgButton& button);
void ReadAutoResponseRule(const db::Recordset& row, AutoResponseRule& rule);
void ReadMacroStep(const db::Recordset& row, MacroStep& step);
// `loadedElseCheck` receives the ELSE-on-timeout flag as well: the runner restores
// the sub-routine's own copy from it before each wait.
void ReadMacroSubRoutine(const db::Recordset& row, MacroSubRoutine& sub, bool& loadedElseCheck);

// Opens `sql`, hands its first `count` rows in order to read(row, index), and closes
// it. A missing row raises "no current record" to the caller.
template <class Read>
void ReadRows(const QString& sql, const QString& connStr, int count, Read read) {
    db::Recordset rs;
    rs.open(sql, connStr);
    rs.moveFirst();
    for (int i = 0; i < count; ++i) {
        read(rs, i);
        rs.moveNext();
    }
    rs.close();
}

// A macro of the current profile, filled in place: what was read before a failure
// keeps its new value, the rest its old one. Raises the failure to the caller.
struct LoadedMacro {
    MacroSteps& steps;
    MacroSubRoutines& subRoutines;
    std::array<bool, 8>& loadedElseCheck;
};
void LoadMacro(const QString& settingsConnStr, int macroNo, LoadedMacro target);

} // namespace kst
