#include "platform/desktop/checked_field.h"
#include "support/drop_text.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace kst;
using kst::test::dropText;

namespace {

// Hexadecimal digits and the comma, lower case made upper.
std::optional<QChar> hexKey(QChar typed) {
    const QChar upper = typed.toUpper();
    if (upper.isDigit() || (upper >= u'A' && upper <= u'F') || upper == u',')
        return upper;
    return std::nullopt;
}

class CheckedFieldTest : public ::testing::Test {
protected:
    CheckedFieldTest() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        checked = new CheckedField(field,
                                   {.key = hexKey,
                                    .validate = [this] { return field->text().endsWith(u','); },
                                    .lostFocus = [this] { ++left; }},
                                   &window);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    QWidget window;
    QLineEdit* field = new QLineEdit(&window);
    QLineEdit* other = new QLineEdit(&window);
    QPushButton* button = new QPushButton("Save", &window);
    CheckedField* checked = nullptr;
    int left = 0;
    int clicks = 0;
};

TEST_F(CheckedFieldTest, TypedAndPastedTextPassTheSameFilter) {
    const struct {
        const char* input;
        const char* kept;
    } cases[] = {{"1a,2b,", "1A,2B,"}, {"zz1g,", "1,"}, {"", ""}, {"AT+X", "A"}};
    for (const auto& c : cases) {
        field->clear();
        QTest::keyClicks(field, c.input);
        EXPECT_EQ(field->text(), c.kept) << "typed " << c.input;
        field->clear();
        field->insert(QString::fromLatin1(c.input)); // as a paste does
        emit field->textEdited(field->text());
        EXPECT_EQ(field->text(), c.kept) << "pasted " << c.input;
    }
}

// A key as the desktop delivers it: its code and the text it carries (Delete carries the
// DEL character, Backspace BS, Ctrl+A SOH).
struct Key {
    Qt::Key code;
    QString text;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};
const Key Delete{Qt::Key_Delete, QString(QChar(0x7F))};
const Key Backspace{Qt::Key_Backspace, QStringLiteral("\b")};
const Key Home{Qt::Key_Home, QString()};
const Key SelectAll{Qt::Key_A, QString(QChar(0x01)), Qt::ControlModifier};
const Key Letter{Qt::Key_G, QStringLiteral("g")};
const Key Digit{Qt::Key_7, QStringLiteral("7")};

TEST_F(CheckedFieldTest, EditingKeysAlwaysReachTheFieldAndOnlyPrintableOnesAreFiltered) {
    const struct {
        const char* name;
        std::vector<Key> keys;
        const char* kept; // from "1A,2B,", the caret at its end
    } cases[] = {
        {"Delete at the start", {Home, Delete}, "A,2B,"},
        {"Delete of everything selected", {SelectAll, Delete}, ""},
        {"Delete at the end", {Delete}, "1A,2B,"},
        {"Backspace", {Backspace}, "1A,2B"},
        {"a key the rule refuses", {Letter}, "1A,2B,"},
        {"a key the rule takes", {Home, Digit}, "71A,2B,"},
    };
    for (const auto& c : cases) {
        field->setText("1A,2B,");
        field->end(false);
        for (const Key& key : c.keys)
            QTest::sendKeyEvent(QTest::Click, field, key.code, key.text, key.modifiers);
        EXPECT_EQ(field->text(), c.kept) << c.name;
    }
}

// A limit of 4 characters on typing, over texts the program put in, some longer.
TEST_F(CheckedFieldTest, TypingStopsAtTheLimitWhileAStoredTextStaysWhole) {
    QLineEdit* limited = new QLineEdit(&window);
    new CheckedField(limited, {.key = hexKey, .typingLimit = 4}, &window);
    const struct {
        const char* what;
        const char* shown;
        int from; // the selection the typing replaces: from, length
        int length;
        const char* typed; // none: Backspace
        const char* kept;
    } cases[] = {
        {"typed up to the limit", "", 0, 0, "1a,2b,3c", "1A,2"},
        {"typed at the end of a full text", "1,2,", 4, 0, "3", "1,2,"},
        {"typed over a selection", "1,2,", 1, 3, "a,b,c", "1A,B"},
        {"a stored text longer than the limit is shown whole", "1,2,3,4,", 0, 0, "", "1,2,3,4,"},
        {"and takes no more", "1,2,3,4,", 8, 0, "5", "1,2,3,4,"},
        {"but gives up what is deleted", "1,2,3,4,", 2, 4, nullptr, "1,4,"},
        {"a stored character the keys would change stays as stored", "a,", 2, 0, "1", "a,1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto place = [&] {
            limited->setText(QString::fromLatin1(c.shown));
            if (c.length > 0)
                limited->setSelection(c.from, c.length);
            else
                limited->setCursorPosition(c.from);
        };
        limited->setFocus();
        place();
        EXPECT_EQ(limited->text(), c.shown);
        if (c.typed)
            QTest::keyClicks(limited, c.typed);
        else
            QTest::keyClick(limited, Qt::Key_Backspace);
        EXPECT_EQ(limited->text(), c.kept) << "typed";
        if (c.typed) {
            place();
            limited->insert(QString::fromLatin1(c.typed)); // as a paste does
            EXPECT_EQ(limited->text(), c.kept) << "pasted";
        }
    }
}

TEST_F(CheckedFieldTest, AFailedCheckKeepsTheFocusAndAPassedOneRunsTheLeaving) {
    field->setFocus();
    field->setText("1A");
    EXPECT_TRUE(checked->changedSinceEntry());
    other->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 2000));
    EXPECT_EQ(left, 0);
    field->setText("1A,");
    other->setFocus();
    EXPECT_EQ(left, 1);
    // A field whose window went away is not checked.
    field->setFocus();
    field->setText("1A");
    window.hide();
    field->clearFocus();
    EXPECT_EQ(left, 1);
}

