#pragma once

#include "storage/editor_table.h"

#include <QString>
#include <functional>
#include <optional>

namespace kst {

// The field groups that the rule editor and the macro editor share, as their fields
// show them, with the checks every editor makes of them alike.

// A condition: the kind, the data (a hexadecimal list, ASCII text or a length) with its
// control codes, and the line state it may also require, as a position in the kind's
// list (a line state for the data and length kinds, a line event for Signaling).
struct ConditionRow {
    int kind = 0;
    QString data;
    QString controlCodes;
    bool lineStateCheck = false;
    int lineState = 0;

    bool operator==(const ConditionRow&) const = default;
};
enum class ConditionField { Data, ControlCodes };

// A send: the command with its control codes, the three numbers as typed, and the signal
// as a position in its list.
struct SendRow {
    QString command;
    QString controlCodes;
    QString delay;
    QString repeat;
    QString interval;
    bool signalCheck = false;
    int signal = 0;

    bool operator==(const SendRow&) const = default;
};
enum class SendField { Command, ControlCodes, Delay, Repeat, Interval };

// Whether a condition kind compares data (Data =, Data <>, Contain), whose control codes
// count; the length kinds and Signaling have none.
inline bool comparesData(int kind) {
    return kind >= 0 && kind <= 2;
}
// How many entries the line-state list holds under a condition kind.
int lineStateListSize(int kind);

// Whether a send has something to send (its repeat is then in use): a command, or in
// ASCII control codes.
bool hasCommand(const SendRow& send, int notation);
// Whether its interval is in use: a command sent more than once.
bool intervalInUse(const SendRow& send, int notation);

// The refusal of a list that is no list of hexadecimal bytes.
QString hexCodesMessage();
// The refusal of a length that holds a comma.
QString lengthMessage();

// The check of one field as it is left, in the editor's notation (0 Hex, 1 ASCII): a
// list that is no list of bytes (the data and the command in Hex, the control codes
// always), a wait over 65,535 ms. `row` and `field` name the field in the refusal.
// `refuseListAsLength`: a length kind's data holding a comma is refused too.
std::optional<Refusal> checkConditionField(int row, int at, ConditionField field,
                                           const QString& text, int notation, int kind,
                                           bool refuseListAsLength);
std::optional<Refusal> checkSendField(int row, int at, SendField field, const QString& text,
                                      int notation);

// What a save checks of a condition and of a send: the fields in use, in their order.
// Control codes are checked only where the notation shows them (ASCII, and a data kind):
// those kept hidden in Hex stay as they were read.
std::optional<Refusal> checkCondition(int row, const std::function<int(ConditionField)>& fieldOf,
                                      const ConditionRow& condition, int notation);
std::optional<Refusal> checkSend(int row, const std::function<int(SendField)>& fieldOf,
                                 const SendRow& send, int notation);

} // namespace kst
