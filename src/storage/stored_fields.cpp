#include "stored_fields.h"

#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "storage/field_values.h"

namespace kst {

QString TextField(const db::Recordset& row, int ordinal) {
    QString t = row.value(ordinal).toText();
    if (row.field(ordinal).kind == db::ColumnKind::FixedText) {
        qsizetype end = t.size();
        while (end > 0 && t[end - 1] == u' ')
            --end;
        t.truncate(end);
    }
    return t;
}

QString NumberText(const db::Recordset& row, int ordinal) {
    return row.value(ordinal).toText();
}

int ListPosition(const db::Recordset& row, int ordinal, int count) {
    const db::Value value = row.value(ordinal);
    if (value.isNull())
        throw RunTimeError(err::InvalidUseOfNull);
    const double position = LeadingNumber(value.toText());
    if (position < 0 || position >= count)
        throw RunTimeError(err::InvalidPropertyValue);
    return static_cast<int>(position);
}

bool CheckField(const db::Recordset& row, int ordinal) {
    return row.value(ordinal).toBool();
}

db::Value StoredNumber(const QString& text) {
    return db::Value(static_cast<qint64>(LongField(text)));
}

} // namespace kst
