#pragma once

#include "autoresp/auto_response_rule.h"
#include "macros/macro_records.h"
#include "platform/db/recordset.h"
#include "storage/user_preferences.h"
#include "traffic/prog_button.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace kst {

// Stored byte lists that are not lists of bytes, noted while a profile is read so the
// load can name them all at once: "progAutoResp row 3 (strConditionCtrl)".
class DamagedLists {
public:
    void note(const QString& table, int row, const QString& column);
    bool empty() const { return places_.isEmpty(); }
    const QStringList& places() const { return places_; }

private:
    QStringList places_;
};

// Readers of the profile rows that become the program's state in memory. Text fields
// read Null as empty text; numbers are the leading number of their text, rounded into
// the field (a value outside its range raises error 6); Yes/No fields are Booleans (a
// Null raises error 94). Each reader reads the current row of an open recordset.
// A control-code list that is not a list of bytes is noted in `damaged`; a condition
// whose list it is can never match.

void ReadProgButton(const db::Recordset& row, ProgButton& button, DamagedLists* damaged = nullptr);
void ReadAutoResponseRule(const db::Recordset& row, AutoResponseRule& rule,
                          DamagedLists* damaged = nullptr);
void ReadMacroStep(const db::Recordset& row, MacroStep& step, DamagedLists* damaged = nullptr);
void ReadMacroSubRoutine(const db::Recordset& row, MacroSubRoutine& sub,
                         DamagedLists* damaged = nullptr);

// Opens `sql`, hands its first `count` rows in order to read(row, index), and closes
// it. A missing row raises "no current record" to the caller.
template <class Read> void ReadOpenRows(db::Recordset& rs, int count, Read read) {
    rs.moveFirst();
    for (int i = 0; i < count; ++i) {
        read(rs, i);
        rs.moveNext();
    }
}
template <class Read>
void ReadRows(const QString& sql, const QString& connStr, int count, Read read) {
    db::Recordset rs;
    rs.open(sql, connStr);
    ReadOpenRows(rs, count, read);
    rs.close();
}

// The 32 programmable buttons of the profile behind `connStr`, in their order.
void ReadProgButtons(const QString& connStr, ProgButtons& buttons, DamagedLists* damaged = nullptr);
// The 16 auto-response rules, in their order.
void ReadAutoResponseRules(const QString& connStr, AutoResponseRules& rules,
                           DamagedLists* damaged = nullptr);

// Macro `macroNo` (1-8) of the current profile, read whole. Raises the failure to the
// caller.
MacroRecords LoadMacro(const QString& settingsConnStr, int macroNo,
                       DamagedLists* damaged = nullptr);

// The one row of `Settings`: the port settings as positions in their lists, the
// line options and the user's notes. A position beyond the list of baud rates, data bits,
// parities, stop bits or RX timer intervals raises "Invalid property value", naming its
// row, column, value and the list's size. The port is not refused: the ports found differ
// from machine to machine, and the load selects the first one for a port it lacks.
struct ProfileSettings {
    qint16 port = 0;
    qint16 baud = 0;
    qint16 dataBits = 0;
    qint16 parity = 0;
    qint16 stopBits = 0;
    qint16 handshaking = 0;
    qint16 rxTimerIndex = 0;
    qint16 secondPort = 0;
    bool fullDuplex = false;
    bool detectCTS = false;
    bool detectDSR = false;
    bool detectDCD = false;
    bool detectRI = false;
    QString userNotes;
};
ProfileSettings ReadSettings(const QString& settingsConnStr);

// Reads every row that a load of the profile, or the choice of any of its macros, reads,
// as they read it: a value beyond its field (a repeat of 40000 that a rule reads as an
// Integer) or a settings list position beyond its list raises the error a load would
// raise, naming its table, row and column. What the editors' lists take is theirs to check.
void ReadEveryLoadedRow(const QString& settingsConnStr);

// What the exit save and Save As write back into `Settings`: each part only when given
// (the port only when `port` is).
struct SettingsToSave {
    // The port and its line settings as positions in their lists.
    struct LineChoice {
        std::optional<int> port;
        int baud = 0;
        int dataBits = 0;
        int parity = 0;
        int stopBits = 0;
        int handshaking = 0;
    };
    // The monitoring method and the line events watched.
    struct LineOptions {
        int secondPort = 0;
        bool fullDuplex = false;
        bool detectCTS = false;
        bool detectDSR = false;
        bool detectDCD = false;
        bool detectRI = false;
    };
    std::optional<LineChoice> lineChoice;
    std::optional<LineOptions> lineOptions;
    std::optional<int> rxTimerIndex;
};
void SaveSettings(const QString& settingsConnStr, const SettingsToSave& values);

} // namespace kst
