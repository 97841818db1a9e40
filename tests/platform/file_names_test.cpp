#include "platform/file_names.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst;

TEST(FileNames, EveryByteSequenceComesBackAsItWasAndUtf8ReadsAsText) {
    const QByteArray samples[] = {
        "/plain/Device1.kst",
        "/home/jos\xc3\xa9/Ger\xc3\xa4te/\xe6\xb8\xac\xe5\xae\x9a.kst", // UTF-8 text
        "/Ger\xe4t.kst",                                                // Latin-1
        "\xc3",                                                         // a sequence cut short
        "\xed\xa0\x80\xed\xb0\x80",          // surrogates written as UTF-8
        "\xc0\xaf\xe0\x80\xaf",              // overlong forms
        "\xf4\x90\x80\x80 \xf0\x9f\x98\x80", // above U+10FFFF, then an emoji
        "\xed\xb2\x80",                      // the escape of 0x80 itself, as UTF-8
        "\xef\xbb\xbf/Device1.kst",          // a byte order mark, at the start
        "\xff\xef\xbb\xbf",                  // and after a byte that is not UTF-8
    };
    for (const QByteArray& bytes : samples) {
        EXPECT_EQ(fileNameBytes(fileNameFromBytes(bytes)), bytes) << bytes.toHex().constData();
    }
    EXPECT_EQ(fileNameFromBytes(samples[1]), QFile::decodeName(samples[1]));
    EXPECT_EQ(fileNameBytes(QFile::decodeName(samples[1])), samples[1]);

    auto* random = QRandomGenerator::global();
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(static_cast<qsizetype>(random->bounded(1, 24)), Qt::Uninitialized);
        for (char& b : bytes)
            b = static_cast<char>(random->bounded(256));
        ASSERT_EQ(fileNameBytes(fileNameFromBytes(bytes)), bytes) << bytes.toHex().constData();
    }
}

TEST(FileNames, FilesAreFoundCreatedAndRenamedByTheirBytes) {
    QTemporaryDir dir;
    const QString folder = fileNameFromBytes(QFile::encodeName(dir.path()));
    const QString latin = folder + fileNameFromBytes("/Ger\xe4t.kst");
    QString reason;
    EXPECT_EQ(pathKind(latin), PathKind::Missing);
    ASSERT_TRUE(createNewFile(latin, reason)) << reason.toStdString();
    EXPECT_EQ(pathKind(latin), PathKind::File);
    EXPECT_FALSE(createNewFile(latin, reason));
    EXPECT_EQ(pathKind(folder), PathKind::Folder);
    EXPECT_EQ(readFileStart(latin, 100, reason), QByteArray());

    // A rename never replaces a file that is there.
    const QString other = folder + "/other.kst";
    ASSERT_TRUE(createNewFile(other, reason));
    EXPECT_FALSE(renameFile(latin, other, reason));
    EXPECT_EQ(pathKind(latin), PathKind::File);
    EXPECT_TRUE(removeFile(other));
    EXPECT_TRUE(renameFile(latin, other, reason));
    EXPECT_EQ(pathKind(latin), PathKind::Missing);

    ASSERT_TRUE(QFile::link(folder + "/nowhere", folder + "/link.kst"));
    EXPECT_TRUE(isDanglingLink(folder + "/link.kst"));
    EXPECT_FALSE(isDanglingLink(other));
}
