#pragma once

#include <QString>

#include <functional>

namespace orvanel {

class AppContext;
class DesktopWindows;
class Dictionary;

// The character looks at the other programs' windows: she names the programs she knows among
// the open windows, and picks on the window that was active when her idle talk began,
// minimising or maximising it with a cheeky remark.
//
// The two commands of the debug window that open the desktop's own tools live here as well.
class WindowWatch {
public:
    WindowWatch(AppContext& ctx, Dictionary& dictionary, DesktopWindows& windows);

    // The programs of the categories "ソフト" and "ウイルス" whose names occur in the title of
    // an open window, as a script.
    QString KnownSoftwareTalk();
    // The window that is active now (never one of ours) becomes the target of WindowRemark.
    void AimAtActiveWindow();
    // Minimises or maximises the target window and says so; without a target (or when it has
    // no title) only a grumble. Either way the character comes to the front 5 ticks later.
    QString WindowRemark();

    // The debug window's "マイコンピュータ": the home folder in the file manager.
    void OpenComputerFolder();
    // The debug window's "検索": starts an installed file search tool; "" when one started,
    // else the talk that says none was found.
    QString OpenFileSearch();
    // Where an installed program is ("" when it is not); the system's search path unless set.
    std::function<QString(const QString& name)> findProgram;

    // The titles of the last enumeration, each followed by ",", and how many there were.
    const QString& TitleList() const { return titleList_; }
    qint32 WindowCount() const { return windowCount_; }
    quint64 Target() const { return target_; }

private:
    AppContext& ctx_;
    Dictionary& dictionary_;
    DesktopWindows& windows_;
    QString titleList_;
    qint32 windowCount_ = 0;
    quint64 target_ = 0;
};

} // namespace orvanel
