#include "macro_step_table.h"

#include "columns/prog_macros_seq_columns.h"
#include "notation/leading_number.h"
#include "platform/db/recordset.h"
#include "storage/macro_rows.h"
#include "storage/profile_readers.h"
#include "traffic/send_action.h"

namespace kst {

namespace {

namespace C = ProgMacrosSeqColumn;

const SendColumns StepSendColumns{C::CmdStr,   C::strASCIICtrl, C::RepeatNo,  C::Delay,
                                  C::Interval, C::stepChk,      C::stepSignal};

MacroStepRow readStep(const db::Recordset& rs) {
    MacroStepRow step;
    step.name = storedText(rs, C::SeqName);
    step.send = ReadSendRow(rs, StepSendColumns);
    step.subRoutine = strictListPosition(rs, C::SubRoutineNo, 8);
    step.timerAfter = rs.value(C::TimerAfter).toText();
    step.action = LeadingNumber(rs.value(C::ActionOpt).toText()) == 0 ? StepAction::SendCommands
                                                                      : StepAction::SubRoutine;
    return step;
}

enum class StepColumns { OfItsKind, All };

// The name, the kind and the timer, and the columns of the step's kind or all of them.
void writeStep(db::Recordset& rs, const MacroStepRow& step, StepColumns columns) {
    const bool all = columns == StepColumns::All;
    rs.setValue(C::SeqName, db::Value(step.name));
    rs.setValue(C::ActionOpt, db::Value(static_cast<qint64>(step.action)));
    rs.setValue(C::TimerAfter, storedNumber(step.timerAfter));
    if (all || step.action == StepAction::SendCommands)
        WriteSendRow(rs, StepSendColumns, step.send);
    if (all || step.action == StepAction::SubRoutine)
        rs.setValue(C::SubRoutineNo, db::Value(static_cast<qint64>(step.subRoutine)));
}

int storedNotation(const db::Recordset& rs) {
    const db::Value value = rs.value(C::hexFormat);
    return !value.isNull() && LeadingNumber(value.toText()) == 0 ? 0 : 1;
}

} // namespace

std::optional<Refusal> MacroStepTable::checkName(int row, const QString& name) {
    if (!name.isEmpty())
        return std::nullopt;
    return Refusal{row, StepField::Name,
                   QStringLiteral("Please enter something for the selected step")};
}

std::optional<Refusal> MacroStepTable::checkTimer(int row, const QString& timerAfter) {
    if (LeadingNumber(timerAfter) <= 65535)
        return std::nullopt;
    return Refusal{row, StepField::TimerAfter,
                   QStringLiteral("Maximum value for timer is 65,535 ms, please try again!")};
}

std::optional<Refusal> MacroStepTable::checkStep(int row, const MacroStepRow& step, int notation) {
    if (auto refusal = checkName(row, step.name))
        return refusal;
    // A sub-routine step stores none of its send fields.
    if (step.action == StepAction::SendCommands)
        if (auto refusal = checkSend(row, StepField::send, step.send, notation))
            return refusal;
    return checkTimer(row, step.timerAfter);
}

std::optional<Refusal> MacroStepTable::validate() const {
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        if (auto refusal = checkStep(i, rows[static_cast<size_t>(i)], notation))
            return refusal;
    return std::nullopt;
}

MacroEditorOptions ReadMacroEditorOptions(const QString& settingsConnStr) {
    MacroEditorOptions options;
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM progMacrosSeq WHERE ID = 1"), settingsConnStr);
    rs.moveFirst();
    const db::Value autoSave = rs.value(C::autoSave);
    options.autoSave = !autoSave.isNull() && autoSave.toBool();
    options.notation = storedNotation(rs);
    rs.close();
    return options;
}

void WriteMacroAutoSave(const QString& settingsConnStr, bool autoSave) {
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM progMacrosSeq WHERE ID = 1"), settingsConnStr);
    rs.moveFirst();
    rs.setValue(C::autoSave, db::Value(autoSave));
    rs.update();
    rs.close();
}

QStringList ReadMacroStepNames(const QString& settingsConnStr, int macro) {
    QStringList names;
    ReadMacroRows(settingsConnStr, MacroPart::Step, macro, -1,
                  [&](const db::Recordset& rs, int) { names << storedText(rs, C::SeqName); });
    return names;
}

MacroStepRow ReadMacroStepRow(const QString& settingsConnStr, int macro, int index) {
    MacroStepRow step;
    ReadMacroRows(settingsConnStr, MacroPart::Step, macro, index,
                  [&](const db::Recordset& rs, int) { step = readStep(rs); });
    return step;
}

MacroStepTable ReadMacroStepTable(const QString& settingsConnStr, int macro) {
    MacroStepTable table;
    table.notation = ReadMacroEditorOptions(settingsConnStr).notation;
    ReadMacroRows(settingsConnStr, MacroPart::Step, macro, -1, [&](const db::Recordset& rs, int k) {
        table.rows[static_cast<size_t>(k)] = readStep(rs);
    });
    return table;
}

void WriteMacroStepRow(const QString& settingsConnStr, int macro, int index,
                       const MacroStepRow& step, int notation) {
    db::Recordset rs;
    // The first row keeps the notation: both rows are written together, and no other
    // row is read (one that cannot be read stops no save of another).
    rs.open(QStringLiteral("SELECT * FROM progMacrosSeq WHERE ID = 1"), settingsConnStr);
    rs.beginTrans();
    rs.moveFirst();
    rs.setValue(C::hexFormat, db::Value(static_cast<qint64>(notation)));
    rs.reopen(MacroRowQuery(MacroTable(MacroPart::Step), macro, index));
    rs.moveFirst();
    writeStep(rs, step, StepColumns::OfItsKind);
    rs.commitTrans();
    rs.close();
}

void StoreMacroStep(db::Recordset& row, const MacroStepRow& step) {
    writeStep(row, step, StepColumns::All);
}

MacroStepRow DefaultMacroStepRow(int macro, int index) {
    MacroStepRow step;
    step.name = QStringLiteral("Step%1%2").arg(macro).arg(MacroRowLetter(index));
    step.send.repeat = step.send.delay = step.send.interval = QStringLiteral("0");
    step.timerAfter = QStringLiteral("1000");
    return step;
}

} // namespace kst
