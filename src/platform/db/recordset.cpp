#include "recordset.h"

#include "errors.h"
#include "select_query.h"
#include "system_tables.h"

#include <QStringList>
#include <variant>

namespace kst::db {

namespace {

// The row a statement stands on, as the reader of its values names it: the statement
// reads `rowid` first and then the table's columns in order.
struct RowSource {
    const Statement& st;
    const TableDef& table;
    const QString& path;

    // The value of a column, or the damage that stands there instead.
    std::variant<Value, Recordset::Damage> read(size_t ordinal) const;
    // The row as a user finds it: by its key, or by its place in the file.
    QString name() const {
        const int key = table.indexes.empty() ? -1 : table.ordinalOf(table.indexes.front().column);
        return st.columnText(key + 1);
    }
};

// A value the file holds in a column not made for it (another tool wrote it there) is
// refused rather than read as a number or text it never was.
Recordset::Damage wrongKind(const TableDef& table, const ColumnDef& column) {
    const QString fact =
        QString("holds a value of another kind in its column '%1'").arg(column.name);
    return {err::TypeMismatch, QString("The table '%1' %2.").arg(table.name, fact), fact};
}

std::variant<Value, Recordset::Damage> RowSource::read(size_t ordinal) const {
    const int index = static_cast<int>(ordinal) + 1;
    const ColumnDef& column = table.columns[ordinal];
    const Statement::Stored stored = st.columnStored(index);
    if (stored == Statement::Stored::Null)
        return Value();
    switch (column.kind) {
    case ColumnKind::YesNo:
    case ColumnKind::Integer:
    case ColumnKind::Long:
        if (stored != Statement::Stored::Integer)
            return wrongKind(table, column);
        return column.kind == ColumnKind::YesNo ? Value(st.columnInteger(index) != 0)
                                                : Value(st.columnInteger(index));
    case ColumnKind::FixedText:
    case ColumnKind::Text:
    case ColumnKind::Memo: {
        if (stored == Statement::Stored::Blob)
            return wrongKind(table, column);
        // No writer of ours stores a text longer than its column: such a text is damage,
        // and one of megabytes would hold up every window that shows it. A Memo has no
        // size of its own; the connection's length limit bounds it.
        QString text = st.columnText(index);
        if (column.kind != ColumnKind::Memo && text.size() > column.size) {
            const QString fact =
                QString("holds a text of %1 characters in its column '%2', which holds at most %3")
                    .arg(text.size())
                    .arg(column.name)
                    .arg(column.size);
            return Recordset::Damage{
                err::CannotOpen,
                QString("The file '%1' is damaged: row %2 of the table '%3' %4.")
                    .arg(path, name(), table.name, fact),
                fact};
        }
        return Value(std::move(text));
    }
    }
    return Value();
}

QString orderColumn(const TableDef& table) {
    return table.indexes.empty() ? QStringLiteral("rowid")
                                 : quoteIdentifier(table.indexes.front().column);
}

} // namespace

void Recordset::open(const QString& sql, const QString& connectionString) {
    if (isOpen())
        raise(err::ObjectOpen);
    open(sql, ConnectionInfo::parse(connectionString));
}

void Recordset::open(const QString& sql, const ConnectionInfo& info) {
    if (isOpen())
        raise(err::ObjectOpen);
    // The query is checked before the file is touched.
    const SelectQuery query = SelectQuery::parse(sql);
    Connection connection = Connection::open(info);
    load(query, connection);
    connection_.emplace(std::move(connection));
}

void Recordset::reopen(const QString& sql) {
    ensureOpen();
    const SelectQuery query = SelectQuery::parse(sql);
    flush();
    load(query, *connection_);
}

void Recordset::load(const SelectQuery& query, Connection& connection) {
    std::optional<TableDef> table = findTable(connection, query.table);
    if (!table) {
        raise(err::TableNotFound,
              QString("The table or query '%1' cannot be found.").arg(query.table));
    }

    QString text = "SELECT rowid, * FROM " + quoteIdentifier(table->name);
    if (query.filter != SelectQuery::Filter::All) {
        const int ordinal = table->ordinalOf(query.column);
        if (ordinal < 0) {
            raise(err::UnknownColumn,
                  QString("No value given for one or more required parameters: the table '%1' "
                          "has no column '%2'.")
                      .arg(table->name, query.column));
        }
        text += " WHERE " + quoteIdentifier(table->columns[ordinal].name) +
                (query.filter == SelectQuery::Filter::Equals ? " = ?1" : " BETWEEN ?1 AND ?2");
    }
    text += " ORDER BY " + orderColumn(*table);

    std::vector<Row> rows;
    {
        Statement st(connection, text);
        if (query.filter != SelectQuery::Filter::All)
            st.bind(1, query.first);
        if (query.filter == SelectQuery::Filter::Between)
            st.bind(2, query.last);
        while (st.step()) {
            Row row;
            row.rowid = st.columnInteger(0);
            readValues(st, *table, connection.path(), row);
            rows.push_back(std::move(row));
        }
    }
    table_ = std::move(*table);
    rows_ = std::move(rows);
    position_ = 0;
    pending_.clear();
    adding_ = false;
}

void Recordset::close() {
    ensureOpen();
    if (editPending())
        raise(err::NotAllowed);
    transaction_.reset(); // an open transaction is rolled back
    connection_.reset();
    rows_.clear();
    table_ = TableDef();
}

void Recordset::ensureOpen() const {
    if (!isOpen())
        raise(err::ObjectClosed);
}

void Recordset::ensureOrdinal(int ordinal) const {
    if (ordinal < 0 || ordinal >= fieldCount())
        raise(err::ItemNotFound);
}

void Recordset::ensureCurrent() const {
    if (eof())
        raise(err::NoCurrentRecord);
}

int Recordset::recordCount() const {
    ensureOpen();
    return static_cast<int>(rows_.size());
}

bool Recordset::bof() const {
    ensureOpen();
    return rows_.empty();
}

bool Recordset::eof() const {
    ensureOpen();
    return position_ >= rows_.size();
}

void Recordset::moveFirst() {
    ensureOpen();
    flush();
    if (rows_.empty())
        raise(err::NoCurrentRecord);
    position_ = 0;
}

void Recordset::moveNext() {
    ensureOpen();
    flush();
    ensureCurrent();
    ++position_;
}

int Recordset::fieldCount() const {
    ensureOpen();
    return static_cast<int>(table_.columns.size());
}

const ColumnDef& Recordset::field(int ordinal) const {
    ensureOrdinal(ordinal);
    return table_.columns[ordinal];
}

const QString& Recordset::tableName() const {
    ensureOpen();
    return table_.name;
}

Value Recordset::value(int ordinal) const {
    ensureOrdinal(ordinal);
    ensureCurrent();
    const auto it = pending_.find(ordinal);
    if (it != pending_.end())
        return it->second;
    if (const Damage* damage = damageAt(ordinal))
        raise(damage->number, damage->description);
    return rows_[position_].values[ordinal];
}

const Recordset::Damage* Recordset::damageAt(int ordinal) const {
    ensureOrdinal(ordinal);
    ensureCurrent();
    if (pending_.count(ordinal) != 0)
        return nullptr;
    const Row& row = rows_[position_];
    const auto damage = row.damaged.find(ordinal);
    return damage == row.damaged.end() ? nullptr : &damage->second;
}

void Recordset::setValue(int ordinal, const Value& value) {
    ensureOrdinal(ordinal);
    ensureCurrent();
    pending_[ordinal] = convertForColumn(value, table_.columns[ordinal], table_.name);
}

void Recordset::addNew() {
    ensureOpen();
    flush();
    Row row;
    row.values.resize(table_.columns.size());
    rows_.push_back(std::move(row));
    position_ = rows_.size() - 1;
    adding_ = true;
}

void Recordset::update() {
    ensureOpen();
    flush();
}

void Recordset::updateBatch() {
    update();
}

void Recordset::beginTrans() {
    ensureOpen();
    if (transaction_)
        raise(err::NotAllowed);
    transaction_.emplace(*connection_);
}

void Recordset::commitTrans() {
    ensureOpen();
    if (!transaction_)
        raise(err::NotAllowed);
    flush();
    transaction_->commit();
    transaction_.reset();
}

void Recordset::cancelUpdate() {
    ensureOpen();
    if (adding_) {
        rows_.pop_back();
        position_ = rows_.size();
    }
    pending_.clear();
    adding_ = false;
}

void Recordset::flush() {
    if (adding_)
        insertPending();
    else if (!pending_.empty())
        updatePending();
}

void Recordset::insertPending() {
    QStringList columns;
    QStringList marks;
    for (const auto& [ordinal, value] : pending_) {
        columns << quoteIdentifier(table_.columns[ordinal].name);
        marks << QString("?%1").arg(marks.size() + 1);
    }
    const QString text =
        "INSERT INTO " + quoteIdentifier(table_.name) +
        (columns.isEmpty() ? QString(" DEFAULT VALUES")
                           : " (" + columns.join(", ") + ") VALUES (" + marks.join(", ") + ")");
    Statement st(*connection_, text);
    int index = 1;
    for (const auto& [ordinal, value] : pending_)
        st.bind(index++, value);
    st.step();
    Row& row = rows_[position_];
    row.rowid = connection_->lastInsertRowId();
    readRow(row);
    pending_.clear();
    adding_ = false;
}

void Recordset::updatePending() {
    QStringList assignments;
    for (const auto& [ordinal, value] : pending_) {
        assignments << quoteIdentifier(table_.columns[ordinal].name) + " = ?" +
                           QString::number(assignments.size() + 1);
    }
    Statement st(*connection_, "UPDATE " + quoteIdentifier(table_.name) + " SET " +
                                   assignments.join(", ") + " WHERE rowid = ?" +
                                   QString::number(assignments.size() + 1));
    int index = 1;
    for (const auto& [ordinal, value] : pending_)
        st.bind(index++, value);
    Row& row = rows_[position_];
    st.bind(index, row.rowid);
    st.step();
    if (connection_->changes() == 0) {
        raise(err::RowNotFound, "The row to be updated cannot be found: it was deleted or "
                                "changed since it was read.");
    }
    for (const auto& [ordinal, value] : pending_) {
        row.values[ordinal] = value;
        row.damaged.erase(ordinal);
    }
    pending_.clear();
}

void Recordset::readRow(Row& row) {
    Statement st(*connection_,
                 "SELECT rowid, * FROM " + quoteIdentifier(table_.name) + " WHERE rowid = ?1");
    st.bind(1, row.rowid);
    row.values.assign(table_.columns.size(), Value());
    row.damaged.clear();
    if (st.step())
        readValues(st, table_, connection_->path(), row);
}

void Recordset::readValues(const Statement& st, const TableDef& table, const QString& path,
                           Row& row) {
    row.values.clear();
    row.damaged.clear();
    const RowSource source{st, table, path};
    for (size_t k = 0; k < table.columns.size(); ++k) {
        std::variant<Value, Damage> value = source.read(k);
        if (auto* damage = std::get_if<Damage>(&value)) {
            row.damaged.emplace(static_cast<int>(k), std::move(*damage));
            row.values.emplace_back();
        } else {
            row.values.push_back(std::move(std::get<Value>(value)));
        }
    }
}

} // namespace kst::db
