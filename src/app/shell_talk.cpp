#include "app/shell_talk.h"

#include "talk/talk_engine.h"

namespace orvanel {

void EngineTalk::RandomTalk() {
    engine_.RandomTalk();
}
QString EngineTalk::GreetingScript() {
    return engine_.GreetingScript();
}
QString EngineTalk::TodayDateText() {
    return engine_.TodayDateText();
}

QString EngineTalk::DayMessage(const QDate& date, QString* kind) {
    QString how;
    const QString name = engine_.DayMessage(date, how);
    if (kind && !how.isEmpty()) *kind = how;
    return name;
}

ShellTalk::Flower EngineTalk::FlowerOfDay() {
    const FlowerRecord f = engine_.FlowerOfDay();
    return {f.name, f.language};
}

void EngineTalk::AnswerChosen(int choice) {
    engine_.AnswerChosen(choice);
}
void EngineTalk::StartLearning(const QString& category) {
    engine_.LearningPart().StartLearning(category);
}
void EngineTalk::LearnWord(const QString& word) {
    engine_.LearnWord(word);
}
void EngineTalk::NagTalk() {
    engine_.NagTalk();
}

} // namespace orvanel
