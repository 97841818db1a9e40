#include "app/profiles/log_loader.h"

#include "notation/line_codec.h"
#include "notation/view/styled_log.h"
#include "platform/services.h"

#include <QProgressDialog>
#include <QStringDecoder>

namespace kst {

namespace {

// A load that takes longer than this shows its progress.
constexpr int MomentMs = 400;
constexpr int ProgressSteps = 1000;

// Where a piece of UTF-8 may be cut: not inside a character's sequence of bytes.
qsizetype utf8Cut(QByteArrayView bytes) {
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= qMin<qsizetype>(3, size); ++back) {
        const uchar c = static_cast<uchar>(bytes[size - back]);
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for its lead
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

} // namespace

LogLoader::LogLoader(StyledLog& log, Scheduler& scheduler, QWidget* window, Pace pace)
    : log_(log), scheduler_(scheduler), pace_(pace), window_(window) {}

LogLoader::~LogLoader() {
    next_.cancel();
    delete progress_;
}

void LogLoader::start(std::unique_ptr<QFile> file, const QString& name) {
    if (running())
        cancel();
    file_ = std::move(file);
    name_ = name;
    form_ = Form::Unknown;
    store_ = log_.newStore();
    plainStyle_ = store_.styleId(log_.plainStyle());
    rtf_.reset();
    utf8Carry_.clear();
    firstPiece_ = true;
    started_.start();
    log_.hold();
    slice();
}

void LogLoader::cancel() {
    if (!running())
        return;
    stop();
    log_.release();
}

void LogLoader::stop() {
    next_.cancel();
    file_.reset();
    store_.clear();
    rtf_.reset();
    if (progress_)
        progress_->deleteLater();
    progress_ = nullptr;
}

void LogLoader::slice() {
    QElapsedTimer took;
    took.start();
    for (int pieces = 0; pieces < pace_.piecesPerSlice && took.elapsed() < pace_.sliceMs;
         ++pieces) {
        if (!readPiece())
            return;
    }
    showProgress();
    next_ = scheduler_.after(0, [this] { slice(); });
}

void LogLoader::showProgress() {
    if (!progress_) {
        progress_ = new QProgressDialog(QStringLiteral("Loading the log file %1 ...").arg(name_),
                                        QStringLiteral("Cancel"), 0, ProgressSteps, window_);
        progress_->setWindowTitle(QStringLiteral("Open Log"));
        // Not modal: a modal progress box would run the event loop itself on every step.
        progress_->setWindowModality(Qt::NonModal);
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        progress_->setMinimumDuration(qMax(0, MomentMs - int(started_.elapsed())));
        QObject::connect(progress_, &QProgressDialog::canceled, progress_, [this] { cancel(); });
    }
    const qint64 size = qMax<qint64>(1, file_->size());
    progress_->setValue(int(file_->pos() * ProgressSteps / size));
}

bool LogLoader::readPiece() {
    QByteArray bytes = file_->read(pace_.pieceBytes);
    if (bytes.isEmpty() && file_->error() != QFileDevice::NoError) {
        fail(QStringLiteral("The log file %1 could not be read: %2; the log was left as it was.")
                 .arg(name_, file_->errorString()));
        return false;
    }
    const bool last = file_->atEnd() || bytes.isEmpty();
    if (form_ == Form::Unknown)
        form_ = IsRtf(bytes) ? Form::Rtf : Form::Utf8;
    switch (form_) {
    case Form::Rtf: {
        if (!rtf_)
            rtf_ = std::make_unique<RtfReader>();
        rtf_->read(bytes, last);
        for (const StyledRun& run : rtf_->takeRuns()) {
            if (!append(run.text, store_.styleId(run.style)))
                return false;
        }
        if (rtf_->failed() || (last && !rtf_->complete())) {
            fail(QStringLiteral("The log file %1 is damaged rich text; the log was left as it "
                                "was.")
                     .arg(name_));
            return false;
        }
        break;
    }
    case Form::Utf8: {
        // Text as UTF-8 when it is valid UTF-8 (what this program writes; the decoder
        // drops a leading byte-order mark), otherwise, from the start again, as the code
        // page of the line.
        bytes.prepend(std::exchange(utf8Carry_, QByteArray()));
        const qsizetype cut = last ? bytes.size() : utf8Cut(bytes);
        utf8Carry_ = bytes.sliced(cut);
        QStringDecoder utf8(QStringDecoder::Utf8,
                            firstPiece_ ? QStringDecoder::Flag::Stateless
                                        : QStringDecoder::Flag::Stateless |
                                              QStringDecoder::Flag::ConvertInitialBom);
        const QString text = utf8.decode(QByteArrayView(bytes).first(cut));
        if (utf8.hasError()) {
            form_ = Form::CodePage;
            store_ = log_.newStore();
            plainStyle_ = store_.styleId(log_.plainStyle());
            utf8Carry_.clear();
            file_->seek(0);
            return true;
        }
        if (!append(text, plainStyle_))
            return false;
        break;
    }
    case Form::CodePage:
        if (!append(LineCodec::toText(bytes), plainStyle_))
            return false;
        break;
    case Form::Unknown:
        break;
    }
    firstPiece_ = false;
    if (last) {
        finish();
        return false;
    }
    return true;
}

bool LogLoader::append(const QString& text, LogStore::StyleId style) {
    if (store_.append(text, style))
        return true;
    fail(QStringLiteral("The log file %1 is too large for the memory left; the log was left as "
                        "it was.")
             .arg(name_));
    return false;
}

void LogLoader::finish() {
    LogStore loaded = std::move(store_);
    stop();
    log_.adopt(std::move(loaded));
}

void LogLoader::fail(const QString& message) {
    stop();
    log_.release();
    msgBox(message, MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("Open Log Error:"));
}

} // namespace kst
