#include "platform/desktop/bgr_color.h"
#include "support/fakes.h"
#include "tools/link_label.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace kst;
using namespace kst::test;

namespace {

constexpr quint32 Normal = 0xFF0000;
constexpr quint32 Hover = 0xFF00;
constexpr quint32 Pressed = 0xFF;

class LinkLabelTest : public ::testing::Test {
protected:
    LinkLabelTest() : label("https://kestrelon.example.org/"), link(&label) {
        label.resize(200, 20);
        link.setNormalColor(Normal);
        link.setHoverColor(Hover);
        link.setPressedColor(Pressed);
        link.setLinkPath("https://kestrelon.example.org/");
    }
    QColor color() const { return label.palette().color(QPalette::WindowText); }
    void enter() {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&label, &event);
    }
    void leave() {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&label, &event);
    }

    RecordingMessageBoxes boxes;
    RecordingShell shell;
    QLabel label;
    LinkLabel link;
};

TEST_F(LinkLabelTest, HoverFollowsTheLabelsOwnEnterAndLeave) {
    QSignalSpy over(&link, &LinkLabel::MouseOverLink);
    QSignalSpy off(&link, &LinkLabel::MouseOffLink);
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    enter();
    EXPECT_TRUE(link.isHover());
    EXPECT_EQ(color(), colorFromBgr(Hover));
    EXPECT_EQ(over.count(), 1);
    leave();
    EXPECT_FALSE(link.isHover());
    EXPECT_EQ(color(), colorFromBgr(Normal));
    EXPECT_EQ(off.count(), 1);
    // Without underline or bold asked for, the font never changes.
    EXPECT_FALSE(label.font().underline());
    EXPECT_FALSE(label.font().bold());
    EXPECT_TRUE(shell.opened.isEmpty());
}

TEST_F(LinkLabelTest, ALeftClickOpensTheLinkOnce) {
    enter();
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(link.isPressed());
    EXPECT_EQ(color(), colorFromBgr(Pressed));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(shell.opened, QStringList{"https://kestrelon.example.org/"});
    EXPECT_FALSE(link.isPressed());
    // The click ends in the normal look; the next move over the label hovers it again.
    EXPECT_FALSE(link.isHover());
    EXPECT_EQ(color(), colorFromBgr(Normal));
    QMouseEvent move(QEvent::MouseMove, QPointF(6, 5), label.mapToGlobal(QPointF(6, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&label, &move);
    EXPECT_TRUE(link.isHover());
    EXPECT_EQ(color(), colorFromBgr(Hover));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(LinkLabelTest, ADoubleClickOpensTheLinkOnce) {
    enter();
    const QPoint at(5, 5);
    const auto doubleClick = [&](bool secondPressToo) {
        QTest::mousePress(&label, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&label, Qt::LeftButton, {}, at);
        if (secondPressToo)
            QTest::mousePress(&label, Qt::LeftButton, {}, at);
        QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(at), label.mapToGlobal(QPointF(at)),
                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&label, &second);
        QTest::mouseRelease(&label, Qt::LeftButton, {}, at);
    };
    // The second press comes as a double click, alone or after a press of its own.
    doubleClick(false);
    EXPECT_EQ(shell.opened.size(), 1);
    doubleClick(true);
    EXPECT_EQ(shell.opened.size(), 2);
    QTest::mouseClick(&label, Qt::LeftButton, {}, at);
    EXPECT_EQ(shell.opened.size(), 3);
}

TEST_F(LinkLabelTest, OtherButtonsAndReleasesOutsideOpenNothing) {
    enter();
    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(link.isPressed());
    EXPECT_EQ(color(), colorFromBgr(Normal));
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&label, QPoint(300, 5));
    EXPECT_FALSE(link.isHover());
    EXPECT_EQ(color(), colorFromBgr(Normal));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(300, 5));
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_EQ(color(), colorFromBgr(Normal));
}

TEST_F(LinkLabelTest, HoverUnderlineAndBoldWhenAskedFor) {
    link.setHoverUnderline(true);
    link.setHoverBold(true);
    enter();
    EXPECT_TRUE(label.font().underline());
    EXPECT_TRUE(label.font().bold());
    leave();
    EXPECT_FALSE(label.font().underline());
    EXPECT_FALSE(label.font().bold());
}

TEST_F(LinkLabelTest, ALinkThatCannotBeOpenedIsTold) {
    shell.succeed = false;
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Execute Link Error");
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith(
        "Error Opening Link to https://kestrelon.example.org/\n\n"));
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::None);

    // An empty link is told without asking the shell.
    boxes.clear();
    link.setLinkPath(QString());
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(shell.opened.size(), 1);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("Error Opening Link to \n\n"));
}

TEST(LinkLabelColours, UnsetColoursAreBlack) {
    QLabel label("link");
    LinkLabel link(&label);
    QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&label, &event);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::black));
}

} // namespace
