#include "platform/desktop/checked_field.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
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

// The button beside the field runs the same check when it is clicked: the field's check
// runs first, whatever takes the focus, and a refused one drops the click.
TEST_F(CheckedFieldTest, EveryMoveOfTheFocusChecksAndARefusedClickIsDropped) {
    const struct {
        const char* text;
        bool byClick;
        bool passes;
    } cases[] = {
        {"1A", true, false},
        {"1A", false, false},
        {"1A,", true, true},
        {"1A,", false, true},
    };
    for (const auto& c : cases) {
        field->setFocus();
        field->setText(c.text);
        left = clicks = 0;
        if (c.byClick)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            button->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(left, c.passes ? 1 : 0) << c.text << c.byClick;
        EXPECT_EQ(clicks, c.passes && c.byClick ? 1 : 0) << c.text << c.byClick;
        QWidget* const focus = c.passes ? static_cast<QWidget*>(button) : field;
        EXPECT_TRUE(QTest::qWaitFor([&] { return focus->hasFocus(); }, 2000))
            << c.text << c.byClick;
    }
    // Only the refused click is dropped.
    field->setText("1A,");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

} // namespace
