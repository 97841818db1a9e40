#include "ini_file.h"

#include "platform/runtime_error.h"
#include "platform/services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

namespace kst {

namespace {

// Paths are stored in the file as the system writes file names (the local 8-bit encoding).
QByteArray pathBytes(const QString& path) {
    return QFile::encodeName(path);
}

void writeWholeFile(const QString& path, const QByteArray& bytes) {
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw RunTimeError(err::PathNotFound);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw RunTimeError(err::PermissionDenied);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw RunTimeError(err::PathFileAccessError);
}

// Lines end with CR LF; a lone CR or LF ends one as well, so a file edited by hand
// reads the same. A last line without an ending counts like any other.
QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    QByteArray current;
    bool open = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines << current;
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            current += c;
            open = true;
        }
    }
    if (open)
        lines << current;
    return lines;
}

} // namespace

bool FileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    return QFileInfo(path).isFile();
}

QString fileTitleOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

IniFile::IniFile(QString programFolder) : programFolder_(std::move(programFolder)) {}

QString IniFile::iniPath() const {
    return programFolder_ + QStringLiteral("/kst.ini");
}

QString IniFile::defaultProfilePath() const {
    return programFolder_ + QStringLiteral("/Devices/") + defaultProfileTitle();
}

QString IniFile::printedNumber(int value) {
    return (value < 0 ? QString() : QStringLiteral(" ")) + QString::number(value) +
           QStringLiteral(" ");
}

QByteArray IniFile::contentFor(const QString& profilePath, const QString& flagText) {
    return pathBytes(profilePath) + "\r\n" + flagText.toLatin1() + "\r\n";
}

void IniFile::Create_File() const {
    writeWholeFile(iniPath(), contentFor(defaultProfilePath(), QStringLiteral("1")));
}

void IniFile::WriteIniFile(const QString& profilePath, int flag) {
    try {
        if (!FileExists(iniPath()))
            Create_File();
        writeWholeFile(iniPath(), contentFor(profilePath, printedNumber(flag)));
    } catch (const RunTimeError& e) {
        msgBox(e.description(), MsgIcon::Critical, MsgButtons::Ok,
               QStringLiteral("SaveText Error"));
    }
}

void IniFile::ReadIniFile() {
    try {
        if (!FileExists(iniPath()))
            Create_File();
        QFile file(iniPath());
        if (!file.open(QIODevice::ReadOnly))
            throw RunTimeError(err::PermissionDenied);
        const QList<QByteArray> lines = splitLines(file.readAll());
        file.close();
        if (lines.size() > 2)
            throw RunTimeError(err::SubscriptOutOfRange);
        // An empty file reads no line and keeps what the last read found.
        for (qsizetype i = 0; i < lines.size(); ++i)
            iniLines_[i] = QFile::decodeName(lines[i]);
        settingsPath_ = iniLines_[0];
        settingsFileName_ = fileTitleOf(settingsPath_);
    } catch (const RunTimeError& e) {
        msgBox(e.description(), MsgIcon::Critical, MsgButtons::Ok,
               QStringLiteral("LoadText Error"));
    }
}

void IniFile::setSettings(const QString& path, const QString& fileName) {
    settingsPath_ = path;
    settingsFileName_ = fileName;
}

} // namespace kst
