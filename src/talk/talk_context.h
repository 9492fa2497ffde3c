#pragma once

#include <QString>

namespace orvanel {

class AppContext;
class BalloonView;
class CharacterView;
class Dictionary;
class MachineProbes;
class MainBalloonView;
class ScenarioFiles;
class ScriptPlayer;
class ScriptProbes;
class PlayState;
class WordSource;

// The windows the talk engine reaches; null until they exist.
struct TalkViews {
    MainBalloonView* mainBalloon = nullptr;
    BalloonView* fellowBalloon = nullptr;
    CharacterView* character = nullptr;
};

// What every part of the talk engine works with: the program-wide state, the player and its
// play state, the dictionary and its words, the skin's names and the machine.
struct TalkContext {
    AppContext& app;
    PlayState& play;
    ScriptPlayer& player;
    Dictionary& dictionary;
    WordSource& words;
    ScenarioFiles& scenario;
    ScriptProbes& skin;
    MachineProbes& machine;
    TalkViews views;

    // Int(r * n) + 1, kept inside 1..n.
    int Pick(int n);
    // A fresh r in [0, 1).
    double Next();
    // ShowSurface on the character, when there is one.
    void ShowSurface(int n, bool hold);
    // The character's name for herself, as "%selfcall" shows it.
    QString SelfCall() const;
};

// Shows `text` at once in the main balloon, as it stands (no tags, no variables), and stops
// the script that plays. A text beginning with "\u" shows the fellow's balloon instead, but
// the text still goes into the main balloon's label.
void ShowTextNow(TalkContext& talk, const QString& text);

} // namespace orvanel
