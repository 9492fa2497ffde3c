#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QMenu;

namespace orvanel {

// The items of the character's menu rclc; each action's objectName is the original's item name
// (mnConfig, mnWR, mnSkin, mnOption, mnDebug, mnOnTop, mnHide, mnSilent, mnExport, mnPlugIn,
// mnScenarioEdit, mnScriptEdit, mnScriptSend, mnSysLnch, mnMini, nmAbout, mnEnd).
enum class MenuItem {
    Config,
    WordRegistration,
    Skin,
    Option,
    Debug,
    OnTop,
    Hide,
    Silent,
    Export,
    PlugIn,
    ScenarioEdit,
    ScriptEdit,
    ScriptSend,
    SystemLaunch,
    Mini,
    About,
    End,
};
inline constexpr int kMenuItemCount = int(MenuItem::End) + 1;

// The character's pop-up menu rclc. Prepare sets the check marks and the plug-in items before
// each opening; the commands go to the handlers the shell registers.
class CharacterMenu : public QObject {
    Q_OBJECT
public:
    explicit CharacterMenu(QObject* parent = nullptr);
    ~CharacterMenu() override;

    QAction* Item(MenuItem item) const { return items_[size_t(item)]; }
    QMenu* Menu() const { return menu_; }

    // What the menu shows the switches as.
    struct State {
        bool onTop = false;
        bool hide = false;
        bool silent = false;
        bool minimized = false;
        bool trayAvailable = true; // without a notification area the character is not hidden
        QString programFolder;     // where the plug-in programs are looked for
    };
    // Before the menu opens over the character: check marks and plug-ins. From the
    // notification-area icon only the plug-in items are prepared.
    void Prepare(const State& state, bool fromCharacter);

    // The command of an item. An item without a handler does nothing.
    void SetHandler(MenuItem item, std::function<void()> handler);
    // The program a plug-in item starts (in the program folder); nullopt for other items.
    static std::optional<QString> PlugInProgram(MenuItem item);

private:
    QMenu* menu_;
    std::array<QAction*, kMenuItemCount> items_{};
    std::array<std::function<void()>, kMenuItemCount> handlers_;
};

} // namespace orvanel
