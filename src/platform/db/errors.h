#pragma once

#include "platform/runtime_error.h"

#include <QString>

namespace kst::db {

// The error numbers of the database layer. Profile code shows them in its failure
// boxes, so they are the numbers a user of the old desktop database engine knows
// from the same situations: the provider's HRESULTs as signed 32-bit values, the
// recordset errors in the 3000 range, and "Invalid use of Null".
namespace err {
// 0x80004005: the file is missing, is not one of our databases, cannot be read or
// written, or the engine reported an I/O failure. The description says which.
constexpr int CannotOpen = -2147467259;
// 0x80040E4D: the database password does not match.
constexpr int InvalidPassword = -2147217843;
// 0x80040E17: creating a database over a file that exists.
constexpr int DatabaseExists = -2147217897;
// 0x80040E3F: appending a table whose name is taken.
constexpr int TableExists = -2147217857;
// 0x80040E37: a query names a table the database does not hold.
constexpr int TableNotFound = -2147217865;
// 0x80040E14: a query text this layer does not understand.
constexpr int SyntaxError = -2147217900;
// 0x80040E10: a query names a column the table does not hold.
constexpr int UnknownColumn = -2147217904;
// 0x80040E21: a field refused a value: too long, wrong type, out of range, Null
// where none is allowed, an empty text where none is allowed, or a read-only field.
constexpr int ValueRefused = -2147217887;
// 0x80040E38: the row to be written was deleted since the recordset read it.
constexpr int RowNotFound = -2147217864;
// 0x80040E3D: a table or column definition the catalog cannot create.
constexpr int InvalidDefinition = -2147217859;
constexpr int InvalidUseOfNull = 94;
constexpr int NotAllowed = 3219;
constexpr int NoCurrentRecord = 3021;
constexpr int ItemNotFound = 3265;
constexpr int ObjectClosed = 3704;
constexpr int ObjectOpen = 3705;
} // namespace err

[[noreturn]] void raise(int number, const QString& description);

// The standard description of a layer error number (those without a variable part).
QString describe(int number);
[[noreturn]] void raise(int number);

} // namespace kst::db
