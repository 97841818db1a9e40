#include "app/receiving/log_search_control.h"

#include "app/main/main_controls.h"
#include "app/main/main_view.h"
#include "notation/view/log_view.h"
#include "notation/view/styled_log.h"
#include "platform/desktop/whole_text.h"
#include "platform/services.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kst {

namespace {

// The log's store as the search reads it: it searches its own compact text.
class StoreText : public SearchableText {
public:
    explicit StoreText(const LogStore& store) : store_(store) {}
    qint64 length() const override { return store_.length(); }
    QString text(qint64 from, qint64 to) const override { return store_.text(from, to); }
    qint64 indexOf(QStringView needle, qint64 from, qint64 to) const override {
        return store_.indexOf(needle, from, to);
    }
    qint64 count(QStringView needle, qint64 from, qint64 to, qint64* lastEnd) const override {
        return store_.count(needle, from, to, lastEnd);
    }

private:
    const LogStore& store_;
};

} // namespace

LogSearchControl::LogSearchControl(MainView& window, Scheduler& scheduler, Pace pace)
    : window_(window), scheduler_(scheduler), pace_(pace) {}

void LogSearchControl::responseBox_Change() {
    const MainControls& ui = window_.ui();
    const bool hasText = !window_.log().isEmpty();
    for (QWidget* control : std::initializer_list<QWidget*>{ui.Clear, ui.Label2, ui.Text2})
        control->setEnabled(hasText);
    hideResult();
}

void LogSearchControl::hideResult() {
    QLabel* result = window_.ui().lblSearchResult;
    // Every write to the log comes here: a label already gone is left alone.
    if (result->isHidden() && result->text().isEmpty())
        return;
    result->clear();
    result->hide();
}

void LogSearchControl::responseBox_ContentsChange(qint64 from, qint64 removed) {
    search_.logChanged(from, removed);
    if (!search_.stepping())
        next_.cancel();
}

void LogSearchControl::Text2_Change() {
    const MainControls& ui = window_.ui();
    ui.cmdSearch->setEnabled(!ui.Text2->text().isEmpty());
    search_.setText(ui.Text2->text());
    hideResult();
    ui.responseBox->clearMark();
    next_.cancel();
}

void LogSearchControl::Text2_KeyPress(int keyAscii) {
    if (keyAscii == 13 && !window_.ui().Text2->text().isEmpty())
        cmdSearch_Click();
}

void LogSearchControl::cmdSearch_Click() {
    const LogView* box = window_.ui().responseBox;
    // The step goes on behind a caret or selection the user placed since the last one; the
    // first step of a text starts at the top.
    if (box->userPlacements() != placementsSeen_)
        search_.followCaret(box->selectionEnd());
    placementsSeen_ = box->userPlacements();
    search_.startStep();
    shown_ = -1;
    next_.cancel();
    work();
}

void LogSearchControl::work() {
    const MainControls& ui = window_.ui();
    const StoreText log(window_.log().store());
    QElapsedTimer took;
    took.start();
    LogSearch::Step step;
    do
        step = search_.work(log, pace_.sliceChars);
    while (!step.counted && took.elapsed() < pace_.sliceMs);
    const LogSearch::Match& match = step.match;
    if (match.found() && match.position != shown_) {
        shown_ = match.position;
        highlight(match.position, match.length);
    }
    if (!step.counted) {
        // A result shown belongs to the step before.
        hideResult();
        next_ = scheduler_.after(0, [this] { work(); });
        return;
    }
    // The room beside the Search button holds a few digits at the design font. Shown
    // first, so that the new text is told to readers of the window as it is set.
    ui.lblSearchResult->show();
    showTextWhole(ui.lblSearchResult,
                  QStringLiteral("String found: %1/%2").arg(match.number).arg(match.count));
    if (match.found())
        return;
    ui.responseBox->clearMark();
    msgBox(QStringLiteral("String not found!"), MsgIcon::Critical);
}

void LogSearchControl::highlight(qint64 position, qint64 length) {
    LogView* box = window_.ui().responseBox;
    // The selection goes with the next line written; the mark stays until the next search.
    box->setMark(position, length);
    box->select(position, position + length);
    box->centerOn(position);
}

} // namespace kst
