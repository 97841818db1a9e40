#include "profile_readers.h"

#include "columns/prog_auto_resp_columns.h"
#include "columns/prog_buttons_columns.h"
#include "columns/prog_macros_seq_columns.h"
#include "columns/prog_macros_sub_routines_columns.h"
#include "columns/settings_columns.h"
#include "notation/notation.h"
#include "platform/db/recordset.h"
#include "storage/editor_table.h"
#include "storage/field_values.h"
#include "storage/macro_rows.h"
#include "storage/settings_lists.h"
#include "traffic/send_parser.h"

#include <algorithm>

namespace kst {

void DamagedLists::note(const QString& table, int row, const QString& column) {
    places_ << QStringLiteral("%1 row %2 (%3)").arg(table).arg(row).arg(column);
}

namespace {

// One stored list position serves both: a line state for the data kinds, the line event
// for Signaling.
void setConditionKind(MatchCondition& c, qint32 kind, qint32 listIndex) {
    c.kind = ConditionKind(kind);
    if (c.kind == ConditionKind::Signaling) {
        c.event = lineEventAt(listIndex);
        c.noEventChosen = listIndex == -1;
    } else {
        c.lineState = LineState(listIndex);
    }
}

QString text(const db::Recordset& row, int ordinal) {
    return storedText(row, ordinal);
}

// Where a value that fails its read stands, so that it is found without searching the file.
QString rowPlace(const db::Recordset& row) {
    return QStringLiteral("row %1 of the table '%2'").arg(row.value(0).toText(), row.tableName());
}

// A stored number beyond its field fails the read, as it always has, naming its place.
template <class Number>
Number number(const db::Recordset& row, int ordinal, Number (*field)(const QString&),
              const char* range) {
    const QString stored = row.value(ordinal).toText();
    try {
        return field(stored);
    } catch (const RunTimeError& e) {
        if (e.number() != err::Overflow)
            throw;
        throw RunTimeError(err::Overflow,
                           QStringLiteral("%1: %2 holds %3 in its column '%4', which holds %5.")
                               .arg(describeError(err::Overflow), rowPlace(row), stored,
                                    row.field(ordinal).name, QLatin1String(range)));
    }
}

qint16 integer(const db::Recordset& row, int ordinal) {
    return number(row, ordinal, IntegerField, "-32,768 to 32,767");
}
qint32 longValue(const db::Recordset& row, int ordinal) {
    return number(row, ordinal, LongField, "-2,147,483,648 to 2,147,483,647");
}
// A position in one of the main window's lists: one the list does not have fails the
// read, as the list itself would refuse it.
qint16 mainListPosition(const db::Recordset& row, int ordinal, const QStringList& entries) {
    const qint16 position = integer(row, ordinal);
    if (position < 0 || position >= entries.size())
        throw outsideListError(rowPlace(row), row.value(ordinal).toText(), row.field(ordinal).name,
                               static_cast<int>(entries.size()));
    return position;
}
bool boolean(const db::Recordset& row, int ordinal) {
    return row.value(ordinal).toBool();
}

// Where one THEN part of a sub-routine keeps its send, in the order it is read; its
// signal flag is read with the sub-routine's other flags, after all three parts.
struct ThenColumns {
    int command;
    int controlCodes;
    int repeat;
    int delay;
    int interval;
    int signal;
};

// Reads the rows of one table, so a damaged list can be named by its row and column.
class RowReader {
public:
    RowReader(const db::Recordset& row, DamagedLists* damaged) : row_(row), damaged_(damaged) {}

    // A control-code column: a hexadecimal byte list, noted when it is not one.
    QString controlCodes(int ordinal) const {
        const QString list = text(row_, ordinal);
        if (!ValidateByteList(list, ncHex))
            noteDamaged(ordinal);
        return list;
    }

    // A condition of kind `kind` and line-state or event position `listIndex`: its text,
    // followed by its control codes as characters for the data kinds. A length or a line
    // event has no control codes: codes left behind by an earlier data kind would make a
    // "Len >" without a length hold for every block. Control codes that are not bytes
    // make a condition that never matches, rather than one that matches a 0 nobody stored.
    void condition(MatchCondition& c, const QString& data, int ctrlOrdinal, qint32 kind,
                   qint32 listIndex) const {
        const QString list = controlCodes(ctrlOrdinal);
        setConditionKind(c, kind, listIndex);
        c.usable = true;
        c.data = data;
        if (kind >= 0 && kind <= static_cast<qint32>(ConditionKind::Contains)) {
            c.usable = ValidateByteList(list, ncHex);
            if (c.usable)
                c.data += ConvertHexList(list, ncAscii).value_or(QString());
        }
    }

