#include "connection.h"

#include "errors.h"
#include "system_tables.h"

#include "platform/file_names.h"

#include <QDir>
#include <QStringList>
#include <sqlite3.h>

namespace kst::db {

namespace {

// The longest value, and so the longest row, that a connection reads or writes. The
// longest field of our files is a Memo (the user's notes), which a person types: even
// very long notes stay far below a megabyte, and every other field holds at most 255
// characters. 16 MB is far above all of them and far below what the program can hold
// in memory, so a damaged or hostile file with a huge value is refused with a message
// instead of exhausting the memory (the engine's own limit is 1 GB).
constexpr int kMaxValueBytes = 16 * 1024 * 1024;

// A commit of another program holds its lock for a few milliseconds; one that holds
// it longer is reported at once rather than freezing the window for the wait.
constexpr int kBusyWaitMs = 200;

QString engineMessage(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

// The error of an engine result code: the file and what is wrong with it. A file out
// of reach (permissions, a lock, the disk) is told apart from a file at fault.
[[noreturn]] void raiseEngineError(int code, const QString& path, const QString& message) {
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        raise(err::PermissionDenied,
              QString("The file '%1' is locked by another program.").arg(path));
    case SQLITE_READONLY:
        raise(err::PermissionDenied, QString("The file '%1' is read-only: %2").arg(path, message));
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
        raise(err::PermissionDenied,
              QString("The file '%1' cannot be opened: %2").arg(path, message));
    case SQLITE_IOERR:
    case SQLITE_FULL:
        raise(err::PathFileAccessError,
              QString("The file '%1' cannot be read or written: %2").arg(path, message));
    case SQLITE_CONSTRAINT:
        raise(err::ValueRefused, "A field refused the value: " + message);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        raise(err::CannotOpen, QString("The file '%1' is damaged: %2").arg(path, message));
    case SQLITE_TOOBIG:
        raise(err::CannotOpen, QString("The file '%1' holds a value longer than %2 MB, more than "
                                       "any field of the program's files holds.")
                                   .arg(path)
                                   .arg(kMaxValueBytes / (1024 * 1024)));
    default:
        raise(err::CannotOpen,
              QString("The database engine failed on '%1': %2").arg(path, message));
    }
}

// Looks at the file before the engine does: the engine would take an empty file for
// an empty database, and would report a foreign file only at the first query.
// Nor does anything but a file reach the engine: a named pipe would hold the window in
// the engine's open or read until another program wrote to it.
void checkFileIsOurs(const QString& path) {
    ReadableFile file(path);
    const std::optional<QByteArray> header = file.read(100);
    switch (file.problem()) {
    case ReadableFile::Problem::None:
        break;
    case ReadableFile::Problem::Missing:
    case ReadableFile::Problem::NotAFile:
        raise(err::CannotOpen, file.reason());
    case ReadableFile::Problem::CannotOpen:
        raise(err::PermissionDenied, file.reason());
    }
    if (header->size() < 100 || !header->startsWith(QByteArray("SQLite format 3", 16)))
        raiseUnrecognized(path);
    const auto byteAt = [&](int i) {
        return static_cast<quint32>(static_cast<quint8>(header->at(i)));
    };
    const quint32 applicationId =
        byteAt(68) << 24 | byteAt(69) << 16 | byteAt(70) << 8 | byteAt(71);
    if (applicationId != kApplicationId)
        raiseUnrecognized(path);
}

// Nothing stored in a file runs on our connections: no trigger fires, no view is
// read, the schema is not trusted to call functions with side effects, no extension
// is loaded and no other database is attached. Our files hold none of these (a file
// that does is refused, see verifyFile); this keeps a file that slips past
// that check inert as well. An engine that cannot be set up so opens nothing.
void makeDefensive(sqlite3* db, const QString& path) {
    const std::pair<int, int> settings[] = {
        {SQLITE_DBCONFIG_DEFENSIVE, 1},
        {SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0},
        {SQLITE_DBCONFIG_ENABLE_TRIGGER, 0},
        {SQLITE_DBCONFIG_ENABLE_VIEW, 0},
        {SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0},
    };
    for (const auto& [option, value] : settings) {
        int inForce = -1;
        if (sqlite3_db_config(db, option, value, &inForce) != SQLITE_OK || inForce != value) {
            raise(err::CannotOpen,
                  QString("The file '%1' cannot be opened safely: the database engine does not "
                          "support its protective settings.")
                      .arg(path));
        }
    }
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
}

sqlite3* openHandle(const QString& path, int flags) {
    // A name that starts with "file:" would be read as a URI with options of its own.
    const QByteArray name = fileNameBytes(QDir::isRelativePath(path) ? "./" + path : path);
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = engineMessage(db);
        sqlite3_close(db);
        raiseEngineError(rc, path, message);
    }
    try {
        makeDefensive(db, path);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyWaitMs);
    return db;
}

} // namespace

