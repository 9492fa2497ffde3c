#include "balloon/main_balloon.h"

#include "balloon/balloon_layout.h"
#include "balloon/message_label.h"
#include "balloon/panel_widgets.h"
#include "core/app_context.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// Heights of the panels' rows, in pixels (the panels' inner layout is ours).
constexpr int kRow = 17;

void Paint(QWidget* w, const QColor& color) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, color);
    p.setColor(QPalette::Base, Qt::white);
    w->setPalette(p);
}

// Double-clicking one of the search options hides the balloon, as the frames around them do.
class HideOnDoubleClick final : public QObject {
public:
    explicit HideOnDoubleClick(QWidget* balloon) : QObject(balloon), balloon_(balloon) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) {
            balloon_->hide();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* balloon_;
};

QLabel* PassiveLabel(QWidget* parent) {
    auto* l = new QLabel(parent);
    // The panel under it handles the mouse (a double click on it hides the balloon).
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}

} // namespace

MainBalloon::MainBalloon(AppContext& ctx, QWidget* parent) : BalloonWindowOf(ctx, 0, parent) {
    setObjectName(u"frmBln_h"_s);
    // Never shown (the window has no frame); it names the window for tools and tests.
    setWindowTitle(u"Orvanel - Balloon"_s);
    marker_ = new QLabel(u"▼"_s, this);
    marker_->setObjectName(u"lblwfc"_s);
    marker_->setAttribute(Qt::WA_TransparentForMouseEvents);
    marker_->hide();
    setAccessibleName(u"かなみの吹き出し"_s);
    BuildSelectPanel();
    BuildTeachPanel();
    BuildMenuPanel();
    BuildSearchPanel();
    BuildProgressPanel();
    PlaceMainMessageArea();
}

QColor MainBalloon::Back() const {
    return ColorFromBgr(ctx_.skin.balloons[0].backColor);
}
QColor MainBalloon::Fore() const {
    return ColorFromBgr(ctx_.skin.balloons[0].foreColor);
}

void MainBalloon::BuildSelectPanel() {
    select_ = new PanelFrame(this);
    select_->setObjectName(u"frameSelect"_s);
    select_->setAccessibleName(u"選択"_s);
    selMsg_ = new PanelLabel(u"選択"_s, select_);
    selMsg_->setAttribute(Qt::WA_TransparentForMouseEvents);
    yes_ = new PanelLabel(u"はい"_s, select_);
    yes_->setObjectName(u"lblYes"_s);
    no_ = new PanelLabel(u"いいえ"_s, select_);
    no_->setObjectName(u"lblNo"_s);
    yes_->SetActsAsButton(true);
    no_->SetActsAsButton(true);
    connect(select_, &PanelFrame::Hovered, this, [this] {
        MarkChoice(nullptr);
        DisplayCounter() = 0;
    });
    connect(yes_, &PanelLabel::Hovered, this, [this] { MarkChoice(yes_); });
    connect(no_, &PanelLabel::Hovered, this, [this] { MarkChoice(no_); });
    connect(yes_, &PanelLabel::Clicked, this, [this] {
        if (hooks.answerChosen) hooks.answerChosen(0);
    });
    connect(no_, &PanelLabel::Clicked, this, [this] {
        if (hooks.answerChosen) hooks.answerChosen(1);
    });
    select_->hide();
}

void MainBalloon::BuildTeachPanel() {
    teach_ = new PanelFrame(this);
    teach_->setObjectName(u"frameTeach"_s);
    teach_->setAccessibleName(u"単語を教える"_s);
    prompt_ = PassiveLabel(teach_);
    prompt_->setObjectName(u"lblexp"_s);
    example_ = PassiveLabel(teach_);
    example_->setObjectName(u"lblex"_s);
    input_ = new QLineEdit(teach_);
    input_->setObjectName(u"txtInput"_s);
    input_->setAccessibleName(u"教える単語"_s);
    new EnterKeyFilter(input_, [this] { SubmitLearning(); });
    learnOk_ = new PanelLabel(u"OK"_s, teach_);
    learnOk_->setObjectName(u"lblLearnOK"_s);
    learnCancel_ = new PanelLabel(u"キャンセル"_s, teach_);
    learnCancel_->setObjectName(u"lblLearnCancel"_s);
    for (PanelLabel* b : {learnOk_, learnCancel_}) {
        b->setAlignment(Qt::AlignCenter);
        b->SetActsAsButton(true);
        connect(b, &PanelLabel::Hovered, this,
                [b] { b->SetTextColor(ColorFromBgr(kButtonHoverBgr)); });
    }
    connect(teach_, &PanelFrame::Hovered, this, [this] { ResetPanelButtons(BalloonPanel::Teach); });
    connect(teach_, &PanelFrame::DoubleClicked, this, &QWidget::hide);
    connect(learnOk_, &PanelLabel::Clicked, this, [this] { SubmitLearning(); });
    connect(learnCancel_, &PanelLabel::Clicked, this, [this] {
        if (hooks.nagTalk) hooks.nagTalk();
        ctx_.flags.balloonHold = false;
    });
    teach_->hide();
}

