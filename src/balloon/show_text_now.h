#pragma once

#include <QString>

namespace orvanel {

class BalloonView;
class CharacterView;
class MainBalloonView;
class ScriptPlayer;
class TOMU_MainFrame;

// The windows ShowTextNow works on; the fellow's balloon may be missing.
struct TalkWindows {
    MainBalloonView& main;
    BalloonView* fellow = nullptr;
    CharacterView* character = nullptr;
};

// Shows `text` in the main balloon's label at once, as it stands (no tags, no variables):
// stops the playing script, brings the character forward and shows the balloon of the
// speaker the text begins with ("\u": the fellow's, anything else: the main one), hiding the
// other. Progress messages use it.
void ShowTextNow(ScriptPlayer& player, TOMU_MainFrame& frame, const TalkWindows& windows,
                 const QString& text);

} // namespace orvanel
