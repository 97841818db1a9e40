#include "profile_validation.h"

#include "platform/db/catalog.h"
#include "profile_schema.h"

namespace kst {

bool ValidateSettingsDB(const QString& path) {
    db::Catalog catalog = db::Catalog::open(profileConnStr(path));
    // Once the file is open, nothing leaves: a failed lookup counts as a missing table.
    try {
        bool all = true;
        for (const char* name : {"ProgAutoResp", "ProgButtons", "ProgMacrosSeq",
                                 "ProgMacrosSubRoutines", "Settings", "tblBackup"})
            all = catalog.hasTable(QString::fromLatin1(name)) && all;
        return all;
    } catch (...) {
        return false;
    }
}

} // namespace kst
