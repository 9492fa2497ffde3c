#pragma once

#include <QString>

namespace orvanel {

// Turns a path written with "\" (as data files and the original code write them) into a
// native path. Where a component does not exist under its exact name, a component of the same
// name in other letter case is taken (skins made on Windows name "Image1.GIF" for
// "image1.gif"). Components that do not exist at all are kept as written.
QString NativePath(QStringView path);

// Where the program folder is: `folderArg` when given, else $ORVANEL_HOME, else the per-user
// data folder (~/.local/share/orvanel). Always absolute, ending in "/".
QString ChooseProgramFolder(const QString& folderArg);

// The default program folder installed with the program: share/orvanel/default beside the
// binary's bin/ folder (the build tree has the same layout). Empty when not found.
QString DefaultDataFolder();

// The user's desktop folder (the XDG desktop directory); the home folder when there is none.
QString DesktopFolder();

// Copies the default data that `folder` lacks into it while it holds no skin yet. Existing
// files are never overwritten. Returns false when a file cannot be made.
[[nodiscard]] bool SeedProgramFolder(const QString& folder, const QString& defaultData);

} // namespace orvanel
