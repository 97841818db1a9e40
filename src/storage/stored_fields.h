#pragma once

#include <QString>

namespace kst {

namespace db {
class Recordset;
class Value;
} // namespace db

// How the editors read the fields of a profile row as their controls show them.

// The text of a field, Null as empty text. A fixed-length column hands back its text
// padded with blanks: the text is taken without them, like that of its variable-length
// siblings.
QString TextField(const db::Recordset& row, int ordinal);
// A stored number as the text of a field, Null as empty text.
QString NumberText(const db::Recordset& row, int ordinal);
// A position in a list of `count` entries. An empty value raises "Invalid use of Null",
// one outside the list "Invalid property value", as a list refuses it.
int ListPosition(const db::Recordset& row, int ordinal, int count);
// A Yes/No field; an empty one raises "Invalid use of Null".
bool CheckField(const db::Recordset& row, int ordinal);

// A number field's text as the store takes it: the leading number, rounded into a Long
// (error 6 beyond it).
db::Value StoredNumber(const QString& text);

} // namespace kst
