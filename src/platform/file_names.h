#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kst {

// File names as the system keeps them: bytes. They are UTF-8 on this system, but a name
// made under another encoding, or copied from elsewhere, need not be. Qt turns such
// bytes into U+FFFD and so loses the file. These keep each byte that is not part of
// UTF-8 text as a code point of its own (U+DC80 to U+DCFF, which no UTF-8 text holds),
// so a name read from kst.ini or from the system reaches the system again byte for byte.
// For UTF-8 names they are QFile::encodeName and QFile::decodeName.
QString fileNameFromBytes(const QByteArray& bytes);
QByteArray fileNameBytes(const QString& name);

// The file operations that take such names. Each follows links, as opening does.
enum class PathKind { Missing, File, Folder, Other };
PathKind pathKind(const QString& path);
// Whether the path is a link whose target does not exist.
bool isDanglingLink(const QString& path);

// Up to `size` bytes from the start of a file; nothing, and the system's reason in
// `error`, when it cannot be read.
std::optional<QByteArray> readFileStart(const QString& path, qint64 size, QString& error);
// Creates an empty file that did not exist; false, and the reason, otherwise.
bool createNewFile(const QString& path, QString& error);
bool removeFile(const QString& path);
// Renames without replacing: false, and the reason, when `to` exists or the rename fails.
bool renameFile(const QString& from, const QString& to, QString& error);
// Renames over `to` in one step, so there is no moment without a whole `to`.
bool replaceFile(const QString& from, const QString& to, QString& error);

} // namespace kst
