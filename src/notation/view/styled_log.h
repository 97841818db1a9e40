#pragma once

#include "log_store.h"
#include "log_view.h"
#include "notation/display_style.h"
#include "notation/styled_run.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <vector>

namespace kst {

// Appends styled runs to the end of the log. The runs go into the log's store at once;
// the view shows them at most every few milliseconds (at once on a quiet line), so a
// fast line costs one repaint per burst rather than one per block, and the cost of an
// append does not grow with the size of the log. The order of runs is always kept.
//
// When memory runs short the log stops growing: it says so in its last line and by
// `full`, and takes nothing more until it is cleared or replaced.
class StyledLog : public QObject {
    Q_OBJECT
public:
    explicit StyledLog(LogView* responseBox, QObject* parent = nullptr);

    // Point size of every run: fontSizeIndex * 2 + 8 (8, 10, 12 or 14 points).
    void setFontSizeIndex(int fontSizeIndex);

    // The label run, then the body run; an empty text writes nothing. Both land at the
    // end of the log whatever the user's caret or selection, and the view follows the end.
    void Add_Color(const QString& iText, quint32 colorNo, bool Font1, bool Font2, bool Font3,
                   const QString& sText = QString(), quint32 scolorNo = 0, bool sFont1 = false,
                   bool sFont2 = false, bool sFont3 = false);
    void Add_Color(const QString& label, const DisplayStyle& labelStyle,
                   const QString& body = QString(), const DisplayStyle& bodyStyle = {});

    // Shows every run written so far now.
    void flush();
    bool hasPending() const { return pendingFrom_ >= 0; }

    // The log as it stands, every run written included.
    const LogStore& store() const { return store_; }
    qint64 length() const { return store_.length(); }
    bool isEmpty() const { return store_.isEmpty(); }
    QString plainText() const { return store_.text(0, store_.length()); }
    // Empties the log.
    void clear();

    // The log as styled runs.
    std::vector<StyledRun> runs() const;
    // The style of text that comes without one (plain text opened).
    RunStyle plainStyle() const;

    // A log file being read into a store of its own: what is written meanwhile waits,
    // to follow the file's text. `adopt` replaces the log with the store read; `release`
    // keeps the log (the reading was given up or failed). Either writes what waited.
    LogStore newStore() const;
    void hold();
    void adopt(LogStore&& loaded);
    void release();
    bool holding() const { return holding_; }

    // What the store asks before it takes more memory (the system's memory by default).
    void setMemoryCheck(LogStore::MemoryCheck check);

signals:
    // The log changed at `from`: `removed` characters went and text came (text appended
    // at the end: `from` is the old length and `removed` 0).
    void changed(qint64 from, qint64 removed);
    // The log is full; `message` says so.
    void full(const QString& message);

private:
    void write(const QString& text, const RunStyle& style);
    void appended(qint64 oldLength);
    void replaced(qint64 oldLength);
    RunStyle styleOf(quint32 color, bool bold, bool italic, bool underline) const;

    QPointer<LogView> box_;
    LogStore store_;
    LogStore::MemoryCheck memoryCheck_;
    int fontSizeIndex_ = 0;
    // Where the text not yet shown begins; -1 when everything is shown.
    qint64 pendingFrom_ = -1;
    QTimer refreshTimer_;
    QElapsedTimer sinceRefresh_;
    bool holding_ = false;
    std::vector<std::pair<QString, RunStyle>> held_;
};

} // namespace kst
