#include "log_view.h"

#include "log_view_accessible.h"
#include "memory_check.h"
#include "platform/desktop/bgr_color.h"
#include "platform/services.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>

namespace kst {

namespace {

// The space between the text and the view's left and right edges.
constexpr int Margin = 4;
// Layouts kept beyond the rows on screen, so that scrolling back a little lays out
// nothing: at most this many, holding at most this many characters (a layout takes tens
// of bytes a character).
constexpr int KeptLayouts = 256;
constexpr qint64 KeptLayoutChars = 256 * 1024;
// The longest selection that also goes to the X selection when the mouse lets go.
constexpr qint64 LongestPublishedSelection = 1 << 20;
// Scroll bar values at most; a log of more rows is scrolled in steps of several.
constexpr qint64 MostScrollValues = qint64(1) << 30;

} // namespace

struct LogView::Shaped {
    std::unique_ptr<QTextLayout> layout;
    int length = 0;
    int height = 0;
    quint64 used = 0;
};

LogView::LogView(QWidget* parent) : QAbstractScrollArea(parent) {
    installLogViewAccessibility();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The bar moves with every block a busy line brings: painted opaque, it asks nothing
    // of the frames behind it.
    verticalScrollBar()->setAutoFillBackground(true);
    verticalScrollBar()->installEventFilter(this);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    // The view paints its whole background itself.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setBackgroundRole(QPalette::Base);
    dragTimer_.setInterval(50);
    connect(&dragTimer_, &QTimer::timeout, this, &LogView::dragScroll);
}

LogView::~LogView() = default;

void LogView::setStore(const LogStore* store) {
    store_ = store;
    storeReset();
}

// ---------------------------------------------------------------------------------------
// Layouts

QTextCharFormat LogView::formatOf(LogStore::StyleId style) const {
    const auto known = formats_.constFind(style);
    if (known != formats_.constEnd())
        return *known;
    const RunStyle& s = store_->style(style);
    QFont font = this->font();
    font.setPointSize(qMax(1, s.pointSize));
    font.setBold(s.bold);
    font.setItalic(s.italic);
    font.setUnderline(s.underline);
    // Text that needs no shaping (Latin text, byte lists) is laid out without it, at a
    // third of the cost, and without kerning. Scripts that need shaping are still shaped.
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    QTextCharFormat format;
    format.setFont(font);
    format.setForeground(colorFromBgr(s.color));
    formats_.insert(style, format);
    return format;
}

int LogView::wrapWidth() const {
    return qMax(1, viewport()->width() - 2 * Margin);
}

const LogView::Shaped& LogView::shaped(qint64 row) const {
    const int length = store_->rowLength(row);
    std::shared_ptr<Shaped>& entry = shaped_[row];
    if (entry && entry->length == length) {
        entry->used = ++useCount_;
        return *entry;
    }
    entry = std::make_shared<Shaped>();
    const std::vector<LogStore::Span> spans = store_->rowSpans(row);
    entry->layout =
        std::make_unique<QTextLayout>(store_->rowText(row), formatOf(spans.front().style).font());
    QList<QTextLayout::FormatRange> ranges;
    for (const LogStore::Span& span : spans)
        if (span.length > 0)
            ranges.append({span.from, span.length, formatOf(span.style)});
    entry->layout->setFormats(ranges);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    entry->layout->setTextOption(option);
    entry->layout->setCacheEnabled(true);
    qreal y = 0;
    entry->layout->beginLayout();
    for (QTextLine line = entry->layout->createLine(); line.isValid();
         line = entry->layout->createLine()) {
        line.setLineWidth(wrapWidth());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    entry->layout->endLayout();
    entry->length = length;
    entry->height = qMax(1, qCeil(y));
    entry->used = ++useCount_;
    return *entry;
}

int LogView::rowHeight(qint64 row) const {
    return shaped(row).height;
}

void LogView::forgetLayouts() {
    shaped_.clear();
}

void LogView::trimLayouts() const {
    qint64 chars = 0;
    for (const auto& entry : std::as_const(shaped_))
        chars += entry->length;
    if (shaped_.size() <= 2 * KeptLayouts && chars <= 2 * KeptLayoutChars)
        return;
    // The layouts used last are kept, as many as both bounds allow.
    std::vector<std::pair<quint64, int>> uses;
    uses.reserve(size_t(shaped_.size()));
    for (const auto& entry : std::as_const(shaped_))
        uses.emplace_back(entry->used, entry->length);
    std::sort(uses.begin(), uses.end(), std::greater<>());
    quint64 oldestKept = uses.front().first;
    chars = 0;
    for (size_t k = 0; k < uses.size() && int(k) < KeptLayouts; ++k) {
        chars += uses[k].second;
        if (k > 0 && chars > KeptLayoutChars)
            break;
        oldestKept = uses[k].first;
    }
    for (auto it = shaped_.begin(); it != shaped_.end();)
        it = it.value()->used < oldestKept ? shaped_.erase(it) : std::next(it);
}

// ---------------------------------------------------------------------------------------
// Where the view stands

std::pair<qint64, int> LogView::endPlace() const {
    const int height = viewport()->height();
    qint64 row = store_->rowCount() - 1;
    int total = rowHeight(row);
    while (total < height && row > 0)
        total += rowHeight(--row);
    return {row, qMax(0, total - height)};
}

bool LogView::showsEnd() const {
    return !store_ || std::make_pair(topRow_, topOffset_) >= endPlace();
}

void LogView::placeTop(qint64 row, int offset) {
    if (!store_)
        return;
    row = qBound<qint64>(0, row, store_->rowCount() - 1);
    while (offset < 0 && row > 0)
        offset += rowHeight(--row);
    offset = qMax(0, offset);
    while (row + 1 < store_->rowCount() && offset >= rowHeight(row))
        offset -= rowHeight(row++);
    const std::pair<qint64, int> end = endPlace();
    if (std::make_pair(row, offset) > end)
        std::tie(row, offset) = end;
    topRow_ = row;
    topOffset_ = offset;
    syncScrollBar();
    viewport()->update();
}

void LogView::scrollByPixels(int pixels) {
    placeTop(topRow_, topOffset_ + pixels);
}

void LogView::scrollToEnd() {
    if (!store_)
        return;
    const std::pair<qint64, int> end = endPlace();
    placeTop(end.first, end.second);
}

int LogView::valueOfRow(qint64 row) const {
    const qint64 rows = store_ ? store_->rowCount() : 1;
    const qint64 step = (rows + MostScrollValues - 1) / MostScrollValues;
    return static_cast<int>(row / step);
}

qint64 LogView::rowOfValue(int value) const {
    const qint64 rows = store_ ? store_->rowCount() : 1;
    const qint64 step = (rows + MostScrollValues - 1) / MostScrollValues;
    return qint64(value) * step;
}

void LogView::syncScrollBar() {
    if (!store_)
        return;
    const std::pair<qint64, int> end = endPlace();
    BarState state;
    state.maximum = valueOfRow(end.first) + (end.second > 0 ? 1 : 0);
    int rowsShown = 0;
    for (int y = -topOffset_; y < viewport()->height() && topRow_ + rowsShown < store_->rowCount();
         ++rowsShown)
        y += rowHeight(topRow_ + rowsShown);
    state.pageStep = qMax(1, rowsShown - 1);
    state.value = std::make_pair(topRow_, topOffset_) >= end ? state.maximum : valueOfRow(topRow_);
    // A log that keeps growing at its end moves the bar's numbers with every block, but
    // once its handle is small its pixels stay where they are: the bar is told only when
    // it would look different, or when the user reaches for it.
    const QScrollBar* bar = verticalScrollBar();
    const BarState shown{bar->maximum(), bar->pageStep(), bar->value()};
    if (shown.value == shown.maximum && state.value == state.maximum && !bar->isSliderDown() &&
        handleRect(shown) == handleRect(state)) {
        pendingBar_ = state;
        return;
    }
    applyBar(state);
}

QRect LogView::handleRect(const BarState& state) const {
    const QScrollBar* bar = verticalScrollBar();
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = 0;
    option.maximum = state.maximum;
    option.pageStep = state.pageStep;
    option.singleStep = 1;
    option.sliderPosition = state.value;
    option.sliderValue = state.value;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider,
                                        bar);
}

void LogView::applyBar(const BarState& state) {
    pendingBar_.reset();
    settingBar_ = true;
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, state.maximum);
    bar->setPageStep(state.pageStep);
    bar->setSingleStep(1);
    bar->setValue(state.value);
    settingBar_ = false;
}

