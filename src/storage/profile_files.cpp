#include "profile_files.h"

#include "platform/db/recordset.h"
#include "platform/file_names.h"
#include "platform/runtime_error.h"
#include "profile_schema.h"
#include "profile_validation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace kst {

namespace {

[[noreturn]] void fail(int number, const QString& description) {
    throw RunTimeError(number, description);
}

bool sameFile(const QString& a, const QString& b) {
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}

QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(err::PathNotFound,
             QString("The profile '%1' cannot be read: %2").arg(path, file.errorString()));
    return file.readAll();
}

// A new file beside `target` holding `bytes`; removed again when it goes out of scope
// unless it was moved into the target's place. The system makes it for its owner alone;
// as it is put in place it takes the permissions of the file it replaces (of `source`
// when there is none), so a profile shared with others stays shared.
class FileBeside {
public:
    FileBeside(const QString& target, const QString& source, const QByteArray& bytes)
        : file_(QFileInfo(target).absolutePath() + QStringLiteral("/.kestrelon-XXXXXX.part")),
          permissions_(
              (QFileInfo::exists(target) ? QFileInfo(target) : QFileInfo(source)).permissions()) {
        if (!file_.open() || file_.write(bytes) != bytes.size() || !file_.flush())
            fail(
                err::PermissionDenied,
                QString("The profile '%1' cannot be written: %2").arg(target, file_.errorString()));
        file_.close();
    }
    QString path() const { return file_.fileName(); }
    // Puts the file in the target's place in one step: no moment without a whole target.
    void replace(const QString& target) {
        QString reason;
        if (!file_.setPermissions(permissions_))
            fail(err::PermissionDenied, QString("The profile '%1' cannot be replaced: %2")
                                            .arg(target, file_.errorString()));
        if (!replaceFile(file_.fileName(), target, reason))
            fail(err::PermissionDenied,
                 QString("The profile '%1' cannot be replaced: %2").arg(target, reason));
        file_.setAutoRemove(false);
    }

private:
    QTemporaryFile file_;
    QFileDevice::Permissions permissions_;
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
        // A value of the wrong kind or length is refused by the column, not stored.
        for (int k = 1; k <= table.lastOrdinal; ++k)
            target.setValue(k, source.value(k));
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
    work.replace(currentPath);
}

} // namespace kst
