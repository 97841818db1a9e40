#include "platform/file_names.h"
#include "platform/runtime_error.h"
#include "platform/whole_file.h"
#include "support/guarded_fifo.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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
    EXPECT_EQ(ReadableFile(latin).read(100), QByteArray());

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

namespace {

// A socket bound at `path`, as a program that listens there leaves it.
class BoundSocket {
public:
    explicit BoundSocket(const QString& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = fileNameBytes(path);
        std::memcpy(address.sun_path, name.constData(),
                    std::min(sizeof(address.sun_path) - 1, static_cast<size_t>(name.size())));
        bound_ = ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    }
    ~BoundSocket() { ::close(fd_); }
    bool bound() const { return bound_; }

private:
    int fd_;
    bool bound_ = false;
};

} // namespace

// Only a file is read or written by the name a user chose; anything else is refused at
// once, with a reason that names it and says what it is.
TEST(FileNames, OnlyAFileIsOpenedAndNothingElseMakesTheCallerWait) {
    QTemporaryDir dir;
    const QString folder = dir.path();
    const auto at = [&](const char* name) { return folder + '/' + QLatin1String(name); };
    QFile file(at("log.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("abc");
    file.close();
    ASSERT_TRUE(QFile::link(at("log.txt"), at("link.txt")));
    ASSERT_TRUE(QFile::link(at("nowhere"), at("dangling.txt")));
    ASSERT_TRUE(QDir(folder).mkdir("folder.txt"));
    test::GuardedFifo fifo(at("fifo.txt"));
    ASSERT_TRUE(fifo.made());
    ASSERT_TRUE(QFile::link(at("fifo.txt"), at("fifo-link.txt")));
    const BoundSocket socket(at("socket.txt"));
    ASSERT_TRUE(socket.bound());

    using Problem = ReadableFile::Problem;
    const struct {
        const char* kind;
        QString path;
        Problem problem;
        const char* reason; // what the refusal says after the name
    } cases[] = {
        {"a file", at("log.txt"), Problem::None, ""},
        {"a link to a file", at("link.txt"), Problem::None, ""},
        {"nothing", at("missing.txt"), Problem::Missing, ""},
        {"a link to nothing", at("dangling.txt"), Problem::Missing, ""},
        {"a folder", at("folder.txt"), Problem::NotAFile, "' is a folder, not a file."},
        {"a named pipe", at("fifo.txt"), Problem::NotAFile,
         "' is a named pipe (FIFO), not a file."},
        {"a link to a named pipe", at("fifo-link.txt"), Problem::NotAFile,
         "' is a named pipe (FIFO), not a file."},
        {"a device", "/dev/null", Problem::NotAFile, "' is a device, not a file."},
        {"a socket", at("socket.txt"), Problem::NotAFile, "' is a socket, not a file."},
    };
    for (const auto& c : cases) {
        ReadableFile opened(c.path);
        EXPECT_EQ(opened.problem(), c.problem) << c.kind;
        EXPECT_EQ(opened.isOpen(), c.problem == Problem::None) << c.kind;
        if (c.problem == Problem::None) {
            EXPECT_EQ(opened.read(100), QByteArray("abc")) << c.kind;
            EXPECT_TRUE(notAFileReason(c.path).isEmpty()) << c.kind;
            continue;
        }
        EXPECT_EQ(opened.read(100), std::nullopt) << c.kind;
        EXPECT_EQ(opened.take(), nullptr) << c.kind;
        if (c.problem == Problem::NotAFile) {
            EXPECT_EQ(opened.reason(), "'" + c.path + QLatin1String(c.reason)) << c.kind;
            EXPECT_EQ(notAFileReason(c.path), opened.reason()) << c.kind;
        } else {
            EXPECT_EQ(opened.reason(), "Could not find file '" + c.path + "'.") << c.kind;
            EXPECT_TRUE(notAFileReason(c.path).isEmpty()) << c.kind;
        }
        // Nor is a file written in its place (never tried on the system's own device).
        if (c.problem == Problem::NotAFile && !c.path.startsWith("/dev/")) {
            try {
                WriteWholeFile(c.path, "log");
                ADD_FAILURE() << c.kind << " was replaced by a file";
            } catch (const RunTimeError& e) {
                EXPECT_EQ(e.number(), err::PermissionDenied) << c.kind;
                EXPECT_TRUE(e.description().endsWith(opened.reason())) << c.kind;
            }
            EXPECT_EQ(pathKind(c.path),
                      c.path.contains("folder") ? PathKind::Folder : PathKind::Other)
                << c.kind << " is still there";
        }
    }
    EXPECT_FALSE(fifo.readerWaited()) << "the named pipe was opened to be read";
    // What was opened is handed over as a file to read on.
    ReadableFile log(at("link.txt"));
    const std::unique_ptr<QFile> taken = log.take();
    ASSERT_NE(taken, nullptr);
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(taken->readAll(), "abc");
}

TEST(FileNames, TheSameFileIsKnownUnderEveryNameOfIt) {
    QTemporaryDir dir;
    const QString profile = dir.filePath("Device1.kst");
    QFile file(profile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QFile::link(profile, dir.filePath("link.kst")));
    ASSERT_EQ(::link(QFile::encodeName(profile).constData(),
                     QFile::encodeName(dir.filePath("hard.kst")).constData()),
              0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    QFile other(dir.filePath("other.kst"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    const struct {
        QString name;
        bool same;
    } cases[] = {
        {profile, true},
        {dir.filePath("link.kst"), true},
        {dir.filePath("hard.kst"), true},
        {dir.filePath("sub/../Device1.kst"), true},
        {dir.filePath("other.kst"), false},
        {dir.filePath("missing.kst"), false},
        {QString(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sameFile(c.name, profile), c.same) << c.name.toStdString();
}
