#pragma once

#include <QString>

namespace orvanel {

struct TalkContext;

// Learning words by asking: a question that ends in "$learn[category]", the teaching panel
// that the tag opens, and the answer the user types there.
class Learning {
public:
    static constexpr int kQuestionCount = 39;

    explicit Learning(TalkContext& talk);

    // One of the 39 questions, equally likely; counts as a talk.
    QString LearningQuestion();
    // Question k (1..39); "" for any other number.
    QString Question(int k);

    // Opens the teaching panel for a word of `category` (one of the 61); the balloon stays
    // held until the user answers. Other names open nothing.
    void StartLearning(const QString& category);
    // The user's answer (not empty): a known word is refused with a remark, a new one appended
    // to the category and praised.
    void LearnWord(const QString& word);
    // An empty answer or a cancel.
    void NagTalk();

    const QString& CurrentCategory() const { return category_; }
    // "Learn" while the teaching panel is open for an answer, "" otherwise.
    QString InputMode() const;

private:
    TalkContext& talk_;
    QString category_;
};

// S + "な" + rest, or S + rest when S ends in "い" (the state words of the templates).
QString JoinState(const QString& state, const QString& rest);

} // namespace orvanel
