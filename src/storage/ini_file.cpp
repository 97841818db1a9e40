#include "ini_file.h"

#include "platform/file_names.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "platform/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

namespace kst {

namespace {

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

// The bytes of the file as it records a profile path with a flag.
QByteArray contentFor(const QString& profilePath, const QString& flagText) {
    return fileNameBytes(profilePath) + "\r\n" + flagText.toLatin1() + "\r\n";
}

} // namespace

bool FileExists(const QString& path) {
    return pathKind(path) == PathKind::File;
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

void IniFile::Create_File() const {
    WriteWholeFile(iniPath(), contentFor(defaultProfilePath(), QStringLiteral("1")));
}

void IniFile::WriteIniFile(const QString& profilePath, int flag) {
    try {
        if (!FileExists(iniPath()))
            Create_File();
        // Every load records its profile, mostly the one recorded already: the file is
        // written (and flushed to the disk) only when its content changes.
        const QByteArray content = contentFor(profilePath, printedNumber(flag));
        QFile current(iniPath());
        if (current.open(QIODevice::ReadOnly) && current.readAll() == content)
            return;
        WriteWholeFile(iniPath(), content);
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
        if (!file.open(QIODevice::ReadOnly)) {
            throw RunTimeError(
                err::PermissionDenied,
                describeError(err::PermissionDenied) +
                    QString(": '%1' cannot be read: %2.").arg(iniPath(), file.errorString()));
        }
        const QList<QByteArray> lines = splitLines(file.readAll());
        file.close();
        if (lines.size() > 2)
            throw RunTimeError(err::SubscriptOutOfRange);
        // An empty file reads no line and keeps what the last read found.
        for (qsizetype i = 0; i < lines.size(); ++i)
            iniLines_[i] = fileNameFromBytes(lines[i]);
        settingsPath_ = iniLines_[0];
        settingsFileName_ = fileTitleOf(settingsPath_);
    } catch (const RunTimeError& e) {
        msgBox(e.description(), MsgIcon::Critical, MsgButtons::Ok,
               QStringLiteral("LoadText Error"));
    }
}

QString IniFile::settingsFile() const {
    if (settingsPath_.isEmpty() || !QDir::isRelativePath(settingsPath_))
        return settingsPath_;
    return QDir::cleanPath(programFolder_ + QLatin1Char('/') + settingsPath_);
}

void IniFile::setSettings(const QString& path, const QString& fileName) {
    settingsPath_ = path;
    settingsFileName_ = fileName;
}

} // namespace kst
