#pragma once

#include "character/shape_views.h"

#include <QString>

namespace orvanel {

class AppContext;
struct SkinState;

// The skin file: the profile's SkinFile (default "kanami.skn") in the program folder, read key
// by key. Paths in it are relative and written with "\".

// One key of the skin file; missing file, section or key give "".
QString ReadSkinValue(const AppContext& ctx, const QString& section, const QString& key);

// [Skin] Folder + "\", or "" when no folder is given.
QString SkinFolderPrefix(const AppContext& ctx);

// Names, balloon pictures, offsets, colours and the characters' names, with every default.
void LoadSkinInfo(AppContext& ctx);

// Surfaces 1..7 with their defaults, each checked on disk in that order. A missing picture
// shows "<full path>が見つかりません。"; for surface 1 or 2 that ends the program.
[[nodiscard]] Outcome LoadSurfaceList(AppContext& ctx, UserMessages& messages);

// The path of surface n (1..7) relative to the program folder; "" for any other n.
QString SurfacePath(const SkinState& skin, int n);

// Sets the fellow present flag and the fellow's picture path from [Skin] Surface10.
void CheckFellowPresent(AppContext& ctx);

// Program folder + relative path as a native path, names resolved case-insensitively: the
// "full path" that messages show, pictures are opened from and caches are keyed by.
QString FullPicturePath(const AppContext& ctx, const QString& relative);

// An existing file (not a folder).
bool IsExistingFile(const QString& nativePath);

} // namespace orvanel
