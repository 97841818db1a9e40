#include "profile_validation.h"

#include "platform/db/catalog.h"
#include "platform/runtime_error.h"
#include "profile_schema.h"

#include <algorithm>

namespace kst {

namespace {

// The columns `table` must have at the front: all of the format's, or, in an older
// profile, as many of the format's leading ones as it has.
QStringList expectedColumns(const db::TableDef& format, const db::TableDef& table,
                            ProfileLayout layout) {
    const QStringList all = format.columnNames();
    const auto count = static_cast<qsizetype>(table.columns.size());
    return layout == ProfileLayout::Older && count < all.size() ? all.mid(0, count) : all;
}

void checkColumns(const QString& path, const db::TableDef& format, const db::TableDef& table,
                  ProfileLayout layout) {
    const QString what = QString("The table '%1' of '%2' does not have the columns of a profile: ")
                             .arg(table.name, path);
    if (const std::optional<QString> difference =
            db::columnDifference(expectedColumns(format, table, layout), table.columnNames()))
        throw RunTimeError(err::UnknownColumn, what + *difference + '.');
    for (size_t k = 0; k < table.columns.size(); ++k) {
        if (table.columns[k].kind != format.columns[k].kind) {
            throw RunTimeError(err::UnknownColumn,
                               what + QString("its column '%1' holds another kind of value.")
                                          .arg(table.columns[k].name));
        }
    }
}

} // namespace

void CheckProfileFile(const QString& path, ProfileLayout layout) {
    db::Catalog catalog = db::Catalog::open(profileConnStr(path));
    catalog.checkIntegrity();
    const std::vector<db::TableDef> tables = catalog.tables();
    for (const db::TableDef& format : profileTables()) {
        if (layout == ProfileLayout::Older && format.name == QLatin1String("tblBackup"))
            continue;
        const auto table = std::find_if(tables.begin(), tables.end(), [&](const db::TableDef& t) {
            return t.name.compare(format.name, Qt::CaseInsensitive) == 0;
        });
        if (table == tables.end()) {
            throw RunTimeError(
                err::TableNotFound,
                QString("The file '%1' lacks the table '%2' of a profile.").arg(path, format.name));
        }
        checkColumns(path, format, *table, layout);
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
