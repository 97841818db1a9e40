#pragma once

#include "connection_string.h"
#include "value.h"

#include <QString>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace kst::db {

class Connection;

// One prepared SQL statement; finalized when it goes out of scope.
class Statement {
public:
    Statement(Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 1, as SQLite numbers them.
    Statement& bind(int index, const Value& value);
    // True while a row is available; false when done. Errors raise.
    bool step();
    void reset();

    bool columnIsNull(int index) const;
    // What the file holds in a column of the current row: SQLite keeps any value in
    // any column, whatever the column was made for.
    enum class Stored { Null, Integer, Fraction, Text, Blob };
    Stored columnStored(int index) const;
    qint64 columnInteger(int index) const;
    QString columnText(int index) const;

private:
    Connection& connection_;
    sqlite3_stmt* stmt_ = nullptr;
};

// An open database file of ours. Opening checks that the file exists, is one of our
// databases, that the password matches and that it holds nothing but tables; it never
// creates a file. Nothing stored in a file runs on a connection (no trigger, view,
// untrusted function or extension), and no value longer than 16 MB is read or written.
// `create` makes a new file and refuses one that exists. Move-only; closes the file
// when destroyed.
class Connection {
public:
    static Connection open(const ConnectionInfo& info);
    static Connection create(const ConnectionInfo& info);

    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    const QString& path() const { return path_; }
    // Whether a table from which columns were dropped opens (ConnectionInfo).
    bool acceptsDroppedColumns() const { return acceptsDroppedColumns_; }
    void exec(const QString& sql);
    qint64 lastInsertRowId() const;
    int changes() const;

    // Reads the whole file once and raises err::CannotOpen, naming the first problem,
    // when it is damaged or holds a value over the length limit. It costs a read of the
    // file, so it is for the first opening of a file, not for every access.
    void checkIntegrity();

    sqlite3* handle() const { return db_; }
    // Raises the layer's error for an SQLite result code, with the engine's message.
    [[noreturn]] void fail(int code) const;

private:
    Connection(sqlite3* db, QString path, bool acceptsDroppedColumns = false)
        : db_(db), path_(std::move(path)), acceptsDroppedColumns_(acceptsDroppedColumns) {}

    sqlite3* db_ = nullptr;
    QString path_;
    bool acceptsDroppedColumns_ = false;
};

// Runs a group of statements as one transaction: rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    bool done_ = false;
};

} // namespace kst::db
