#include "platform/runtime_error.h"
#include "platform/whole_file.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
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

    // A disk that refuses bytes, those still buffered at the commit or part-way through a
    // large file (a file-size limit): the old file stays whole, nothing new is left, and the
    // reason is told.
    for (const auto& [limit, size] : {std::pair<rlim_t, qsizetype>{4, 16}, {100000, 1 << 20}}) {
        QString refusal;
        try {
            const test::FileSizeLimit fullDisk(limit);
            WriteWholeFile(path, QByteArray(size, 'x'));
        } catch (const RunTimeError& e) {
            refusal = e.description();
        }
        EXPECT_TRUE(
            refusal.endsWith(path + "' could not be written: " + qt_error_string(EFBIG) + "."))
            << limit;
        EXPECT_EQ(contentOf(path), "first second");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"log.txt"});
    }
    // Or only as they are put on it.
    setDiskSync([](int) { return errno = EIO, -1; });
    EXPECT_THROW(WriteWholeFile(path, "new"), RunTimeError);
    setDiskSync(nullptr);
    EXPECT_EQ(contentOf(path), "first second");

    try {
        WholeFileWriter missing(dir.filePath("missing/log.txt"));
        ADD_FAILURE() << "a file in a missing folder";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::PathNotFound);
        EXPECT_TRUE(e.description().contains(dir.filePath("missing")));
    }
}
