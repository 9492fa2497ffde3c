#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;

namespace orvanel {

// The character's pop-up menu rclc, its items named as the program names them (mnConfig,
// mnOnTop, mnEnd, ...). Prepare sets the check marks and the plug-in items before each
// opening; the commands go to the handlers the shell registers.
class CharacterMenu : public QObject {
    Q_OBJECT
public:
    explicit CharacterMenu(QObject* parent = nullptr);
    ~CharacterMenu() override;

    // Every item, by name: mnConfig, mnWR, mnSkin, mnOption, mnDebug, mnOnTop, mnHide,
    // mnSilent, mnExport, mnPlugIn, mnScenarioEdit, mnScriptEdit, mnScriptSend, mnSysLnch,
    // mnMini, nmAbout, mnEnd.
    QAction* Item(const QString& name) const;
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

    // The command of each item, by name. An item without a handler does nothing.
    void SetHandler(const QString& name, std::function<void()> handler);

    // Items whose windows come with later work: shown, greyed out.
    static const QStringList& LaterItems();
    // The plug-in items and the program each one starts.
    static const QHash<QString, QString>& PlugInPrograms();

private:
    QAction* Add(QMenu* menu, const QString& name, const QString& caption, bool checkable = false);

    QMenu* menu_;
    QHash<QString, QAction*> items_;
    QHash<QString, std::function<void()>> handlers_;
};

} // namespace orvanel
