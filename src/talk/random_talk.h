#pragma once

#include "talk/questions.h"

#include <QString>

#include <optional>

namespace orvanel {

class CalendarTalk;
class Learning;
class MachineTalk;
class Questions;
struct TalkContext;

// Makes the talk the character starts by herself: now and then a learning question (or, on
// battery, a word about the battery), now and then one of the skin's external scripts when
// she has a fellow, and otherwise one of the 118 sentence templates.
class RandomTalkMaker {
public:
    RandomTalkMaker(TalkContext& talk, Learning& learning, Questions& questions,
                    CalendarTalk& calendar, MachineTalk& machine);

    // One fresh script; counts as a talk. A choice template offers its choice on the way.
    QString MakeRandomTalk();
    // Template k (1..118), composed as it would be when drawn; nullopt when it cannot be made
    // (a 類似 word without two parts) or k is outside 1..118.
    std::optional<QString> Template(int k);

private:
    QString WithChoice(const QString& text, AnswerKind kind, ChoicePosition position,
                       ChoiceTopic topic);
    QString Word(const char16_t* category);

    TalkContext& talk_;
    Learning& learning_;
    Questions& questions_;
    CalendarTalk& calendar_;
    MachineTalk& machine_;
};

} // namespace orvanel