void MainBalloon::SubmitLearning() {
    const QString word = input_->text();
    if (word.isEmpty()) {
        if (hooks.nagTalk) hooks.nagTalk();
        ctx_.flags.balloonHold = false;
    } else if (hooks.learnWord) {
        hooks.learnWord(word);
    }
}

void MainBalloon::BuildMenuPanel() {
    menu_ = new PanelFrame(this);
    menu_->setObjectName(u"frameMenu"_s);
    menu_->setAccessibleName(u"メニュー"_s);
    call_ = new PanelLabel(u"ん？"_s, menu_);
    call_->setObjectName(u"lblCall"_s);
    call_->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (int i = 0; i < 7; ++i) {
        auto* line = new PanelLabel({}, menu_);
        line->setObjectName(u"lblMenu%1"_s.arg(i));
        line->SetActsAsButton(true);
        menuItems_[size_t(i)] = line;
        connect(line, &PanelLabel::Hovered, this, [this, i] {
            if (hooks.menuHover) hooks.menuHover(i);
        });
        connect(line, &PanelLabel::Clicked, this, [this, line] {
            if (hooks.menuItem) hooks.menuItem(line->text());
        });
    }
    connect(menu_, &PanelFrame::Hovered, this, [this] {
        if (hooks.menuHover) hooks.menuHover(-1);
    });
    menu_->hide();
}

void MainBalloon::BuildSearchPanel() {
    search_ = new PanelFrame(this);
    search_->setObjectName(u"frameSearch"_s);
    search_->setAccessibleName(u"検索"_s);
    engine_ = PassiveLabel(search_);
    engine_->setObjectName(u"lblSearchEngine"_s);
    searchText_ = new QLineEdit(search_);
    searchText_->setObjectName(u"txtSearch"_s);
    searchText_->setAccessibleName(u"検索する言葉"_s);
    new EnterKeyFilter(searchText_, [this] {
        if (hooks.searchOk) hooks.searchOk(true);
    });
    searchOk_ = new PanelLabel(u"OK"_s, search_);
    searchOk_->setObjectName(u"lblSearchOK"_s);
    searchCancel_ = new PanelLabel(u"キャンセル"_s, search_);
    searchCancel_->setObjectName(u"lblSearchCancel"_s);
    for (PanelLabel* b : {searchOk_, searchCancel_}) {
        b->setAlignment(Qt::AlignCenter);
        b->SetActsAsButton(true);
        connect(b, &PanelLabel::Hovered, this,
                [b] { b->SetTextColor(ColorFromBgr(kButtonHoverBgr)); });
    }
    connect(searchOk_, &PanelLabel::Clicked, this, [this] {
        if (hooks.searchOk) hooks.searchOk(false);
    });
    connect(searchCancel_, &PanelLabel::Clicked, this, [this] {
        if (hooks.searchCancel) hooks.searchCancel();
    });
    connect(search_, &PanelFrame::Hovered, this,
            [this] { ResetPanelButtons(BalloonPanel::Search); });
    connect(search_, &PanelFrame::DoubleClicked, this, &QWidget::hide);

    auto* hider = new HideOnDoubleClick(this);
    const auto optionFrame = [&](const char* name, const QStringList& captions, int preset) {
        auto* frame = new PanelFrame(search_);
        frame->setObjectName(QString::fromLatin1(name));
        for (int i = 0; i < captions.size(); ++i) {
            auto* option = new QRadioButton(captions[i], frame);
            option->setChecked(i == preset);
            option->installEventFilter(hider);
            options_.append(option);
        }
        connect(frame, &PanelFrame::DoubleClicked, this, &QWidget::hide);
        frame->hide();
        return frame;
    };
    googleModes_ =
        optionFrame("frameGoogleSelMode", {u"ウェブ"_s, u"イメージ"_s, u"グループ"_s}, 0);
    gooDictionaries_ =
        optionFrame("frameGooSelDic", {u"英和"_s, u"和英"_s, u"国語"_s, u"新語"_s}, 2);
    search_->hide();
}

void MainBalloon::BuildProgressPanel() {
    progress_ = new PanelFrame(this);
    progress_->setObjectName(u"Frame3"_s);
    auto* label = PassiveLabel(progress_);
    label->setObjectName(u"Label9"_s);
    for (int i = 1; i <= 2; ++i) {
        auto* bar = new QProgressBar(progress_);
        bar->setObjectName(u"ProgressBar%1"_s.arg(i));
        bar->setTextVisible(false);
    }
    progress_->hide();
}

