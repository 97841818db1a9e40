// Every text a window shows is shown whole: no caption of a label, check box, option,
// frame or button runs past its control, and no such control past its container.

#include "app/app_fixtures.h"
#include "app/editors/frm_auto_resp.h"
#include "app/editors/frm_auto_sequence.h"
#include "app/editors/frm_options.h"
#include "app/editors/frm_prog_but.h"
#include "app/main/frm_splash.h"
#include "app/port/frm_debugging.h"
#include "app/port/frm_monitoring.h"
#include "app/port/frm_settings.h"
#include "app/profiles/frm_import.h"
#include "app/profiles/log_loader.h"
#include "platform/scheduler.h"
#include "tools/frm_about.h"
#include "tools/frm_ascii.h"
#include "tools/frm_logic.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTextDocument>
#include <functional>

using namespace kst;
using namespace kst::test;

namespace {

QString nameOf(const QWidget* widget) {
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// The room a text needs at the widget's font, laid out as the widget lays it out.
QSize textSize(const QWidget* widget, const QString& text, int width, bool wrap) {
    if (Qt::mightBeRichText(text)) {
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(widget->font());
        document.setHtml(text);
        if (wrap)
            document.setTextWidth(width);
        return QSize(qCeil(wrap ? document.idealWidth() : document.size().width()),
                     qCeil(document.size().height()));
    }
    const int flags = Qt::TextShowMnemonic | (wrap ? Qt::TextWordWrap : 0);
    return widget->fontMetrics()
        .boundingRect(QRect(0, 0, wrap ? width : 1 << 20, 1 << 20), flags, text)
        .size();
}

// Where a button's caption goes: the room its style leaves beside the mark or inside the
// bevel.
QRect captionRoom(const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button))
        element = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(button))
        element = QStyle::SE_RadioButtonContents;
    return button->style()->subElementRect(element, &option, button);
}

QRect titleRoom(const QGroupBox* frame) {
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.lineWidth = 1;
    option.textAlignment = frame->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (frame->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    return frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel,
                                          frame);
}

// What does not fit among the shown controls of `window`, one line a text. A control that
// is hidden itself counts (its text shows in another state), one on a page not shown does
// not (it is measured with its page).
QStringList cutTextsShown(QWidget& window) {
    QStringList cut;
    const auto report = [&](const QWidget* widget, const QString& text, const QString& why) {
        cut << QStringLiteral("%1 \"%2\": %3").arg(nameOf(widget), text, why);
    };
    const auto fits = [&](const QWidget* widget, const QString& text, QRect room, bool wrap) {
        const QSize needed = textSize(widget, text, room.width(), wrap);
        if (needed.width() > room.width() || needed.height() > room.height())
            report(widget, text,
                   QStringLiteral("needs %1x%2, has %3x%4")
                       .arg(needed.width())
                       .arg(needed.height())
                       .arg(room.width())
                       .arg(room.height()));
    };
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const QWidget* parent = widget->parentWidget();
        if (!parent || !parent->isVisible() || widget->isWindow())
            continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            const int margin = label->margin();
            if (!text.isEmpty())
                fits(label, text, label->contentsRect().adjusted(margin, margin, -margin, -margin),
                     label->wordWrap());
        } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget) ||
                   qobject_cast<QPushButton*>(widget)) {
            auto* button = static_cast<QAbstractButton*>(widget);
            text = button->text();
            if (!text.isEmpty())
                fits(button, text, captionRoom(button), false);
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            text = frame->title();
            if (!text.isEmpty() && !frame->rect().contains(titleRoom(frame)))
                report(frame, text, QStringLiteral("the caption runs past the frame"));
        }
        // Cut by its container: partly outside it (wholly outside, it is not shown at all).
        const QRect inside = parent->rect();
        if (!text.isEmpty() && !inside.contains(widget->geometry()) &&
            inside.intersects(widget->geometry()))
            report(widget, text,
                   QStringLiteral("reaches past %1 (%2,%3 %4x%5 in %6x%7)")
                       .arg(nameOf(parent))
                       .arg(widget->x())
                       .arg(widget->y())
                       .arg(widget->width())
                       .arg(widget->height())
                       .arg(parent->width())
                       .arg(parent->height()));
    }
    // A dialog's own caption, beside the title bar's picture and its three buttons.
    if (qobject_cast<QDialog*>(&window)) {
        QFont bold = QApplication::font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + 4 * 20;
        if (needed > window.width())
            report(&window, window.windowTitle(),
                   QStringLiteral("the caption needs %1, the window is %2 wide")
                       .arg(needed)
                       .arg(window.width()));
    }
    return cut;
}

// The same over every page of the window's tab controls.
QStringList cutTexts(QWidget& window) {
    QStringList cut = cutTextsShown(window);
    for (QTabBar* tabs : window.findChildren<QTabBar*>()) {
        const int shown = tabs->currentIndex();
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            cut << cutTextsShown(window);
        }
        tabs->setCurrentIndex(shown);
    }
    cut.removeDuplicates();
    return cut;
}

