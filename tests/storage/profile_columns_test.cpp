// The named column ordinals of the code against the tables profiles are made with.

#include "storage/columns/prog_auto_resp_columns.h"
#include "storage/columns/prog_buttons_columns.h"
#include "storage/columns/prog_macros_seq_columns.h"
#include "storage/columns/prog_macros_sub_routines_columns.h"
#include "storage/columns/settings_columns.h"
#include "storage/columns/user_preferences_columns.h"
#include "storage/profile_schema.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace kst;

namespace {

using Named = std::vector<std::pair<const char*, int>>;

const db::TableDef& profileTable(const QString& name) {
    for (const db::TableDef& table : profileTables())
        if (table.name == name)
            return table;
    ADD_FAILURE() << "no table " << name.toStdString();
    return profileTables().front();
}

void expectAt(const db::TableDef& table, const Named& columns) {
    for (const auto& [name, ordinal] : columns)
        EXPECT_EQ(table.ordinalOf(QString::fromLatin1(name)), ordinal)
            << table.name.toStdString() << "." << name;
}

} // namespace

TEST(ProfileColumns, EveryNamedOrdinalIsItsColumnsPlace) {
    {
        namespace C = SettingsColumn;
        expectAt(profileTable("Settings"), {{"ID", C::ID},
                                            {"port", C::port},
                                            {"baud", C::baud},
                                            {"databit", C::databit},
                                            {"parity", C::parity},
                                            {"stopbit", C::stopbit},
                                            {"handshaking", C::handshaking},
                                            {"rxTimerIndex", C::rxTimerIndex},
                                            {"secondCOMport", C::secondCOMport},
                                            {"bolFullDuplex", C::bolFullDuplex},
                                            {"bolDetectCTS", C::bolDetectCTS},
                                            {"bolDetectDSR", C::bolDetectDSR},
                                            {"userNotes", C::userNotes},
                                            {"bolDetectDCD", C::bolDetectDCD},
                                            {"bolDetectRI", C::bolDetectRI}});
    }
    {
        namespace C = ProgButtonsColumn;
        expectAt(profileTable("progButtons"), {{"ID", C::ID},
                                               {"keyCaption", C::keyCaption},
                                               {"keyCodes", C::keyCodes},
                                               {"keyDelay", C::keyDelay},
                                               {"keyRepeat", C::keyRepeat},
                                               {"keyInterval", C::keyInterval},
                                               {"chain", C::chain},
                                               {"signals", C::signals_},
                                               {"hexformat", C::hexformat},
                                               {"strASCIICtrl", C::strASCIICtrl}});
    }
    {
        namespace C = ProgAutoRespColumn;
        expectAt(profileTable("progAutoResp"), {{"ID", C::ID},
                                                {"Condition", C::Condition},
                                                {"respCodes", C::respCodes},
                                                {"respDelay", C::respDelay},
                                                {"respRepeat", C::respRepeat},
                                                {"respInterval", C::respInterval},
                                                {"CondOpt", C::CondOpt},
                                                {"CondChk", C::CondChk},
                                                {"CondCbo", C::CondCbo},
                                                {"respChk", C::respChk},
                                                {"respCbo", C::respCbo},
                                                {"hexFormat", C::hexFormat},
                                                {"strConditionCtrl", C::strConditionCtrl},
                                                {"strRespCtrl", C::strRespCtrl}});
    }
    {
        namespace C = ProgMacrosSeqColumn;
        expectAt(profileTable("progMacrosSeq"), {{"ID", C::ID},
                                                 {"SeqName", C::SeqName},
                                                 {"ActionOpt", C::ActionOpt},
                                                 {"CmdStr", C::CmdStr},
                                                 {"RepeatNo", C::RepeatNo},
                                                 {"SubRoutineNo", C::SubRoutineNo},
                                                 {"hexFormat", C::hexFormat},
                                                 {"TimerAfter", C::TimerAfter},
                                                 {"Delay", C::Delay},
                                                 {"Interval", C::Interval},
                                                 {"stepSignal", C::stepSignal},
                                                 {"stepChk", C::stepChk},
                                                 {"autoSave", C::autoSave},
                                                 {"strASCIICtrl", C::strASCIICtrl}});
    }
    {
        namespace C = ProgMacrosSubRoutinesColumn;
        expectAt(profileTable("progMacrosSubRoutines"),
                 {{"ID", C::ID},
                  {"SubRoutineName", C::SubRoutineName},
                  {"IfOpt", C::IfOpt},
                  {"IfCode", C::IfCode},
                  {"IfSignal", C::IfSignal},
                  {"IfThenCmd", C::IfThenCmd},
                  {"IfThenCmdRepeat", C::IfThenCmdRepeat},
                  {"IfThenCmdDelay", C::IfThenCmdDelay},
                  {"IfThenCmdInterval", C::IfThenCmdInterval},
                  {"IfThenSignal", C::IfThenSignal},
                  {"ElseIfOpt", C::ElseIfOpt},
                  {"ElseIfCode", C::ElseIfCode},
                  {"ElseIfSignal", C::ElseIfSignal},
                  {"ElseIfThenCmd", C::ElseIfThenCmd},
                  {"ElseIfThenCmdRepeat", C::ElseIfThenCmdRepeat},
                  {"ElseIfThenCmdDelay", C::ElseIfThenCmdDelay},
                  {"ElseIfThenCmdInterval", C::ElseIfThenCmdInterval},
                  {"ElseIfThenSignal", C::ElseIfThenSignal},
                  {"ElseThenCmd", C::ElseThenCmd},
                  {"ElseThenRepeat", C::ElseThenRepeat},
                  {"ElseThenCmdDelay", C::ElseThenCmdDelay},
                  {"ElseThenCmdInterval", C::ElseThenCmdInterval},
                  {"ElseThenSignal", C::ElseThenSignal},
                  {"ElseCheck", C::ElseCheck},
                  {"IfCheck", C::IfCheck},
                  {"IfThenCheck", C::IfThenCheck},
                  {"ElseIfCheck", C::ElseIfCheck},
                  {"ElseIfThenChk", C::ElseIfThenChk},
                  {"ElseThenCheck", C::ElseThenCheck},
                  {"strIfCtrl", C::strIfCtrl},
                  {"strIfThenCtrl", C::strIfThenCtrl},
                  {"strElseIfCtrl", C::strElseIfCtrl},
                  {"ElseIfThenCtrl", C::ElseIfThenCtrl},
                  {"ElseThenCtrl", C::ElseThenCtrl}});
    }
    {
        namespace C = UserPreferencesColumn;
        expectAt(userPreferencesTable(), {{"prefID", C::prefID},
                                          {"bolHideCalcAscii", C::bolHideCalcAscii},
                                          {"bolAutoResponse", C::bolAutoResponse},
                                          {"bolDescription", C::bolDescription},
                                          {"bolRxTimer", C::bolRxTimer},
                                          {"bolAutoConnect", C::bolAutoConnect},
                                          {"bolSaveComSettings", C::bolSaveComSettings},
                                          {"bolSaveRxTimer", C::bolSaveRxTimer},
                                          {"bolClearLogOnOpen", C::bolClearLogOnOpen},
                                          {"bolSoundOnReceive", C::bolSoundOnReceive},
                                          {"bolSoundOnSend", C::bolSoundOnSend},
                                          {"bolSoundOnLineChange", C::bolSoundOnLineChange},
                                          {"bolMonitoringMode", C::bolMonitoringMode},
                                          {"bolFormattedView", C::bolFormattedView},
                                          {"backgroundColor", C::backgroundColor},
                                          {"msgColor", C::msgColor},
                                          {"txColor", C::txColor},
                                          {"rx1Color", C::rx1Color},
                                          {"rx2Color", C::rx2Color},
                                          {"bolMsgBold", C::bolMsgBold},
                                          {"bolMsgItalic", C::bolMsgItalic},
                                          {"bolMsgUnderline", C::bolMsgUnderline},
                                          {"bolTxBold", C::bolTxBold},
                                          {"bolTxItalic", C::bolTxItalic},
                                          {"bolTxUnderline", C::bolTxUnderline},
                                          {"bolRx1Bold", C::bolRx1Bold},
                                          {"bolRx1Italic", C::bolRx1Italic},
                                          {"bolRx1Underline", C::bolRx1Underline},
                                          {"bolRx2Bold", C::bolRx2Bold},
                                          {"bolRx2Italic", C::bolRx2Italic},
                                          {"bolRx2Underline", C::bolRx2Underline},
                                          {"fontSizeIndex", C::fontSizeIndex}});
    }
}
