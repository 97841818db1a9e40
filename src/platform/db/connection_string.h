#pragma once

#include <QString>

namespace kst::db {

// What a connection string names: the database file and its password.
//
// The strings are built as
//   "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>; JET OLEDB:Database password = <pw>"
// and a path may itself hold ";" or "=", so the data source runs from "Data Source="
// up to the last "; JET OLEDB:Database password" marker (or to the end of the text
// when there is none). The password is the text after that marker's "=", without the
// blanks around it.
struct ConnectionInfo {
    QString dataSource;
    QString password;
    // Opened for reading only: nothing can change the file (not part of the string).
    bool readOnly = false;
    // Opened for reading only as well, and a table from which another tool dropped
    // columns opens with the columns it still has (see db::findTable): for files that
    // are read and never written, such as a profile to import from.
    bool acceptDroppedColumns = false;

    // Raises err::CannotOpen when the text names no data source.
    static ConnectionInfo parse(const QString& connectionString);
    // The connection string as the profile code writes it.
    QString toString() const;

    bool operator==(const ConnectionInfo&) const = default;
};

} // namespace kst::db
