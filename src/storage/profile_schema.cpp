#include "profile_schema.h"

#include "platform/db/connection_string.h"

#include <QDir>
#include <initializer_list>

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

// Appends a run of columns of one kind, in the order given.
void addColumns(TableDef& t, ColumnDef (*make)(const QString& name),
                std::initializer_list<const char*> names) {
    for (const char* name : names)
        t.add(make(name));
}

// Every table starts with its AutoIncrement key `ID` and the one index over it.
TableDef keyedTable(const QString& name) {
    TableDef t{name, {}, {}};
    t.add(ColumnDef::autoNumber("ID")).primaryKey("PrimaryKey", "ID");
    return t;
}

// Most tables keep three spare numbers followed by three spare flags.
void addSpareNumbersAndFlags(TableDef& t) {
    addColumns(t, ColumnDef::longInt, {"noBackup1", "noBackup2", "noBackup3"});
    addColumns(t, ColumnDef::yesNo, {"bolBackup1", "bolBackup2", "bolBackup3"});
}

// The buttons and the macro steps end in the same spare columns.
void addSpareTail(TableDef& t) {
    addColumns(t, text255, {"strBackup1", "strBackup2"});
    addSpareNumbersAndFlags(t);
    t.add(text255("strBackup3")).add(ColumnDef::memo("memoBackup"));
}

TableDef settingsTable() {
    TableDef t = keyedTable("Settings");
    addColumns(t, longNoZeroLength,
               {"port", "baud", "databit", "parity", "stopbit", "handshaking", "rxTimerIndex"});
    addColumns(t, text255, {"strBackup1", "strBackup2", "strBackup3"});
    addColumns(t, ColumnDef::longInt, {"secondCOMport", "noBackup2", "noBackup3"});
    addColumns(t, ColumnDef::yesNo, {"bolFullDuplex", "bolDetectCTS", "bolDetectDSR"});
    addColumns(t, ColumnDef::memo, {"userNotes", "memoBackup"});
    addColumns(t, ColumnDef::yesNo, {"bolDetectDCD", "bolDetectRI"});
    t.add(ColumnDef::longInt("noBackup1"));
    addColumns(t, ColumnDef::yesNo, {"bolBackup1", "bolBackup2", "bolBackup3"});
    return t;
}

TableDef progButtonsTable() {
    TableDef t = keyedTable("progButtons");
    t.add(ColumnDef::text("keyCaption", 50)).add(text255("keyCodes"));
    addColumns(t, ColumnDef::longInt,
               {"keyDelay", "keyRepeat", "keyInterval", "chain", "signals", "hexformat"});
    t.add(text255("strASCIICtrl"));
    addSpareTail(t);
    return t;
}

TableDef progAutoRespTable() {
    TableDef t = keyedTable("progAutoResp");
    addColumns(t, text255, {"Condition", "respCodes"});
    addColumns(t, ColumnDef::longInt, {"respDelay", "respRepeat", "respInterval", "CondOpt"});
    t.add(ColumnDef::yesNo("CondChk"))
        .add(ColumnDef::longInt("CondCbo"))
        .add(ColumnDef::yesNo("respChk"));
    addColumns(t, ColumnDef::longInt, {"respCbo", "hexFormat"});
    addColumns(t, text255, {"strConditionCtrl", "strRespCtrl", "strBackup1"});
    addSpareNumbersAndFlags(t);
    addColumns(t, text255, {"strBackup2", "strBackup3"});
    t.add(ColumnDef::memo("memoBackup"));
    return t;
}

TableDef progMacrosSeqTable() {
    TableDef t = keyedTable("progMacrosSeq");
    t.add(ColumnDef::text("SeqName", 50))
        .add(ColumnDef::longInt("ActionOpt"))
        .add(text255("CmdStr"));
    addColumns(
        t, ColumnDef::longInt,
        {"RepeatNo", "SubRoutineNo", "hexFormat", "TimerAfter", "Delay", "Interval", "stepSignal"});
    addColumns(t, ColumnDef::yesNo, {"stepChk", "autoSave"});
    t.add(text255("strASCIICtrl"));
    addSpareTail(t);
    return t;
}

