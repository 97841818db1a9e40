#pragma once

#include "platform/db/schema.h"

#include <QString>
#include <vector>

namespace kst {

// Every device profile carries this password; the support database has its own.
inline const QString ProfilePassword = QStringLiteral("tovrasiL");
inline const QString SupportPassword = QStringLiteral("5813046");
inline const QString SupportFileName = QStringLiteral("mscomctl.2fl");

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>; JET OLEDB:Database password = tovrasiL"
QString profileConnStr(const QString& profilePath);
// The support database beside the program (`SupportConnStr`).
QString supportConnStr(const QString& programFolder);
QString supportDbPath(const QString& programFolder);

// The six tables of a device profile in creation order, each with its columns in
// ordinal order. All code addresses the columns by ordinal, so the order, the spare
// columns included, is the file format. The support database holds the same six as
// the templates of new profiles.
const std::vector<db::TableDef>& profileTables();
// What an import takes from a profile of an earlier version: of each table, in the
// order the import copies them, the columns 1 to `lastOrdinal` (the key, 0, never).
// Earlier versions' tables begin with these columns of the format.
struct ImportedColumns {
    QString table;
    int lastOrdinal;
};
const std::vector<ImportedColumns>& importedColumns();

// The preferences table of the support database: one row, fields by ordinal.
const db::TableDef& userPreferencesTable();

} // namespace kst
