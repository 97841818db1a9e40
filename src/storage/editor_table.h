#pragma once

#include "platform/db/value.h"
#include "platform/runtime_error.h"
#include "platform/services.h"

#include <QString>
#include <optional>

namespace kst {

namespace db {
class Recordset;
}

// Why an editor's table cannot be stored as it stands: the first value refused, where it
// is, and the box that says so. The editor shows the box and puts the focus in that
// field; nothing is written.
struct Refusal {
    int row = 0;   // from 0
    int field = 0; // the table's own field number
    QString message;
    MsgIcon icon = MsgIcon::Critical;
    QString title = appTitle();

    bool operator==(const Refusal&) const = default;
};

// How many characters may be typed into the fields that the editors share: a name as many
// as its column holds, a time five digits.
inline constexpr int NameTypingLimit = 50;
inline constexpr int TimeTypingLimit = 5;

// The box of a refusal.
void showRefusal(const Refusal& refusal);

// The checks that every editor makes alike.
// A list of hexadecimal bytes, refused with `message` under "Error:".
std::optional<Refusal> hexListRefusal(int row, int field, const QString& text,
                                      const QString& message);
// A delay or interval of at most 65,535 ms.
std::optional<Refusal> waitRefusal(int row, int field, const QString& text, bool isDelay);

// "Invalid property value" for a stored list position outside its list of `count`
// entries, naming where it stands (`place`: "rule 3", "row 1 of the table 'Settings'"),
// the value as stored and its column.
RunTimeError outsideListError(const QString& place, const QString& stored, const QString& column,
                              int count);

// How an editor's table reads and writes its columns. A list position is shown as the
// list's entry: an empty value is its first entry, -1 is no entry chosen (as a list takes
// it), and one below -1 or past the list of `count` entries raises "Invalid property
// value", as a list refuses it, naming `row` ("rule 3"; "the row" when empty, for a
// caller that names the row itself) and the column: shown as another entry, it would be
// stored as that one. A number typed as text is stored as the value of its leading number.
int listPosition(const db::Recordset& rs, int ordinal, int count, const QString& row);
// The same for the index of one of `count` option buttons, where one must be chosen: -1
// is refused as well.
int optionPosition(const db::Recordset& rs, int ordinal, int count, const QString& row);
db::Value storedNumber(const QString& text);
// The same position for an editor that shows a row only when it can show all of it: an
// empty value raises "Invalid use of Null" too.
int strictListPosition(const db::Recordset& rs, int ordinal, int count);
// The text of a field, Null as empty text. A fixed-length column hands back its text
// padded with blanks: the text is taken without them, like that of its variable-length
// siblings.
QString storedText(const db::Recordset& rs, int ordinal);

} // namespace kst
