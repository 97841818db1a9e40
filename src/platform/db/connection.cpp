#include "connection.h"

#include "errors.h"
#include "system_tables.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace kst::db {

namespace {

QString engineMessage(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

[[noreturn]] void raiseUnrecognized(const QString& path) {
    raise(err::CannotOpen, QString("Unrecognized database format '%1'.").arg(path));
}

// Looks at the file before the engine does: the engine would take an empty file for
// an empty database, and would report a foreign file only at the first query.
void checkFileIsOurs(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        raise(err::CannotOpen, QString("Could not find file '%1'.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        raise(err::CannotOpen,
              QString("The file '%1' cannot be opened: %2").arg(path, file.errorString()));
    }
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArray("SQLite format 3", 16)))
        raiseUnrecognized(path);
    const auto byteAt = [&](int i) { return static_cast<quint32>(static_cast<quint8>(header[i])); };
    const quint32 applicationId =
        byteAt(68) << 24 | byteAt(69) << 16 | byteAt(70) << 8 | byteAt(71);
    if (applicationId != kApplicationId)
        raiseUnrecognized(path);
}

sqlite3* openHandle(const QString& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = engineMessage(db);
        sqlite3_close(db);
        raise(err::CannotOpen, QString("The file '%1' cannot be opened: %2").arg(path, message));
    }
    sqlite3_extended_result_codes(db, 1);
    // Another recordset of the program may be writing the same file for a moment.
    sqlite3_busy_timeout(db, 5000);
    return db;
}

} // namespace

Connection Connection::open(const ConnectionInfo& info) {
    checkFileIsOurs(info.dataSource);
    sqlite3* db = nullptr;
    try {
        db = openHandle(info.dataSource, SQLITE_OPEN_READWRITE);
    } catch (const RunTimeError&) {
        // A read-only file still opens; its writes fail when they happen.
        db = openHandle(info.dataSource, SQLITE_OPEN_READONLY);
    }
    Connection connection(db, info.dataSource);
    verifyPassword(connection, info.password);
    return connection;
}

Connection Connection::create(const ConnectionInfo& info) {
    const QString& path = info.dataSource;
    // Exclusive creation: the file is ours only if this call made it.
    if (QFileInfo::exists(path))
        raise(err::DatabaseExists, QString("Database '%1' already exists.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        raise(err::CannotOpen,
              QString("The file '%1' cannot be created: %2").arg(path, file.errorString()));
    }
    file.close();
    try {
        Connection connection(openHandle(path, SQLITE_OPEN_READWRITE), path);
        initializeSystemTables(connection, info.password);
        return connection;
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

Connection::Connection(Connection&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        sqlite3_close_v2(db_);
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

Connection::~Connection() {
    sqlite3_close_v2(db_);
}

void Connection::exec(const QString& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        fail(rc);
}

qint64 Connection::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Connection::changes() const {
    return sqlite3_changes(db_);
}

void Connection::fail(int code) const {
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        raise(err::CannotOpen,
              QString("The database '%1' is in use and locked: %2").arg(path_, engineMessage(db_)));
    case SQLITE_READONLY:
        raise(err::CannotOpen,
              QString("The database '%1' is read-only: %2").arg(path_, engineMessage(db_)));
    case SQLITE_CONSTRAINT:
        raise(err::ValueRefused, "A field refused the value: " + engineMessage(db_));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        raiseUnrecognized(path_);
    default:
        raise(err::CannotOpen,
              QString("The database engine failed on '%1': %2").arg(path_, engineMessage(db_)));
    }
}

Statement::Statement(Connection& connection, const QString& sql) : connection_(connection) {
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(connection.handle(), text.constData(),
                                      static_cast<int>(text.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK)
        connection.fail(rc);
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    switch (value.type()) {
    case Value::Type::Null:
        rc = sqlite3_bind_null(stmt_, index);
        break;
    case Value::Type::Bool:
        rc = sqlite3_bind_int64(stmt_, index, value.toBool() ? 1 : 0);
        break;
    case Value::Type::Integer:
        rc = sqlite3_bind_int64(stmt_, index, value.toInteger());
        break;
    case Value::Type::Double:
        rc = sqlite3_bind_double(stmt_, index, value.toDouble());
        break;
    case Value::Type::Text: {
        const QByteArray utf8 = value.toText().toUtf8();
        rc = sqlite3_bind_text64(stmt_, index, utf8.constData(),
                                 static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT,
                                 SQLITE_UTF8);
        break;
    }
    }
    if (rc != SQLITE_OK)
        connection_.fail(rc);
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    connection_.fail(rc);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool Statement::columnIsNull(int index) const {
    return sqlite3_column_type(stmt_, index) == SQLITE_NULL;
}

qint64 Statement::columnInteger(int index) const {
    return sqlite3_column_int64(stmt_, index);
}

QString Statement::columnText(int index) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    const int bytes = sqlite3_column_bytes(stmt_, index);
    return QString::fromUtf8(text, bytes);
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!done_) {
        try {
            connection_.exec("ROLLBACK");
        } catch (...) {
            // The engine has rolled back already when a statement failed hard.
        }
    }
}

void Transaction::commit() {
    connection_.exec("COMMIT");
    done_ = true;
}

} // namespace kst::db
