#include "system_tables.h"

#include "connection.h"
#include "errors.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <iterator>

namespace kst::db {

namespace {

const QString kPrefix = QStringLiteral("kst_sys_");
constexpr int kFormatVersion = 1;

// The hidden tables as every file of ours defines them.
const std::pair<QString, QString> kHiddenTables[] = {
    {"kst_sys_meta", "CREATE TABLE kst_sys_meta(key TEXT PRIMARY KEY, value TEXT NOT NULL)"},
    {"kst_sys_columns", "CREATE TABLE kst_sys_columns(tbl TEXT NOT NULL COLLATE NOCASE, "
                        "ordinal INTEGER NOT NULL, name TEXT NOT NULL, kind INTEGER NOT NULL, "
                        "size INTEGER NOT NULL, nullable INTEGER NOT NULL, "
                        "zero_length INTEGER NOT NULL, auto_increment INTEGER NOT NULL, "
                        "PRIMARY KEY (tbl, ordinal))"},
    {"kst_sys_indexes", "CREATE TABLE kst_sys_indexes(tbl TEXT NOT NULL COLLATE NOCASE, "
                        "name TEXT NOT NULL, col TEXT NOT NULL, is_primary INTEGER NOT NULL, "
                        "is_unique INTEGER NOT NULL)"},
};

// What a hidden table of ours is defined with; nothing for any other name.
std::optional<QString> hiddenTableSql(const QString& name) {
    for (const auto& [table, sql] : kHiddenTables) {
        if (table.compare(name, Qt::CaseInsensitive) == 0)
            return sql;
    }
    return std::nullopt;
}

bool isVirtualTableSql(const QString& sql) {
    static const QRegularExpression re(QStringLiteral(R"(^\s*CREATE\s+VIRTUAL\s)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(sql).hasMatch();
}

QString passwordCheck(const QByteArray& salt, const QString& password) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(salt);
    hash.addData(password.toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

[[noreturn]] void badDefinition(const QString& why) {
    raise(err::InvalidDefinition, "Invalid table definition: " + why);
}

bool hasControlCharacters(const QString& name) {
    for (QChar c : name) {
        if (c.unicode() < 32 || c.unicode() == 127)
            return true;
    }
    return false;
}

void validate(const TableDef& table) {
    if (table.name.trimmed().isEmpty() || hasControlCharacters(table.name))
        badDefinition(QString("'%1' is not a valid table name.").arg(table.name));
    if (isReservedTableName(table.name))
        badDefinition(QString("the name '%1' is reserved.").arg(table.name));
    if (table.columns.empty())
        badDefinition(QString("table '%1' has no columns.").arg(table.name));
    QSet<QString> names;
    int autoColumns = 0;
    for (const ColumnDef& c : table.columns) {
        if (c.name.trimmed().isEmpty() || hasControlCharacters(c.name))
            badDefinition(QString("'%1' is not a valid column name.").arg(c.name));
        if (names.contains(c.name.toLower()))
            badDefinition(QString("column '%1' appears twice.").arg(c.name));
        names.insert(c.name.toLower());
        const bool sized = c.kind == ColumnKind::Text || c.kind == ColumnKind::FixedText;
        if (sized && (c.size < 1 || c.size > 255))
            badDefinition(QString("column '%1' needs a size of 1 to 255.").arg(c.name));
        if (c.autoIncrement) {
            ++autoColumns;
            if (c.kind != ColumnKind::Long)
                badDefinition(QString("column '%1': only a Long numbers itself.").arg(c.name));
        }
    }
    if (autoColumns > 1)
        badDefinition("a table numbers at most one column automatically.");
    int primaryKeys = 0;
    for (const IndexDef& index : table.indexes) {
        if (!index.primaryKey)
            badDefinition(QString("index '%1': only a primary key is supported.").arg(index.name));
        if (++primaryKeys > 1)
            badDefinition("a table has at most one primary key.");
        if (table.ordinalOf(index.column) < 0)
            badDefinition(
                QString("index '%1' names the unknown column '%2'.").arg(index.name, index.column));
    }
    for (const ColumnDef& c : table.columns) {
        const bool isKey = !table.indexes.empty() &&
                           table.indexes.front().column.compare(c.name, Qt::CaseInsensitive) == 0;
        if (c.autoIncrement && !isKey)
            badDefinition(QString("the numbered column '%1' must be the primary key.").arg(c.name));
    }
}

// Declared types whose affinity keeps each kind as it is: the three text kinds get text
// affinity, so a text "0012" stays "0012" and is never turned into the number 12.
QString declaredType(const ColumnDef& c) {
    switch (c.kind) {
    case ColumnKind::Integer:
        return "SMALLINT";
    case ColumnKind::Long:
        return "INTEGER";
    case ColumnKind::YesNo:
        return "BOOLEAN";
    case ColumnKind::FixedText:
        return QString("CHAR(%1)").arg(c.size);
    case ColumnKind::Text:
        return QString("VARCHAR(%1)").arg(c.size);
    case ColumnKind::Memo:
        return "TEXT";
    }
    return QString();
}

QString declaration(const ColumnDef& c, bool isKey) {
    const QString decl = quoteIdentifier(c.name) + ' ' + declaredType(c);
    if (c.kind == ColumnKind::YesNo)
        return decl + " NOT NULL DEFAULT 0";
    if (isKey && c.autoIncrement)
        return decl + " PRIMARY KEY AUTOINCREMENT";
    if (!c.nullable || isKey)
        return decl + " NOT NULL";
    return decl;
}

// The statement that creates a table of this definition; the engine keeps it as the
// table's definition, so it also tells whether a table is still the one we made.
QString createTableSql(const TableDef& table) {
    const QString keyColumn = table.indexes.empty() ? QString() : table.indexes.front().column;
    QStringList parts;
    bool keyInline = false;
    for (const ColumnDef& c : table.columns) {
        const bool isKey = c.name.compare(keyColumn, Qt::CaseInsensitive) == 0;
        keyInline = keyInline || (isKey && c.autoIncrement);
        parts << declaration(c, isKey);
    }
    if (!keyColumn.isEmpty() && !keyInline)
        parts << "PRIMARY KEY (" + quoteIdentifier(keyColumn) + ")";
    return "CREATE TABLE " + quoteIdentifier(table.name) + " (" + parts.join(", ") + ")";
}

// A column as the engine holds it.
struct EngineColumn {
    QString name;
    QString type;  // as declared
    bool computed; // generated from other columns, not stored
};

std::vector<EngineColumn> engineColumns(Connection& connection, const QString& table) {
    std::vector<EngineColumn> columns;
    Statement st(connection, "SELECT name, type, hidden FROM pragma_table_xinfo(?1)");
    st.bind(1, table);
    while (st.step())
        columns.push_back({st.columnText(0), st.columnText(1), st.columnInteger(2) != 0});
    return columns;
}

// The table with only the columns the engine still holds, when another tool dropped
// some of its columns and changed nothing else: each remaining column stands in the
// order of the definition, under its name, declared as the definition declares it, and
// is stored. Nothing when the table differs in any other way.
std::optional<TableDef> withoutDroppedColumns(const TableDef& table,
                                              const std::vector<EngineColumn>& engine) {
    TableDef kept{table.name, {}, {}};
    auto next = table.columns.begin();
    for (const EngineColumn& column : engine) {
        next = std::find_if(next, table.columns.end(), [&](const ColumnDef& c) {
            return c.name.compare(column.name, Qt::CaseInsensitive) == 0;
        });
        if (next == table.columns.end() || column.computed ||
            column.type.compare(declaredType(*next), Qt::CaseInsensitive) != 0)
            return std::nullopt;
        kept.columns.push_back(*next++);
    }
    for (const IndexDef& index : table.indexes) {
        if (kept.ordinalOf(index.column) >= 0)
            kept.indexes.push_back(index);
    }
    return kept;
}

// The table as the engine holds it against its catalogued definition. A column that
// another tool dropped, added or moved would put every later value at another ordinal
// than the one the code reads and writes; a changed definition could hold constraints
// or computed columns that we never wrote. A connection that only reads and accepts
// dropped columns gets the table with the columns that are left, each still read under
// its own name; what it cannot write, no constraint of another tool can hold back.
TableDef verifiedDefinition(Connection& connection, const TableDef& table,
                            const QString& storedSql) {
    if (storedSql == createTableSql(table))
        return table;
    const std::vector<EngineColumn> engine = engineColumns(connection, table.name);
    if (connection.acceptsDroppedColumns()) {
        if (std::optional<TableDef> kept = withoutDroppedColumns(table, engine))
            return std::move(*kept);
    }
    QStringList actual;
    for (const EngineColumn& column : engine)
        actual << column.name;
    const QString what = QString("The table '%1' of '%2' does not match its definition: ")
                             .arg(table.name, connection.path());
    if (const std::optional<QString> difference = columnDifference(table.columnNames(), actual))
        raise(err::UnknownColumn, what + *difference + '.');
    raise(err::CannotOpen, what + "it was changed outside the program.");
}

// The catalogued tables named `name` (without regard to case), or all of them when
// `name` is empty, each checked against the table the engine holds. Two statements,
// however many tables: this runs at every opening of a recordset.
std::vector<TableDef> readDefinitions(Connection& connection, const QString& name) {
    const Value only = name.isEmpty() ? Value() : Value(name);
    std::vector<TableDef> tables;
    QStringList storedSql;
    {
        Statement st(connection,
                     "SELECT m.name, m.sql, c.name, c.kind, c.size, c.nullable, c.zero_length, "
                     "c.auto_increment FROM sqlite_master m JOIN kst_sys_columns c ON "
                     "c.tbl = m.name WHERE m.type = 'table' AND (?1 IS NULL OR m.name = ?1 "
                     "COLLATE NOCASE) ORDER BY m.rowid, c.ordinal");
        st.bind(1, only);
        while (st.step()) {
            if (tables.empty() || tables.back().name != st.columnText(0)) {
                tables.push_back({st.columnText(0), {}, {}});
                storedSql << st.columnText(1);
            }
            ColumnDef c;
            c.name = st.columnText(2);
            c.kind = static_cast<ColumnKind>(st.columnInteger(3));
            c.size = static_cast<int>(st.columnInteger(4));
            c.nullable = st.columnInteger(5) != 0;
            c.allowZeroLength = st.columnInteger(6) != 0;
            c.autoIncrement = st.columnInteger(7) != 0;
            tables.back().columns.push_back(c);
        }
    }
    Statement st(connection, "SELECT tbl, name, col, is_primary, is_unique FROM kst_sys_indexes "
                             "WHERE ?1 IS NULL OR tbl = ?1 ORDER BY rowid");
    st.bind(1, only);
    while (st.step()) {
        for (TableDef& table : tables) {
            if (table.name.compare(st.columnText(0), Qt::CaseInsensitive) == 0) {
                table.indexes.push_back({st.columnText(1), st.columnText(2),
                                         st.columnInteger(3) != 0, st.columnInteger(4) != 0});
            }
        }
    }
    for (size_t i = 0; i < tables.size(); ++i)
        tables[i] = verifiedDefinition(connection, tables[i], storedSql[static_cast<qsizetype>(i)]);
    return tables;
}

} // namespace

bool isReservedTableName(const QString& name) {
    return name.startsWith(kPrefix, Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive);
}

QString quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace('"', QLatin1String("\"\""));
    return '"' + quoted + '"';
}

void initializeSystemTables(Connection& connection, const QString& password) {
    Transaction transaction(connection);
    connection.exec(QString("PRAGMA application_id = %1").arg(kApplicationId));
    for (const auto& [name, sql] : kHiddenTables)
        connection.exec(sql);
    QByteArray salt(16, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    Statement insert(connection, "INSERT INTO kst_sys_meta(key, value) VALUES (?1, ?2)");
    const std::pair<QString, QString> rows[] = {
        {"format", QString::number(kFormatVersion)},
        {"salt", QString::fromLatin1(salt.toHex())},
        {"password_check", passwordCheck(salt, password)},
    };
    for (const auto& [key, value] : rows) {
        insert.bind(1, key).bind(2, value);
        insert.step();
        insert.reset();
    }
    transaction.commit();
}

void verifyFile(Connection& connection, const QString& password) {
    QStringList foreign;
    int hidden = 0;
    {
        Statement st(connection, "SELECT type, name, sql FROM sqlite_master ORDER BY rowid");
        while (st.step()) {
            const QString type = st.columnText(0);
            const QString name = st.columnText(1);
            const QString sql = st.columnText(2);
            if (type == QLatin1String("table")) {
                const std::optional<QString> ours = hiddenTableSql(name);
                hidden += ours ? 1 : 0;
                if (isVirtualTableSql(sql)) {
                    foreign << QString("virtual table '%1'").arg(name);
                } else if ((ours && *ours != sql) ||
                           (!ours && name.startsWith(kPrefix, Qt::CaseInsensitive))) {
                    foreign << QString("table '%1'").arg(name);
                }
            } else if (type != QLatin1String("index") || !st.columnIsNull(2)) {
                // The engine's own indexes of keys have no statement; any other is foreign.
                foreign << QString("%1 '%2'").arg(type, name);
            }
        }
    }
    if (hidden != static_cast<int>(std::size(kHiddenTables)))
        raiseUnrecognized(connection.path());
    // Before anything of the file is read: a hidden table could be one of them.
    if (!foreign.isEmpty()) {
        raise(err::CannotOpen,
              QString("The file '%1' holds objects that a profile never has: %2. They could run "
                      "commands stored in the file, so it is not opened; it is left as it is.")
                  .arg(connection.path(), foreign.join(", ")));
    }
    QHash<QString, QString> meta;
    {
        Statement st(connection, "SELECT key, value FROM kst_sys_meta");
        while (st.step())
            meta.insert(st.columnText(0), st.columnText(1));
    }
    bool versionOk = false;
    const int version = meta.value("format").toInt(&versionOk);
    if (!versionOk || version < 1 || version > kFormatVersion)
        raiseUnrecognized(connection.path());
    const QByteArray salt = QByteArray::fromHex(meta.value("salt").toLatin1());
    if (passwordCheck(salt, password) != meta.value("password_check")) {
        raise(err::InvalidPassword, describeError(err::InvalidPassword).chopped(1) +
                                        QString(" for the file '%1'.").arg(connection.path()));
    }
}

QStringList listTables(Connection& connection) {
    Statement st(connection, "SELECT m.name FROM sqlite_master m WHERE m.type = 'table' AND "
                             "EXISTS (SELECT 1 FROM kst_sys_columns c WHERE c.tbl = m.name) "
                             "ORDER BY m.rowid");
    QStringList names;
    while (st.step()) {
        const QString name = st.columnText(0);
        if (!isReservedTableName(name))
            names << name;
    }
    return names;
}

std::optional<TableDef> findTable(Connection& connection, const QString& name) {
    if (name.isEmpty() || isReservedTableName(name))
        return std::nullopt;
    std::vector<TableDef> tables = readDefinitions(connection, name);
    if (tables.empty())
        return std::nullopt; // none, or not made by this layer
    return std::move(tables.front());
}

std::vector<TableDef> tableDefinitions(Connection& connection) {
    return readDefinitions(connection, QString());
}

void createTable(Connection& connection, const TableDef& table) {
    validate(table);
    {
        Statement st(connection,
                     "SELECT count(*) FROM sqlite_master WHERE name = ?1 COLLATE NOCASE");
        st.bind(1, table.name);
        st.step();
        if (st.columnInteger(0) != 0)
            raise(err::TableExists, QString("Table '%1' already exists.").arg(table.name));
    }
    Transaction transaction(connection);
    connection.exec(createTableSql(table));
    Statement column(connection,
                     "INSERT INTO kst_sys_columns VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const ColumnDef& c = table.columns[i];
        column.bind(1, table.name)
            .bind(2, static_cast<qint64>(i))
            .bind(3, c.name)
            .bind(4, static_cast<qint64>(c.kind))
            .bind(5, static_cast<qint64>(c.size))
            .bind(6, c.nullable)
            .bind(7, c.allowZeroLength)
            .bind(8, c.autoIncrement);
        column.step();
        column.reset();
    }
    Statement index(connection, "INSERT INTO kst_sys_indexes VALUES (?1, ?2, ?3, ?4, ?5)");
    for (const IndexDef& i : table.indexes) {
        index.bind(1, table.name)
            .bind(2, i.name)
            .bind(3, i.column)
            .bind(4, i.primaryKey)
            .bind(5, i.unique);
        index.step();
        index.reset();
    }
    transaction.commit();
}

} // namespace kst::db
