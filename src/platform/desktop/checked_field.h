#pragma once

#include <QChar>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QDropEvent;
class QFocusEvent;
class QKeyEvent;
class QLineEdit;
class QWidget;
class QWindow;

namespace kst {

// The focus colour of an input field: yellow while it has the focus, white otherwise.
void highlightField(QWidget* field, bool on);

// Selects the whole text of a field that has just taken the focus, once the click that
// gave it the focus has placed the caret (a mouse press would otherwise drop the selection).
void selectAllOnFocus(QLineEdit* field);

// Whether a field that lost the focus has been left. A popup or another window (a message
// box, the main window) takes the focus only for a while: the field keeps it within its
// own window, and checking it then would stack a box on the box.
bool fieldLeft(const QFocusEvent& event);

// The one behaviour of every input field of the program: yellow with its whole text
// selected while it has the focus, keys filtered and typing limited (pasted text too),
// Enter taken where the field gives it an action, and a check at every move of the focus
// out of it that keeps the focus there when it fails. A click that moved the focus is then
// dropped: the button or list clicked does nothing, so a button that would run the same
// check (a Save beside the field) tells no second refusal.
class CheckedField : public QObject {
    Q_OBJECT
public:
    struct Rules {
        // The character a typed printable key puts in, or nothing when the field drops it;
        // unset, every key passes. Editing keys (Delete, Backspace, arrows, Ctrl+
        // combinations) are not asked about: they always reach the field.
        std::function<std::optional<QChar>(QChar)> key;
        // How many characters typing or pasting may make the text; 0, no limit. It limits
        // typing only: a longer text the program puts in is shown whole, and the field's
        // check decides whether it can stay. A paste is filtered by `key` first and then
        // cut to what fits. The field's own maximum length is left at its default: it
        // would cut such a text, and cut a paste before its refused characters are dropped.
        int typingLimit = 0;
        // Enter's action; unset, Enter is the field's own.
        std::function<void()> enter;
        // After the field took the focus (highlighted, selected, its text kept).
        std::function<void()> gotFocus;
        // The check on leaving: false keeps the focus in the field.
        std::function<bool()> validate;
        // What leaving does after a passed check.
        std::function<void()> lostFocus;
    };

    // `owner`: whose rules these are; the field's checks end with it. `shown`: the widget
    // the user sees as the field and whose events count (an editable combo box for its
    // line); by default the line itself.
    CheckedField(QLineEdit* field, Rules rules, QObject* owner, QWidget* shown = nullptr);

    // Rules that need the field itself are set once it exists.
    void setRules(Rules rules) { rules_ = std::move(rules); }
    // A limit that follows another choice (the notation typed in); 0, no limit. The text
    // there already stays as it is.
    void setTypingLimit(int limit) { rules_.typingLimit = limit; }

    // Whether the text differs from what the field held when it took the focus.
    bool changedSinceEntry() const;

    // Takes the focus from the control of `window` that holds it, as a move to another of
    // its controls does (a field's check runs and its change is told, and so is a list's),
    // then runs `settle`: the closing's questions and saves. A key or the close box closes
    // a window without moving the focus, so its last edit gets the hearing a click on a
    // button gives it. False when the check or `settle` refused: the window stays, the
    // focus back where it was unless a refusal put it into its field.
    static bool leaveFocusThen(QWidget& window, const std::function<bool()>& settle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Where the caret and selection stood.
    struct Place {
        int selectionStart = -1;
        int length = 0;
        int caret = 0;
    };
    // What an edit put in, as the characters before it and after it that it kept.
    struct Insertion {
        qsizetype start;
        qsizetype end;
    };
    Insertion insertion(const QString& before, const QString& text) const;
    bool keyPressed(QKeyEvent* event);
    void filterEdited();
    // Puts `kept` in place of what the edit inserted between `start` and `end`.
    void replaceInsertion(const QString& before, qsizetype start, qsizetype end,
                          const QString& kept);
    void enter(Qt::FocusReason reason);
    void leave(Qt::FocusReason reason);
    // False when the drop is refused: the control that held the focus kept it.
    bool dropping(QDropEvent& drop);
    // Gives the field the focus for a drop onto it; false when the control that held it
    // refused its leaving.
    bool enteredForDrop();
    // Gives the field the focus and enters it, also in a window that is not the active one.
    void takeFocus(Qt::FocusReason reason);
    // Follows where the focus of the field's window goes while that window is not the
    // active one: no focus event tells it there.
    void watchWindowFocus();
    void windowFocusMoved(QObject* now);

    QLineEdit* field_;
    QWidget* shown_;
    Rules rules_;
    QString entryText_;
    // The text as it was before the edit being told: an edit is told by what it changed.
    QString text_;
    // The caret and selection as they stood before the edit being told.
    Place place_;
    bool checking_ = false;
    // Between taking the focus and being left: the focus coming back from a menu, the menu
    // bar or another window is no new entry.
    bool entered_ = false;
    // The focus went aside to a menu or the menu bar last.
    bool asideInMenu_ = false;
    // Watches where the focus goes from the menu bar.
    class MenuBarAside;
    MenuBarAside* menuBarAside_;
    QPointer<QWindow> watchedWindow_;
    QMetaObject::Connection watchedFocus_;
    // The field takes the focus for a drop onto it.
    bool enteringForDrop_ = false;
    // The field is putting a filtered edit in place of the one it was told.
    bool filtering_ = false;
    // A refused field is bringing its tab forward.
    static inline bool bringingForward_ = false;
    // How many leavings a check has refused, in every field.
    static inline int refusedLeavings_ = 0;
};

} // namespace kst
