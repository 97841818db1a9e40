#pragma once

// Files changed behind the program's back, as another tool, another program or a
// damaged disk would change them: plain SQLite connections without any of the
// program's protections. Header-only: a test that includes it links the data layer.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <sqlite3.h>

namespace kst::test {

// Runs `sql` on the file at `path`; the engine's result code.
inline int sqliteExec(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open(QFile::encodeName(path).constData(), &db);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc;
}

// The page of the file that holds the root of `table`'s rows (1-based), 0 when unknown.
inline int rootPageOf(const QString& path, const QString& table) {
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    int page = 0;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = ?1", -1, &st,
                           nullptr) == SQLITE_OK) {
        const QByteArray name = table.toUtf8();
        sqlite3_bind_text(st, 1, name.constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(st) == SQLITE_ROW)
            page = sqlite3_column_int(st, 0);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return page;
}

// Overwrites bytes in place, as a damaged disk would.
inline bool overwriteBytes(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size();
}

// Another program holding the file locked for writing until it is destroyed.
class ForeignLock {
public:
    explicit ForeignLock(const QString& path) {
        sqlite3_open(QFile::encodeName(path).constData(), &db_);
        held_ = sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~ForeignLock() {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
    ForeignLock(const ForeignLock&) = delete;
    ForeignLock& operator=(const ForeignLock&) = delete;
    bool held() const { return held_; }

private:
    sqlite3* db_ = nullptr;
    bool held_ = false;
};

} // namespace kst::test
