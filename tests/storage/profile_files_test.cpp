#include "storage/profile_files.h"
#include "storage/profile_schema.h"
#include "support/fakes.h"
#include "support/profile_rows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst;

namespace {

constexpr QFileDevice::Permissions Shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther;
constexpr QFileDevice::Permissions OwnerAndGroup =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;

QFileDevice::Permissions modeOf(const QString& path) {
    constexpr QFileDevice::Permissions unixBits =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return QFile::permissions(path) & unixBits;
}

} // namespace

// Copies and imports are written beside their target and renamed into its place; the
// file put there must be as readable as the one it replaces, or as its source.
TEST(ProfileFiles, ACopyOrAnImportKeepsWhoMayReadTheProfile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::copy(KST_SUPPORT_DB_PATH, supportDbPath(dir.path())));
    const QString current = dir.filePath("Current.kst");
    const QString older = dir.filePath("Older.kst");
    test::createProfile(supportConnStr(dir.path()), current);
    test::createProfile(supportConnStr(dir.path()), older);
    ASSERT_TRUE(QFile::setPermissions(current, Shared));

    const QString copy = dir.filePath("Copy.kst");
    CopyProfileFile(current, copy);
    EXPECT_EQ(modeOf(copy), Shared) << "a new copy reads like its source";
    EXPECT_EQ(test::fileBytes(copy), test::fileBytes(current));

    ASSERT_TRUE(QFile::setPermissions(copy, OwnerAndGroup));
    CopyProfileFile(older, copy);
    EXPECT_EQ(modeOf(copy), OwnerAndGroup) << "a replaced copy reads like the file it replaced";
    EXPECT_EQ(test::fileBytes(copy), test::fileBytes(older));

    ImportOlderProfile(older, current, {});
    EXPECT_EQ(modeOf(current), Shared);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());
}
