#include "profile_creator.h"

#include "columns/settings_columns.h"
#include "platform/db/catalog.h"
#include "platform/db/recordset.h"
#include "platform/file_names.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "profile_schema.h"

namespace kst {

namespace {

// The bar moves on to 90 once the first three tables are filled.
constexpr size_t kTablesBeforeNinety = 3;

} // namespace

ProfileCreator::ProfileCreator(QString supportConnStr, ProgressDisplay& progress,
                               ProfileOpener openProfile)
    : supportConnStr_(std::move(supportConnStr)), progress_(progress),
      openProfile_(std::move(openProfile)) {}

bool ProfileCreator::CreateDB(const QString& fileName, const QString& fileTitle) {
    progress_.setMaximum(100);
    progress_.setVisible(true);
    progress_.setValue(1);
    bool createdHere = false;
    try {
        db::Catalog catalog = db::Catalog::create(profileConnStr(fileName));
        createdHere = true;
        for (const db::TableDef& table : profileTables())
            catalog.appendTable(table);
        catalog.close();
    } catch (const RunTimeError& error) {
        showFailure("CreateDB Error:", error);
        progress_.setVisible(false);
        if (createdHere)
            removeFile(fileName);
        return false;
    }
    progress_.setValue(50);
    if (!AppendData(fileName, fileTitle)) {
        // The file is ours and incomplete or unloadable: leaving it would fail every
        // later load.
        removeFile(fileName);
        return false;
    }
    return true;
}

bool ProfileCreator::AppendData(const QString& fileName, const QString& fileTitle) {
    try {
        copyTemplates(fileName);
    } catch (const RunTimeError& error) {
        showFailure("AppendData Error:", error);
        progress_.setVisible(false);
        return false;
    }
    progress_.setValue(100);
    progress_.setVisible(false);
    return openProfile_(fileName, fileTitle);
}

void ProfileCreator::copyTemplates(const QString& fileName) {
    const QString profile = profileConnStr(fileName);
    const std::vector<db::TableDef>& tables = profileTables();
    for (size_t t = 0; t < tables.size(); ++t) {
        const db::TableDef& table = tables[t];
        const QString sql = "SELECT * FROM " + table.name;
        db::Recordset source;
        db::Recordset target;
        source.open(sql, supportConnStr_);
        target.open(sql, profile);
        const int lastOrdinal = static_cast<int>(table.columns.size()) - 1;
        const bool isSettings = table.name == QLatin1String("Settings");
        const int rows = source.recordCount();
        for (int row = 1; row <= rows; ++row) {
            target.addNew();
            // By ordinal, never by name; `ID` (0) numbers itself.
            for (int k = 1; k <= lastOrdinal; ++k) {
                db::Value v = source.value(k);
                // `Settings`.`userNotes` is the one column whose Null template becomes empty text.
                if (isSettings && k == SettingsColumn::userNotes)
                    v = db::Value(v.toText());
                target.setValue(k, v);
            }
            source.moveNext();
        }
        target.updateBatch();
        target.close();
        source.close();
        if (t + 1 == kTablesBeforeNinety)
            progress_.setValue(90);
    }
}

} // namespace kst
