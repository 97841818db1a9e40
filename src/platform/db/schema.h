#pragma once

#include "value.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kst::db {

// Column kinds, numbered with the type codes the table definitions have always used.
enum class ColumnKind {
    Integer = 2,     // 16-bit signed whole number
    Long = 3,        // 32-bit signed whole number (with AutoIncrement: the row key)
    YesNo = 11,      // Boolean, never Null (a new row holds False)
    FixedText = 130, // text of exactly `size` characters, padded with blanks
    Text = 202,      // text of at most `size` characters
    Memo = 203,      // long text
};

struct ColumnDef {
    QString name;
    ColumnKind kind = ColumnKind::Long;
    int size = 0; // characters, for Text and FixedText
    bool nullable = true;
    bool allowZeroLength = true; // texts only: whether "" is accepted
    bool autoIncrement = false;  // Long only: numbered 1, 2, 3... on insert, read-only

    static ColumnDef autoNumber(const QString& name);
    static ColumnDef longInt(const QString& name);
    static ColumnDef integer(const QString& name);
    static ColumnDef text(const QString& name, int size);
    static ColumnDef fixedText(const QString& name, int size);
    static ColumnDef memo(const QString& name);
    static ColumnDef yesNo(const QString& name);

    bool operator==(const ColumnDef&) const = default;
};

struct IndexDef {
    QString name;
    QString column;
    bool primaryKey = false;
    bool unique = false;

    bool operator==(const IndexDef&) const = default;
};

// A table with its columns in ordinal order and its indexes. Only a primary key
// (one column) is supported as an index, which is all that the profiles hold.
struct TableDef {
    QString name;
    std::vector<ColumnDef> columns;
    std::vector<IndexDef> indexes;

    TableDef& add(ColumnDef column) {
        columns.push_back(std::move(column));
        return *this;
    }
    TableDef& primaryKey(const QString& indexName, const QString& column) {
        indexes.push_back({indexName, column, true, true});
        return *this;
    }
    int ordinalOf(const QString& columnName) const; // -1 when absent (any case)
    QStringList columnNames() const;

    bool operator==(const TableDef&) const = default;
};

// How the columns `actual` differ from `expected`, in order and with names compared
// without regard to case, in words ("it lacks the column 'x'"); nothing when they are
// the same.
std::optional<QString> columnDifference(const QStringList& expected, const QStringList& actual);

// Converts a value for storage in `column` of `table`, or raises err::ValueRefused
// (with the reason) when the column cannot take it. Nothing is ever truncated:
// a text longer than the column is refused. Fixed-length text comes back padded.
Value convertForColumn(const Value& value, const ColumnDef& column, const QString& table);
// Why `column` cannot take `value`, in words ("overflow (40000 is outside -32768 to
// 32767)."); nothing when it can.
std::optional<QString> columnRefusal(const Value& value, const ColumnDef& column);

} // namespace kst::db
