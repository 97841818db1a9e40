#include "user_notes.h"

#include "columns/settings_columns.h"
#include "platform/db/recordset.h"

namespace kst {

void SaveUserNotes(const QString& settingsConnStr, const QString& notes) {
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM Settings"), settingsConnStr);
    rs.moveFirst();
    rs.setValue(SettingsColumn::userNotes, db::Value(notes));
    rs.update();
    rs.close();
}

} // namespace kst