Connection Connection::open(const ConnectionInfo& info) {
    checkFileIsOurs(info.dataSource);
    sqlite3* db = nullptr;
    if (info.readOnly || info.acceptDroppedColumns) {
        db = openHandle(info.dataSource, SQLITE_OPEN_READONLY);
    } else {
        try {
            db = openHandle(info.dataSource, SQLITE_OPEN_READWRITE);
        } catch (const RunTimeError&) {
            // A read-only file still opens; its writes fail when they happen.
            db = openHandle(info.dataSource, SQLITE_OPEN_READONLY);
        }
    }
    Connection connection(db, info.dataSource, info.acceptDroppedColumns);
    verifyFile(connection, info.password);
    return connection;
}

Connection Connection::create(const ConnectionInfo& info) {
    const QString& path = info.dataSource;
    // Exclusive creation: the file is ours only if this call made it.
    switch (pathKind(path)) {
    case PathKind::Missing:
        break;
    case PathKind::Folder:
        raise(err::DatabaseExists,
              QString("The database '%1' cannot be created: a folder of that name is in the way.")
                  .arg(path));
    default:
        raise(err::DatabaseExists, QString("Database '%1' already exists.").arg(path));
    }
    QString reason;
    if (!createNewFile(path, reason)) {
        raise(err::CannotOpen, QString("The file '%1' cannot be created: %2").arg(path, reason));
    }
    try {
        Connection connection(openHandle(path, SQLITE_OPEN_READWRITE), path);
        initializeSystemTables(connection, info.password);
        return connection;
    } catch (...) {
        removeFile(path);
        throw;
    }
}

Connection::Connection(Connection&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_)),
      acceptsDroppedColumns_(other.acceptsDroppedColumns_) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        sqlite3_close_v2(db_);
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
        acceptsDroppedColumns_ = other.acceptsDroppedColumns_;
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
    raiseEngineError(code, path_, engineMessage(db_));
}

void Connection::checkIntegrity() {
    {
        // The first problem is enough to refuse the file; the check stops there.
        Statement check(*this, "PRAGMA quick_check(1)");
        check.step();
        const QString result = check.columnText(0);
        if (result != QLatin1String("ok"))
            raise(err::CannotOpen, QString("The file '%1' is damaged: %2").arg(path_, result));
    }
    // A value over the length limit needs more bytes than the limit: in a smaller file
    // there is none, and nothing more needs to be read.
    Statement size(*this,
                   "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()");
    size.step();
    if (size.columnInteger(0) <= kMaxValueBytes)
        return;
    QStringList tables;
    {
        Statement st(*this, "SELECT name FROM sqlite_master WHERE type = 'table'");
        while (st.step())
            tables << st.columnText(0);
    }
    for (const QString& table : tables) {
        Statement rows(*this, "SELECT * FROM " + quoteIdentifier(table));
        while (rows.step()) {
        }
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
    if ((rc & 0xff) == SQLITE_TOOBIG)
        raise(err::ValueRefused, "A field refused the value: it is longer than any field holds.");
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

Statement::Stored Statement::columnStored(int index) const {
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_INTEGER:
        return Stored::Integer;
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt_, index) ==
                       static_cast<double>(sqlite3_column_int64(stmt_, index))
                   ? Stored::Integer
                   : Stored::Fraction;
    case SQLITE_TEXT:
        return Stored::Text;
    case SQLITE_BLOB:
        return Stored::Blob;
    default:
        return Stored::Null;
    }
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
