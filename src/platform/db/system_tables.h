#pragma once

#include "schema.h"

#include <QStringList>
#include <optional>
#include <vector>

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
// Checks a file as it is opened, with two statements whatever it holds, in this order:
// it must have the hidden tables (else err::CannotOpen, "Unrecognized database format":
// not one of ours); it must hold nothing but tables and the engine's indexes of their
// keys (else err::CannotOpen naming them: a trigger, a view, a virtual table, an index
// of its own or a hidden table that is not ours could run statements stored in the
// file, and our files never hold them); and it must match the password (else
// err::InvalidPassword, "Not a valid password for the file '<path>'.").
void verifyFile(Connection& connection, const QString& password);

QStringList listTables(Connection& connection);
// Looks the name up without regard to case; the definition carries the stored name.
// Raises when the table the engine holds is not the one its definition describes
// (err::UnknownColumn naming a column dropped, added or moved; err::CannotOpen for any
// other change), so that no value is ever read from or written to another column. On a
// connection that accepts dropped columns (ConnectionInfo), a table that only lacks
// some of its columns comes back with the columns it still has, in their order.
std::optional<TableDef> findTable(Connection& connection, const QString& name);
// Every user table, checked as findTable checks one, in creation order.
std::vector<TableDef> tableDefinitions(Connection& connection);
void createTable(Connection& connection, const TableDef& table);

QString quoteIdentifier(const QString& name);

} // namespace kst::db
