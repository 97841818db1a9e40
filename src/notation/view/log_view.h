#pragma once

#include "copied_log.h"
#include "log_store.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QHash>
#include <QTextCharFormat>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

class QTextLayout;

namespace kst {

// Shows a LogStore: lays out, shapes and paints only the rows on screen (wrapped at the
// view's width), keeping the layouts of the last rows it showed. The user reads, scrolls,
// selects with the mouse and the keyboard, copies and selects all; nothing is edited.
// The view holds no text of its own: its caret, selection and the search's mark are
// positions in the store.
//
// It scrolls by rows, as a rich-text view scrolls by paragraphs: the scroll bar counts
// rows and the view stands at a row and a pixel within it, so nothing ever measures the
// height of the whole log.
class LogView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit LogView(QWidget* parent = nullptr);
    ~LogView() override;

    void setStore(const LogStore* store);
    const LogStore* store() const { return store_; }

    // Text was appended to the store: the view shows the end, the caret goes there and
    // the selection goes.
    void appended();
    // The store's text was replaced or cleared: caret, selection and mark go to the start.
    void storeReset();

    qint64 caret() const { return caret_; }
    // Counts the user's placings of the caret or the selection (a click, a key, Select
    // All); the program's own (an append, select()) leave it. A change since it was last
    // read tells that the user put the caret somewhere.
    quint64 userPlacements() const { return userPlacements_; }
    bool hasSelection() const { return anchor_ != caret_; }
    qint64 selectionStart() const { return qMin(anchor_, caret_); }
    qint64 selectionEnd() const { return qMax(anchor_, caret_); }
    QString selectedText() const;
    // Selects [anchor, caret) or (caret, anchor], the caret where it ends, and scrolls it
    // into view.
    void select(qint64 anchor, qint64 caret);
    void selectAll();
    // Puts the selection on the clipboard as plain text and in the forms added, each
    // built only when it is asked for. A selection longer than MostCopiedChars is no
    // use in another program (the log can be saved instead): it is refused with a box.
    void copy() const;
    static constexpr qint64 MostCopiedChars = qint64(32) << 20;
    // A form copied text also takes (rich text).
    void addCopyFormat(CopyFormat format) { copyFormats_.push_back(std::move(format)); }
    // The text of the row the caret stands in.
    QString caretRowText() const;

    // The search's mark, shown until it is cleared.
    void setMark(qint64 from, qint64 length);
    void clearMark();
    bool hasMark() const { return markLength_ > 0; }

    void scrollToEnd();
    // Scrolls `position` to the middle of the view.
    void centerOn(qint64 position);
    bool showsEnd() const;
    // The first row shown, and the one the view ends at.
    qint64 firstShownRow() const { return topRow_; }

    // How much of the log the accessibility interface shows: the last of it when the log
    // is longer (the interface counts in 32 bits, and a reader wants no gigabytes), from
    // a line's start where one falls in it.
    static constexpr qint64 AccessibleChars = qint64(1) << 24;
    qint64 accessibleBase() const;
    // Where a character is drawn, in the viewport; an empty rectangle when not shown.
    QRect characterRect(qint64 position) const;
    // The position under a point of the viewport.
    qint64 positionAt(const QPoint& point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Shaped;
    // The row laid out at the present width; kept for the rows shown last.
    const Shaped& shaped(qint64 row) const;
    int rowHeight(qint64 row) const;
    QTextCharFormat formatOf(LogStore::StyleId style) const;
    int wrapWidth() const;
    void forgetLayouts();
    void trimLayouts() const;

    // The row and pixel the view would stand at to show the end.
    std::pair<qint64, int> endPlace() const;
    void scrollByPixels(int pixels);
    void placeTop(qint64 row, int offset);
    void syncScrollBar();
    struct BarState {
        int maximum = 0;
        int pageStep = 1;
        int value = 0;
    };
    QRect handleRect(const BarState& state) const;
    void applyBar(const BarState& state);
    int valueOfRow(qint64 row) const;
    qint64 rowOfValue(int value) const;

    // The row, the line in it and the x of a position; -1 row when the store is empty.
    struct Spot {
        qint64 row = -1;
        int column = 0;
        int line = 0;
    };
    Spot spotOf(qint64 position) const;
    // The top of a row in the viewport, when it is shown or near it (else nullopt).
    std::optional<int> rowTop(qint64 row) const;
    void ensureVisible(qint64 position);
    void moveCaret(qint64 position, bool keepAnchor);
    void movePage(int direction, bool keepAnchor);
    void selectLine(qint64 position);
    qint64 lineMove(qint64 position, int lines) const;
    qint64 lineEdge(qint64 position, bool end) const;
    void dragScroll();
    void publishSelection() const;
    void notifyAccessibility(qint64 oldLength);

    const LogStore* store_ = nullptr;
    qint64 topRow_ = 0;
    int topOffset_ = 0;
    bool settingBar_ = false;
    std::optional<BarState> pendingBar_;
    qint64 anchor_ = 0;
    qint64 caret_ = 0;
    quint64 userPlacements_ = 0;
    qint64 markFrom_ = 0;
    qint64 markLength_ = 0;
    bool dragging_ = false;
    QTimer dragTimer_;
    QPoint dragPoint_;
    // A press this soon after a double click, near it, is a triple click.
    QElapsedTimer sinceDoubleClick_;
    QPoint doubleClickPoint_;
    std::vector<CopyFormat> copyFormats_;
    qint64 knownLength_ = 0;

    mutable QHash<qint64, std::shared_ptr<Shaped>> shaped_;
    mutable quint64 useCount_ = 0;
    mutable QHash<LogStore::StyleId, QTextCharFormat> formats_;
};

} // namespace kst
