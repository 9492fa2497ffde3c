#pragma once

#include <QString>

#include <initializer_list>
#include <utility>

namespace orvanel {

struct TalkContext;

// The kinds of answer words (the original's "ReqAcp", "ExpYesNo", "Good/Bad", "YesNo").
enum class AnswerKind { ReqAcp, ExpYesNo, GoodBad, YesNo };

// The pending question, which decides the reaction to the answer. The original kept it as
// text: "PRAISE", "DELDUST", "ExitWin", "RecDel", "ReqAcp", "ExpYesNo", "Good/Bad", "YesNo",
// "NewsEvent", "GoSubSidiary", "PsnDo", "MadeByChar" (TopicName gives them back).
enum class ChoiceTopic {
    None,
    Praise,
    DelDust,
    ExitWin,
    RecDel,
    ReqAcp,
    ExpYesNo,
    GoodBad,
    YesNo,
    NewsEvent,
    GoSubsidiary,
    PsnDo,
    MadeByChar
};
QString TopicName(ChoiceTopic topic);

// Where the choice panel sits in the balloon ("TOP", "MID", "BTM").
enum class ChoicePosition { Top, Mid, Btm };

// Yes/no questions: the answer words of a kind of question, the choice offered in the main
// balloon, and the reaction to the user's click, which the pending topic decides.
class Questions {
public:
    explicit Questions(TalkContext& talk);

    // Draws the positive and the negative word of a kind.
    void PickAnswerWords(AnswerKind kind);
    const QString& PositiveWord() const { return positive_; }
    const QString& NegativeWord() const { return negative_; }

    // Places the choice panel, fills its labels, names "SelMsg" as the
    // finish action of the playing script and keeps `topic` as the pending one. Call it after
    // PlayScript of the question (or while generating a talk that RandomTalk then plays).
    void OfferChoice(const QString& positive, const QString& negative, ChoiceTopic topic,
                     ChoicePosition position);
    // The user clicked an answer: 0 the positive, 1 the negative one.
    void AnswerChosen(int choice);

    ChoiceTopic PendingTopic() const { return topic_; }

private:
    void Say(const QString& script);
    void SayOneOf(std::initializer_list<const char16_t*> lines);

    TalkContext& talk_;
    QString positive_;
    QString negative_;
    ChoiceTopic topic_ = ChoiceTopic::None;
};

// The choice panel's place for a position: {left, top} in twips.
std::pair<int, int> ChoicePanelPlace(ChoicePosition position);

// The exit talk, then the machine is powered off (through the system actions).
void ShutdownWindows(TalkContext& talk);

} // namespace orvanel
