#include "condition_send_rows.h"

#include "notation/notation.h"
#include "platform/db/recordset.h"
#include "traffic/command_input.h"

namespace kst {

namespace {

QString cutAfterLastComma(const QString& text) {
    return text.left(text.lastIndexOf(u',') + 1);
}

// Each item as its byte value in capitals without leading zeros; a list that holds no
// byte stays as typed (its check refuses it before it is tidied).
QString normalized(const QString& list) {
    return reformatByteList(list, ncHex).value_or(list);
}

std::optional<QChar> hexKey(QChar typed) {
    return commandFieldKey(typed, ncHex);
}

std::optional<QChar> anyKey(QChar typed) {
    return typed;
}

} // namespace

const QStringList& lineStateListEntries(int kind) {
    static const QStringList states = {"CTS ON",
                                       "CTS OFF",
                                       "DSR ON",
                                       "DSR OFF",
                                       "CTS ON, DSR ON",
                                       "CTS ON, DSR OFF",
                                       "CTS OFF, DSR ON",
                                       "CTS OFF, DSR OFF",
                                       "DCD ON",
                                       "DCD OFF",
                                       "RI Detected",
                                       "DCD ON, RI Detected",
                                       "DCD OFF, RI Detected"};
    static const QStringList events = {"CTS ON", "CTS OFF", "DSR ON",     "DSR OFF",
                                       "DCD ON", "DCD OFF", "RI Detected"};
    return kind == SignalingKind ? events : states;
}

int lineStateListSize(int kind) {
    return static_cast<int>(lineStateListEntries(kind).size());
}

const QStringList& signalListEntries() {
    static const QStringList names = {"RTS ON",          "RTS OFF",          "DTR ON",
                                      "DTR OFF",         "RTS ON, DTR ON",   "RTS ON, DTR OFF",
                                      "RTS OFF, DTR ON", "RTS OFF, DTR OFF", "Play Sound"};
    Q_ASSERT(names.size() == SignalListSize);
    return names;
}

SendRow ReadSendRow(const db::Recordset& rs, const SendColumns& c) {
    SendRow f;
    f.command = storedText(rs, c.command);
    f.controlCodes = storedText(rs, c.controlCodes);
    f.repeat = rs.value(c.repeat).toText();
    f.delay = rs.value(c.delay).toText();
    f.interval = rs.value(c.interval).toText();
    f.signalCheck = rs.value(c.check).toBool();
    f.signal = strictListPosition(rs, c.signal, SignalListSize);
    return f;
}

void WriteConditionRow(db::Recordset& rs, const ConditionColumns& c, const ConditionRow& f) {
    rs.setValue(c.kind, db::Value(static_cast<qint64>(f.kind)));
    rs.setValue(c.data, db::Value(f.data));
    rs.setValue(c.controlCodes, db::Value(f.controlCodes));
    rs.setValue(c.check, db::Value(f.lineStateCheck));
    rs.setValue(c.lineState, db::Value(static_cast<qint64>(f.lineState)));
}

void WriteSendRow(db::Recordset& rs, const SendColumns& c, const SendRow& f) {
    rs.setValue(c.command, db::Value(f.command));
    rs.setValue(c.controlCodes, db::Value(f.controlCodes));
    rs.setValue(c.repeat, storedNumber(f.repeat));
    rs.setValue(c.delay, storedNumber(f.delay));
    rs.setValue(c.interval, storedNumber(f.interval));
    rs.setValue(c.check, db::Value(f.signalCheck));
    rs.setValue(c.signal, db::Value(static_cast<qint64>(f.signal)));
}

QString hexCodesMessage() {
    return QStringLiteral(
        "Invalid data: Hex codes exceed 2 digits, or no command codes in between two (,) sign!");
}

QString lengthMessage() {
    return QStringLiteral("Invalid data: Length data contains non-digit characters!");
}

bool conditionFieldInUse(ConditionField field, int notation, int kind) {
    if (field == ConditionField::Data)
        return kind != SignalingKind;
    return notation != 0 && comparesData(kind);
}

bool sendFieldInUse(SendField field, int notation) {
    return field != SendField::ControlCodes || notation != 0;
}

int sendFieldTypingLimit(SendField field) {
    switch (field) {
    case SendField::Command:
    case SendField::ControlCodes:
        return TextColumnSize;
    case SendField::Repeat:
        return 2;
    default:
        return TimeTypingLimit;
    }
}

std::optional<QChar> conditionFieldKey(ConditionField field, QChar typed, int notation, int kind) {
    if (field == ConditionField::ControlCodes)
        return hexKey(typed);
    // A length is digits in either notation; data is a list in Hex and any text in ASCII.
    if (!comparesData(kind))
        return numberFieldKey(typed);
    return notation == 0 ? hexKey(typed) : anyKey(typed);
}

std::optional<QChar> sendFieldKey(SendField field, QChar typed, int notation) {
    switch (field) {
    case SendField::Command:
        return notation == 0 ? hexKey(typed) : anyKey(typed);
    case SendField::ControlCodes:
        return hexKey(typed);
    default:
        return numberFieldKey(typed);
    }
}

std::optional<Refusal> checkConditionField(int row, int at, ConditionField field,
                                           const QString& text, int notation, int kind,
                                           bool refuseListAsLength) {
    if (field == ConditionField::ControlCodes || notation == 0) {
        if (auto refusal = hexListRefusal(row, at, text, hexCodesMessage()))
            return refusal;
    }
    if (field == ConditionField::Data && refuseListAsLength && !comparesData(kind) &&
        text.contains(u','))
        return Refusal{row, at, lengthMessage()};
    return std::nullopt;
}

std::optional<Refusal> checkSendField(int row, int at, SendField field, const QString& text,
                                      int notation) {
    switch (field) {
    case SendField::Command:
        if (notation != 0)
            return std::nullopt;
        [[fallthrough]];
    case SendField::ControlCodes:
        return hexListRefusal(row, at, text, hexCodesMessage());
    case SendField::Delay:
    case SendField::Interval:
        return waitRefusal(row, at, text, field == SendField::Delay);
    default:
        return std::nullopt;
    }
}

QString tidyConditionField(ConditionField field, const QString& text, int notation, int kind) {
    if (field == ConditionField::ControlCodes || (notation == 0 && comparesData(kind)))
        return normalized(text);
    return text;
}

QString tidySendField(SendField field, const QString& text, int notation, bool normalizeSendCodes) {
    if (field == SendField::ControlCodes)
        return normalizeSendCodes ? normalized(text) : cutAfterLastComma(text);
    if (field == SendField::Command && notation == 0)
        return cutAfterLastComma(text);
    return text;
}

} // namespace kst
