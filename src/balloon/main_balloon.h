#pragma once

#include "balloon/balloon_window.h"
#include "core/views.h"

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;

namespace orvanel {

class PanelFrame;
class PanelLabel;

// frmBln_h: the main character's balloon with the wait-for-click marker and the panels that
// ForeMenu brings to the front: the choice panel frameSelect, the teaching panel frameTeach,
// the menu panel frameMenu, the search panel frameSearch and the progress panel Frame3.
class MainBalloon final : public BalloonWindowOf<MainBalloonView> {
    Q_OBJECT
public:
    explicit MainBalloon(AppContext& ctx, QWidget* parent = nullptr);

    // Where the user's answers go. Unset hooks do nothing.
    struct Hooks {
        // lblYes (0) or lblNo (1) clicked.
        std::function<void(int choice)> answerChosen;
        // lblLearnOK or Enter in txtInput with a non-empty text.
        std::function<void(const QString& word)> learnWord;
        // lblLearnOK or Enter with an empty txtInput, or lblLearnCancel.
        std::function<void()> nagTalk;
        // A menu line clicked: its caption.
        std::function<void(const QString& caption)> menuItem;
        // The mouse over menu line 0..6, or over the menu panel outside the lines (-1).
        std::function<void(int index)> menuHover;
        // lblSearchOK (fromEnter false) or Enter in txtSearch (true), and lblSearchCancel.
        std::function<void(bool fromEnter)> searchOk;
        std::function<void()> searchCancel;
    };
    Hooks hooks;

    // Colours and message area of balloon 0 (PlaceMainMessageArea): the label, the panels and
    // the teaching panel's buttons lined up with its input box.
    void PlaceMainMessageArea();

    // BalloonView
    void SetMessage(const QString& text) override;
    QString Message() const override;

    // MainBalloonView
    void SetWaitMarkerVisible(bool on) override;
    void SetPanelVisible(BalloonPanel panel, bool on) override;
    bool IsPanelVisible(BalloonPanel panel) const override;
    void ResetPanelButtons(BalloonPanel panel) override;
    void MoveChoicePanel(int left, int top) override;
    void SetChoiceWords(const QString& yes, const QString& no) override;
    void SetTeachPrompt(const QString& text) override;
    void SetTeachExample(const QString& text) override;
    QString InputText() const override;
    void SetInputText(const QString& text) override;
    void FocusInput() override;
    void SetMenuPage(const MenuPage& page) override;
    void MarkMenuItem(int index) override;
    void SetUpSearchPanel(const SearchPanelSetup& setup) override;
    QString SearchText() const override;
    int SearchOption() const override;
    void MarkSearchButton(bool ok) override;
    void FocusSearch() override;

    // For tests and the later panels: the widgets by their names.
    PanelFrame* Panel(BalloonPanel panel) const;
    PanelLabel* YesLabel() const { return yes_; }
    PanelLabel* NoLabel() const { return no_; }
    PanelLabel* LearnOk() const { return learnOk_; }
    PanelLabel* LearnCancel() const { return learnCancel_; }
    PanelLabel* MenuLine(int i) const { return menuItems_[size_t(i)]; }
    QLineEdit* Input() const { return input_; }
    QLineEdit* SearchInput() const { return searchText_; }
    PanelLabel* SearchOk() const { return searchOk_; }
    PanelLabel* SearchCancel() const { return searchCancel_; }
    QLabel* SearchTitle() const { return engine_; }
    PanelFrame* GoogleModes() const { return googleModes_; }
    PanelFrame* GooDictionaries() const { return gooDictionaries_; }
    // The options of a frame, in index order.
    QList<QRadioButton*> OptionsOf(PanelFrame* frame) const;
    QLabel* WaitMarker() const { return marker_; }

private:
    void BuildSelectPanel();
    void BuildTeachPanel();
    void BuildMenuPanel();
    void BuildSearchPanel();
    void BuildProgressPanel();
    void MarkChoice(PanelLabel* hovered);
    void SubmitLearning();
    QColor Back() const;
    QColor Fore() const;

    QLabel* marker_;
    PanelFrame* select_;
    PanelLabel* selMsg_;
    PanelLabel* yes_;
    PanelLabel* no_;
    PanelFrame* teach_;
    QLabel* prompt_;  // lblexp
    QLabel* example_; // lblex
    QLineEdit* input_;
    PanelLabel* learnOk_;
    PanelLabel* learnCancel_;
    PanelFrame* menu_;
    PanelLabel* call_;
    std::array<PanelLabel*, 7> menuItems_{};
    PanelFrame* search_;
    QLabel* engine_; // lblSearchEngine
    QLineEdit* searchText_;
    PanelLabel* searchOk_;
    PanelLabel* searchCancel_;
    PanelFrame* googleModes_;
    PanelFrame* gooDictionaries_;
    QList<QRadioButton*> options_;
    PanelFrame* progress_;
};

} // namespace orvanel
