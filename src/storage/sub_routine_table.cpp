#include "sub_routine_table.h"

#include "autoresp/line_state.h"
#include "autoresp/match_condition.h"
#include "columns/prog_macros_sub_routines_columns.h"
#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "storage/macro_rows.h"
#include "storage/macro_step_table.h"
#include "storage/profile_readers.h"
#include "traffic/send_action.h"

namespace kst {

namespace {

namespace C = ProgMacrosSubRoutinesColumn;

// Where the conditions and sends of a sub-routine are kept.
const ConditionColumns IfColumns{C::IfOpt, C::IfCode, C::strIfCtrl, C::IfCheck, C::IfSignal};
const ConditionColumns ElseIfColumns{C::ElseIfOpt, C::ElseIfCode, C::strElseIfCtrl, C::ElseIfCheck,
                                     C::ElseIfSignal};

const SendColumns IfThenColumns{C::IfThenCmd,      C::strIfThenCtrl,     C::IfThenCmdRepeat,
                                C::IfThenCmdDelay, C::IfThenCmdInterval, C::IfThenCheck,
                                C::IfThenSignal};
const SendColumns ElseIfThenColumns{
    C::ElseIfThenCmd,         C::ElseIfThenCtrl, C::ElseIfThenCmdRepeat, C::ElseIfThenCmdDelay,
    C::ElseIfThenCmdInterval, C::ElseIfThenChk,  C::ElseIfThenSignal};
const SendColumns ElseThenColumns{C::ElseThenCmd,      C::ElseThenCtrl,        C::ElseThenRepeat,
                                  C::ElseThenCmdDelay, C::ElseThenCmdInterval, C::ElseThenCheck,
                                  C::ElseThenSignal};

ConditionRow readCondition(const db::Recordset& rs, const ConditionColumns& c) {
    ConditionRow f;
    // An empty kind reads as the first; one outside the options cannot be shown.
    f.kind = optionPosition(rs, c.kind, ConditionKindOptions, QString());
    f.data = storedText(rs, c.data);
    f.controlCodes = storedText(rs, c.controlCodes);
    f.lineStateCheck = rs.value(c.check).toBool();
    f.lineState = strictListPosition(rs, c.lineState, lineStateListSize(f.kind));
    return f;
}

SubRoutineRow readSubRoutine(const db::Recordset& rs) {
    SubRoutineRow sub;
    sub.name = storedText(rs, C::SubRoutineName);
    sub.ifCondition = readCondition(rs, IfColumns);
    sub.ifThen = ReadSendRow(rs, IfThenColumns);
    sub.elseIfCondition = readCondition(rs, ElseIfColumns);
    sub.elseIfThen = ReadSendRow(rs, ElseIfThenColumns);
    sub.elseOnTimeout = rs.value(C::ElseCheck).toBool();
    sub.elseThen = ReadSendRow(rs, ElseThenColumns);
    return sub;
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
            notation, false);
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
    ReadMacroRows(
        settingsConnStr, MacroPart::SubRoutine, macro, -1,
        [&](const db::Recordset& rs, int) { names << storedText(rs, C::SubRoutineName); });
    return names;
}

SubRoutineRow ReadSubRoutineRow(const QString& settingsConnStr, int macro, int index) {
    SubRoutineRow sub;
    ReadMacroRows(settingsConnStr, MacroPart::SubRoutine, macro, index,
                  [&](const db::Recordset& rs, int) { sub = readSubRoutine(rs); });
    return sub;
}

SubRoutineTable ReadSubRoutineTable(const QString& settingsConnStr, int macro) {
    SubRoutineTable table;
    table.notation = ReadMacroEditorOptions(settingsConnStr).notation;
    ReadMacroRows(settingsConnStr, MacroPart::SubRoutine, macro, -1,
                  [&](const db::Recordset& rs, int k) {
                      table.rows[static_cast<size_t>(k)] = readSubRoutine(rs);
                  });
    return table;
}

void StoreSubRoutine(db::Recordset& rs, const SubRoutineRow& sub) {
    rs.setValue(C::SubRoutineName, db::Value(sub.name));
    WriteConditionRow(rs, IfColumns, sub.ifCondition);
    WriteSendRow(rs, IfThenColumns, sub.ifThen);
    WriteConditionRow(rs, ElseIfColumns, sub.elseIfCondition);
    WriteSendRow(rs, ElseIfThenColumns, sub.elseIfThen);
    rs.setValue(C::ElseCheck, db::Value(sub.elseOnTimeout));
    WriteSendRow(rs, ElseThenColumns, sub.elseThen);
}

void WriteSubRoutineRow(const QString& settingsConnStr, int macro, int index,
                        const SubRoutineRow& sub) {
    db::Recordset rs;
    rs.open(MacroRowQuery(MacroTable(MacroPart::SubRoutine), macro, index), settingsConnStr);
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