void MainBalloon::PlaceMainMessageArea() {
    const QColor back = Back();
    const MainBalloonLayout l = LayOutMainBalloon(ctx_.skin.balloons[0].msgArea);
    PlaceLabel(l.message, ctx_.skin.balloons[0].backColor);
    const QRect msg = TwipsToPixels(l.message);
    const int width = msg.width();
    const int inputLeft = TwipsToPixels(l.inputLeft);
    const int inputWidth = TwipsToPixels(l.inputWidth);
    const int panelWidth = TwipsToPixels(l.panelWidth);
    const int buttonWidth = TwipsToPixels(1125);

    marker_->adjustSize();
    marker_->move(msg.right() + 1 - marker_->width(), msg.bottom() + 1 - marker_->height());

    for (PanelFrame* f :
         {select_, teach_, menu_, search_, progress_, googleModes_, gooDictionaries_})
        f->SetBackground(back);
    for (QRadioButton* o : std::as_const(options_))
        Paint(o, back);
    for (PanelLabel* p : {call_, yes_, no_, selMsg_})
        p->SetBackground(back);

    // Choice panel: heading, then the two answers.
    select_->setGeometry(QRect(TwipsToPixels(l.select), QSize(width, 3 * kRow + 6)));
    selMsg_->setGeometry(0, 0, width, kRow);
    yes_->setGeometry(8, kRow + 2, width - 16, kRow);
    no_->setGeometry(8, 2 * kRow + 4, width - 16, kRow);

    // Teaching panel: prompt, example, input box, and the buttons lined up with the box.
    teach_->setGeometry(QRect(TwipsToPixels(l.teach), QSize(panelWidth, 4 * kRow + 14)));
    prompt_->setGeometry(8, 0, panelWidth - 16, kRow);
    example_->setGeometry(8, kRow, panelWidth - 16, kRow);
    input_->setGeometry(inputLeft, 2 * kRow + 2, inputWidth, kRow + 4);
    learnOk_->setGeometry(TwipsToPixels(l.learnOkLeft), 3 * kRow + 10, buttonWidth, kRow);
    learnCancel_->setGeometry(TwipsToPixels(l.learnCancelLeft), 3 * kRow + 10, buttonWidth, kRow);

    // Menu panel: heading and seven lines over the message area.
    menu_->setGeometry(QRect(TwipsToPixels(l.menu), QSize(width, 8 * kRow + 4)));
    call_->setGeometry(4, 2, width - 8, kRow);
    for (int i = 0; i < 7; ++i) {
        menuItems_[size_t(i)]->setGeometry(12, 2 + kRow * (i + 1), width - 20, kRow);
        menuItems_[size_t(i)]->SetBackground(back);
    }

    // Search panel: title, text box, the engine's options, buttons.
    search_->setGeometry(QRect(TwipsToPixels(l.search), QSize(panelWidth, 5 * kRow + 12)));
    engine_->setGeometry(8, 0, panelWidth - 16, kRow);
    searchText_->setGeometry(inputLeft, kRow + 2, inputWidth, kRow + 4);
    for (PanelFrame* f : {googleModes_, gooDictionaries_}) {
        f->setGeometry(4, 2 * kRow + 8, panelWidth - 8, kRow + 2);
        const QList<QRadioButton*> buttons = f->findChildren<QRadioButton*>();
        const int step = buttons.isEmpty() ? 0 : (panelWidth - 8) / int(buttons.size());
        for (int i = 0; i < buttons.size(); ++i)
            buttons[i]->setGeometry(i * step, 0, step, kRow + 2);
    }
    searchOk_->setGeometry(TwipsToPixels(l.learnOkLeft), 4 * kRow + 8, buttonWidth, kRow);
    searchCancel_->setGeometry(TwipsToPixels(l.learnCancelLeft), 4 * kRow + 8, buttonWidth, kRow);

    // Progress panel.
    progress_->setGeometry(QRect(TwipsToPixels(l.progress), QSize(width, 3 * kRow)));
    const QList<QWidget*> parts = progress_->findChildren<QWidget*>();
    for (int i = 0; i < parts.size(); ++i)
        parts[i]->setGeometry(4, i * kRow, width - 8, kRow - 2);

    ResetPanelButtons(BalloonPanel::Teach);
    ResetPanelButtons(BalloonPanel::Search);
}

void MainBalloon::SetMessage(const QString& text) {
    Label().SetText(text);
}
QString MainBalloon::Message() const {
    return Label().Text();
}

void MainBalloon::SetWaitMarkerVisible(bool on) {
    marker_->setVisible(on);
    if (on) marker_->raise();
}

