#pragma once

#include "storage/profile_schema.h"
#include "support/profile_rows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kst::test {

// A profile made from the support database the build ships, then altered row by row.
class ProfileFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("Devices"));
        ASSERT_TRUE(QFile::copy(KST_SUPPORT_DB_PATH, supportDbPath(dir.path())));
        profile = dir.filePath("Devices/Device1.kst");
        createProfile(supportConnStr(dir.path()), profile);
        conn = profileConnStr(profile);
    }

    void set(const QString& table, int id, FieldValues fields) { setRow(conn, table, id, fields); }

    QTemporaryDir dir;
    QString profile;
    QString conn;
};

} // namespace kst::test