bool LogView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == verticalScrollBar() && pendingBar_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::Enter:
            applyBar(*pendingBar_);
            break;
        default:
            break;
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void LogView::scrollContentsBy(int, int) {
    if (settingBar_ || !store_)
        return;
    QScrollBar* bar = verticalScrollBar();
    if (bar->value() >= bar->maximum())
        scrollToEnd();
    else
        placeTop(rowOfValue(bar->value()), 0);
}

void LogView::resizeEvent(QResizeEvent* event) {
    const bool atEnd = store_ && showsEnd();
    QAbstractScrollArea::resizeEvent(event);
    if (!store_)
        return;
    forgetLayouts();
    if (atEnd)
        scrollToEnd();
    else
        placeTop(topRow_, 0);
}

void LogView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        formats_.clear();
        forgetLayouts();
        if (store_)
            placeTop(topRow_, topOffset_);
    }
}

// ---------------------------------------------------------------------------------------
// Changes of the store

void LogView::appended() {
    if (!store_)
        return;
    const qint64 oldLength = knownLength_;
    knownLength_ = store_->length();
    anchor_ = caret_ = knownLength_;
    scrollToEnd();
    notifyAccessibility(oldLength);
}

void LogView::storeReset() {
    const qint64 oldLength = knownLength_;
    // A new or cleared store numbers its styles anew.
    formats_.clear();
    forgetLayouts();
    topRow_ = 0;
    topOffset_ = 0;
    anchor_ = caret_ = 0;
    markFrom_ = markLength_ = 0;
    knownLength_ = store_ ? store_->length() : 0;
    syncScrollBar();
    viewport()->update();
    if (QAccessible::isActive() && oldLength > 0) {
        QAccessibleTextUpdateEvent event(this, 0, QString(), QString());
        QAccessible::updateAccessibility(&event);
    }
}