// Every move of the focus out of the field checks it first: a click on the button beside it
// (a refusal drops the click, so the button's own check tells nothing twice), Tab, and a
// drop onto another field, in the active window or while another is active. A drop enters
// the field it lands on as a click would: the text before it is the entry's, and nothing
// is selected after it.
TEST_F(CheckedFieldTest, EveryMoveOfTheFocusChecksAndARefusedClickIsDropped) {
    enum class Move { Click, Tab, Drop, DropWhileInactive };
    const auto* dropped = new CheckedField(other, {}, &window);
    QWidget elsewhere;
    elsewhere.show();
    const struct {
        const char* text;
        Move move;
        bool passes;
    } cases[] = {
        {"1A", Move::Click, false},
        {"1A", Move::Tab, false},
        {"1A,", Move::Click, true},
        {"1A,", Move::Tab, true},
        {"1A", Move::Drop, false},
        {"1A,", Move::Drop, true},
        {"1A", Move::DropWhileInactive, false},
        {"1A,", Move::DropWhileInactive, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << ", move " << static_cast<int>(c.move));
        QApplication::setActiveWindow(&window);
        field->setFocus();
        field->setText(c.text);
        other->setText("0");
        left = clicks = 0;
        QWidget* taker = button;
        switch (c.move) {
        case Move::Click:
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        case Move::Tab:
            button->setFocus(Qt::TabFocusReason);
            break;
        case Move::DropWhileInactive:
            QApplication::setActiveWindow(&elsewhere);
            [[fallthrough]];
        case Move::Drop:
            dropText(other, "25");
            taker = other;
            break;
        }
        EXPECT_EQ(left, c.passes ? 1 : 0);
        EXPECT_EQ(clicks, c.passes && c.move == Move::Click ? 1 : 0);
        EXPECT_EQ(other->text(), c.passes && taker == other ? "250" : "0");
        QWidget* const focus = c.passes ? taker : field;
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.focusWidget() == focus; }, 2000));
    }
    EXPECT_TRUE(dropped->changedSinceEntry()) << "the drop is an edit";
    QTest::qWait(1); // an entry selects its text once the event loop turns
    EXPECT_TRUE(other->selectedText().isEmpty()) << "the next key adds to the drop";
    // Only the refused click is dropped.
    QApplication::setActiveWindow(&window);
    field->setFocus();
    field->setText("1A,");
    clicks = 0;
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

} // namespace
