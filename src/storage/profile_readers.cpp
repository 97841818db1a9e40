#include "profile_readers.h"

#include "notation/notation.h"
#include "platform/db/recordset.h"
#include "storage/field_values.h"

namespace kst {

namespace {

QString text(const db::Recordset& row, int ordinal) {
    return row.value(ordinal).toText();
}

// A fixed-length column hands back its text padded with blanks; the program compares
// and sends the text without them.
QString unpadded(const db::Recordset& row, int ordinal) {
    QString t = text(row, ordinal);
    qsizetype end = t.size();
    while (end > 0 && t[end - 1] == u' ')
        --end;
    t.truncate(end);
    return t;
}

qint16 integer(const db::Recordset& row, int ordinal) {
    return IntegerField(text(row, ordinal));
}
qint32 longValue(const db::Recordset& row, int ordinal) {
    return LongField(text(row, ordinal));
}
double number(const db::Recordset& row, int ordinal) {
    return LeadingNumber(text(row, ordinal));
}
bool boolean(const db::Recordset& row, int ordinal) {
    return row.value(ordinal).toBool();
}

// Condition texts carry their control codes, stored as a hexadecimal list, as characters.
QString withControlCodes(const QString& condition, const db::Recordset& row, int ctrlOrdinal) {
    return condition + ConvertHexList(text(row, ctrlOrdinal), ncAscii).value_or(QString());
}

} // namespace

void ReadPreferences(const db::Recordset& row, UserPreferences& p) {
    bool* const flags[] = {&p.bolHideCalcAscii, &p.bolAutoResponse,      &p.bolDescription,
                           &p.bolRxTimer,       &p.bolAutoConnect,       &p.bolSaveComSettings,
                           &p.bolSaveRxTimer,   &p.bolClearLogOnOpen,    &p.bolSoundOnReceive,
                           &p.bolSoundOnSend,   &p.bolSoundOnLineChange, &p.bolMonitoringMode};
    for (int i = 0; i < 12; ++i)
        *flags[i] = boolean(row, i + 1);
    p.bolFormattedView = boolean(row, 14);
    quint32* const colors[] = {&p.backgroundColor, &p.msgColor, &p.txColor, &p.rx1Color,
                               &p.rx2Color};
    for (int i = 0; i < 5; ++i)
        *colors[i] = static_cast<quint32>(longValue(row, 15 + i));
    bool* const styles[] = {&p.bolMsgBold, &p.bolMsgItalic, &p.bolMsgUnderline,
                            &p.bolTxBold,  &p.bolTxItalic,  &p.bolTxUnderline,
                            &p.bolRx1Bold, &p.bolRx1Italic, &p.bolRx1Underline,
                            &p.bolRx2Bold, &p.bolRx2Italic, &p.bolRx2Underline};
    for (int i = 0; i < 12; ++i)
        *styles[i] = boolean(row, 20 + i);
    p.fontSizeIndex = integer(row, 32);
}

void ReadProgButton(const db::Recordset& row, ProgButton& b) {
    b.keyCaption = text(row, 1);
    b.keyCodes = text(row, 2);
    b.strASCIICtrl = text(row, 9);
    b.keyDelay = longValue(row, 3);
    b.keyRepeat = number(row, 4);
    b.keyInterval = longValue(row, 5);
    b.chain = number(row, 6);
    b.keySignal = integer(row, 7);
}

void ReadAutoResponseRule(const db::Recordset& row, AutoResponseRule& r) {
    r.Condition = withControlCodes(text(row, 1), row, 12);
    r.respCodes = text(row, 2);
    r.strRespCtrl = text(row, 13);
    r.respDelay = longValue(row, 3);
    r.respRepeat = integer(row, 4);
    r.respInterval = longValue(row, 5);
    r.CondOpt = integer(row, 6);
    r.CondChk = boolean(row, 7);
    r.CondCbo = integer(row, 8);
    r.respCbo = integer(row, 10);
    r.respChk = boolean(row, 9);
}

void ReadMacroStep(const db::Recordset& row, MacroStep& s) {
    s.ID = integer(row, 0);
    s.SeqName = text(row, 1);
    s.ActionOpt = integer(row, 2);
    s.CmdStr = text(row, 3);
    s.strASCIICtrl = text(row, 13);
    s.RepeatNo = integer(row, 4);
    s.Delay = longValue(row, 8);
    s.Interval = longValue(row, 9);
    s.SubRoutineNo = integer(row, 5);
    s.TimerAfter = longValue(row, 7);
    s.stepSignal = integer(row, 10);
    s.stepChk = boolean(row, 11);
}

void ReadMacroSubRoutine(const db::Recordset& row, MacroSubRoutine& s, bool& loadedElseCheck) {
    s.ID = integer(row, 0);
    s.SubRoutineName = text(row, 1);
    s.IfOpt = integer(row, 2);
    s.IfCode = withControlCodes(text(row, 3), row, 32);
    s.IfSignal = integer(row, 4);
    s.IfThenCmd = text(row, 5);
    s.strIfThenCtrl = text(row, 33);
    s.IfThenCmdRepeat = integer(row, 6);
    s.IfThenCmdDelay = longValue(row, 7);
    s.IfThenCmdInterval = longValue(row, 8);
    s.IfThenSignal = integer(row, 9);
    s.ElseIfOpt = integer(row, 10);
    s.ElseIfCode = withControlCodes(unpadded(row, 11), row, 34);
    s.ElseIfSignal = integer(row, 12);
    s.ElseIfThenCmd = unpadded(row, 13);
    s.ElseIfThenCtrl = text(row, 41);
    s.ElseIfThenCmdRepeat = integer(row, 14);
    s.ElseIfThenCmdDelay = longValue(row, 15);
    s.ElseIfThenCmdInterval = longValue(row, 16);
    s.ElseIfThenSignal = integer(row, 17);
    s.ElseThenCmd = unpadded(row, 18);
    s.ElseThenCtrl = text(row, 42);
    s.ElseThenRepeat = integer(row, 19);
    s.ElseThenCmdDelay = longValue(row, 20);
    s.ElseThenCmdInterval = longValue(row, 21);
    s.ElseThenSignal = integer(row, 22);
    loadedElseCheck = boolean(row, 26);
    s.ElseCheck = boolean(row, 26);
    s.IfCheck = boolean(row, 27);
    s.IfThenCheck = boolean(row, 28);
    s.ElseIfCheck = boolean(row, 29);
    s.ElseIfThenChk = boolean(row, 30);
    s.ElseThenCheck = boolean(row, 31);
}

void LoadMacro(const QString& settingsConnStr, int macroNo, LoadedMacro target) {
    // Macro n owns rows (n-1)*8+1 .. n*8 of both tables.
    const QString rows = " WHERE ID BETWEEN " + QString::number((macroNo - 1) * 8 + 1) + " AND " +
                         QString::number(macroNo * 8);
    ReadRows("SELECT * FROM progMacrosSeq" + rows, settingsConnStr, 8,
             [&](const db::Recordset& row, int k) { ReadMacroStep(row, target.steps[k]); });
    ReadRows("SELECT * FROM progMacrosSubRoutines" + rows, settingsConnStr, 8,
             [&](const db::Recordset& row, int k) {
                 ReadMacroSubRoutine(row, target.subRoutines[k], target.loadedElseCheck[k]);
             });
}

} // namespace kst