void LogView::notifyAccessibility(qint64 oldLength) {
    // Screen readers hear of modest additions; a flood is left for them to read.
    constexpr qint64 MostAnnounced = 64 * 1024;
    const qint64 base = accessibleBase();
    if (!QAccessible::isActive() || knownLength_ - oldLength > MostAnnounced || oldLength < base)
        return;
    QAccessibleTextInsertEvent event(this, static_cast<int>(oldLength - base),
                                     store_->text(oldLength, knownLength_));
    QAccessible::updateAccessibility(&event);
}

qint64 LogView::accessibleBase() const {
    if (!store_ || store_->length() <= AccessibleChars)
        return 0;
    // From the first line that begins in the last AccessibleChars; when none does (the
    // last line is longer), from inside that line, never between the halves of a pair.
    const qint64 from = store_->length() - AccessibleChars;
    const qint64 lineStart = store_->lineEndFrom(from - 1);
    if (lineStart < store_->length())
        return lineStart;
    return store_->text(from, from + 1).front().isLowSurrogate() ? from + 1 : from;
}

// ---------------------------------------------------------------------------------------
// Painting

void LogView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect clip = event->rect();
    painter.fillRect(clip, palette().brush(QPalette::Base));
    if (!store_)
        return;
    QTextCharFormat selected;
    selected.setBackground(palette().brush(QPalette::Highlight));
    selected.setForeground(palette().brush(QPalette::HighlightedText));
    const qint64 selFrom = selectionStart();
    const qint64 selTo = selectionEnd();
    const auto part = [&](qint64 rowStart, int length, qint64 from, qint64 to) {
        const qint64 a = qMax(from, rowStart);
        const qint64 b = qMin(to, rowStart + length);
        return b > a ? std::optional<QTextLayout::FormatRange>(
                           {int(a - rowStart), int(b - a), selected})
                     : std::nullopt;
    };
    int y = -topOffset_;
    for (qint64 row = topRow_; row < store_->rowCount() && y < viewport()->height(); ++row) {
        const Shaped& s = shaped(row);
        if (y + s.height > clip.top() && y < clip.bottom() + 1) {
            const qint64 start = store_->rowStart(row);
            QList<QTextLayout::FormatRange> marks;
            if (const auto range = part(start, s.length, markFrom_, markFrom_ + markLength_))
                marks.append(*range);
            if (const auto range = part(start, s.length, selFrom, selTo))
                marks.append(*range);
            const QPointF at(Margin, y);
            s.layout->draw(&painter, at, marks, clip);
            const bool caretHere = caret_ >= start && caret_ <= start + s.length &&
                                   !(caret_ == start + s.length && row + 1 < store_->rowCount() &&
                                     store_->rowContinues(row + 1));
            if (hasFocus() && caretHere)
                s.layout->drawCursor(&painter, at, int(caret_ - start), 1);
        }
        y += s.height;
    }
    trimLayouts();
}

// ---------------------------------------------------------------------------------------
// Positions and geometry

