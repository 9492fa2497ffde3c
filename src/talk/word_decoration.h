#pragma once

#include "script/word_source.h"

namespace orvanel {

class Dictionary;
class Random;

// The words that talk and script variables use: a dictionary word, replaced with a 15 %
// chance by a compound phrase built from other categories ("はじめての" + a verb, a
// 形容詞1 word + "そうに" for 副詞, whole maxims for 格言, ...).
class WordDecorator final : public WordSource {
public:
    WordDecorator(const Dictionary& dictionary, Random& random);

    // r > 0.15: a plain word; otherwise the compound phrase, or a plain word when the
    // category has no rules.
    QString GetWord(const QString& category) override;
    QString GetRandomWord(const QString& category) override;
    // One of the category's rules, equally likely; "" for a category without rules.
    QString DecorateWord(const QString& category) override;

private:
    const Dictionary& dictionary_;
    Random& random_;
};

} // namespace orvanel
