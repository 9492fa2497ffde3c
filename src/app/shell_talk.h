#pragma once

#include <QDate>
#include <QString>

namespace orvanel {

class TalkEngine;

// What the shell asks of the talk: the talks it starts (idle talk, greetings, the calendar
// remarks of the start-up talk) and the answers the balloon's panels collect. EngineTalk is
// the talk engine's; tests give fixed answers.
class ShellTalk {
public:
    virtual ~ShellTalk() = default;

    // Plays a random talk (idle talk, a click on the character).
    virtual void RandomTalk() = 0;
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

// The shell's talk from the talk engine.
class EngineTalk final : public ShellTalk {
public:
    explicit EngineTalk(TalkEngine& engine) : engine_(engine) {}

    void RandomTalk() override;
    QString GreetingScript() override;
    QString TodayDateText() override;
    QString DayMessage(const QDate& date, QString* kind) override;
    Flower FlowerOfDay() override;
    void AnswerChosen(int choice) override;
    void StartLearning(const QString& category) override;
    void LearnWord(const QString& word) override;
    void NagTalk() override;

private:
    TalkEngine& engine_;
};

} // namespace orvanel