// The program as it starts, for one case: a main window of its own, maximised on the
// smallest screen of the full layout, and the windows the case opens over it. The cases
// share the program folder (none of them stores anything).
struct Program {
    explicit Program(ProgramFolder& folder) : folder(folder), main(folder.path()) {
        main.InitMainWindow();
        main.setCommands(nullptr);
        main.resize(FullScreen.width(), FullScreen.height() - 30);
    }
    Session& session() { return main.session(); }
    const QString& profile() { return session().shared().SettingsConnStr; }
    // Keeps a window made for the case until the case ends.
    QWidget* keep(QWidget* window) {
        windows.emplace_back(window);
        return window;
    }

    ProgramFolder& folder;
    RecordingMain main;
    ManualScheduler scheduler;
    std::unique_ptr<LogLoader> loader;
    std::vector<std::unique_ptr<QWidget>> windows;
};

// A window in one of its states: `open` returns the window to measure.
struct WindowCase {
    const char* name;
    std::function<QWidget*(Program&)> open;
};

TEST(WindowTexts, EveryTextOfEveryWindowFitsItsControl) {
    RecordingMessageBoxes boxes;
    ProgramFolder folder;
    folder.makeReady();
    const WindowCase cases[] = {
        {"main window", [](Program& p) -> QWidget* { return &p.main; }},
        {"main window, ASCII",
         [](Program& p) -> QWidget* {
             p.main.ui().Option1[4]->click();
             return &p.main;
         }},
        {"main window, Bin",
         [](Program& p) -> QWidget* {
             p.main.ui().Option1[3]->click();
             return &p.main;
         }},
        {"main window, a search with a large count",
         [](Program& p) -> QWidget* {
             p.main.Add_Color(QString(1000000, u'A'), DisplayStyle{});
             p.main.ui().Text2->setText("A");
             p.main.controller().logSearch().cmdSearch_Click();
             EXPECT_TRUE(p.main.ui().lblSearchResult->text().endsWith("1/1000000"));
             return &p.main;
         }},
        {"main window, half-duplex monitoring with the time stamps described",
         [](Program& p) -> QWidget* {
             p.main.state().MonitoringMode = true;
             p.main.ui().Check2->setChecked(false);
             p.main.ui().Check2->click();
             EXPECT_EQ(p.main.ui().Check2->text(), "Description*");
             return &p.main;
         }},
        {"splash", [](Program& p) { return p.keep(new frmSplash()); }},
        {"Debugging / Simulating",
         [](Program& p) { return p.keep(new frmDebugging(&p.main, p.session(), p.main.ui())); }},
        {"Monitoring",
         [](Program& p) {
             return p.keep(new frmMonitoring(&p.main, p.session(), p.main.ui(), p.main.menus()));
         }},
        {"Advanced Settings",
         [](Program& p) {
             return p.keep(new frmSettings(&p.main, p.session(), p.main.controller().portList()));
         }},
        {"import",
         [](Program& p) {
             return p.keep(new frmImport(&p.main, p.session(), p.main.controller().profile()));
         }},
        {"button editor",
         [](Program& p) { return p.keep(new frmProgBut(&p.main, p.session().shared(), {})); }},
        {"button editor, ASCII",
         [](Program& p) {
             auto* editor = new frmProgBut(&p.main, p.session().shared(), {});
             editor->Option1[1]->click();
             return p.keep(editor);
         }},
        {"rule editor",
         [](Program& p) { return p.keep(new frmAutoResp(&p.main, p.profile(), {})); }},
        {"rule editor, ASCII",
         [](Program& p) {
             auto* editor = new frmAutoResp(&p.main, p.profile(), {});
             editor->Option1[1]->click();
             return p.keep(editor);
         }},
        {"macro editor",
         [](Program& p) { return p.keep(new frmAutoSequence(&p.main, p.profile(), {})); }},
        {"macro editor, ASCII",
         [](Program& p) {
             auto* editor = new frmAutoSequence(&p.main, p.profile(), {});
             editor->Option1[1]->click();
             return p.keep(editor);
         }},
        {"options", [](Program& p) { return p.keep(new frmOptions(&p.main, p.session(), {})); }},
        {"calculator", [](Program& p) { return p.keep(new frmLogic()); }},
        {"ASCII chart", [](Program& p) { return p.keep(new frmAscII()); }},
        {"About", [](Program& p) { return p.keep(new frmAbout()); }},
        {"Open Log's progress",
         [](Program& p) -> QWidget* {
             p.folder.write("log.txt", QByteArray(1 << 20, 'A'));
             auto file = std::make_unique<QFile>(p.folder.file("log.txt"));
             EXPECT_TRUE(file->open(QIODevice::ReadOnly));
             // A piece a slice: the file takes many, and the box is there after the first.
             p.loader = std::make_unique<LogLoader>(p.main.log(), p.scheduler, &p.main,
                                                    LogLoader::Pace{1024, 1000, 1});
             p.loader->start(std::move(file), p.folder.file("log.txt"));
             return p.main.findChild<QProgressDialog*>();
         }},
    };
    for (const WindowCase& c : cases) {
        Program program(folder);
        QWidget* window = c.open(program);
        ASSERT_NE(window, nullptr) << c.name;
        window->show();
        // The layouts that the showing asked for.
        QCoreApplication::sendPostedEvents();
        const QStringList cut = cutTexts(*window);
        EXPECT_TRUE(cut.isEmpty()) << c.name << ":\n" << cut.join('\n').toStdString();
    }
}

} // namespace
