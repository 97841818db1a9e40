#pragma once

#include "notation/view/log_store.h"
#include "platform/scheduler.h"
#include "storage/rtf.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

namespace kst {

class StyledLog;

// Reads a log file into a store of its own a slice at a time, each slice a scheduled
// call of a few milliseconds, so the window stays live; when it takes more than a moment
// a progress box offers Cancel. The log is replaced only when the whole file was read:
// a damaged file, too little memory or Cancel leave it as it was. What is written to the
// log meanwhile follows the file's text. A small file is read before start() returns.
//
// The content decides the form: rich text (RTF) with its styles, else text as UTF-8 when
// all of it is valid UTF-8, otherwise as the single-byte code page of the line.
class LogLoader {
public:
    // How the file is read: pieces of `pieceBytes`, as many as `sliceMs` allows (and at
    // most `piecesPerSlice`) before the window's events are handled again.
    struct Pace {
        qint64 pieceBytes = qint64(512) << 10;
        int sliceMs = 12;
        int piecesPerSlice = 1 << 20;
    };

    LogLoader(StyledLog& log, Scheduler& scheduler, QWidget* window, Pace pace);
    LogLoader(StyledLog& log, Scheduler& scheduler, QWidget* window)
        : LogLoader(log, scheduler, window, Pace{}) {}
    ~LogLoader();

    // `file` is open for reading; `name` is how messages name it.
    void start(std::unique_ptr<QFile> file, const QString& name);
    bool running() const { return file_ != nullptr; }
    void cancel();

private:
    enum class Form { Unknown, Rtf, Utf8, CodePage };
    void slice();
    // Reads one piece of the file into the store; false when the reading ended.
    bool readPiece();
    bool append(const QString& text, LogStore::StyleId style);
    void finish();
    void fail(const QString& message);
    void stop();
    void showProgress();

    StyledLog& log_;
    Scheduler& scheduler_;
    Pace pace_;
    QPointer<QWidget> window_;
    std::unique_ptr<QFile> file_;
    QString name_;
    Form form_ = Form::Unknown;
    LogStore store_;
    LogStore::StyleId plainStyle_ = 0;
    std::unique_ptr<RtfReader> rtf_;
    QByteArray utf8Carry_;
    bool firstPiece_ = true;
    TimerHandle next_;
    QElapsedTimer started_;
    QPointer<QProgressDialog> progress_;
};

} // namespace kst
