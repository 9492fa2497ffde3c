#pragma once

#include <QDate>
#include <QString>

namespace orvanel {

class AppContext;
class Dictionary;
class MainBalloonView;
class ScenarioFiles;
class ScriptPlayer;
class TOMU_MainFrame;
class WordSource;

// What the shell asks of the talk engine: the talks it starts (idle talk, greetings, the
// calendar remarks of the start-up talk) and the answers the balloon's panels collect.
// The talk layer implements it in full; BasicShellTalk is what the shell plays until then.
class ShellTalk {
public:
    virtual ~ShellTalk() = default;

    // Plays a random talk (idle talk, a click on the character).
    virtual void RandomTalk() = 0;
    // The remark on another program's window, as a script.
    virtual QString WindowRemark() = 0;
    // "\h" + a greeting for the hour of the day.
    virtual QString GreetingScript() = 0;
    // Today's date as the talk tells it ("2026年1月1日、木曜日", or in an era).
    virtual QString TodayDateText() = 0;
    // The anniversary of `date` and, in `kind`, how often such a day comes ("１年ぶり").
    virtual QString DayMessage(const QDate& date, QString* kind) = 0;
    struct Flower {
        QString name;
        QString meaning;
    };
    virtual Flower FlowerOfDay() = 0;

    // lblYes (0) or lblNo (1) of the choice panel was clicked.
    virtual void AnswerChosen(int choice) = 0;
    // "$learn[category]": the teaching panel asks for a word of the category.
    virtual void StartLearning(const QString& category) = 0;
    // The teaching panel's answer (never empty).
    virtual void LearnWord(const QString& word) = 0;
    // The teaching panel was left empty or cancelled.
    virtual void NagTalk() = 0;
};

// The shell's own talk until the talk engine's lands: random talk from the skin's external
// scripts (else a word of "ひとこと"), greetings by the hour, dates, anniversaries and flowers
// from "daymes.dat" and "flower.dat", learning into the dictionary, and a choice that only
// closes its panel (no question asks one yet).
class BasicShellTalk final : public ShellTalk {
public:
    BasicShellTalk(AppContext& ctx, ScriptPlayer& player, TOMU_MainFrame& frame, WordSource& words,
                   Dictionary& dictionary, ScenarioFiles& scenario);
    void SetMainBalloon(MainBalloonView* balloon) { balloon_ = balloon; }

    void RandomTalk() override;
    QString WindowRemark() override;
    QString GreetingScript() override;
    QString TodayDateText() override;
    QString DayMessage(const QDate& date, QString* kind) override;
    Flower FlowerOfDay() override;
    void AnswerChosen(int choice) override;
    void StartLearning(const QString& category) override;
    void LearnWord(const QString& word) override;
    void NagTalk() override;

    const QString& LearningCategory() const { return category_; }

private:
    QString RandomScript();
    QString Pick(const QStringList& list);

    AppContext& ctx_;
    ScriptPlayer& player_;
    TOMU_MainFrame& frame_;
    WordSource& words_;
    Dictionary& dictionary_;
    ScenarioFiles& scenario_;
    MainBalloonView* balloon_ = nullptr;
    QString category_;
};

// The greeting category for an hour 0..23 ("挨拶(深夜)" ... "挨拶(夜)").
QString GreetingCategory(int hour);

} // namespace orvanel