LogView::Spot LogView::spotOf(qint64 position) const {
    Spot spot;
    if (!store_)
        return spot;
    spot.row = store_->rowAt(position);
    spot.column = int(qBound<qint64>(0, position - store_->rowStart(spot.row),
                                     qint64(store_->rowLength(spot.row))));
    const QTextLayout& layout = *shaped(spot.row).layout;
    spot.line = qMax(0, layout.lineForTextPosition(spot.column).lineNumber());
    return spot;
}

std::optional<int> LogView::rowTop(qint64 row) const {
    const int limit = 4 * qMax(1, viewport()->height());
    int y = -topOffset_;
    if (row >= topRow_) {
        for (qint64 r = topRow_; r < row; ++r) {
            y += rowHeight(r);
            if (y > limit)
                return std::nullopt;
        }
        return y;
    }
    for (qint64 r = topRow_ - 1; r >= row; --r) {
        y -= rowHeight(r);
        if (y < -limit)
            return std::nullopt;
    }
    return y;
}

qint64 LogView::positionAt(const QPoint& point) const {
    if (!store_)
        return 0;
    int y = -topOffset_;
    qint64 row = topRow_;
    if (point.y() < 0)
        return store_->rowStart(topRow_);
    for (; row < store_->rowCount(); ++row) {
        const int height = rowHeight(row);
        if (point.y() < y + height)
            break;
        y += height;
    }
    if (row >= store_->rowCount())
        return store_->length();
    const QTextLayout& layout = *shaped(row).layout;
    QTextLine line = layout.lineAt(0);
    for (int k = 0; k < layout.lineCount(); ++k) {
        line = layout.lineAt(k);
        if (point.y() - y < line.y() + line.height())
            break;
    }
    return store_->rowStart(row) + line.xToCursor(point.x() - Margin);
}

QRect LogView::characterRect(qint64 position) const {
    const Spot spot = spotOf(position);
    if (spot.row < 0)
        return {};
    const std::optional<int> top = rowTop(spot.row);
    if (!top)
        return {};
    const QTextLayout& layout = *shaped(spot.row).layout;
    const QTextLine line = layout.lineAt(spot.line);
    const qreal x = line.cursorToX(spot.column);
    const qreal next =
        spot.column < store_->rowLength(spot.row) ? line.cursorToX(spot.column + 1) : x + 1;
    return QRect(QPoint(Margin + int(x), *top + int(line.y())),
                 QPoint(Margin + int(qMax(x, next)) - 1, *top + int(line.y() + line.height()) - 1));
}

void LogView::ensureVisible(qint64 position) {
    const Spot spot = spotOf(position);
    if (spot.row < 0)
        return;
    const QTextLine line = shaped(spot.row).layout->lineAt(spot.line);
    const int lineTop = int(line.y());
    const int lineBottom = int(line.y() + line.height());
    const int height = viewport()->height();
    const std::optional<int> top = rowTop(spot.row);
    if (!top)
        placeTop(spot.row, spot.row < topRow_ ? lineTop : lineBottom - height);
    else if (*top + lineTop < 0)
        scrollByPixels(*top + lineTop);
    else if (*top + lineBottom > height)
        scrollByPixels(*top + lineBottom - height);
}

void LogView::centerOn(qint64 position) {
    const Spot spot = spotOf(position);
    if (spot.row < 0)
        return;
    const QTextLine line = shaped(spot.row).layout->lineAt(spot.line);
    placeTop(spot.row, int(line.y() + line.height() / 2) - viewport()->height() / 2);
}

// ---------------------------------------------------------------------------------------
// Caret, selection and mark

void LogView::select(qint64 anchor, qint64 caret) {
    const qint64 length = store_ ? store_->length() : 0;
    anchor_ = qBound<qint64>(0, anchor, length);
    moveCaret(qBound<qint64>(0, caret, length), true);
}

void LogView::moveCaret(qint64 position, bool keepAnchor) {
    caret_ = position;
    if (!keepAnchor)
        anchor_ = caret_;
    ensureVisible(caret_);
    viewport()->update();
}

void LogView::selectAll() {
    if (!store_)
        return;
    ++userPlacements_;
    anchor_ = 0;
    caret_ = store_->length();
    viewport()->update();
    publishSelection();
}

QString LogView::selectedText() const {
    return store_ ? store_->text(selectionStart(), selectionEnd()) : QString();
}

QString LogView::caretRowText() const {
    return store_ ? store_->rowText(store_->rowAt(caret_)) : QString();
}

