#pragma once

#include "connection.h"
#include "schema.h"

#include <QStringList>
#include <optional>

namespace kst::db {

// The tables of one database: create a database file, list, look up and append
// tables. Hidden tables never appear. The catalog holds its file open until it is
// closed or destroyed.
class Catalog {
public:
    // Creates a new database file with the connection's password. Raises
    // err::DatabaseExists when the file exists (it is left alone) and err::CannotOpen
    // when it cannot be made (missing folder, no write permission).
    static Catalog create(const QString& connectionString);
    static Catalog create(const ConnectionInfo& info);
    // Opens an existing database; never creates one.
    static Catalog open(const QString& connectionString);
    static Catalog open(const ConnectionInfo& info);

    // Table names in creation order.
    QStringList tableNames();
    // Without regard to case. `table` raises err::ItemNotFound (3265) when absent.
    bool hasTable(const QString& name);
    std::optional<TableDef> findTable(const QString& name);
    TableDef table(const QString& name);
    // Every table's definition, in creation order: one reading for all of them.
    std::vector<TableDef> tables();
    void appendTable(const TableDef& table);
    // Reads the whole file: raises err::CannotOpen when it is damaged or holds a value
    // longer than a connection takes (see Connection::checkIntegrity).
    void checkIntegrity();

    void close();
    bool isOpen() const { return connection_.has_value(); }

private:
    explicit Catalog(Connection connection) : connection_(std::move(connection)) {}
    Connection& connection();

    std::optional<Connection> connection_;
};

} // namespace kst::db
