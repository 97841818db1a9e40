#pragma once

#include "notation/display_style.h"
#include "notation/styled_run.h"

#include <QObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QString>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTimer>
#include <array>
#include <utility>
#include <vector>

namespace kst {

struct RunStyleKey {
    quint32 color = 0;
    bool bold = false, italic = false, underline = false;
    int fontSizeIndex = -1;
    bool operator==(const RunStyleKey&) const = default;
};

// Appends styled runs to the end of the log view. Runs are queued and written in one
// edit block every few milliseconds (or sooner when much is waiting), so a fast
// line costs one layout pass per burst rather than one per block, and the cost of an
// append does not grow with the size of the log. The order of runs is always kept.
class StyledLog : public QObject {
    Q_OBJECT
public:
    explicit StyledLog(QPlainTextEdit* responseBox, QObject* parent = nullptr);

    // Point size of every run: fontSizeIndex * 2 + 8 (8, 10, 12 or 14 points).
    void setFontSizeIndex(int fontSizeIndex);

    // The label run, then the body run; an empty text writes nothing. Both land at the
    // end of the log whatever the user's caret or selection, and the view follows the end.
    void Add_Color(const QString& iText, quint32 colorNo, bool Font1, bool Font2, bool Font3,
                   const QString& sText = QString(), quint32 scolorNo = 0, bool sFont1 = false,
                   bool sFont2 = false, bool sFont3 = false);
    void Add_Color(const QString& label, const DisplayStyle& labelStyle,
                   const QString& body = QString(), const DisplayStyle& bodyStyle = {});

    // Writes every queued run now.
    void flush();
    // The log as it stands with every queued run written: the one way to read it
    // (search, save), so nothing reads a log that is behind its calls.
    QTextDocument* document();
    QString plainText() { return document()->toPlainText(); }
    // Drops queued runs and empties the log.
    void clear();

    // The log as styled runs, and a log replaced by runs or by plain text (a log file
    // opened): every queued run is written or dropped first.
    std::vector<StyledRun> runs();
    void replace(const std::vector<StyledRun>& runs);
    void replace(QString plainText);
    bool hasPending() const { return !pending_.empty(); }

private:
    struct Run {
        QString text;
        QTextCharFormat format;
    };
    void queue(const QString& text, quint32 color, bool bold, bool italic, bool underline);
    QTextCharFormat formatFor(quint32 color, bool bold, bool italic, bool underline);

    // Formats of the last few styles: the log mostly alternates a label and a body style.
    std::array<std::pair<RunStyleKey, QTextCharFormat>, 4> recentFormats_;
    size_t nextRecent_ = 0;

    QPointer<QPlainTextEdit> box_;
    std::vector<Run> pending_;
    qsizetype pendingChars_ = 0;
    int fontSizeIndex_ = 0;
    QTimer flushTimer_;
};

} // namespace kst
