#include "app/receiving/log_search_control.h"

#include "app/main/main_view.h"
#include "notation/view/styled_log.h"
#include "platform/services.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace kst {

namespace {

// The log view's text as the search reads it.
class DocumentText : public SearchableText {
public:
    explicit DocumentText(QTextDocument& document) : document_(document) {}
    // The document's last paragraph end is no character of the text.
    qint64 length() const override { return document_.characterCount() - 1; }
    QString text(qint64 from, qint64 to) const override {
        // A cursor's selection walks the document for every run of text; the document's
        // own copy of its whole text does not, and serves the first count of a large log
        // several times faster.
        if (from == 0 && to == length())
            return document_.toRawText();
        QTextCursor range(&document_);
        range.setPosition(static_cast<int>(from));
        range.setPosition(static_cast<int>(to), QTextCursor::KeepAnchor);
        return range.selectedText();
    }

private:
    QTextDocument& document_;
};

} // namespace

void LogSearchControl::responseBox_Change() {
    const MainControls& ui = window_.ui();
    const bool hasText = !ui.responseBox->document()->isEmpty();
    for (QWidget* control : std::initializer_list<QWidget*>{ui.Clear, ui.Label2, ui.Text2})
        control->setEnabled(hasText);
    ui.lblSearchResult->hide();
}

void LogSearchControl::responseBox_ContentsChange(int from, int removed) {
    search_.logChanged(from, removed);
}

void LogSearchControl::Text2_Change() {
    const MainControls& ui = window_.ui();
    ui.cmdSearch->setEnabled(!ui.Text2->text().isEmpty());
    ui.lblSearchResult->hide();
    ui.responseBox->setExtraSelections({});
}

void LogSearchControl::Text2_KeyPress(int keyAscii) {
    if (keyAscii == 13 && !window_.ui().Text2->text().isEmpty())
        cmdSearch_Click();
}

void LogSearchControl::cmdSearch_Click() {
    const MainControls& ui = window_.ui();
    search_.setText(ui.Text2->text());
    const LogSearch::Match match = search_.next(DocumentText(*window_.log().document()));
    ui.lblSearchResult->setText(
        QStringLiteral("String found: %1/%2").arg(match.number).arg(match.count));
    ui.lblSearchResult->show();
    if (match.found()) {
        highlight(match.position, match.length);
        return;
    }
    ui.responseBox->setExtraSelections({});
    msgBox(QStringLiteral("String not found!"), MsgIcon::Critical);
}

void LogSearchControl::highlight(qint64 position, qint64 length) {
    QPlainTextEdit* box = window_.ui().responseBox;
    QTextCursor match(box->document());
    match.setPosition(static_cast<int>(position));
    match.setPosition(static_cast<int>(position + length), QTextCursor::KeepAnchor);
    // The selection goes with the next line written; the highlight stays until the next
    // search.
    QTextEdit::ExtraSelection marked;
    marked.cursor = match;
    marked.format.setBackground(box->palette().brush(QPalette::Highlight));
    marked.format.setForeground(box->palette().brush(QPalette::HighlightedText));
    box->setExtraSelections({marked});
    box->setTextCursor(match);
    box->centerCursor();
}

} // namespace kst
