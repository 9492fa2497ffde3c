#pragma once

#include <QString>

#include <initializer_list>
#include <utility>

namespace orvanel {

struct TalkContext;

// Yes/no questions: the answer words of a kind of question, the choice offered in the main
// balloon, and the reaction to the user's click, which the pending topic decides.
class Questions {
public:
    explicit Questions(TalkContext& talk);

    // Draws the positive and the negative word of "ReqAcp", "ExpYesNo", "Good/Bad" or
    // "YesNo"; any other kind keeps the words drawn last.
    void PickAnswerWords(const QString& kind);
    const QString& PositiveWord() const { return positive_; }
    const QString& NegativeWord() const { return negative_; }

    // Places the choice panel ("TOP", "MID", "BTM"), fills its labels, names "SelMsg" as the
    // finish action of the playing script and keeps `topic` as the pending one. Call it after
    // PlayScript of the question (or while generating a talk that RandomTalk then plays).
    void OfferChoice(const QString& positive, const QString& negative, const QString& topic,
                     const QString& position);
    // The user clicked an answer: 0 the positive, 1 the negative one.
    void AnswerChosen(int choice);

    const QString& PendingTopic() const { return topic_; }

private:
    void Say(const QString& script);
    void SayOneOf(std::initializer_list<const char16_t*> lines);

    TalkContext& talk_;
    QString positive_;
    QString negative_;
    QString topic_;
};

// The choice panel's place for a position: {left, top} in twips; {-1, -1} for an unknown one.
std::pair<int, int> ChoicePanelPlace(const QString& position);

// The exit talk, then the machine is powered off (through the system actions).
void ShutdownWindows(TalkContext& talk);

} // namespace orvanel
