#include "profile_files.h"

#include "platform/db/recordset.h"
#include "platform/file_hold.h"
#include "platform/file_names.h"
#include "platform/runtime_error.h"
#include "profile_readers.h"
#include "profile_schema.h"
#include "profile_validation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <memory>

namespace kst {

namespace {

[[noreturn]] void fail(int number, const QString& description) {
    throw RunTimeError(number, description);
}

// The whole profile, which must be a file: a pipe put in its place is not waited on.
QByteArray readWhole(const QString& path) {
    ReadableFile file(path);
    const std::unique_ptr<QFile> opened = file.take();
    if (!opened)
        fail(err::PathNotFound,
             QString("The profile '%1' cannot be read: %2").arg(path, file.reason()));
    return opened->readAll();
}

// The work files are named so, beside the file they become; QTemporaryFile puts letters
// and digits in place of the Xs. The database engine keeps its journal beside one while
// it writes to it.
const QString WorkFileTemplate = QStringLiteral(".kestrelon-XXXXXX.part");
const QString JournalSuffix = QStringLiteral("-journal");

const QRegularExpression& workFileName() {
    static const QRegularExpression name(QStringLiteral(R"(^\.kestrelon-[A-Za-z0-9]{6}\.part$)"));
    return name;
}

// A file itself, not a link to one.
bool isPlainFile(const QString& path) {
    const QFileInfo info(path);
    return !info.isSymLink() && info.isFile();
}

// A new file beside `target` holding `bytes`; removed again when it goes out of scope
// unless it was moved into the target's place. The system makes it for its owner alone;
// as it is put in place it takes the permissions of the file it replaces (of `source`
// when there is none), so a profile shared with others stays shared. It is held for as
// long as it exists under its own name, so that another instance starting meanwhile
// does not take it for a leftover (RemoveAbandonedWorkFiles).
class FileBeside {
public:
    FileBeside(const QString& target, const QString& source, const QByteArray& bytes)
        : permissions_(
              (QFileInfo::exists(target) ? QFileInfo(target) : QFileInfo(source)).permissions()) {
        const QString pattern = QFileInfo(target).absolutePath() + '/' + WorkFileTemplate;
        // Another instance's start-up can remove a new file before it is held: one more
        // name then.
        for (int attempt = 0; !file_; ++attempt) {
            auto file = std::make_unique<QTemporaryFile>(pattern);
            if (!file->open())
                cannotWrite(target, file->errorString());
            if (holdOpenFile(static_cast<int>(file->handle()), file->fileName())) {
                file_ = std::move(file);
            } else {
                file->setAutoRemove(false); // the name is no longer this file's
                if (attempt == 3)
                    cannotWrite(target, QStringLiteral("its work file was taken away"));
            }
        }
        // The file stays open, and so held, until it is replaced or removed.
        if (file_->write(bytes) != bytes.size() || !file_->flush())
            cannotWrite(target, file_->errorString());
    }
    QString path() const { return file_->fileName(); }
    // Puts the file in the target's place in one step: no moment without a whole target.
    void replace(const QString& target) {
        // A pipe or a device node put at the name meanwhile is not replaced by a profile.
        if (const QString notAFile = notAFileReason(target); !notAFile.isEmpty())
            fail(err::PermissionDenied,
                 QString("The profile '%1' cannot be replaced: %2").arg(target, notAFile));
        QString reason;
        if (!file_->setPermissions(permissions_))
            fail(err::PermissionDenied, QString("The profile '%1' cannot be replaced: %2")
                                            .arg(target, file_->errorString()));
        if (!replaceFile(file_->fileName(), target, reason))
            fail(err::PermissionDenied,
                 QString("The profile '%1' cannot be replaced: %2").arg(target, reason));
        // The hold ends as the file closes: nothing of the database engine has it open
        // by then, so closing it takes away no lock of the engine's.
        file_->setAutoRemove(false);
    }

private:
    [[noreturn]] static void cannotWrite(const QString& target, const QString& reason) {
        fail(err::PermissionDenied,
             QString("The profile '%1' cannot be written: %2").arg(target, reason));
    }

