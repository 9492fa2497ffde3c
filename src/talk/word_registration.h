#pragma once

#include <QString>
#include <QStringList>

namespace orvanel {

class AppContext;
class Dictionary;
class ScriptPlayer;

// What the word registration dialog does, without the window: the user picks a category,
// sees its words, types new ones (Enter adds them) or corrects one (double click, then
// Enter). Every Enter writes to the dictionary at once; closing says how many were added.
// The window stops the main timer while it is open and restarts it when Close says so.
class WordRegistration {
public:
    WordRegistration(AppContext& app, Dictionary& dictionary, ScriptPlayer& player);

    // Counters to 0, the first category selected. Logged.
    void Open();
    // Whether the word list uses a bold font ([General] Bold).
    bool BoldList() const;

    // Loads category 0..60: its prompt, its "PN", its words in key order; leaves edit mode.
    void SelectCategory(int index);
    int Category() const { return category_; }
    const QString& Prompt() const { return prompt_; }
    qint32 CountLabel() const { return count_; }
    // The list as shown: words, and "Add:" / "Fix:" lines for what was added or corrected.
    const QStringList& Lines() const { return lines_; }
    int SelectedRow() const { return selected_; }

    // The input box, with the caret after a prefilled start ("http://www." for アドレス, ","
    // for 類似).
    const QString& InputText() const { return input_; }
    int Caret() const { return caret_; }
    void SetInputText(const QString& text);
    // Any key but Enter in the input box: keeps the character's balloon from closing.
    void KeyTyped();

    // Double click on row `row` (0-based): its word goes into the input box for correction.
    void EditRow(int row);
    bool Editing() const { return editKey_ > 0; }

    // What an Enter did. Blank, TooLong and BadCharacter leave the dictionary, the list, the
    // counters, the edit and the input box as they were.
    enum class Entry {
        Ignored,      // empty input box
        Added,        // a new word at the end of the category
        Known,        // already in the category: counted, nothing written
        Corrected,    // an edited word took a new text
        Unchanged,    // an edited word kept its own text
        Blank,        // blanks only
        TooLong,      // more than 254 bytes in the file's code page
        BadCharacter, // a character the file's code page cannot hold, or a control character
        NotWritten,   // the category file could not be written
    };
    // Enter in the input box.
    Entry PressEnter();
    // Why a refused word was not taken, for the dialog to show; "" for the other results.
    static QString RefusalText(Entry entry);

    qint32 Added() const { return added_; }
    qint32 Known() const { return known_; }
    qint32 Corrected() const { return corrected_; }

    // Plays the closing talk and lets the balloon go; true when the main timer is to run
    // again (it stays stopped while the character is silenced).
    bool Close();

private:
    void Prefill();
    QString CategoryName() const;

    AppContext& app_;
    Dictionary& dictionary_;
    ScriptPlayer& player_;
    int category_ = -1;
    QString prompt_;
    qint32 count_ = 0;
    QStringList lines_;
    int selected_ = -1;
    QString input_;
    int caret_ = 0;
    qint32 editKey_ = 0;
    QString oldText_;
    qint32 added_ = 0;
    qint32 known_ = 0;
    qint32 corrected_ = 0;
};

} // namespace orvanel
