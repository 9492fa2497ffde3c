#pragma once

#include <QString>

namespace orvanel {

class BalloonView;
class CharacterView;
class MainBalloonView;

// The switches shared by the script player, the balloons and the search: who speaks, whether
// the characters stay on top, which panel the main balloon shows, which engine the search
// panel serves, and the action to run once the current script has ended. One per program.
class TOMU_MainFrame {
public:
    // The windows come after the object (start-up creates it first); until then the members
    // that reach a window do only their bookkeeping.
    void SetViews(MainBalloonView* mainBalloon, CharacterView* character);

    qint32 MsgScope() const { return msgScope_; }
    void SetMsgScope(qint32 scope) { msgScope_ = scope; }

    bool OnTop() const { return onTop_; }
    // Stores the flag and applies it to the character windows at once.
    void SetOnTop(bool on);

    void CancelWSF() { waitScriptFinish_ = false; }

    bool WaitScriptFinish() const { return waitScriptFinish_; }
    // Setting the flag also empties WSFCategory, which is why WaitThen sets the flag first.
    void SetWaitScriptFinish(bool on);

    const QString& SearchEngine() const { return searchEngine_; }
    void SetSearchEngine(const QString& engine) { searchEngine_ = engine; }

    const QString& WSFCategory() const { return wsfCategory_; }
    void SetWSFCategory(const QString& name) { wsfCategory_ = name; }

    // Brings a panel of the main balloon to the front: "Normal", "Select", "Menu", "Teach" or
    // "Search", compared exactly; any other name changes nothing.
    void ForeMenu(const QString& name);

    // Raises a balloon once; it stays above other windows only while OnTop is set.
    void RaiseBalloon(BalloonView& balloon) const;

private:
    qint32 msgScope_ = 0;
    bool onTop_ = false;
    bool waitScriptFinish_ = false;
    QString searchEngine_;
    QString wsfCategory_;
    MainBalloonView* mainBalloon_ = nullptr;
    CharacterView* character_ = nullptr;
};

// Names the action to run when the current script ends. Call it after PlayScript, which
// cancels any pending action.
void WaitThen(TOMU_MainFrame& frame, const QString& action);

// Keeps the character and fellow windows above all others, or lets them go.
void ApplyOnTop(CharacterView* character, bool flag);

} // namespace orvanel