    QFileDevice::Permissions permissions_;
    std::unique_ptr<QTemporaryFile> file_;
};

void importTable(const ImportedColumns& table, const QString& olderPath,
                 const QString& targetPath) {
    const QString sql = QStringLiteral("SELECT * FROM ") + table.table;
    // Only read, and a table another tool trimmed is read by its remaining columns' names.
    db::ConnectionInfo older = db::ConnectionInfo::parse(profileConnStr(olderPath));
    older.acceptDroppedColumns = true;
    db::Recordset source;
    db::Recordset target;
    source.open(sql, older);
    target.open(sql, profileConnStr(targetPath));
    const int rows = source.recordCount();
    if (rows > target.recordCount()) {
        fail(err::NoCurrentRecord,
             QString("The table %1 of '%2' holds %3 rows; a profile has only %4.")
                 .arg(table.table, olderPath)
                 .arg(rows)
                 .arg(target.recordCount()));
    }
    if (rows > 0) {
        source.moveFirst();
        target.moveFirst();
    }
    for (int row = 0; row < rows; ++row) {
        // A value of the wrong kind or length is refused, not stored: it is the value that
        // is at fault, named once by its row, table and column.
        const QString place =
            QString("Row %1 of the table '%2'").arg(target.value(0).toText(), table.table);
        for (int k = 1; k <= table.lastOrdinal; ++k) {
            if (const db::Recordset::Damage* damage = source.damageAt(k))
                fail(err::ValueRefused, QString("%1 %2.").arg(place, damage->fact));
            const db::Value value = source.value(k);
            if (const std::optional<QString> why = db::columnRefusal(value, target.field(k))) {
                fail(err::ValueRefused, QString("%1 holds a value its column '%2' cannot take: %3")
                                            .arg(place, target.field(k).name, *why));
            }
            target.setValue(k, value);
        }
        source.moveNext();
        target.moveNext();
    }
    target.update();
    target.close();
    source.close();
}

} // namespace

void CopyProfileFile(const QString& source, const QString& target) {
    if (sameFile(source, target))
        fail(err::PermissionDenied,
             QString("The profile '%1' cannot be copied onto itself.").arg(source));
    FileBeside copy(target, source, readWhole(source));
    copy.replace(target);
}

void ImportOlderProfile(const QString& olderPath, const QString& currentPath,
                        const std::function<void(int)>& progress) {
    if (sameFile(olderPath, currentPath))
        fail(err::InvalidCall,
             QString("'%1' is the profile that is open: a profile is not imported into itself.")
                 .arg(olderPath));
    CheckProfileFile(olderPath, ProfileLayout::Older);
    FileBeside work(currentPath, currentPath, readWhole(currentPath));
    const std::vector<ImportedColumns>& tables = importedColumns();
    for (size_t i = 0; i < tables.size(); ++i) {
        importTable(tables[i], olderPath, work.path());
        if (progress)
            progress(static_cast<int>(100 * (i + 1) / tables.size()));
    }
    // What the columns take, the program may still not read (a Long column read as an
    // Integer): refused here, the import would end the program at the profile's next load.
    ReadEveryLoadedRow(profileConnStr(work.path()));
    work.replace(currentPath);
}

void RemoveAbandonedWorkFiles(const QString& folder) {
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral(".kestrelon-*")}, QDir::Files | QDir::Hidden | QDir::System);
    // A copy goes with its journal. A journal without its copy is left over as well: the
    // engine keeps one only while its copy is open, under the copy's name.
    for (const QString& name : names) {
        if (!workFileName().match(name).hasMatch())
            continue;
        const QString journal = dir.filePath(name + JournalSuffix);
        if (removeUnlessHeld(dir.filePath(name)) && isPlainFile(journal))
            removeFile(journal);
    }
    for (const QString& name : names) {
        if (!name.endsWith(JournalSuffix))
            continue;
        const QString copy = name.chopped(JournalSuffix.size());
        const QString journal = dir.filePath(name);
        if (workFileName().match(copy).hasMatch() && isPlainFile(journal) &&
            !QFileInfo(dir.filePath(copy)).exists() && !QFileInfo(dir.filePath(copy)).isSymLink())
            removeFile(journal);
    }
}

} // namespace kst