void LogView::copy() const {
    if (!hasSelection())
        return;
    const qint64 chars = selectionEnd() - selectionStart();
    if (chars > MostCopiedChars) {
        msgBox(QStringLiteral("The selection is too large to copy: %L1 characters, of at most %L2. "
                              "Select less, or save the log to a file.")
                   .arg(chars)
                   .arg(MostCopiedChars),
               MsgIcon::Exclamation);
        return;
    }
    // The copy is held compactly, and a form is built (two bytes a character, held twice
    // on its way) only when a program asks for it.
    LogStore copied;
    copied.setMemoryCheck(memoryAllows);
    if (!memoryAllows(4 * chars) ||
        !copied.appendRange(*store_, selectionStart(), selectionEnd())) {
        msgBox(QStringLiteral("The selection is too large to copy with the memory left; "
                              "select less, or save the log to a file."),
               MsgIcon::Exclamation);
        return;
    }
    QGuiApplication::clipboard()->setMimeData(
        new CopiedLog(std::move(copied), font().family(), copyFormats_));
}

void LogView::publishSelection() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection() &&
        selectionEnd() - selectionStart() <= LongestPublishedSelection)
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void LogView::setMark(qint64 from, qint64 length) {
    markFrom_ = from;
    markLength_ = length;
    viewport()->update();
}

void LogView::clearMark() {
    if (markLength_ == 0)
        return;
    markLength_ = 0;
    viewport()->update();
}

// ---------------------------------------------------------------------------------------
// Mouse and keys

void LogView::wheelEvent(QWheelEvent* event) {
    int pixels = -event->pixelDelta().y();
    if (pixels == 0)
        pixels = -event->angleDelta().y() * QApplication::wheelScrollLines() *
                 fontMetrics().lineSpacing() / 120;
    scrollByPixels(pixels);
    event->accept();
}

void LogView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !store_) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    dragPoint_ = event->position().toPoint();
    ++userPlacements_;
    if (sinceDoubleClick_.isValid() &&
        sinceDoubleClick_.elapsed() < QApplication::doubleClickInterval() &&
        (dragPoint_ - doubleClickPoint_).manhattanLength() < QApplication::startDragDistance()) {
        sinceDoubleClick_.invalidate();
        selectLine(positionAt(dragPoint_));
        return;
    }
    dragging_ = true;
    moveCaret(positionAt(dragPoint_), event->modifiers() & Qt::ShiftModifier);
}

// The whole line, its line break included, as a paragraph of a rich-text view.
void LogView::selectLine(qint64 position) {
    anchor_ = store_->lastLineEndBefore(position);
    caret_ = store_->lineEndFrom(position);
    dragging_ = false;
    viewport()->update();
    publishSelection();
}

void LogView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton))
        return;
    dragPoint_ = event->position().toPoint();
    if (dragPoint_.y() < 0 || dragPoint_.y() >= viewport()->height()) {
        if (!dragTimer_.isActive())
            dragTimer_.start();
        return;
    }
    dragTimer_.stop();
    caret_ = positionAt(dragPoint_);
    viewport()->update();
}

void LogView::dragScroll() {
    if (!dragging_) {
        dragTimer_.stop();
        return;
    }
    const int height = viewport()->height();
    const int beyond = dragPoint_.y() < 0 ? dragPoint_.y() : dragPoint_.y() - height + 1;
    scrollByPixels(beyond);
    caret_ = positionAt(QPoint(dragPoint_.x(), qBound(0, dragPoint_.y(), height - 1)));
    viewport()->update();
}

void LogView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    dragTimer_.stop();
    publishSelection();
}

void LogView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !store_)
        return;
    ++userPlacements_;
    const qint64 position = positionAt(event->position().toPoint());
    const qint64 row = store_->rowAt(position);
    const qint64 start = store_->rowStart(row);
    const QString text = store_->rowText(row);
    const int column = int(qBound<qint64>(0, position - start, text.size()));
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    words.setPosition(column);
    int from = words.isAtBoundary() && (words.boundaryReasons() & QTextBoundaryFinder::StartOfItem)
                   ? column
                   : int(words.toPreviousBoundary());
    words.setPosition(column);
    int to = int(words.toNextBoundary());
    if (from < 0)
        from = 0;
    if (to < 0)
        to = int(text.size());
    anchor_ = start + from;
    caret_ = start + to;
    dragging_ = false;
    doubleClickPoint_ = event->position().toPoint();
    sinceDoubleClick_.start();
    viewport()->update();
    publishSelection();
}

