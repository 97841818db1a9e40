#include "preferences_store.h"

#include "columns/user_preferences_columns.h"
#include "storage/field_values.h"

#include <utility>

namespace kst {

namespace {

const QString Query = QStringLiteral("SELECT * FROM userPreferences");

// Every field of the row, in the order of the row.
template <class Prefs> auto flagFields(Prefs& p) {
    namespace C = UserPreferencesColumn;
    using Flag = std::pair<decltype(&p.bolHideCalcAscii), int>;
    return std::array<Flag, 25>{{
        {&p.bolHideCalcAscii, C::bolHideCalcAscii},
        {&p.bolAutoResponse, C::bolAutoResponse},
        {&p.bolDescription, C::bolDescription},
        {&p.bolRxTimer, C::bolRxTimer},
        {&p.bolAutoConnect, C::bolAutoConnect},
        {&p.bolSaveComSettings, C::bolSaveComSettings},
        {&p.bolSaveRxTimer, C::bolSaveRxTimer},
        {&p.bolClearLogOnOpen, C::bolClearLogOnOpen},
        {&p.bolSoundOnReceive, C::bolSoundOnReceive},
        {&p.bolSoundOnSend, C::bolSoundOnSend},
        {&p.bolSoundOnLineChange, C::bolSoundOnLineChange},
        {&p.bolMonitoringMode, C::bolMonitoringMode},
        {&p.bolFormattedView, C::bolFormattedView},
        {&p.bolMsgBold, C::bolMsgBold},
        {&p.bolMsgItalic, C::bolMsgItalic},
        {&p.bolMsgUnderline, C::bolMsgUnderline},
        {&p.bolTxBold, C::bolTxBold},
        {&p.bolTxItalic, C::bolTxItalic},
        {&p.bolTxUnderline, C::bolTxUnderline},
        {&p.bolRx1Bold, C::bolRx1Bold},
        {&p.bolRx1Italic, C::bolRx1Italic},
        {&p.bolRx1Underline, C::bolRx1Underline},
        {&p.bolRx2Bold, C::bolRx2Bold},
        {&p.bolRx2Italic, C::bolRx2Italic},
        {&p.bolRx2Underline, C::bolRx2Underline},
    }};
}

template <class Prefs> auto colorFields(Prefs& p) {
    namespace C = UserPreferencesColumn;
    using Color = std::pair<decltype(&p.backgroundColor), int>;
    return std::array<Color, 5>{{{&p.backgroundColor, C::backgroundColor},
                                 {&p.msgColor, C::msgColor},
                                 {&p.txColor, C::txColor},
                                 {&p.rx1Color, C::rx1Color},
                                 {&p.rx2Color, C::rx2Color}}};
}

} // namespace

void ReadPreferences(const db::Recordset& row, UserPreferences& p) {
    for (const auto& [flag, ordinal] : flagFields(p))
        *flag = row.value(ordinal).toBool();
    for (const auto& [color, ordinal] : colorFields(p))
        *color = static_cast<quint32>(LongField(row.value(ordinal).toText()));
    const qint16 size = IntegerField(row.value(UserPreferencesColumn::fontSizeIndex).toText());
    p.fontSizeIndex = size >= 0 && size <= 3 ? size : 0;
}

UserPreferences LoadPreferences(const QString& supportConnStr) {
    UserPreferences prefs;
    db::Recordset rs;
    rs.open(Query, supportConnStr);
    rs.moveFirst();
    ReadPreferences(rs, prefs);
    rs.close();
    return prefs;
}

void SavePreferences(const QString& supportConnStr, const UserPreferences& prefs) {
    db::Recordset rs;
    rs.open(Query, supportConnStr);
    rs.beginTrans();
    rs.moveFirst();
    for (const auto& [flag, ordinal] : flagFields(prefs))
        rs.setValue(ordinal, db::Value(*flag));
    for (const auto& [color, ordinal] : colorFields(prefs))
        rs.setValue(ordinal, db::Value(static_cast<qint64>(*color)));
    rs.setValue(UserPreferencesColumn::fontSizeIndex,
                db::Value(static_cast<qint64>(prefs.fontSizeIndex)));
    rs.commitTrans();
    rs.close();
}

} // namespace kst
