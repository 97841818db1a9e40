#pragma once

#include "schema.h"

#include <QStringList>
#include <optional>

namespace kst::db {

class Connection;

// Marks a file as one of our databases (SQLite's application id, "KSTL").
constexpr quint32 kApplicationId = 0x4B53544C;

// Hidden tables hold what the engine does not keep for us: the password check and the
// column kinds, sizes and properties. Like the system tables of the old engine, they
// never appear in a table list, and no user table may take a name with their prefix.
bool isReservedTableName(const QString& name);

// Sets up the hidden tables of a new file and stores a salted hash of the password.
void initializeSystemTables(Connection& connection, const QString& password);
// Raises "Not a valid password." when the password does not match the stored check,
// and err::CannotOpen when the file lacks the hidden tables (not one of ours).
void verifyPassword(Connection& connection, const QString& password);

// Raises err::CannotOpen, naming them, when the file holds anything but tables and the
// engine's indexes of their keys: a trigger, a view, a virtual table, an index of its
// own, or a hidden table that is not ours. Such objects could run statements stored in
// the file; our files never hold them.
void verifySchemaObjects(Connection& connection);

QStringList listTables(Connection& connection);
// Looks the name up without regard to case; the definition carries the stored name.
// Raises when the table the engine holds is not the one its definition describes
// (err::UnknownColumn naming a column dropped, added or moved; err::CannotOpen for any
// other change), so that no value is ever read from or written to another column.
std::optional<TableDef> findTable(Connection& connection, const QString& name);
void createTable(Connection& connection, const TableDef& table);

QString quoteIdentifier(const QString& name);

} // namespace kst::db
