#include "balloon/show_text_now.h"

#include "app/views.h"
#include "net/main_frame.h"
#include "script/script_player.h"

namespace orvanel {

void ShowTextNow(ScriptPlayer& player, TOMU_MainFrame& frame, const TalkWindows& windows,
                 const QString& text) {
    player.ResetTalk();
    if (windows.character) windows.character->BringToForeground();
    BalloonView& main = windows.main;
    if (!text.startsWith(u"\\u")) {
        main.Show();
        main.BringToFront();
        frame.SetMsgScope(0);
        if (windows.fellow) windows.fellow->Hide();
    } else {
        if (windows.fellow) {
            windows.fellow->Show();
            windows.fellow->BringToFront();
        }
        frame.SetMsgScope(1);
        main.Hide();
    }
    player.Stop();
    // Always the main balloon's label, also when the fellow's balloon was brought up.
    windows.main.SetMessage(text);
}

} // namespace orvanel
