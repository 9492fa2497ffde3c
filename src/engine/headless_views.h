#pragma once

#include "core/views.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace orvanel {

// A balloon without a window: it keeps what a window would show (the label's text, its
// panels, the answer words, the input box). orvanel-script plays into it; tests record on top.
class HeadlessBalloon : public MainBalloonView {
public:
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    bool IsVisible() const override { return visible; }
    void BringToFront() override {}
    void SetTopmost(bool on) override { topmost = on; }
    quint64 Activate() override { return 0; }
    void RestoreActivation(quint64) override {}
    void SetMessage(const QString& text) override { message = text; }
    void AppendMessage(QStringView more) override { message += more; }
    QString Message() const override { return message; }
    void SetWaitMarkerVisible(bool on) override { marker = on; }
    void SetPanelVisible(BalloonPanel panel, bool on) override { panels[panel] = on; }
    bool IsPanelVisible(BalloonPanel panel) const override { return panels.value(panel); }
    void ResetPanelButtons(BalloonPanel) override {}
    void MoveChoicePanel(int left, int top) override { choicePos = {left, top}; }
    void SetChoiceWords(const QString& yes, const QString& no) override { choiceWords = {yes, no}; }
    void SetTeachPrompt(const QString& text) override { teachPrompt = text; }
    void SetTeachExample(const QString& text) override { teachExample = text; }
    QString InputText() const override { return input; }
    void SetInputText(const QString& text) override { input = text; }
    void FocusInput() override {}
    void SetMenuPage(const MenuPage& page) override { menu = page; }
    void MarkMenuItem(int index) override { menuMark = index; }
    void SetUpSearchPanel(const SearchPanelSetup& setup) override { search = setup; }
    QString SearchText() const override { return search.text; }
    int SearchOption() const override {
        const int count = search.options == SearchPanelSetup::Options::GoogleModes       ? 3
                          : search.options == SearchPanelSetup::Options::GooDictionaries ? 4
                                                                                         : 0;
        return search.preset >= 0 && search.preset < count ? search.preset : count;
    }
    void MarkSearchButton(bool ok) override { searchMark = ok ? 1 : 0; }
    void FocusSearch() override {}

    bool visible = false;
    bool topmost = false;
    bool marker = false;
    QString message;
    QMap<BalloonPanel, bool> panels;
    std::pair<int, int> choicePos{0, 0};
    QStringList choiceWords;
    QString teachPrompt, teachExample, input;
    MenuPage menu;
    int menuMark = -1;
    // The search panel as set up; the text and the selected option as the user left them.
    SearchPanelSetup search;
    int searchMark = -1; // 1 OK, 0 cancel coloured
};

// The character without a window: remembers every surface it was asked to show.
class HeadlessCharacter : public CharacterView {
public:
    bool IsVisible() const override { return visible; }
    void ShowSurface(int n, bool) override { surfaces.append(n); }
    bool FellowPresent() const override { return fellow; }
    void SetTopmost(bool on) override { topmost = on; }
    void BringToForeground() override {}
    void SetEnabled(bool on) override { enabled = on; }

    bool visible = true;
    bool fellow = true;
    bool topmost = false;
    bool enabled = true;
    QList<int> surfaces;
};

} // namespace orvanel
