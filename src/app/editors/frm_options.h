#pragma once

#include "storage/user_preferences.h"

#include <QDialog>
#include <array>
#include <functional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;

namespace kst {

class Session;

// "Options": the program-wide preferences of the support database: sounds, clearing the
// log on opening, the log's colours, text styles and font size, and the start-up and exit
// actions. OK stores them all at once and applies what takes effect at once; Cancel and
// the close box change nothing.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    // `applied`: after the preferences were stored and taken into the session, the
    // main window shows what takes effect at once.
    frmOptions(QWidget* parent, Session& session, std::function<void()> applied);
    ~frmOptions() override;

    QTabWidget* SSTab1 = nullptr;
    std::array<QCheckBox*, 7> Check1{}; // start-up actions
    std::array<QCheckBox*, 2> Check2{}; // exit actions
    std::array<QCheckBox*, 3> Check3{}; // sounds
    QCheckBox* Check4 = nullptr;        // clear the log when the port opens
    QPushButton* cmdBg = nullptr;
    QComboBox* Combo1 = nullptr; // font size
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

    // One row of the text styles: its colour button and bold, italic, underline.
    struct StyleRow {
        QPushButton* color = nullptr;
        std::array<QCheckBox*, 3> flags{};
    };
    const std::vector<StyleRow>& styleRows() const { return styles_; }

    void Form_Load();
    void Command1_Click();
    void Command2_Click();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildGeneral();
    QWidget* buildDisplay();
    // A tab with one frame of check boxes, one for each preference of `fields`.
    QWidget*
    buildChecks(const QString& frameTitle, QCheckBox** boxes, const QString& name,
                const std::vector<std::pair<bool UserPreferences::*, const char*>>& fields);
    void chooseColor(QPushButton* button, quint32* color);
    void showColor(QPushButton* button, quint32 color);
    UserPreferences edited() const;

    Session& session_;
    std::function<void()> applied_;
    // The colours and styles as the dialog shows them.
    UserPreferences shown_;
    std::vector<StyleRow> styles_;
};

} // namespace kst