PanelFrame* MainBalloon::Panel(BalloonPanel panel) const {
    switch (panel) {
    case BalloonPanel::Select:
        return select_;
    case BalloonPanel::Menu:
        return menu_;
    case BalloonPanel::Teach:
        return teach_;
    case BalloonPanel::Search:
        return search_;
    case BalloonPanel::None:
        break;
    }
    return nullptr;
}

void MainBalloon::SetPanelVisible(BalloonPanel panel, bool on) {
    PanelFrame* f = Panel(panel);
    if (!f) return;
    f->setVisible(on);
    if (on) f->raise();
}

bool MainBalloon::IsPanelVisible(BalloonPanel panel) const {
    // Shown as far as the panel is concerned, also while the balloon itself is hidden.
    const PanelFrame* f = Panel(panel);
    return f && !f->isHidden();
}

void MainBalloon::ResetPanelButtons(BalloonPanel panel) {
    const QColor normal = ColorFromBgr(kButtonTextBgr);
    if (panel == BalloonPanel::Teach) {
        learnOk_->SetTextColor(normal);
        learnCancel_->SetTextColor(normal);
    } else if (panel == BalloonPanel::Search) {
        searchOk_->SetTextColor(normal);
        searchCancel_->SetTextColor(normal);
    }
}

void MainBalloon::MoveChoicePanel(int left, int top) {
    select_->move(TwipsToPixels(left), TwipsToPixels(top));
}

void MainBalloon::SetChoiceWords(const QString& yes, const QString& no) {
    yes_->setText(yes);
    no_->setText(no);
}

void MainBalloon::SetTeachPrompt(const QString& text) {
    prompt_->setText(text);
}
void MainBalloon::SetTeachExample(const QString& text) {
    example_->setText(text);
}
QString MainBalloon::InputText() const {
    return input_->text();
}
void MainBalloon::SetInputText(const QString& text) {
    input_->setText(text);
}

void MainBalloon::FocusInput() {
    if (!input_->isVisible()) return;
    // The user types the answer: the balloon takes the keyboard.
    activateWindow();
    input_->setFocus(Qt::OtherFocusReason);
}

void MainBalloon::SetMenuPage(const MenuPage& page) {
    call_->setText(page.heading);
    for (int i = 0; i < 7; ++i) {
        PanelLabel* line = menuItems_[size_t(i)];
        line->setText(page.items.value(i));
        line->setEnabled(!page.disabled.contains(i));
    }
}

void MainBalloon::MarkMenuItem(int index) {
    for (int i = 0; i < 7; ++i)
        menuItems_[size_t(i)]->SetBackground(i == index ? Fore() : Back());
}

QList<QRadioButton*> MainBalloon::OptionsOf(PanelFrame* frame) const {
    return frame->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
}

void MainBalloon::SetUpSearchPanel(const SearchPanelSetup& setup) {
    using Options = SearchPanelSetup::Options;
    engine_->setText(setup.title);
    googleModes_->setVisible(setup.options == Options::GoogleModes);
    gooDictionaries_->setVisible(setup.options == Options::GooDictionaries);
    PanelFrame* shown = setup.options == Options::GoogleModes       ? googleModes_
                        : setup.options == Options::GooDictionaries ? gooDictionaries_
                                                                    : nullptr;
    if (shown) {
        const QList<QRadioButton*> options = OptionsOf(shown);
        if (setup.preset >= 0 && setup.preset < options.size())
            options[setup.preset]->setChecked(true);
    }
    // Addresses and English words are typed without the input method.
    searchText_->setAttribute(Qt::WA_InputMethodEnabled, setup.inputMethod);
    searchText_->setInputMethodHints(
        setup.inputMethod ? Qt::ImhNone : Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
    searchText_->setText(setup.text);
    searchText_->setCursorPosition(int(setup.text.size()));
    ResetPanelButtons(BalloonPanel::Search);
}

QString MainBalloon::SearchText() const {
    return searchText_->text();
}

int MainBalloon::SearchOption() const {
    PanelFrame* shown = !googleModes_->isHidden()       ? googleModes_
                        : !gooDictionaries_->isHidden() ? gooDictionaries_
                                                        : nullptr;
    if (!shown) return 0;
    const QList<QRadioButton*> options = OptionsOf(shown);
    for (int i = 0; i < options.size(); ++i)
        if (options[i]->isChecked()) return i;
    return int(options.size());
}

void MainBalloon::MarkSearchButton(bool ok) {
    (ok ? searchOk_ : searchCancel_)->SetTextColor(ColorFromBgr(kButtonHoverBgr));
}

void MainBalloon::FocusSearch() {
    if (!searchText_->isVisible()) return;
    activateWindow();
    searchText_->setFocus(Qt::OtherFocusReason);
}

void MainBalloon::MarkChoice(PanelLabel* hovered) {
    yes_->SetBackground(hovered == yes_ ? Fore() : Back());
    no_->SetBackground(hovered == no_ ? Fore() : Back());
}

} // namespace orvanel
