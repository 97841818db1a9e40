#include "catalog.h"

#include "errors.h"
#include "system_tables.h"

namespace kst::db {

Catalog Catalog::create(const QString& connectionString) {
    return create(ConnectionInfo::parse(connectionString));
}
Catalog Catalog::create(const ConnectionInfo& info) {
    return Catalog(Connection::create(info));
}

Catalog Catalog::open(const QString& connectionString) {
    return open(ConnectionInfo::parse(connectionString));
}
Catalog Catalog::open(const ConnectionInfo& info) {
    return Catalog(Connection::open(info));
}

Connection& Catalog::connection() {
    if (!connection_)
        raise(err::ObjectClosed);
    return *connection_;
}

QStringList Catalog::tableNames() {
    return listTables(connection());
}

bool Catalog::hasTable(const QString& name) {
    return findTable(name).has_value();
}

std::optional<TableDef> Catalog::findTable(const QString& name) {
    return db::findTable(connection(), name);
}

TableDef Catalog::table(const QString& name) {
    if (auto t = findTable(name))
        return *t;
    raise(err::ItemNotFound);
}

std::vector<TableDef> Catalog::tables() {
    return tableDefinitions(connection());
}

void Catalog::appendTable(const TableDef& table) {
    createTable(connection(), table);
}

void Catalog::checkIntegrity() {
    connection().checkIntegrity();
}

void Catalog::close() {
    connection_.reset();
}

} // namespace kst::db
