#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// What the logic needs of the windows. The Qt windows implement these; tests implement them
// with recording fakes. Geometry is in twips, as the skin and the balloon layout give it.
namespace orvanel {

// A speech balloon window (frmBln_h, frmBln_f).
class BalloonView {
public:
    virtual ~BalloonView() = default;
    // Makes the window visible without taking the activation.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
    // Raises the window above the others without activating or moving it.
    virtual void BringToFront() = 0;
    // Keeps the window above all others, or stops doing so; nothing happens when unchanged.
    virtual void SetTopmost(bool on) = 0;
    // Activates the window; returns a token naming the window that was active before. On a
    // desktop where a talk must never take the keyboard from the user's window, the window
    // only comes to the front and the token is 0.
    virtual quint64 Activate() = 0;
    // Gives the activation back to the window of a token from Activate (0: none).
    virtual void RestoreActivation(quint64 token) = 0;
    // Sets the whole text of the message label lblMsg (CR LF breaks the line).
    virtual void SetMessage(const QString& text) = 0;
    virtual QString Message() const = 0;
    // Adds to the end of the text: a balloon that keeps its own text appends in place, so a
    // script shown a character at a time costs no copy of everything said so far.
    virtual void AppendMessage(QStringView more) {
        QString text = Message();
        SetMessage(text += more);
    }
};

// The panels of the main balloon that ForeMenu brings to the front; None: the message alone.
enum class BalloonPanel { Select, Menu, Teach, Search, None };

// One page of the balloon menu: the heading lblCall and the captions of the lines lblMenu
// 0..6 ("" is an empty slot). Disabled lines are shown greyed out and take no clicks.
struct MenuPage {
    QString heading;
    QStringList items;
    QList<int> disabled;
};

// What the search panel frameSearch shows when it opens: its title lblSearchEngine, which
// option frame (none, the Google modes optGoogleMode, the goo dictionaries optGooDic) with
// which option selected, whether the input method is on, and the text of txtSearch with the
// caret at its end.
struct SearchPanelSetup {
    enum class Options { None, GoogleModes, GooDictionaries };
    QString title;
    Options options = Options::None;
    int preset = 0;
    bool inputMethod = true;
    QString text;
};

// The main character's balloon with its panels and the wait-for-click marker.
class MainBalloonView : public BalloonView {
public:
    // The "▼" marker lblwfc, placed at the lower right corner of the message area.
    virtual void SetWaitMarkerVisible(bool on) = 0;
    // Shows or hides one panel (frameSelect, frameMenu, frameTeach, frameSearch).
    virtual void SetPanelVisible(BalloonPanel panel, bool on) = 0;
    virtual bool IsPanelVisible(BalloonPanel panel) const = 0;
    // Gives the panel's OK and cancel buttons their normal text colour 0x404040 again.
    virtual void ResetPanelButtons(BalloonPanel panel) = 0;
    // Moves the choice panel frameSelect (twips inside the balloon).
    virtual void MoveChoicePanel(int left, int top) = 0;
    // The answer words of the choice panel: lblYes and lblNo.
    virtual void SetChoiceWords(const QString& yes, const QString& no) = 0;
    // The prompt and the example label of the teaching panel frameTeach.
    virtual void SetTeachPrompt(const QString& text) = 0;
    virtual void SetTeachExample(const QString& text) = 0;
    // The teaching panel's input box txtInput.
    virtual QString InputText() const = 0;
    virtual void SetInputText(const QString& text) = 0;
    // Puts the keyboard focus into txtInput when it is visible.
    virtual void FocusInput() = 0;

    // The menu panel frameMenu: its page, and the hover mark (the line under the mouse takes
    // the balloon's ForeColor as background; -1 clears the mark).
    virtual void SetMenuPage(const MenuPage& page) = 0;
    virtual void MarkMenuItem(int index) = 0;

    // The search panel frameSearch.
    virtual void SetUpSearchPanel(const SearchPanelSetup& setup) = 0;
    virtual QString SearchText() const = 0;
    // The index of the first selected option of the shown option frame; the number of its
    // options when none is selected (0 without a frame).
    virtual int SearchOption() const = 0;
    // Colours the OK (true) or the cancel button's text light red.
    virtual void MarkSearchButton(bool ok) = 0;
    // Puts the keyboard focus into txtSearch when it is visible.
    virtual void FocusSearch() = 0;
};

// The character window frmKanami together with the fellow window frmFellow.
class CharacterView {
public:
    virtual ~CharacterView() = default;
    // Whether frmKanami is visible.
    virtual bool IsVisible() const = 0;
    // Shows surface n with its window shape and sets the blink hold flag to `hold`.
    virtual void ShowSurface(int n, bool hold) = 0;
    // Whether the skin has a fellow character (its Surface10).
    virtual bool FellowPresent() const = 0;
    // Keeps both character windows above all others, or stops doing so (ApplyOnTop).
    virtual void SetTopmost(bool on) = 0;
    // Brings frmKanami to the foreground (SetForegroundWindow).
    virtual void BringToForeground() = 0;
    // Lets frmKanami take mouse and keyboard input, or not.
    virtual void SetEnabled(bool on) = 0;
};

} // namespace orvanel