    void thenPart(SendAction& s, const ThenColumns& c) const {
        s.command = text(row_, c.command);
        s.controlCodes = controlCodes(c.controlCodes);
        s.repeat = integer(row_, c.repeat);
        s.delayMs = longValue(row_, c.delay);
        s.intervalMs = longValue(row_, c.interval);
        s.signal = OutputSignal(integer(row_, c.signal));
    }

private:
    void noteDamaged(int ordinal) const {
        if (damaged_) {
            damaged_->note(row_.tableName(), longValue(row_, 0), row_.field(ordinal).name);
        }
    }

    const db::Recordset& row_;
    DamagedLists* damaged_;
};

} // namespace

void ReadProgButton(const db::Recordset& row, ProgButton& b, DamagedLists* damaged) {
    namespace C = ProgButtonsColumn;
    const RowReader r(row, damaged);
    b.keyCaption = text(row, C::keyCaption);
    b.action.command = text(row, C::keyCodes);
    b.action.controlCodes = r.controlCodes(C::strASCIICtrl);
    // Values no editor writes (a damaged or foreign file) are brought into their fields'
    // ranges: a chain link outside the buttons ends the chain. A repeat is played as
    // stored, or refused by the send that names it; a signal outside its list is none.
    b.action.delayMs = std::clamp(longValue(row, C::keyDelay), 0, MaxSendWaitMs);
    b.action.repeat = longValue(row, C::keyRepeat);
    b.action.intervalMs = std::clamp(longValue(row, C::keyInterval), 0, MaxSendWaitMs);
    const qint32 chain = longValue(row, C::chain);
    b.chain = chain >= 0 && chain <= 32 ? chain : 0;
    setStoredButtonSignal(b.action, longValue(row, C::signals_));
}

void ReadProgButtons(const QString& connStr, ProgButtons& buttons, DamagedLists* damaged) {
    ReadRows(QStringLiteral("SELECT * FROM ProgButtons"), connStr, static_cast<int>(buttons.size()),
             [&](const db::Recordset& row, int i) {
                 ReadProgButton(row, buttons[static_cast<size_t>(i)], damaged);
             });
}

void ReadAutoResponseRules(const QString& connStr, AutoResponseRules& rules,
                           DamagedLists* damaged) {
    ReadRows(QStringLiteral("SELECT * FROM ProgAutoResp"), connStr, AutoResponseRuleCount,
             [&](const db::Recordset& row, int i) {
                 ReadAutoResponseRule(row, rules[static_cast<size_t>(i)], damaged);
             });
}

void ReadAutoResponseRule(const db::Recordset& row, AutoResponseRule& rule, DamagedLists* damaged) {
    namespace C = ProgAutoRespColumn;
    const RowReader r(row, damaged);
    MatchCondition& c = rule.condition;
    SendAction& s = rule.response;
    r.condition(c, text(row, C::Condition), C::strConditionCtrl, integer(row, C::CondOpt),
                integer(row, C::CondCbo));
    s.command = text(row, C::respCodes);
    s.controlCodes = r.controlCodes(C::strRespCtrl);
    s.delayMs = longValue(row, C::respDelay);
    s.repeat = integer(row, C::respRepeat);
    s.intervalMs = longValue(row, C::respInterval);
    c.requireLineState = boolean(row, C::CondChk);
    s.signal = OutputSignal(integer(row, C::respCbo));
    s.sendSignal = boolean(row, C::respChk);
}

void ReadMacroStep(const db::Recordset& row, MacroStep& step, DamagedLists* damaged) {
    namespace C = ProgMacrosSeqColumn;
    const RowReader r(row, damaged);
    SendAction& s = step.send;
    step.id = integer(row, C::ID);
    step.name = text(row, C::SeqName);
    step.action = integer(row, C::ActionOpt);
    s.command = text(row, C::CmdStr);
    s.controlCodes = r.controlCodes(C::strASCIICtrl);
    s.repeat = integer(row, C::RepeatNo);
    s.delayMs = longValue(row, C::Delay);
    s.intervalMs = longValue(row, C::Interval);
    step.subRoutineNo = integer(row, C::SubRoutineNo);
    step.waitMs = longValue(row, C::TimerAfter);
    s.signal = OutputSignal(integer(row, C::stepSignal));
    s.sendSignal = boolean(row, C::stepChk);
}

void ReadMacroSubRoutine(const db::Recordset& row, MacroSubRoutine& sub, DamagedLists* damaged) {
    namespace C = ProgMacrosSubRoutinesColumn;
    const RowReader r(row, damaged);
    sub.id = integer(row, C::ID);
    sub.name = text(row, C::SubRoutineName);
    r.condition(sub.ifCondition, text(row, C::IfCode), C::strIfCtrl, integer(row, C::IfOpt),
                integer(row, C::IfSignal));
    r.thenPart(sub.ifThen, {C::IfThenCmd, C::strIfThenCtrl, C::IfThenCmdRepeat, C::IfThenCmdDelay,
                            C::IfThenCmdInterval, C::IfThenSignal});
    r.condition(sub.elseIfCondition, text(row, C::ElseIfCode), C::strElseIfCtrl,
                integer(row, C::ElseIfOpt), integer(row, C::ElseIfSignal));
    r.thenPart(sub.elseIfThen,
               {C::ElseIfThenCmd, C::ElseIfThenCtrl, C::ElseIfThenCmdRepeat, C::ElseIfThenCmdDelay,
                C::ElseIfThenCmdInterval, C::ElseIfThenSignal});
    r.thenPart(sub.elseThen, {C::ElseThenCmd, C::ElseThenCtrl, C::ElseThenRepeat,
                              C::ElseThenCmdDelay, C::ElseThenCmdInterval, C::ElseThenSignal});
    sub.elseOnTimeout = boolean(row, C::ElseCheck);
    sub.ifCondition.requireLineState = boolean(row, C::IfCheck);
    sub.ifThen.sendSignal = boolean(row, C::IfThenCheck);
    sub.elseIfCondition.requireLineState = boolean(row, C::ElseIfCheck);
    sub.elseIfThen.sendSignal = boolean(row, C::ElseIfThenChk);
    sub.elseThen.sendSignal = boolean(row, C::ElseThenCheck);
}

MacroRecords LoadMacro(const QString& settingsConnStr, int macroNo, DamagedLists* damaged) {
    MacroRecords macro;
    // One connection for both tables: continuous play loads a macro every few steps.
    db::Recordset rs;
    rs.open(MacroRowsQuery(QStringLiteral("progMacrosSeq"), macroNo), settingsConnStr);
    ReadOpenRows(rs, 8, [&](const db::Recordset& row, int k) {
        ReadMacroStep(row, macro.steps[k], damaged);
    });
    rs.reopen(MacroRowsQuery(QStringLiteral("progMacrosSubRoutines"), macroNo));
    ReadOpenRows(rs, 8, [&](const db::Recordset& row, int k) {
        ReadMacroSubRoutine(row, macro.subRoutines[k], damaged);
    });
    rs.close();
    return macro;
}

ProfileSettings ReadSettings(const QString& settingsConnStr) {
    namespace C = SettingsColumn;
    ProfileSettings s;
    ReadRows("SELECT * FROM Settings", settingsConnStr, 1, [&s](const db::Recordset& row, int) {
        s.port = integer(row, C::port);
        s.baud = mainListPosition(row, C::baud, baudRateEntries());
        s.dataBits = mainListPosition(row, C::databit, dataBitEntries());
        s.parity = mainListPosition(row, C::parity, parityEntries());
        s.stopBits = mainListPosition(row, C::stopbit, stopBitEntries());
        s.handshaking = integer(row, C::handshaking);
        s.rxTimerIndex = mainListPosition(row, C::rxTimerIndex, rxTimerEntries());
        s.userNotes = text(row, C::userNotes);
        s.detectCTS = boolean(row, C::bolDetectCTS);
        s.detectDSR = boolean(row, C::bolDetectDSR);
        s.detectDCD = boolean(row, C::bolDetectDCD);
        s.detectRI = boolean(row, C::bolDetectRI);
        s.fullDuplex = boolean(row, C::bolFullDuplex);
        s.secondPort = integer(row, C::secondCOMport);
    });
    return s;
}

void ReadEveryLoadedRow(const QString& settingsConnStr) {
    ReadSettings(settingsConnStr);
    ProgButtons buttons;
    ReadProgButtons(settingsConnStr, buttons);
    AutoResponseRules rules;
    ReadAutoResponseRules(settingsConnStr, rules);
    constexpr int Macros = 8;
    for (int macro = 1; macro <= Macros; ++macro)
        LoadMacro(settingsConnStr, macro);
}

void SaveSettings(const QString& settingsConnStr, const SettingsToSave& values) {
    namespace C = SettingsColumn;
    db::Recordset rs;
    rs.open("SELECT * FROM Settings", settingsConnStr);
    rs.moveFirst();
    auto number = [](int value) { return db::Value(qint64(value)); };
    if (const auto& p = values.lineChoice) {
        if (p->port)
            rs.setValue(C::port, number(*p->port));
        rs.setValue(C::baud, number(p->baud));
        rs.setValue(C::databit, number(p->dataBits));
        rs.setValue(C::parity, number(p->parity));
        rs.setValue(C::stopbit, number(p->stopBits));
        rs.setValue(C::handshaking, number(p->handshaking));
    }
    if (const auto& o = values.lineOptions) {
        rs.setValue(C::secondCOMport, number(o->secondPort));
        rs.setValue(C::bolFullDuplex, db::Value(o->fullDuplex));
        rs.setValue(C::bolDetectCTS, db::Value(o->detectCTS));
        rs.setValue(C::bolDetectDSR, db::Value(o->detectDSR));
        rs.setValue(C::bolDetectDCD, db::Value(o->detectDCD));
        rs.setValue(C::bolDetectRI, db::Value(o->detectRI));
    }
    if (values.rxTimerIndex)
        rs.setValue(C::rxTimerIndex, number(*values.rxTimerIndex));
    rs.update();
    rs.close();
}

} // namespace kst
