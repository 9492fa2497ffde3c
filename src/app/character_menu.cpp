#include "app/character_menu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

enum class Place { Top, Option, PlugIn };

struct Row {
    MenuItem item;
    const char16_t* name;
    const char16_t* caption;
    Place place;
    bool separatorBefore = false;
    bool checkable = false;
};

// In menu order. The two submenus are rows too: their actions carry mnOption and mnPlugIn.
constexpr Row kRows[] = {
    {MenuItem::Config, u"mnConfig", u"ユーザー設定(&U)", Place::Top},
    {MenuItem::WordRegistration, u"mnWR", u"単語登録(&W)", Place::Top},
    {MenuItem::Skin, u"mnSkin", u"スキンの選択(&S)", Place::Top},
    {MenuItem::Option, u"mnOption", u"オプション(&O)", Place::Top, true},
    {MenuItem::Debug, u"mnDebug", u"デバッグウインドウ(&D)", Place::Option},
    {MenuItem::OnTop, u"mnOnTop", u"常に手前に表示(&T)", Place::Option, true, true},
    {MenuItem::Hide, u"mnHide", u"画面端で隠す(&H)", Place::Option, false, true},
    {MenuItem::Silent, u"mnSilent", u"黙らせる(&S)", Place::Option, false, true},
    {MenuItem::Export, u"mnExport", u"辞書アーカイブ作成(&E)", Place::Option, true},
    {MenuItem::PlugIn, u"mnPlugIn", u"プラグイン(&P)", Place::Option},
    {MenuItem::ScenarioEdit, u"mnScenarioEdit", u"シナリオエディタ(&C)", Place::PlugIn},
    {MenuItem::ScriptEdit, u"mnScriptEdit", u"Script &Editor", Place::PlugIn},
    {MenuItem::ScriptSend, u"mnScriptSend", u"Script &Sender", Place::PlugIn},
    {MenuItem::SystemLaunch, u"mnSysLnch", u"&SystemLaunch", Place::Option},
    {MenuItem::Mini, u"mnMini", u"アイコン化(&I)", Place::Top, true, true},
    {MenuItem::About, u"nmAbout", u"TOMUについて(&A)", Place::Top},
    {MenuItem::End, u"mnEnd", u"終了(&X)", Place::Top},
};

QString Text(const char16_t* s) {
    return QString::fromUtf16(s);
}

} // namespace

CharacterMenu::CharacterMenu(QObject* parent) : QObject(parent), menu_(new QMenu) {
    menu_->setObjectName(u"rclc"_s);
    QMenu* option = nullptr;
    QMenu* plugIn = nullptr;
    for (const Row& row : kRows) {
        QMenu* in = row.place == Place::Top ? menu_ : row.place == Place::Option ? option : plugIn;
        if (row.separatorBefore) in->addSeparator();
        QAction* action = nullptr;
        if (row.item == MenuItem::Option || row.item == MenuItem::PlugIn) {
            QMenu* sub = in->addMenu(Text(row.caption));
            sub->setObjectName(Text(row.name));
            (row.item == MenuItem::Option ? option : plugIn) = sub;
            action = sub->menuAction();
        } else {
            action = in->addAction(Text(row.caption));
            action->setCheckable(row.checkable);
            const MenuItem item = row.item;
            connect(action, &QAction::triggered, this, [this, item] {
                if (const auto& handler = handlers_[size_t(item)]) handler();
            });
            // The switches follow the debug item after a line.
            if (row.item == MenuItem::Debug) in->addSeparator();
        }
        action->setObjectName(Text(row.name));
        items_[size_t(row.item)] = action;
    }
}

CharacterMenu::~CharacterMenu() {
    delete menu_;
}

std::optional<QString> CharacterMenu::PlugInProgram(MenuItem item) {
    switch (item) {
    case MenuItem::ScenarioEdit:
        return u"ScenarioEditor.exe"_s;
    case MenuItem::ScriptEdit:
        return u"ScriptEditor.exe"_s;
    case MenuItem::ScriptSend:
        return u"ScriptSender.exe"_s;
    default:
        return std::nullopt;
    }
}

void CharacterMenu::SetHandler(MenuItem item, std::function<void()> handler) {
    handlers_[size_t(item)] = std::move(handler);
}

void CharacterMenu::Prepare(const State& state, bool fromCharacter) {
    if (fromCharacter) {
        Item(MenuItem::OnTop)->setChecked(state.onTop);
        Item(MenuItem::Hide)->setChecked(state.hide);
        Item(MenuItem::Silent)->setChecked(state.silent);
    }
    for (MenuItem item : {MenuItem::ScenarioEdit, MenuItem::ScriptEdit, MenuItem::ScriptSend})
        Item(item)->setEnabled(QFileInfo(state.programFolder + *PlugInProgram(item)).isFile());
    Item(MenuItem::Mini)->setChecked(state.minimized);
    // Minimising to a notification area that is not there would leave no way back.
    Item(MenuItem::Mini)->setEnabled(state.minimized || state.trayAvailable);
    Item(MenuItem::Skin)->setVisible(!state.minimized);
}

} // namespace orvanel
