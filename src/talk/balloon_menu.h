#pragma once

#include "core/headlines.h"
#include "core/views.h"
#include "script/play_state.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace orvanel {

class TalkEngine;
struct TalkContext;

// The balloon as a small user interface: the menu that a double click on the character opens
// in the main balloon (frameMenu: pages of seven lines under a heading, each line acting by
// its caption), and the search panel (frameSearch) that the Search_* finish actions open.
// The balloon window reports clicks, hovers and the search buttons here; what is shown goes
// back through MainBalloonView.
class BalloonMenu {
public:
    // Lines per page, and how many news sources fit on the news page (line 6 is "あとにする").
    static constexpr int kLines = 7;
    static constexpr int kNewsLines = 6;

    BalloonMenu(TalkContext& talk, TalkEngine& engine);

    // The news sources of "HeadLine.dat" as start-up read them (entry 0 the empty record).
    void SetHeadlines(QList<Headline> headlines) { headlines_ = std::move(headlines); }
    const QList<Headline>& Headlines() const { return headlines_; }
    // Shows the system launcher window; until it is set the launcher line is greyed out.
    std::function<void()> openLauncher;

    // Stops the talk, cancels a pending finish action and shows the first page.
    void OpenMenu();
    // A click on a line: hides the menu and acts on the caption; an empty slot shows the menu
    // again unchanged.
    void ItemClicked(const QString& caption);
    // The mouse over line `index`, or over the panel outside the lines (-1).
    void Hovered(int index);

    // The pages the menu leads to (the first page's heading is a word of "呼び出し").
    MenuPage FirstPage();
    MenuPage NewsPage() const { return NewsPage(headlines_); }
    static MenuPage NewsPage(const QList<Headline>& headlines);
    static MenuPage SearchPage();
    static MenuPage SecondPage();
    MenuPage ServicesPage() const;

    // Prepares and shows the search panel for `engine`, 250 ms after the call.
    void OpenSearchPanel(SearchEngine engine);
    static SearchPanelSetup SearchSetup(SearchEngine engine);
    // OK or Enter in txtSearch, and the cancel button.
    void SearchOk(bool fromEnter);
    void SearchCancel();

private:
    void ShowPage(const MenuPage& page);
    void Play(const QString& script);
    void Announce(const QString& script, FinishAction then);

    TalkContext& talk_;
    TalkEngine& engine_;
    QList<Headline> headlines_;
};

} // namespace orvanel
