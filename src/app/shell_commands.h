#pragma once

#include "app/character_menu.h"
#include "app/character_window.h"

#include <QObject>
#include <QPointer>

namespace orvanel {

class CharacterView;
class OptionWindow;
class ShellLifecycle;
class SkinSelectWindow;
class WordRegistrationWindow;
struct ReceivedScript;
class ShellParts;

// What the user asks for: the commands of the character's menu rclc and of the
// notification-area icon, clicks on the characters and scripts that arrive at the port.
class ShellCommands final : public QObject {
    Q_OBJECT
public:
    // Binds the menu's items, the windows' mouse signals and the port to the commands.
    ShellCommands(ShellParts& parts, CharacterView& character, ShellLifecycle& lifecycle);
    // The tool windows still open go with the shell.
    ~ShellCommands() override;

    void OpenOptions();
    void OpenSkinSelection();
    // frmRegWord: the main timer stops and the character takes no input while it is open.
    void OpenWordRegistration();
    // The dictionary archive on the desktop.
    void ExportDictionary();
    void ToggleOnTop();
    void ToggleHide();
    void ToggleSilent();
    void StartPlugIn(MenuItem item);
    // Into the notification area and back.
    void Minimize();
    void Restore(bool fromIcon);
    // A second start was refused: she comes back from the notification area or from behind
    // the screen edge, and her windows come to the front.
    void BringForward();
    void ShowAbout();
    // The End command: the farewell, then the main timer closes 30 ticks after it.
    void EndCommand();
    // Opens rclc at `global` as the right button does over the character.
    void OpenCharacterMenu(QPoint global);

private:
    void ScriptArrived(const ReceivedScript& received);
    void CharacterPressed(CharacterWindow::Area area, Qt::MouseButton button);
    void CharacterMoved(CharacterWindow::Area area, QPoint pos);
    void Dropped(const QStringList& files, const QString& text, bool hasText);
    // Something the touch reactions count changed: the main timer lets it calm down on time.
    void Touched();
    void FellowPoked();
    void PrepareMenu(bool fromCharacter);

    ShellParts& parts_;
    CharacterView& character_;
    ShellLifecycle& lifecycle_;
    QPointer<OptionWindow> optionWindow_;
    QPointer<SkinSelectWindow> skinSelect_;
    QPointer<WordRegistrationWindow> wordRegistration_;
    QPointer<QWidget> about_;
    bool answeredWait_ = false; // the last press on her answered a click wait
};

} // namespace orvanel
