#include "profile_test_support.h"

#include "platform/db/catalog.h"
#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "storage/profile_schema.h"

#include <QFile>

namespace kst::test {

SupportBuilder::SupportBuilder() : tables_(profileTables()) {
    tables_.push_back(userPreferencesTable());
    const std::pair<const char*, int> counts[] = {
        {"Settings", 1},       {"progButtons", 32},           {"progAutoResp", 16},
        {"progMacrosSeq", 64}, {"progMacrosSubRoutines", 64}, {"tblBackup", 2},
        {"userPreferences", 1}};
    for (const auto& [name, count] : counts)
        setRows(name, count);
}

db::TableDef& SupportBuilder::table(const QString& name) {
    for (db::TableDef& t : tables_) {
        if (t.name == name)
            return t;
    }
    throw std::logic_error("no such table");
}

void SupportBuilder::drop(const QString& name) {
    std::erase_if(tables_, [&](const db::TableDef& t) { return t.name == name; });
}

void SupportBuilder::setRows(const QString& name, int count, ValueOf valueOf) {
    rows_[name] = {count, std::move(valueOf)};
}

db::Value SupportBuilder::distinctValue(const db::ColumnDef& column, int row, int ordinal) {
    switch (column.kind) {
    case db::ColumnKind::Integer:
    case db::ColumnKind::Long:
        return db::Value(row * 100 + ordinal);
    case db::ColumnKind::YesNo:
        return db::Value((row + ordinal) % 2 == 0);
    default:
        return db::Value(QString("%1.%2").arg(row).arg(ordinal));
    }
}

void SupportBuilder::build(const QString& path, const QString& password) const {
    const db::ConnectionInfo info{path, password};
    {
        db::Catalog catalog = db::Catalog::create(info);
        for (const db::TableDef& t : tables_)
            catalog.appendTable(t);
    }
    for (const db::TableDef& t : tables_) {
        const Rows& rows = rows_.at(t.name);
        db::Recordset rs;
        rs.open("SELECT * FROM " + t.name, info);
        for (int r = 1; r <= rows.count; ++r) {
            rs.addNew();
            for (int k = 1; k < static_cast<int>(t.columns.size()); ++k)
                rs.setValue(k, rows.valueOf(t.columns[k], r, k));
        }
        rs.updateBatch();
        rs.close();
    }
}

} // namespace kst::test
