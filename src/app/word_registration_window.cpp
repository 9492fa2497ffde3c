#include "app/word_registration_window.h"

#include "core/app_context.h"
#include "talk/dictionary.h"
#include "tools/trace_log.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace orvanel {

WordRegistrationWindow::WordRegistrationWindow(AppContext& ctx, Dictionary& dictionary,
                                               ScriptPlayer& player,
                                               std::function<void(bool)> closed, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), model_(ctx, dictionary, player),
      closed_(std::move(closed)) {
    setObjectName(u"frmRegWord"_s);
    setWindowTitle(u"単語登録 - Orvanel"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    combo_ = new QComboBox;
    combo_->setObjectName(u"Combo1"_s);
    for (int i = 0; i < kCategoryCount; ++i)
        combo_->addItem(CategoryName(i));
    auto* comboLabel = new QLabel(u"カテゴリ(&C)"_s);
    comboLabel->setBuddy(combo_);
    explain_ = new QLabel;
    explain_->setObjectName(u"lblExplain"_s);
    count_ = new QLabel;
    count_->setObjectName(u"lblCount"_s);
    list_ = new QListWidget;
    list_->setObjectName(u"List1"_s);
    list_->setAccessibleName(u"登録されている単語"_s);
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    input_ = new QLineEdit;
    input_->setObjectName(u"Text1"_s);
    editMarker_ = new QLabel(u"修正"_s);
    editMarker_->setObjectName(u"lblEdit"_s);
    editMarker_->hide();
    auto* inputLabel = new QLabel(u"単語(&W)"_s);
    inputLabel->setBuddy(input_);
    counters_ = new QLabel;
    counters_->setObjectName(u"lblCounters"_s);
    refusal_ = new QLabel;
    refusal_->setObjectName(u"lblRefusal"_s);
    refusal_->setStyleSheet(u"color: #c00000"_s);
    close_ = new QPushButton(u"閉じる"_s);

    auto* grid = new QGridLayout(this);
    grid->addWidget(comboLabel, 0, 0);
    grid->addWidget(combo_, 0, 1, 1, 2);
    grid->addWidget(explain_, 1, 0, 1, 3);
    grid->addWidget(count_, 2, 0, 1, 3);
    grid->addWidget(list_, 3, 0, 1, 3);
    grid->addWidget(inputLabel, 4, 0);
    grid->addWidget(input_, 4, 1);
    grid->addWidget(editMarker_, 4, 2);
    grid->addWidget(counters_, 5, 0, 1, 3);
    grid->addWidget(refusal_, 6, 0, 1, 3);
    grid->addWidget(close_, 7, 2);
    resize(360, 420);

    connect(combo_, &QComboBox::currentIndexChanged, this,
            [this](int index) { SelectCategory(index); });
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { EditRow(list_->row(item)); });
    connect(input_, &QLineEdit::textEdited, this, [this] { model_.KeyTyped(); });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this,
            &QWidget::close);
    input_->installEventFilter(this);
    list_->installEventFilter(this);

    ctx_.log.LogBegin(u"Load WordRegistForm..."_s);
    if (model_.BoldList()) {
        QFont bold = list_->font();
        bold.setBold(true);
        list_->setFont(bold);
    }
    model_.Open();
    ShowCounters();
    SelectCategory(0);
    ctx_.log.LogEnd(u" Complete"_s);
}

WordRegistrationWindow::~WordRegistrationWindow() {
    ctx_.log.LogLine(u"Unload WordRegistForm"_s);
}

void WordRegistrationWindow::SelectCategory(int index) {
    const quint64 load = ++load_;
    loading_ = true;
    input_->setReadOnly(true);
    input_->setText(u"ロード中"_s);
    list_->clear();
    editMarker_->hide();
    refusal_->clear();
    model_.SelectCategory(index);
    explain_->setText(model_.Prompt());
    count_->setText(u"登録数: %1"_s.arg(model_.CountLabel()));
    listed_ = 0;
    ListMore(load);
}

void WordRegistrationWindow::ListMore(quint64 load) {
    if (load != load_) return;
    const QStringList& lines = model_.Lines();
    const int end = qMin(int(lines.size()), listed_ + kRowsPerTurn);
    list_->addItems(lines.mid(listed_, end - listed_));
    listed_ = end;
    if (listed_ < lines.size()) {
        // The rest after the events that have come meanwhile: the characters keep moving.
        QTimer::singleShot(0, this, [this, load] { ListMore(load); });
        return;
    }
    loading_ = false;
    input_->setReadOnly(false);
    ShowInput();
    Q_EMIT Loaded();
}

void WordRegistrationWindow::ShowInput() {
    input_->setText(model_.InputText());
    input_->setCursorPosition(model_.Caret());
}

void WordRegistrationWindow::ShowCounters() {
    counters_->setText(u"追加 %1件　既出 %2件　修正 %3件"_s.arg(model_.Added())
                           .arg(model_.Known())
                           .arg(model_.Corrected()));
}

void WordRegistrationWindow::EditRow(int row) {
    if (loading_) return;
    model_.EditRow(row);
    if (!model_.Editing()) return;
    input_->setText(model_.InputText());
    input_->selectAll();
    input_->setFocus();
    editMarker_->show();
    refusal_->clear();
}

void WordRegistrationWindow::Enter() {
    if (loading_) return;
    model_.SetInputText(input_->text());
    const WordRegistration::Entry entry = model_.PressEnter();
    const QString refusal = WordRegistration::RefusalText(entry);
    refusal_->setText(refusal);
    if (!refusal.isEmpty() && QAccessible::isActive()) {
        QAccessibleEvent alert(refusal_, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
    using Entry = WordRegistration::Entry;
    if (entry == Entry::Ignored || entry == Entry::Blank || entry == Entry::TooLong ||
        entry == Entry::BadCharacter)
        return;
    const QStringList& lines = model_.Lines();
    while (list_->count() < lines.size())
        list_->addItem(lines[list_->count()]);
    const int row = model_.SelectedRow();
    if (QListWidgetItem* item = list_->item(row)) {
        item->setText(lines[row]);
        list_->setCurrentItem(item);
        list_->scrollToItem(item);
    }
    editMarker_->hide();
    count_->setText(u"登録数: %1"_s.arg(model_.CountLabel()));
    ShowCounters();
    ShowInput();
    input_->setFocus();
}

bool WordRegistrationWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter on a word of the list corrects it, as a double click does.
            if (watched == list_)
                EditRow(list_->currentRow());
            else
                Enter();
            return true;
        }
    } else if (watched == input_ && event->type() == QEvent::MouseButtonDblClick) {
        input_->selectAll();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void WordRegistrationWindow::closeEvent(QCloseEvent* event) {
    if (!done_) {
        done_ = true;
        // A load in progress stops here; the dictionary was only read.
        ++load_;
        loading_ = false;
        const bool restart = model_.Close();
        if (closed_) closed_(restart);
    }
    event->accept();
}

} // namespace orvanel
