#pragma once

// Profiles for tests: made from the support database the build ships, then altered
// field by field. Header-only: a test that includes it links the storage library.

#include "platform/db/recordset.h"
#include "storage/profile_creator.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

namespace kst::test {

using FieldValues = std::initializer_list<std::pair<int, db::Value>>;

// Writes fields (by ordinal) into row `id` of a table, or into the first row when id is 0.
inline void setRow(const QString& connStr, const QString& table, int id, FieldValues fields) {
    db::Recordset rs;
    rs.open("SELECT * FROM " + table + (id ? " WHERE ID = " + QString::number(id) : QString()),
            connStr);
    rs.moveFirst();
    for (const auto& [ordinal, value] : fields)
        rs.setValue(ordinal, value);
    rs.update();
    rs.close();
}

// A new profile at `file`, filled from the templates of the support database.
inline void createProfile(const QString& supportConn, const QString& file) {
    NoProgress progress;
    ProfileCreator creator(supportConn, progress,
                           [](const QString&, const QString&) { return true; });
    ASSERT_TRUE(creator.CreateDB(file, QFileInfo(file).fileName()));
}

} // namespace kst::test
