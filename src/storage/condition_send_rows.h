#pragma once

#include "storage/editor_table.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

// The two field groups that the auto-response rules and the macro sub-routines share: a
// condition on what the device sends (its kind, data, control codes and line state) and
// a send to the device (command, control codes, delay, repeat, interval and signal).
// Here are their rows as an editor shows them and the rules of their fields: which keys
// a field takes, what leaving it checks and how it tidies its text. The editors' tables
// and their field groups both read these, so a field behaves alike wherever it is.
namespace kst {

namespace db {
class Recordset;
}

// The condition kinds as their options are numbered: 0-2 compare the data, 3-5 its
// length, 6 waits for a line event.
inline constexpr int ConditionKindOptions = 7;
inline constexpr int SignalingKind = 6;
inline bool comparesData(int kind) {
    return kind >= 0 && kind < 3;
}

// The line-state list under a kind: the 13 line states for the data and length kinds,
// the 7 line events for Signaling.
const QStringList& lineStateListEntries(int kind);
int lineStateListSize(int kind);
// The signal list ("RTS ON" .. "Play Sound").
const QStringList& signalListEntries();
inline constexpr int SignalListSize = 9;

// A condition as its editor shows it: the texts as typed and the list positions.
struct ConditionRow {
    int kind = 0;
    QString data;         // a hexadecimal list, ASCII text or a length
    QString controlCodes; // hexadecimal list appended to ASCII data
    bool lineStateCheck = false;
    int lineState = 0; // a line state (kinds 0-5) or a line event's place (Signaling)

    bool operator==(const ConditionRow&) const = default;
};

// A send as its editor shows it.
struct SendRow {
    QString command;      // a hexadecimal list or ASCII text
    QString controlCodes; // hexadecimal list appended to ASCII text
    QString delay;
    QString repeat;
    QString interval;
    bool signalCheck = false;
    int signal = 0; // the output signal

    bool operator==(const SendRow&) const = default;
};

// Where a table keeps a condition and a send: their columns' ordinals.
struct ConditionColumns {
    int kind;
    int data;
    int controlCodes;
    int check;
    int lineState;
};
struct SendColumns {
    int command;
    int controlCodes;
    int repeat;
    int delay;
    int interval;
    int check;
    int signal;
};

// Reads the send of the current row whole: a signal outside its list, or an empty one,
// raises, so nothing is shown half-read. A fixed-length text is taken without its blanks.
SendRow ReadSendRow(const db::Recordset& rs, const SendColumns& columns);
// Write the condition or send into the current row, the numbers as their leading number.
void WriteConditionRow(db::Recordset& rs, const ConditionColumns& columns, const ConditionRow& row);
void WriteSendRow(db::Recordset& rs, const SendColumns& columns, const SendRow& row);

enum class ConditionField { Data, ControlCodes };
enum class SendField { Command, ControlCodes, Delay, Repeat, Interval };

// The refusal of a list that is no list of hexadecimal bytes.
QString hexCodesMessage();
// The refusal of a length that holds a comma.
QString lengthMessage();

// Whether the field is shown, so edited and checked, in the notation (0 Hex, 1 ASCII)
// and kind: the data for every kind but Signaling; the control codes in ASCII, and for a
// condition only with a data kind.
bool conditionFieldInUse(ConditionField field, int notation, int kind);
bool sendFieldInUse(SendField field, int notation);

// How many characters may be typed into a field: as many as its text column holds for a
// text or list, five digits for a time, two for a repeat. A longer stored value is shown
// whole; the field's check decides whether it can be stored again.
inline constexpr int TextColumnSize = 255;
int sendFieldTypingLimit(SendField field);

// The character a typed (or pasted) key puts into the field, or nothing when the field
// drops it. Control characters always pass; hexadecimal letters go in as capitals.
std::optional<QChar> conditionFieldKey(ConditionField field, QChar typed, int notation, int kind);
std::optional<QChar> sendFieldKey(SendField field, QChar typed, int notation);

// The check of a field as it is left; the refusal names `row` and the table's `at`.
// `refuseListAsLength`: a length kind's data holding a comma is refused too.
std::optional<Refusal> checkConditionField(int row, int at, ConditionField field,
                                           const QString& text, int notation, int kind,
                                           bool refuseListAsLength);
std::optional<Refusal> checkSendField(int row, int at, SendField field, const QString& text,
                                      int notation);

// The text a field is left with once its check passed: hexadecimal lists of a condition
// as the receive path writes them (capitals, no leading zeros), so they compare equal
// with what arrives; a command list cut after its last comma; control codes of a send
// tidied like a condition's when `normalizeSendCodes`, else cut like the command.
QString tidyConditionField(ConditionField field, const QString& text, int notation, int kind);
QString tidySendField(SendField field, const QString& text, int notation, bool normalizeSendCodes);

} // namespace kst
