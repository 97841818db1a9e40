#pragma once

#include "platform/db/value.h"
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

// The box of a refusal.
void showRefusal(const Refusal& refusal);

// The checks that every editor makes alike.
// A list of hexadecimal bytes, refused with `message` under "Error:".
std::optional<Refusal> hexListRefusal(int row, int field, const QString& text,
                                      const QString& message);
// A delay or interval of at most 65,535 ms.
std::optional<Refusal> waitRefusal(int row, int field, const QString& text, bool isDelay);

// How an editor's table reads and writes its columns. A list position outside the list
// of `count` entries reads as its first entry; a number typed as text is stored as the
// value of its leading number.
int storedListPosition(const db::Recordset& rs, int ordinal, int count);
db::Value storedNumber(const QString& text);

} // namespace kst
