#include "platform/desktop/checked_field.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace kst;

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
    CheckedField* checked = nullptr;
    int left = 0;
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

} // namespace
