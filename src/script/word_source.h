#pragma once

#include <QString>

namespace orvanel {

// Where scripts get their words. The talk layer implements it over the dictionary files; the
// script layer only asks, so that talk may play scripts without the player knowing the files.
class WordSource {
public:
    virtual ~WordSource() = default;
    // A word of the category; now and then a compound phrase instead (the pick all talk uses).
    virtual QString GetWord(const QString& category) = 0;
    // A plain random word of the category; "" when it has none.
    virtual QString GetRandomWord(const QString& category) = 0;
    // A compound phrase for the category; "" when the category has no rules.
    virtual QString DecorateWord(const QString& category) = 0;
};

} // namespace orvanel
