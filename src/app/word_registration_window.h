#pragma once

#include "talk/word_registration.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvanel {

class AppContext;
class Dictionary;
class ScriptPlayer;

// frmRegWord, "単語登録 - Orvanel": the words of one category at a time, typed in one by one.
// The rules are WordRegistration's; this window shows them. A category's words are listed a
// few thousand at a time, so a large category keeps the characters moving while it loads and
// the window can be closed meanwhile.
class WordRegistrationWindow : public QWidget {
    Q_OBJECT
public:
    // `closed` runs once the closing talk has been handed on, with whether the main timer is
    // to run again.
    WordRegistrationWindow(AppContext& ctx, Dictionary& dictionary, ScriptPlayer& player,
                           std::function<void(bool restartTimer)> closed,
                           QWidget* parent = nullptr);
    ~WordRegistrationWindow() override;

    // Rows listed per turn of the event loop.
    static constexpr int kRowsPerTurn = 2500;

    WordRegistration& Model() { return model_; }
    bool Loading() const { return loading_; }

    QComboBox* Categories() const { return combo_; }
    QListWidget* Words() const { return list_; }
    QLineEdit* Input() const { return input_; }
    QLabel* Explain() const { return explain_; }
    QLabel* WordCount() const { return count_; }
    QLabel* Counters() const { return counters_; }
    QLabel* EditMarker() const { return editMarker_; }
    QLabel* Refusal() const { return refusal_; }

Q_SIGNALS:
    // The category's words are all listed.
    void Loaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SelectCategory(int index);
    void ListMore(quint64 load);
    void EditRow(int row);
    void Enter();
    void ShowInput();
    void ShowCounters();

    AppContext& ctx_;
    WordRegistration model_;
    std::function<void(bool)> closed_;
    QComboBox* combo_;
    QLabel* explain_;
    QLabel* count_;
    QListWidget* list_;
    QLineEdit* input_;
    QLabel* editMarker_;
    QLabel* counters_;
    QLabel* refusal_;
    QPushButton* close_;
    bool loading_ = false;
    int listed_ = 0;
    // Counts the loads begun, so a turn of an abandoned load does nothing.
    quint64 load_ = 0;
    bool done_ = false;
};

} // namespace orvanel
