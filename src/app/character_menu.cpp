#include "app/character_menu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace orvanel {

CharacterMenu::CharacterMenu(QObject* parent) : QObject(parent), menu_(new QMenu) {
    menu_->setObjectName(QStringLiteral("rclc"));
    Add(menu_, QStringLiteral("mnConfig"), QStringLiteral("ユーザー設定(&U)"));
    Add(menu_, QStringLiteral("mnWR"), QStringLiteral("単語登録(&W)"));
    Add(menu_, QStringLiteral("mnSkin"), QStringLiteral("スキンの選択(&S)"));
    menu_->addSeparator();
    QMenu* option = menu_->addMenu(QStringLiteral("オプション(&O)"));
    option->setObjectName(QStringLiteral("mnOption"));
    items_.insert(QStringLiteral("mnOption"), option->menuAction());
    Add(option, QStringLiteral("mnDebug"), QStringLiteral("デバッグウインドウ(&D)"));
    option->addSeparator();
    Add(option, QStringLiteral("mnOnTop"), QStringLiteral("常に手前に表示(&T)"), true);
    Add(option, QStringLiteral("mnHide"), QStringLiteral("画面端で隠す(&H)"), true);
    Add(option, QStringLiteral("mnSilent"), QStringLiteral("黙らせる(&S)"), true);
    option->addSeparator();
    Add(option, QStringLiteral("mnExport"), QStringLiteral("辞書アーカイブ作成(&E)"));
    QMenu* plugIn = option->addMenu(QStringLiteral("プラグイン(&P)"));
    plugIn->setObjectName(QStringLiteral("mnPlugIn"));
    items_.insert(QStringLiteral("mnPlugIn"), plugIn->menuAction());
    Add(plugIn, QStringLiteral("mnScenarioEdit"), QStringLiteral("シナリオエディタ(&C)"));
    Add(plugIn, QStringLiteral("mnScriptEdit"), QStringLiteral("Script &Editor"));
    Add(plugIn, QStringLiteral("mnScriptSend"), QStringLiteral("Script &Sender"));
    Add(option, QStringLiteral("mnSysLnch"), QStringLiteral("&SystemLaunch"));
    menu_->addSeparator();
    Add(menu_, QStringLiteral("mnMini"), QStringLiteral("アイコン化(&I)"), true);
    Add(menu_, QStringLiteral("nmAbout"), QStringLiteral("TOMUについて(&A)"));
    Add(menu_, QStringLiteral("mnEnd"), QStringLiteral("終了(&X)"));
    for (const QString& name : LaterItems())
        items_.value(name)->setEnabled(false);
}

CharacterMenu::~CharacterMenu() {
    delete menu_;
}

const QStringList& CharacterMenu::LaterItems() {
    static const QStringList kItems = {QStringLiteral("mnWR"), QStringLiteral("mnDebug"),
                                       QStringLiteral("mnExport"), QStringLiteral("mnSysLnch")};
    return kItems;
}

const QHash<QString, QString>& CharacterMenu::PlugInPrograms() {
    static const QHash<QString, QString> kPrograms = {
        {QStringLiteral("mnScenarioEdit"), QStringLiteral("ScenarioEditor.exe")},
        {QStringLiteral("mnScriptEdit"), QStringLiteral("ScriptEditor.exe")},
        {QStringLiteral("mnScriptSend"), QStringLiteral("ScriptSender.exe")}};
    return kPrograms;
}

QAction* CharacterMenu::Add(QMenu* menu, const QString& name, const QString& caption,
                            bool checkable) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(checkable);
    items_.insert(name, action);
    connect(action, &QAction::triggered, this, [this, name] {
        if (const auto handler = handlers_.value(name)) handler();
    });
    return action;
}

QAction* CharacterMenu::Item(const QString& name) const {
    return items_.value(name);
}

void CharacterMenu::SetHandler(const QString& name, std::function<void()> handler) {
    handlers_.insert(name, std::move(handler));
}

void CharacterMenu::Prepare(const State& state, bool fromCharacter) {
    if (fromCharacter) {
        items_.value(QStringLiteral("mnOnTop"))->setChecked(state.onTop);
        items_.value(QStringLiteral("mnHide"))->setChecked(state.hide);
        items_.value(QStringLiteral("mnSilent"))->setChecked(state.silent);
    }
    for (auto it = PlugInPrograms().cbegin(); it != PlugInPrograms().cend(); ++it)
        items_.value(it.key())->setEnabled(QFileInfo(state.programFolder + it.value()).isFile());
    items_.value(QStringLiteral("mnMini"))->setChecked(state.minimized);
    // Minimising to a notification area that is not there would leave no way back.
    items_.value(QStringLiteral("mnMini"))->setEnabled(state.minimized || state.trayAvailable);
    items_.value(QStringLiteral("mnSkin"))->setVisible(!state.minimized);
}

} // namespace orvanel
