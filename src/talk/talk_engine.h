#pragma once

#include "script/script_player.h"
#include "talk/balloon_menu.h"
#include "talk/bulk_update.h"
#include "talk/calendar_talk.h"
#include "talk/drop_reactions.h"
#include "talk/learning.h"
#include "talk/machine_talk.h"
#include "talk/menu_talk.h"
#include "talk/questions.h"
#include "talk/random_talk.h"
#include "talk/talk_context.h"
#include "talk/touch_reactions.h"
#include "talk/web_talk.h"

#include <QDate>
#include <QString>

#include <functional>

namespace orvanel {

// Everything the characters say on their own, in one place: idle talk, learning, questions
// and answers, calendar talk, the menu's talks, talk about the machine and the dictionary
// updates by drop. It installs the player's "$learn" and trash hooks.
//
// Entry points that play (RandomTalk, AnswerChosen, LearnWord, the menu talks ...) hand their
// script to the player and keep a choice that the script offers; the others return texts for
// the caller to build into its own scripts.
class TalkEngine {
public:
    TalkEngine(AppContext& app, PlayState& play, ScriptPlayer& player, Dictionary& dictionary,
               WordSource& words, ScenarioFiles& scenario, ScriptProbes& skin,
               MachineProbes& machine);
    TalkEngine(const TalkEngine&) = delete;
    TalkEngine& operator=(const TalkEngine&) = delete;

    void SetViews(MainBalloonView* mainBalloon, BalloonView* fellowBalloon,
                  CharacterView* character);

    // Idle talk (main timer, "何か話して", touch): nothing while silent or while the balloon
    // is held; else surface 1 and a fresh talk.
    void RandomTalk(ScriptOrigin origin = ScriptOrigin::Talk);
    QString MakeRandomTalk() { return maker_.MakeRandomTalk(); }

    // The choice panel: 0 the positive answer, 1 the negative one.
    void AnswerChosen(int choice) { questions_.AnswerChosen(choice); }
    // Plays `question`, then offers the two answers under `topic` at "TOP", "MID" or "BTM"
    // (the head stroke's "PRAISE", the menu's "RecDel" and "ExitWin").
    void Ask(const QString& question, const QString& positive, const QString& negative,
             ChoiceTopic topic, ChoicePosition position);

    // The teaching panel: OK or Enter with text, OK or Enter when empty, and cancel.
    void LearnWord(const QString& word) { learning_.LearnWord(word); }
    void NagTalk() { learning_.NagTalk(); }
    // The menu's "学習": plays a learning question.
    void LearningTalk();
    // "Learn" while the teaching panel waits for an answer.
    QString InputMode() const { return learning_.InputMode(); }

    // Calendar texts for the start-up talk, the skin change greeting and the time signal.
    QString GreetingScript() { return calendar_.GreetingScript(); }
    static QString HourlyTalk(int hour) { return CalendarTalk::HourlyTalk(hour); }
    QString TodayDateText() { return calendar_.TodayDateText(); }
    QString DayMessage(const QDate& date, QString& kind) {
        return calendar_.DayMessage(date, kind);
    }
    FlowerRecord FlowerOfDay() { return calendar_.FlowerOfDay(); }

    // The balloon menu's talks; each plays a fresh script.
    void MaximTalk();
    void ScheduleTalk();
    void FortuneTalk();
    void TodayTalk();
    void DismissTalk(const QString& item);
    // One tip, without a scope tag.
    QString TipTalk() { return orvanel::TipTalk(ctx_); }

    // Talk about the machine: plays topic k (1..16) as the debug window offers them.
    void SystemTopic(int k);
    MachineTalk& Machine() { return machine_; }
    // The answer that empties the trash, the power-off of "ExitWin", the plain status line.
    void EmptyRecycleBin() { orvanel::EmptyRecycleBin(ctx_); }
    void ShutdownWindows() { orvanel::ShutdownWindows(ctx_); }
    void ShowTextNow(const QString& text) { orvanel::ShowTextNow(ctx_, text); }

    // A dropped file or folder: true when it was a dictionary update (and has been run).
    bool HandleDrop(const QString& path) { return bulk_.HandleDrop(path); }
    BulkUpdate& Bulk() { return bulk_; }

    // The mouse on the character, and what is dropped on her.
    TouchReactions& Touch() { return touch_; }
    DropReactions& Drops() { return drops_; }

    // The news items and the search panel's OK.
    WebTalk& Web() { return web_; }

    // The balloon menu on its first page (a double click on her body); the menu's lines and
    // the search panel that the Search_* finish actions open.
    void OpenMenu() { balloonMenu_.OpenMenu(); }
    BalloonMenu& Menu() { return balloonMenu_; }

    Questions& QuestionsPart() { return questions_; }
    Learning& LearningPart() { return learning_; }
    CalendarTalk& Calendar() { return calendar_; }
    RandomTalkMaker& Maker() { return maker_; }

private:
    // Plays what `make` generates; a choice it offers stays with the script it belongs to.
    void Say(const std::function<QString()>& make, ScriptOrigin origin = ScriptOrigin::Talk);

    TalkContext ctx_;
    Questions questions_;
    Learning learning_;
    CalendarTalk calendar_;
    MachineTalk machine_;
    MenuTalk menu_;
    RandomTalkMaker maker_;
    BulkUpdate bulk_;
    WebTalk web_;
    BalloonMenu balloonMenu_;
    TouchReactions touch_;
    DropReactions drops_;
};

} // namespace orvanel
