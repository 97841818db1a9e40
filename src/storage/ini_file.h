#pragma once

#include <QString>

namespace kst {

// True when the path names a file whose length can be read; false for an empty path,
// a missing file, a folder or a file that cannot be reached. Never fails.
bool FileExists(const QString& path);

// The part of a path after its last folder separator; the whole path when it has none.
QString fileTitleOf(const QString& path);

// kst.ini in the program folder: two lines ended by CR LF, the full path of the last
// profile and a flag that nothing reads. The path is kept as the bytes the system
// gives for it (see fileNameBytes), whether or not they are UTF-8. Every write replaces the whole
// file at once (a temporary file renamed over the old one), so a failure or a crash in the middle
// never leaves a truncated or one-line file behind.
class IniFile {
public:
    explicit IniFile(QString programFolder);

    const QString& programFolder() const { return programFolder_; }
    QString iniPath() const;
    QString defaultProfilePath() const;
    static QString defaultProfileTitle() { return QStringLiteral("Device1.kst"); }

    // Writes the default content: the default profile's path and "1". A failure is
    // raised to the caller as a RunTimeError that names the file and the cause.
    void Create_File() const;

    // Records a profile path with the flag as a printed number (" 0 "). A failure shows
    // the "SaveText Error" box and leaves the previous file as it was.
    void WriteIniFile(const QString& profilePath, int flag);

    // Reads the file (writing the default content first when it is missing) into
    // IniLines, SettingsPath and SettingsFileName. A failure, a third line included,
    // shows the "LoadText Error" box and keeps the previous values.
    void ReadIniFile();

    const QString& SettingsPath() const { return settingsPath_; }
    // SettingsPath as a file to open: a relative path (written by hand) counts from the
    // program folder, not from wherever the program was started.
    QString settingsFile() const;
    const QString& SettingsFileName() const { return settingsFileName_; }
    const QString& IniLine(int index) const { return iniLines_[index == 0 ? 0 : 1]; }
    // The flag the profile load records; nothing in the program assigns it.
    int IniFlag() const { return iniFlag_; }

    // Names the open profile: a load names the profile it opens, whatever the file could
    // record or give back.
    void setSettings(const QString& path, const QString& fileName);

    // A number as a print statement writes it: a blank (or the sign), the digits, a blank.
    static QString printedNumber(int value);

private:
    QString programFolder_;
    QString iniLines_[2];
    int iniFlag_ = 0;
    QString settingsPath_;
    QString settingsFileName_;
};

} // namespace kst
