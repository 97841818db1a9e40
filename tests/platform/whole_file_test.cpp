#include "platform/runtime_error.h"
#include "platform/whole_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst;

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(WholeFile, PiecesMakeTheFileOnlyWhenCommittedAndNeverHalfOfOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath("log.txt");
    WriteWholeFile(path, "old");
    {
        WholeFileWriter file(path);
        file.write("first ");
        file.write("second");
        EXPECT_EQ(contentOf(path), "old") << "the old file stands while the new one is written";
        file.commit();
    }
    EXPECT_EQ(contentOf(path), "first second");
    {
        WholeFileWriter abandoned(path);
        abandoned.write("never");
    }
    EXPECT_EQ(contentOf(path), "first second") << "a writer dropped before commit";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"log.txt"})
        << "nothing is left beside it";

    try {
        WholeFileWriter missing(dir.filePath("missing/log.txt"));
        ADD_FAILURE() << "a file in a missing folder";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::PathNotFound);
        EXPECT_TRUE(e.description().contains(dir.filePath("missing")));
    }
}
