#include "schema.h"

#include "errors.h"
#include "value_parse.h"

#include <algorithm>
#include <limits>
#include <variant>

namespace kst::db {

ColumnDef ColumnDef::autoNumber(const QString& name) {
    ColumnDef c{name, ColumnKind::Long};
    c.nullable = false;
    c.autoIncrement = true;
    return c;
}
ColumnDef ColumnDef::longInt(const QString& name) {
    return {name, ColumnKind::Long};
}
ColumnDef ColumnDef::integer(const QString& name) {
    return {name, ColumnKind::Integer};
}
ColumnDef ColumnDef::text(const QString& name, int size) {
    return {name, ColumnKind::Text, size};
}
ColumnDef ColumnDef::fixedText(const QString& name, int size) {
    return {name, ColumnKind::FixedText, size};
}
ColumnDef ColumnDef::memo(const QString& name) {
    return {name, ColumnKind::Memo};
}
ColumnDef ColumnDef::yesNo(const QString& name) {
    ColumnDef c{name, ColumnKind::YesNo};
    c.nullable = false;
    return c;
}

int TableDef::ordinalOf(const QString& columnName) const {
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(columnName, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

QStringList TableDef::columnNames() const {
    QStringList names;
    for (const ColumnDef& c : columns)
        names << c.name;
    return names;
}

std::optional<QString> columnDifference(const QStringList& expected, const QStringList& actual) {
    const auto holds = [](const QStringList& names, const QString& name) {
        return names.contains(name, Qt::CaseInsensitive);
    };
    for (qsizetype i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const bool hasExpected = i < expected.size();
        const bool hasActual = i < actual.size();
        if (hasExpected && hasActual && expected[i].compare(actual[i], Qt::CaseInsensitive) == 0)
            continue;
        if (hasExpected && !holds(actual, expected[i]))
            return QString("it lacks the column '%1'").arg(expected[i]);
        if (hasActual && !holds(expected, actual[i]))
            return QString("it has the column '%1', which does not belong there").arg(actual[i]);
        if (hasExpected && hasActual)
            return QString("its column '%1' stands where '%2' belongs").arg(actual[i], expected[i]);
        return QString("it names the column '%1' twice").arg(hasExpected ? expected[i] : actual[i]);
    }
    return std::nullopt;
}

namespace {

// What a column makes of a value: the value as stored, or why it cannot take it.
struct Refused {
    QString why;
};
using Converted = std::variant<Value, Refused>;

Converted toWholeNumber(const Value& value, const ColumnDef& column) {
    std::optional<qint64> n;
    switch (value.type()) {
    case Value::Type::Null:
    case Value::Type::Bool:
    case Value::Type::Integer:
        n = value.toInteger();
        break;
    case Value::Type::Double:
        n = roundToInteger(value.toDouble());
        break;
    case Value::Type::Text: {
        const std::optional<double> d = parseNumber(value.toText());
        if (!d)
            return Refused{"type mismatch (\"" + value.toText() + "\" is no number)."};
        n = roundToInteger(*d);
        break;
    }
    }
    const qint64 lo = column.kind == ColumnKind::Integer ? std::numeric_limits<qint16>::min()
                                                         : std::numeric_limits<qint32>::min();
    const qint64 hi = column.kind == ColumnKind::Integer ? std::numeric_limits<qint16>::max()
                                                         : std::numeric_limits<qint32>::max();
    if (!n || *n < lo || *n > hi)
        return Refused{
            QString("overflow (%1 is outside %2 to %3).").arg(value.toText()).arg(lo).arg(hi)};
    return Value(*n);
}

Converted converted(const Value& value, const ColumnDef& column) {
    if (column.autoIncrement)
        return Refused{"the field is numbered automatically and cannot be updated."};
    if (value.isNull()) {
        if (!column.nullable)
            return Refused{"the field does not accept Null."};
        return value;
    }
    switch (column.kind) {
    case ColumnKind::Integer:
    case ColumnKind::Long:
        return toWholeNumber(value, column);
    case ColumnKind::YesNo:
        if (value.type() == Value::Type::Text && !parseBoolean(value.toText()))
            return Refused{"type mismatch (\"" + value.toText() + "\" is no Yes/No value)."};
        return Value(value.toBool());
    case ColumnKind::Text:
    case ColumnKind::FixedText:
    case ColumnKind::Memo: {
        QString text = value.toText();
        if (text.isEmpty() && !column.allowZeroLength)
            return Refused{"the field does not accept an empty text."};
        if (column.kind != ColumnKind::Memo && text.size() > column.size) {
            return Refused{QString("the text has %1 characters; the field holds at most %2.")
                               .arg(text.size())
                               .arg(column.size)};
        }
        if (column.kind == ColumnKind::FixedText)
            text = text.leftJustified(column.size, QLatin1Char(' '));
        return Value(text);
    }
    }
    return value;
}

} // namespace

Value convertForColumn(const Value& value, const ColumnDef& column, const QString& table) {
    Converted result = converted(value, column);
    if (const auto* refused = std::get_if<Refused>(&result)) {
        raise(err::ValueRefused, QString("The field '%1.%2' cannot take this value: %3")
                                     .arg(table, column.name, refused->why));
    }
    return std::get<Value>(std::move(result));
}

std::optional<QString> columnRefusal(const Value& value, const ColumnDef& column) {
    const Converted result = converted(value, column);
    if (const auto* refused = std::get_if<Refused>(&result))
        return refused->why;
    return std::nullopt;
}

} // namespace kst::db
