#include "sub_routine_table.h"

#include "autoresp/line_state.h"
#include "autoresp/match_condition.h"
#include "columns/prog_macros_sub_routines_columns.h"
#include "notation/leading_number.h"
#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "storage/macro_rows.h"
#include "storage/macro_step_table.h"
#include "storage/profile_readers.h"
#include "traffic/send_action.h"

namespace kst {

namespace {

namespace C = ProgMacrosSubRoutinesColumn;

const QString Table = QStringLiteral("progMacrosSubRoutines");

// Where a condition of a sub-routine is kept.
struct ConditionColumns {
    int kind;
    int data;
    int controlCodes;
    int check;
    int lineState;
};
const ConditionColumns IfColumns{C::IfOpt, C::IfCode, C::strIfCtrl, C::IfCheck, C::IfSignal};
const ConditionColumns ElseIfColumns{C::ElseIfOpt, C::ElseIfCode, C::strElseIfCtrl, C::ElseIfCheck,
                                     C::ElseIfSignal};

// Where a send of a sub-routine is kept.
struct SendColumns {
    int command;
    int controlCodes;
    int repeat;
    int delay;
    int interval;
    int check;
    int signal;
};
const SendColumns IfThenColumns{C::IfThenCmd,      C::strIfThenCtrl,     C::IfThenCmdRepeat,
                                C::IfThenCmdDelay, C::IfThenCmdInterval, C::IfThenCheck,
                                C::IfThenSignal};
const SendColumns ElseIfThenColumns{
    C::ElseIfThenCmd,         C::ElseIfThenCtrl, C::ElseIfThenCmdRepeat, C::ElseIfThenCmdDelay,
    C::ElseIfThenCmdInterval, C::ElseIfThenChk,  C::ElseIfThenSignal};
const SendColumns ElseThenColumns{C::ElseThenCmd,      C::ElseThenCtrl,        C::ElseThenRepeat,
                                  C::ElseThenCmdDelay, C::ElseThenCmdInterval, C::ElseThenCheck,
                                  C::ElseThenSignal};

// An empty kind reads as the first; one outside the options cannot be shown.
int readKind(const db::Recordset& rs, int ordinal) {
    const double kind = LeadingNumber(rs.value(ordinal).toText());
    if (kind < 0 || kind >= ConditionKindOptions)
        throw RunTimeError(err::InvalidPropertyValue);
    return static_cast<int>(kind);
}

ConditionRow readCondition(const db::Recordset& rs, const ConditionColumns& c) {
    ConditionRow f;
    f.kind = readKind(rs, c.kind);
    f.data = storedText(rs, c.data);
    f.controlCodes = storedText(rs, c.controlCodes);
    f.lineStateCheck = rs.value(c.check).toBool();
    f.lineState = strictListPosition(rs, c.lineState, lineStateListSize(f.kind));
    return f;
}

SendRow readSend(const db::Recordset& rs, const SendColumns& c) {
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

SubRoutineRow readSubRoutine(const db::Recordset& rs) {
    SubRoutineRow sub;
    sub.name = storedText(rs, C::SubRoutineName);
    sub.ifCondition = readCondition(rs, IfColumns);
    sub.ifThen = readSend(rs, IfThenColumns);
    sub.elseIfCondition = readCondition(rs, ElseIfColumns);
    sub.elseIfThen = readSend(rs, ElseIfThenColumns);
    sub.elseOnTimeout = rs.value(C::ElseCheck).toBool();
    sub.elseThen = readSend(rs, ElseThenColumns);
    return sub;
}

void writeCondition(db::Recordset& rs, const ConditionColumns& c, const ConditionRow& f) {
    rs.setValue(c.kind, db::Value(static_cast<qint64>(f.kind)));
    rs.setValue(c.data, db::Value(f.data));
    rs.setValue(c.controlCodes, db::Value(f.controlCodes));
    rs.setValue(c.check, db::Value(f.lineStateCheck));
    rs.setValue(c.lineState, db::Value(static_cast<qint64>(f.lineState)));
}

void writeSend(db::Recordset& rs, const SendColumns& c, const SendRow& f) {
    rs.setValue(c.command, db::Value(f.command));
    rs.setValue(c.controlCodes, db::Value(f.controlCodes));
    rs.setValue(c.repeat, storedNumber(f.repeat));
    rs.setValue(c.delay, storedNumber(f.delay));
    rs.setValue(c.interval, storedNumber(f.interval));
    rs.setValue(c.check, db::Value(f.signalCheck));
    rs.setValue(c.signal, db::Value(static_cast<qint64>(f.signal)));
}

} // namespace

std::optional<Refusal> SubRoutineTable::checkName(int row, const QString& name) {
    if (!name.isEmpty())
        return std::nullopt;
    return Refusal{row, SubRoutineField::Name,
                   QStringLiteral("Please enter something for the selected sub-routine")};
}

std::optional<Refusal> SubRoutineTable::checkSubRoutine(int row, const SubRoutineRow& sub,
                                                        int notation) {
    if (auto refusal = checkName(row, sub.name))
        return refusal;
    const auto condition = [&](ConditionPart part, const ConditionRow& c) {
        return checkCondition(
            row, [part](ConditionField m) { return SubRoutineField::conditionField(part, m); }, c,
            notation);
    };
    const auto send = [&](SendPart part, const SendRow& s) {
        return checkSend(
            row, [part](SendField m) { return SubRoutineField::sendField(part, m); }, s, notation);
    };
    if (auto refusal = condition(ConditionPart::If, sub.ifCondition))
        return refusal;
    if (auto refusal = send(SendPart::IfThen, sub.ifThen))
        return refusal;
    if (auto refusal = condition(ConditionPart::ElseIf, sub.elseIfCondition))
        return refusal;
    if (auto refusal = send(SendPart::ElseIfThen, sub.elseIfThen))
        return refusal;
    return send(SendPart::ElseThen, sub.elseThen);
}

std::optional<Refusal> SubRoutineTable::validate() const {
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        if (auto refusal = checkSubRoutine(i, rows[static_cast<size_t>(i)], notation))
            return refusal;
    return std::nullopt;
}

QStringList ReadSubRoutineNames(const QString& settingsConnStr, int macro) {
    QStringList names;
    ReadRows(MacroRowsQuery(Table, macro), settingsConnStr, 8,
             [&](const db::Recordset& rs, int) { names << storedText(rs, C::SubRoutineName); });
    return names;
}

SubRoutineRow ReadSubRoutineRow(const QString& settingsConnStr, int macro, int index) {
    SubRoutineRow sub;
    ReadRows(MacroRowQuery(Table, macro, index), settingsConnStr, 1,
             [&](const db::Recordset& rs, int) { sub = readSubRoutine(rs); });
    return sub;
}

SubRoutineTable ReadSubRoutineTable(const QString& settingsConnStr, int macro) {
    SubRoutineTable table;
    table.notation = ReadMacroEditorOptions(settingsConnStr).notation;
    ReadRows(MacroRowsQuery(Table, macro), settingsConnStr, 8, [&](const db::Recordset& rs, int k) {
        table.rows[static_cast<size_t>(k)] = readSubRoutine(rs);
    });
    return table;
}

void StoreSubRoutine(db::Recordset& rs, const SubRoutineRow& sub) {
    rs.setValue(C::SubRoutineName, db::Value(sub.name));
    writeCondition(rs, IfColumns, sub.ifCondition);
    writeSend(rs, IfThenColumns, sub.ifThen);
    writeCondition(rs, ElseIfColumns, sub.elseIfCondition);
    writeSend(rs, ElseIfThenColumns, sub.elseIfThen);
    rs.setValue(C::ElseCheck, db::Value(sub.elseOnTimeout));
    writeSend(rs, ElseThenColumns, sub.elseThen);
}

void WriteSubRoutineRow(const QString& settingsConnStr, int macro, int index,
                        const SubRoutineRow& sub) {
    db::Recordset rs;
    rs.open(MacroRowQuery(Table, macro, index), settingsConnStr);
    rs.beginTrans();
    rs.moveFirst();
    StoreSubRoutine(rs, sub);
    rs.commitTrans();
    rs.close();
}

SubRoutineRow DefaultSubRoutineRow(int macro, int index) {
    SubRoutineRow sub;
    sub.name = QStringLiteral("Sub%1%2").arg(macro).arg(MacroRowLetter(index));
    for (SendRow* send : {&sub.ifThen, &sub.elseIfThen, &sub.elseThen})
        send->repeat = send->delay = send->interval = QStringLiteral("0");
    sub.elseOnTimeout = true;
    return sub;
}

} // namespace kst
