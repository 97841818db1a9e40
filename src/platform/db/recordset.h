#pragma once

#include "connection.h"
#include "schema.h"
#include "value.h"

#include <map>
#include <optional>
#include <vector>

namespace kst::db {

struct SelectQuery;

// A static snapshot of one table's rows, in key order, with optimistic writing.
//
// `open` reads the rows that the query selects (see SelectQuery); later changes by
// others are not seen. Fields are addressed by ordinal. Values written to the
// current record stay pending until the record is left with `moveNext`/`moveFirst`
// or `addNew`, or until `update`/`updateBatch`; then they reach the file at once.
// Values are checked when they are written (err::ValueRefused): nothing is cut short.
// A value of another kind than its column's (another tool wrote it) is refused with
// err::TypeMismatch when it is read, not when its row is: the row's other values can be
// read, and a value written over it mends it.
//
// Errors as the profile code expects them: moving past the end or reading with no
// current record raises err::NoCurrentRecord (3021); a missing ordinal raises
// err::ItemNotFound (3265); `close` with pending changes raises err::NotAllowed
// (3219) and keeps them; any use of a closed recordset raises err::ObjectClosed.
// Destroying a recordset drops what is pending.
class Recordset {
public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    ~Recordset() = default;

    void open(const QString& sql, const QString& connectionString);
    void open(const QString& sql, const ConnectionInfo& info);
    // Reads another query of the same file in place of the current one. A transaction
    // begun goes on, so that writes to two tables reach the file together; what is
    // pending on the current record is written first.
    void reopen(const QString& sql);
    void close();
    bool isOpen() const { return connection_.has_value(); }

    int recordCount() const;
    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveNext();

    int fieldCount() const;
    const ColumnDef& field(int ordinal) const;
    const QString& tableName() const;

    Value value(int ordinal) const;
    void setValue(int ordinal, const Value& value);

    void addNew();
    void update();
    void updateBatch();
    void cancelUpdate();
    bool editPending() const { return adding_ || !pending_.empty(); }

    // Writes from here to commitTrans() reach the file all together or not at all:
    // closing or destroying the recordset before the commit takes them back.
    void beginTrans();
    void commitTrans();

    // A stored value that cannot be read: the error reading it raises, and what the row
    // holds in words, for a caller that names the row itself ("holds a value of another
    // kind in its column 'Delay'").
    struct Damage {
        int number;
        QString description;
        QString fact;
    };
    // The damage that reading `ordinal` of the current record would raise; none when it
    // can be read.
    const Damage* damageAt(int ordinal) const;

private:
    struct Row {
        qint64 rowid = 0;
        std::vector<Value> values;
        // The ordinals whose stored value cannot be read, and why; reading one raises that.
        std::map<int, Damage> damaged;
    };

    void load(const SelectQuery& query, Connection& connection);
    void ensureOpen() const;
    void ensureOrdinal(int ordinal) const;
    void ensureCurrent() const;
    void flush();
    void insertPending();
    void updatePending();
    // The row's values as the file holds them now.
    void readRow(Row& row);
    // The values of a row from a statement that reads `rowid` and then the table's columns.
    static void readValues(const Statement& st, const TableDef& table, const QString& path,
                           Row& row);

    std::optional<Connection> connection_;
    std::optional<Transaction> transaction_;
    TableDef table_;
    std::vector<Row> rows_;
    size_t position_ = 0; // rows_.size() is the end
    std::map<int, Value> pending_;
    bool adding_ = false;
};

} // namespace kst::db
