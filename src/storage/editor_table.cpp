#include "editor_table.h"

#include "notation/leading_number.h"
#include "notation/notation.h"
#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "storage/field_values.h"

namespace kst {

void showRefusal(const Refusal& refusal) {
    msgBox(refusal.message, refusal.icon, MsgButtons::Ok, refusal.title);
}

std::optional<Refusal> hexListRefusal(int row, int field, const QString& text,
                                      const QString& message) {
    if (ValidateByteList(text, ncHex))
        return std::nullopt;
    return Refusal{row, field, message, MsgIcon::Exclamation, QStringLiteral("Error:")};
}

std::optional<Refusal> waitRefusal(int row, int field, const QString& text, bool isDelay) {
    if (LeadingNumber(text) <= 65535)
        return std::nullopt;
    return Refusal{row, field,
                   isDelay
                       ? QStringLiteral("Maximum delay time is 65,535 ms, please try again!")
                       : QStringLiteral("Maximum interval time is 65,535 ms, please try again!")};
}

namespace {

int storedPosition(const db::Recordset& rs, int ordinal, int lowest, int count,
                   const QString& row) {
    const QString stored = rs.value(ordinal).toText();
    const double position = LeadingNumber(stored);
    if (position >= lowest && position < count)
        return static_cast<int>(position);
    // The caller that names no row names it in its own words ("Step 4 of Macro 2").
    throw outsideListError(row.isEmpty() ? QStringLiteral("the row") : row, stored,
                           rs.field(ordinal).name, count);
}

} // namespace

RunTimeError outsideListError(const QString& place, const QString& stored, const QString& column,
                              int count) {
    return RunTimeError(err::InvalidPropertyValue,
                        QStringLiteral("%1: %2 holds %3 in its column '%4', outside its list of "
                                       "%5 entries.")
                            .arg(describeError(err::InvalidPropertyValue), place, stored, column)
                            .arg(count));
}

int listPosition(const db::Recordset& rs, int ordinal, int count, const QString& row) {
    return storedPosition(rs, ordinal, -1, count, row);
}

int optionPosition(const db::Recordset& rs, int ordinal, int count, const QString& row) {
    return storedPosition(rs, ordinal, 0, count, row);
}

db::Value storedNumber(const QString& text) {
    return db::Value(static_cast<qint64>(LongField(text)));
}

int strictListPosition(const db::Recordset& rs, int ordinal, int count) {
    if (rs.value(ordinal).isNull())
        throw RunTimeError(err::InvalidUseOfNull);
    return listPosition(rs, ordinal, count, QString());
}

QString storedText(const db::Recordset& rs, int ordinal) {
    QString t = rs.value(ordinal).toText();
    if (rs.field(ordinal).kind == db::ColumnKind::FixedText) {
        qsizetype end = t.size();
        while (end > 0 && t[end - 1] == u' ')
            --end;
        t.truncate(end);
    }
    return t;
}

} // namespace kst
