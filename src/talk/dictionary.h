#pragma once

#include <QString>

#include <optional>

namespace orvanel {

class Random;
class Settings;

// The 61 word categories, by index 0..60 (the order of every bulk pass).
inline constexpr int kCategoryCount = 61;
// The category's name, "" outside 0..60.
QString CategoryName(int index);
// What the learning dialogs ask for; "" for the greetings and outside 0..60.
QString CategoryPrompt(int index);
// The index of a category name, -1 when it is none of the 61.
int CategoryIndex(const QString& name);

// The talk dictionary: one INI file per category, "TalkEngine\" + category + ".ini" in the
// program folder, section [category] with "PN" and the words "1".."PN". Nothing is cached
// here: every read goes to the file (through the INI engine's parse cache), every write
// straight back.
class Dictionary {
public:
    Dictionary(const Settings& settings, Random& random);

    // The category's file as named (letter case is resolved when it is read or written); ""
    // for a name that would leave the TalkEngine folder.
    QString FilePath(const QString& category) const;

    // The value of the key, "" when file, section or key are missing.
    QString ReadTalk(const QString& category, const QString& key) const;
    QString ReadTalk(const QString& category, qint32 key) const;
    // Writes key = value, creating file and section; nullopt deletes the key. False when the
    // file cannot be written.
    [[nodiscard]] bool WriteTalk(const QString& category, const QString& key,
                                 std::optional<QString> value) const;

    // "PN" as a number, 0 when missing or not a number.
    qint32 WordCount(const QString& category) const;
    // The sum over the 61 categories.
    qint32 TotalWordCount() const;
    // Key Int(r * PN) + 1; "" for an empty category or a gap in the numbering.
    QString GetRandomWord(const QString& category) const;
    // "PN" = n + 1 and key n + 1 = word, in one write of the file: both or neither. False
    // when the file could not be written. Duplicates are the caller's business.
    [[nodiscard]] bool AppendWord(const QString& category, const QString& word) const;

private:
    const Settings& settings_;
    Random& random_;
};

} // namespace orvanel