TableDef progMacrosSubRoutinesTable() {
    TableDef t = keyedTable("progMacrosSubRoutines");
    t.add(ColumnDef::text("SubRoutineName", 50))
        .add(ColumnDef::longInt("IfOpt"))
        .add(text255("IfCode"))
        .add(ColumnDef::longInt("IfSignal"))
        .add(text255("IfThenCmd"));
    addColumns(
        t, ColumnDef::longInt,
        {"IfThenCmdRepeat", "IfThenCmdDelay", "IfThenCmdInterval", "IfThenSignal", "ElseIfOpt"});
    t.add(ColumnDef::fixedText("ElseIfCode", 255))
        .add(ColumnDef::longInt("ElseIfSignal"))
        .add(ColumnDef::fixedText("ElseIfThenCmd", 255));
    addColumns(
        t, ColumnDef::longInt,
        {"ElseIfThenCmdRepeat", "ElseIfThenCmdDelay", "ElseIfThenCmdInterval", "ElseIfThenSignal"});
    t.add(ColumnDef::fixedText("ElseThenCmd", 255));
    addColumns(t, ColumnDef::longInt,
               {"ElseThenRepeat", "ElseThenCmdDelay", "ElseThenCmdInterval", "ElseThenSignal",
                "IfThenOpt", "ElseIfThenOpt", "ElseThenOpt"});
    addColumns(
        t, ColumnDef::yesNo,
        {"ElseCheck", "IfCheck", "IfThenCheck", "ElseIfCheck", "ElseIfThenChk", "ElseThenCheck"});
    addColumns(t, text255, {"strIfCtrl", "strIfThenCtrl", "strElseIfCtrl"});
    addSpareNumbersAndFlags(t);
    addColumns(t, text255,
               {"ElseIfThenCtrl", "ElseThenCtrl", "strBackup1", "strBackup2", "strBackup3"});
    t.add(ColumnDef::memo("memoBackup"));
    return t;
}

TableDef tblBackupTable() {
    TableDef t = keyedTable("tblBackup");
    addColumns(t, text255, {"str1", "str2", "str3", "str4", "str5"});
    addColumns(t, ColumnDef::longInt, {"no1", "no2", "no3", "no4", "no5"});
    addColumns(t, ColumnDef::yesNo, {"bol1", "bol2", "bol3", "bol4", "bol5"});
    addColumns(t, ColumnDef::memo, {"memo1", "memo2"});
    return t;
}

TableDef makeUserPreferencesTable() {
    TableDef t{"userPreferences", {}, {}};
    t.add(ColumnDef::autoNumber("prefID")).primaryKey("PrimaryKey", "prefID");
    addColumns(t, ColumnDef::yesNo,
               {"bolHideCalcAscii", "bolAutoResponse", "bolDescription", "bolRxTimer",
                "bolAutoConnect", "bolSaveComSettings", "bolSaveRxTimer", "bolClearLogOnOpen",
                "bolSoundOnReceive", "bolSoundOnSend", "bolSoundOnLineChange",
                "bolMonitoringMode"});
    t.add(ColumnDef::longInt("prefReserved13")).add(ColumnDef::yesNo("bolFormattedView"));
    addColumns(t, ColumnDef::longInt,
               {"backgroundColor", "msgColor", "txColor", "rx1Color", "rx2Color"});
    addColumns(t, ColumnDef::yesNo,
               {"bolMsgBold", "bolMsgItalic", "bolMsgUnderline", "bolTxBold", "bolTxItalic",
                "bolTxUnderline", "bolRx1Bold", "bolRx1Italic", "bolRx1Underline", "bolRx2Bold",
                "bolRx2Italic", "bolRx2Underline"});
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

const std::vector<ImportedColumns>& importedColumns() {
    // Up to bolDetectDSR, bolBackup3, bolBackup3, bolBackup3 and bolBackup3: the columns
    // added since (the notes, the newer line options, the spare texts) stay as they are.
    static const std::vector<ImportedColumns> columns = {
        {QStringLiteral("Settings"), 16},
        {QStringLiteral("progButtons"), 17},
        {QStringLiteral("progAutoResp"), 20},
        {QStringLiteral("progMacrosSeq"), 21},
        {QStringLiteral("progMacrosSubRoutines"), 40}};
    return columns;
}

const TableDef& userPreferencesTable() {
    static const TableDef table = makeUserPreferencesTable();
    return table;
}

} // namespace kst