qint64 LogView::lineMove(qint64 position, int lines) const {
    Spot spot = spotOf(position);
    if (spot.row < 0)
        return position;
    const qreal x = shaped(spot.row).layout->lineAt(spot.line).cursorToX(spot.column);
    qint64 row = spot.row;
    int line = spot.line + lines;
    while (line < 0) {
        if (row == 0)
            return 0;
        line += shaped(--row).layout->lineCount();
    }
    while (line >= shaped(row).layout->lineCount()) {
        if (row + 1 >= store_->rowCount())
            return store_->length();
        line -= shaped(row++).layout->lineCount();
    }
    return store_->rowStart(row) + shaped(row).layout->lineAt(line).xToCursor(x);
}

// A page as a text view turns it: the view moves by its height less the caret's line, and
// the caret with it, keeping its place on screen (from the view's top when it was out of
// sight); at either end of the log it goes on to the first or last line.
void LogView::movePage(int direction, bool keepAnchor) {
    const int height = viewport()->height();
    qint64 from = caret_;
    QRect before = characterRect(from);
    if (before.isNull() || before.bottom() < 0 || before.top() >= height) {
        from = positionAt(QPoint(Margin, 0));
        before = characterRect(from);
    }
    const int page = qMax(1, height - before.height());
    scrollByPixels(direction * page);
    // Where the old place went, and a page beyond it.
    const QRect moved = characterRect(from);
    const int y = (moved.isNull() ? before.center().y() - direction * page : moved.center().y()) +
                  direction * page;
    caret_ = positionAt(QPoint(before.left(), y));
    if (!keepAnchor)
        anchor_ = caret_;
    // The caret's line stands where the old one stood.
    if (const QRect now = characterRect(caret_); !now.isNull())
        scrollByPixels(now.top() - before.top());
    ensureVisible(caret_);
    viewport()->update();
}

qint64 LogView::lineEdge(qint64 position, bool end) const {
    const Spot spot = spotOf(position);
    if (spot.row < 0)
        return position;
    const QTextLine line = shaped(spot.row).layout->lineAt(spot.line);
    int column = line.textStart();
    if (end) {
        column += line.textLength();
        // A wrapped line ends before the blank it was wrapped at.
        const QString text = store_->rowText(spot.row);
        if (spot.line + 1 < shaped(spot.row).layout->lineCount() && column > line.textStart() &&
            text[column - 1].isSpace())
            --column;
    }
    return store_->rowStart(spot.row) + column;
}

void LogView::keyPressEvent(QKeyEvent* event) {
    if (!store_) {
        event->ignore();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    }
    if (event == QKeySequence::Copy) {
        copy();
        return;
    }
    const qint64 length = store_->length();
    struct Move {
        QKeySequence::StandardKey move;
        QKeySequence::StandardKey select;
        std::function<qint64()> to;
    };
    const std::vector<Move> moves = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar,
         [&] { return qMin(length, caret_ + 1); }},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar,
         [&] { return qMax<qint64>(0, caret_ - 1); }},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine,
         [&] { return lineMove(caret_, 1); }},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine,
         [&] { return lineMove(caret_, -1); }},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine,
         [&] { return lineEdge(caret_, false); }},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine,
         [&] { return lineEdge(caret_, true); }},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument,
         [] { return qint64(0); }},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument,
         [&] { return length; }},
    };
    for (const int direction : {1, -1}) {
        const bool move = event == (direction > 0 ? QKeySequence::MoveToNextPage
                                                  : QKeySequence::MoveToPreviousPage);
        const bool select = event == (direction > 0 ? QKeySequence::SelectNextPage
                                                    : QKeySequence::SelectPreviousPage);
        if (move || select) {
            ++userPlacements_;
            movePage(direction, select);
            if (select)
                publishSelection();
            return;
        }
    }
    for (const Move& m : moves) {
        if (event == m.move || event == m.select) {
            ++userPlacements_;
            moveCaret(m.to(), event == m.select);
            if (event == m.select)
                publishSelection();
            return;
        }
    }
    // The log is read only: other keys go to the window (its shortcuts).
    event->ignore();
}

void LogView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void LogView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void LogView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyAction = menu.addAction(QStringLiteral("&Copy"), this, &LogView::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    menu.addSeparator();
    QAction* all = menu.addAction(QStringLiteral("Select All"), this, &LogView::selectAll);
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(store_ && !store_->isEmpty());
    menu.exec(event->globalPos());
}

} // namespace kst
