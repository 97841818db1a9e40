#include "profile_validation.h"

#include "platform/db/catalog.h"
#include "platform/db/connection_string.h"
#include "platform/runtime_error.h"
#include "profile_schema.h"

#include <algorithm>

namespace kst {

namespace {

// Holds the columns of `table` against those of the format, by name and kind: all of
// them, or (`leading` > 0) only that many at the front, which the table must have.
void checkColumns(const QString& path, const db::TableDef& format, const db::TableDef& table,
                  qsizetype leading) {
    const QString what = QString("The table '%1' of '%2' does not have the columns of a profile: ")
                             .arg(table.name, path);
    const QStringList expected = format.columnNames();
    const QStringList actual = table.columnNames();
    if (const std::optional<QString> difference =
            leading > 0 ? db::columnDifference(expected.mid(0, leading), actual.mid(0, leading))
                        : db::columnDifference(expected, actual))
        throw RunTimeError(err::UnknownColumn, what + *difference + '.');
    // The names agree: the table has at least the columns held against the format.
    const auto checked = static_cast<size_t>(leading > 0 ? leading : expected.size());
    for (size_t k = 0; k < checked; ++k) {
        if (table.columns[k].kind != format.columns[k].kind) {
            throw RunTimeError(err::UnknownColumn,
                               what + QString("its column '%1' holds another kind of value.")
                                          .arg(table.columns[k].name));
        }
    }
}

const db::TableDef& formatOf(const QString& name) {
    const std::vector<db::TableDef>& format = profileTables();
    return *std::find_if(format.begin(), format.end(),
                         [&](const db::TableDef& t) { return t.name == name; });
}

} // namespace

void CheckProfileFile(const QString& path, ProfileLayout layout) {
    db::ConnectionInfo info = db::ConnectionInfo::parse(profileConnStr(path));
    info.acceptDroppedColumns = layout == ProfileLayout::Older;
    db::Catalog catalog = db::Catalog::open(info);
    catalog.checkIntegrity();
    const std::vector<db::TableDef> tables = catalog.tables();
    // Every table of the format, or the tables the import reads with as many leading
    // columns as it copies.
    std::vector<std::pair<const db::TableDef*, qsizetype>> expected;
    if (layout == ProfileLayout::Current) {
        for (const db::TableDef& format : profileTables())
            expected.emplace_back(&format, 0);
    } else {
        for (const ImportedColumns& imported : importedColumns())
            expected.emplace_back(&formatOf(imported.table), imported.lastOrdinal + 1);
    }
    for (const auto& [format, count] : expected) {
        const auto table = std::find_if(tables.begin(), tables.end(), [&](const db::TableDef& t) {
            return t.name.compare(format->name, Qt::CaseInsensitive) == 0;
        });
        if (table == tables.end()) {
            throw RunTimeError(err::TableNotFound,
                               QString("The file '%1' lacks the table '%2' of a "
                                       "profile.")
                                   .arg(path, format->name));
        }
        checkColumns(path, *format, *table, count);
    }
}

bool ValidateSettingsDB(const QString& path) {
    try {
        CheckProfileFile(path);
    } catch (const RunTimeError& e) {
        if (e.number() == err::TableNotFound)
            return false;
        throw;
    }
    return true;
}

} // namespace kst
