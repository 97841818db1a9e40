#include "profile_schema.h"

#include "platform/db/connection_string.h"

#include <QDir>

namespace kst {

using db::ColumnDef;
using db::TableDef;

QString profileConnStr(const QString& profilePath) {
    return db::ConnectionInfo{profilePath, ProfilePassword}.toString();
}

QString supportDbPath(const QString& programFolder) {
    return QDir(programFolder).filePath(SupportFileName);
}

QString supportConnStr(const QString& programFolder) {
    return db::ConnectionInfo{supportDbPath(programFolder), SupportPassword}.toString();
}

namespace {

ColumnDef longNoZeroLength(const QString& name) {
    ColumnDef c = ColumnDef::longInt(name);
    c.allowZeroLength = false;
    return c;
}

ColumnDef text255(const QString& name) {
    return ColumnDef::text(name, 255);
}

// Every table starts with its AutoIncrement key `ID` and the one index over it.
TableDef keyedTable(const QString& name) {
    TableDef t{name, {}, {}};
    t.add(ColumnDef::autoNumber("ID")).primaryKey("PrimaryKey", "ID");
    return t;
}

// Most tables keep three spare numbers followed by three spare flags.
void addSpareNumbersAndFlags(TableDef& t) {
    for (const char* name : {"noBackup1", "noBackup2", "noBackup3"})
        t.add(ColumnDef::longInt(name));
    for (const char* name : {"bolBackup1", "bolBackup2", "bolBackup3"})
        t.add(ColumnDef::yesNo(name));
}

TableDef settingsTable() {
    TableDef t = keyedTable("Settings");
    for (const char* name :
         {"port", "baud", "databit", "parity", "stopbit", "handshaking", "rxTimerIndex"})
        t.add(longNoZeroLength(name));
    t.add(text255("strBackup1"))
        .add(text255("strBackup2"))
        .add(text255("strBackup3"))
        .add(ColumnDef::longInt("secondCOMport"))
        .add(ColumnDef::longInt("noBackup2"))
        .add(ColumnDef::longInt("noBackup3"))
        .add(ColumnDef::yesNo("bolFullDuplex"))
        .add(ColumnDef::yesNo("bolDetectCTS"))
        .add(ColumnDef::yesNo("bolDetectDSR"))
        .add(ColumnDef::memo("userNotes"))
        .add(ColumnDef::memo("memoBackup"))
        .add(ColumnDef::yesNo("bolDetectDCD"))
        .add(ColumnDef::yesNo("bolDetectRI"))
        .add(ColumnDef::longInt("noBackup1"))
        .add(ColumnDef::yesNo("bolBackup1"))
        .add(ColumnDef::yesNo("bolBackup2"))
        .add(ColumnDef::yesNo("bolBackup3"));
    return t;
}

TableDef progButtonsTable() {
    TableDef t = keyedTable("progButtons");
    t.add(ColumnDef::text("keyCaption", 50))
        .add(text255("keyCodes"))
        .add(ColumnDef::longInt("keyDelay"))
        .add(ColumnDef::longInt("keyRepeat"))
        .add(ColumnDef::longInt("keyInterval"))
        .add(ColumnDef::longInt("chain"))
        .add(ColumnDef::longInt("signals"))
        .add(ColumnDef::longInt("hexformat"))
        .add(text255("strASCIICtrl"))
        .add(text255("strBackup1"))
        .add(text255("strBackup2"));
    addSpareNumbersAndFlags(t);
    t.add(text255("strBackup3")).add(ColumnDef::memo("memoBackup"));
    return t;
}

TableDef progAutoRespTable() {
    TableDef t = keyedTable("progAutoResp");
    t.add(text255("Condition"))
        .add(text255("respCodes"))
        .add(ColumnDef::longInt("respDelay"))
        .add(ColumnDef::longInt("respRepeat"))
        .add(ColumnDef::longInt("respInterval"))
        .add(ColumnDef::longInt("CondOpt"))
        .add(ColumnDef::yesNo("CondChk"))
        .add(ColumnDef::longInt("CondCbo"))
        .add(ColumnDef::yesNo("respChk"))
        .add(ColumnDef::longInt("respCbo"))
        .add(ColumnDef::longInt("hexFormat"))
        .add(text255("strConditionCtrl"))
        .add(text255("strRespCtrl"))
        .add(text255("strBackup1"));
    addSpareNumbersAndFlags(t);
    t.add(text255("strBackup2")).add(text255("strBackup3")).add(ColumnDef::memo("memoBackup"));
    return t;
}

TableDef progMacrosSeqTable() {
    TableDef t = keyedTable("progMacrosSeq");
    t.add(ColumnDef::text("SeqName", 50))
        .add(ColumnDef::longInt("ActionOpt"))
        .add(text255("CmdStr"))
        .add(ColumnDef::longInt("RepeatNo"))
        .add(ColumnDef::longInt("SubRoutineNo"))
        .add(ColumnDef::longInt("hexFormat"))
        .add(ColumnDef::longInt("TimerAfter"))
        .add(ColumnDef::longInt("Delay"))
        .add(ColumnDef::longInt("Interval"))
        .add(ColumnDef::longInt("stepSignal"))
        .add(ColumnDef::yesNo("stepChk"))
        .add(ColumnDef::yesNo("autoSave"))
        .add(text255("strASCIICtrl"))
        .add(text255("strBackup1"))
        .add(text255("strBackup2"));
    addSpareNumbersAndFlags(t);
    t.add(text255("strBackup3")).add(ColumnDef::memo("memoBackup"));
    return t;
}

TableDef progMacrosSubRoutinesTable() {
    TableDef t = keyedTable("progMacrosSubRoutines");
    t.add(ColumnDef::text("SubRoutineName", 50))
        .add(ColumnDef::longInt("IfOpt"))
        .add(text255("IfCode"))
        .add(ColumnDef::longInt("IfSignal"))
        .add(text255("IfThenCmd"));
    for (const char* name :
         {"IfThenCmdRepeat", "IfThenCmdDelay", "IfThenCmdInterval", "IfThenSignal", "ElseIfOpt"})
        t.add(ColumnDef::longInt(name));
    t.add(ColumnDef::fixedText("ElseIfCode", 255))
        .add(ColumnDef::longInt("ElseIfSignal"))
        .add(ColumnDef::fixedText("ElseIfThenCmd", 255));
    for (const char* name :
         {"ElseIfThenCmdRepeat", "ElseIfThenCmdDelay", "ElseIfThenCmdInterval", "ElseIfThenSignal"})
        t.add(ColumnDef::longInt(name));
    t.add(ColumnDef::fixedText("ElseThenCmd", 255));
    for (const char* name : {"ElseThenRepeat", "ElseThenCmdDelay", "ElseThenCmdInterval",
                             "ElseThenSignal", "IfThenOpt", "ElseIfThenOpt", "ElseThenOpt"})
        t.add(ColumnDef::longInt(name));
    for (const char* name :
         {"ElseCheck", "IfCheck", "IfThenCheck", "ElseIfCheck", "ElseIfThenChk", "ElseThenCheck"})
        t.add(ColumnDef::yesNo(name));
    for (const char* name : {"strIfCtrl", "strIfThenCtrl", "strElseIfCtrl"})
        t.add(text255(name));
    addSpareNumbersAndFlags(t);
    for (const char* name :
         {"ElseIfThenCtrl", "ElseThenCtrl", "strBackup1", "strBackup2", "strBackup3"})
        t.add(text255(name));
    t.add(ColumnDef::memo("memoBackup"));
    return t;
}

TableDef tblBackupTable() {
    TableDef t = keyedTable("tblBackup");
    for (const char* name : {"str1", "str2", "str3", "str4", "str5"})
        t.add(text255(name));
    for (const char* name : {"no1", "no2", "no3", "no4", "no5"})
        t.add(ColumnDef::longInt(name));
    for (const char* name : {"bol1", "bol2", "bol3", "bol4", "bol5"})
        t.add(ColumnDef::yesNo(name));
    t.add(ColumnDef::memo("memo1")).add(ColumnDef::memo("memo2"));
    return t;
}

TableDef makeUserPreferencesTable() {
    TableDef t{"userPreferences", {}, {}};
    t.add(ColumnDef::autoNumber("prefID")).primaryKey("PrimaryKey", "prefID");
    for (const char* name :
         {"bolHideCalcAscii", "bolAutoResponse", "bolDescription", "bolRxTimer", "bolAutoConnect",
          "bolSaveComSettings", "bolSaveRxTimer", "bolClearLogOnOpen", "bolSoundOnReceive",
          "bolSoundOnSend", "bolSoundOnLineChange", "bolMonitoringMode"})
        t.add(ColumnDef::yesNo(name));
    t.add(ColumnDef::longInt("prefReserved13"));
    t.add(ColumnDef::yesNo("bolFormattedView"));
    for (const char* name : {"backgroundColor", "msgColor", "txColor", "rx1Color", "rx2Color"})
        t.add(ColumnDef::longInt(name));
    for (const char* name : {"bolMsgBold", "bolMsgItalic", "bolMsgUnderline", "bolTxBold",
                             "bolTxItalic", "bolTxUnderline", "bolRx1Bold", "bolRx1Italic",
                             "bolRx1Underline", "bolRx2Bold", "bolRx2Italic", "bolRx2Underline"})
        t.add(ColumnDef::yesNo(name));
    t.add(ColumnDef::integer("fontSizeIndex"));
    return t;
}

} // namespace

const std::vector<TableDef>& profileTables() {
    static const std::vector<TableDef> tables = {
        settingsTable(),      progButtonsTable(),           progAutoRespTable(),
        progMacrosSeqTable(), progMacrosSubRoutinesTable(), tblBackupTable()};
    return tables;
}

const TableDef& userPreferencesTable() {
    static const TableDef table = makeUserPreferencesTable();
    return table;
}

} // namespace kst
