#include "character/skin.h"

#include "core/app_context.h"
#include "platform/ini_file.h"
#include "platform/numbers.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

const QString kSkin = u"Skin"_s;
const QString kUnknown = u"不明"_s;

qint32 ReadNumber(const AppContext& ctx, const QString& section, const QString& key) {
    return LenientInt(ReadSkinValue(ctx, section, key), /*allowHex=*/true);
}

} // namespace

QString ReadSkinValue(const AppContext& ctx, const QString& section, const QString& key) {
    return ctx.ini.Read(ctx.settings.AppFolder() + ctx.profile.skinFile, section, key);
}

QString SkinFolderPrefix(const AppContext& ctx) {
    const QString prefix = ReadSkinValue(ctx, kSkin, u"Folder"_s) + u'\\';
    return prefix == u"\\" ? QString() : prefix;
}

QString FullPicturePath(const AppContext& ctx, const QString& relative) {
    return ctx.settings.FilePath(relative);
}

bool IsExistingFile(const QString& nativePath) {
    return QFileInfo(nativePath).isFile();
}

void LoadSkinInfo(AppContext& ctx) {
    SkinState& s = ctx.skin;
    const QString prefix = SkinFolderPrefix(ctx);
    s.name = ReadSkinValue(ctx, u"Info"_s, u"Name"_s);
    s.author = ReadSkinValue(ctx, u"Info"_s, u"Author"_s);
    s.url = ReadSkinValue(ctx, u"Info"_s, u"URL"_s);
    for (int i = 0; i < 2; ++i) {
        const QString section = u"Balloon%1"_s.arg(i);
        SkinState::Balloon& b = s.balloons[size_t(i)];
        const QString value = ReadSkinValue(ctx, kSkin, section);
        // A balloon picture may also lie in the program folder itself.
        b.picture = prefix + value;
        if (!IsExistingFile(FullPicturePath(ctx, b.picture))) b.picture = value;
        b.top = ReadNumber(ctx, section, u"Top"_s);
        b.left = ReadNumber(ctx, section, u"Left"_s);
        // 0 means that no colour was given, so pure black cannot be chosen.
        b.backColor = ReadNumber(ctx, section, u"BackColor"_s);
        if (b.backColor == 0) b.backColor = 0xFFFFFF;
        b.foreColor = ReadNumber(ctx, section, u"ForeColor"_s);
        if (b.foreColor == 0) b.foreColor = 0xD4D0C8;
        b.msgArea = ReadSkinValue(ctx, section, u"MsgArea"_s);
    }
    s.hSelfName = ReadSkinValue(ctx, u"Name"_s, u"HSelfName"_s);
    s.hCallName = ReadSkinValue(ctx, u"Name"_s, u"HCallName"_s);
    s.fCallName = ReadSkinValue(ctx, u"Name"_s, u"FCallName"_s);
    if (s.name.isEmpty()) s.name = kUnknown;
    if (s.author.isEmpty()) s.author = kUnknown;
    if (s.url.isEmpty()) s.url = kUnknown;
    if (s.hSelfName.isEmpty()) s.hSelfName = u"わたし"_s;
}

Outcome LoadSurfaceList(AppContext& ctx, UserMessages& messages) {
    SkinState& s = ctx.skin;
    const QString prefix = SkinFolderPrefix(ctx);
    for (int n = 1; n <= 7; ++n) {
        QString path = prefix + ReadSkinValue(ctx, kSkin, u"Surface%1"_s.arg(n));
        if (path == prefix) {
            // Defaults are complete paths relative to the program folder, not to the prefix.
            path = n == 1   ? u"kanami\\Image1.gif"_s
                   : n == 2 ? u"kanami\\Image2.gif"_s
                   : n == 6 ? s.surfaces[4]
                            : s.surfaces[0];
        }
        s.surfaces[size_t(n - 1)] = path;
        const QString full = FullPicturePath(ctx, path);
        if (!IsExistingFile(full)) {
            messages.ShowMessage(full + u"が見つかりません。"_s);
            if (n <= 2) return Outcome::EndProgram;
        }
    }
    return Outcome::Go;
}

QString SurfacePath(const SkinState& skin, int n) {
    return n >= 1 && n <= 7 ? skin.surfaces[size_t(n - 1)] : QString();
}

void CheckFellowPresent(AppContext& ctx) {
    const QString value = ReadSkinValue(ctx, kSkin, u"Surface10"_s);
    ctx.skin.fellowPresent = !value.isEmpty();
    ctx.skin.fellowPicture = SkinFolderPrefix(ctx) + value;
}

} // namespace orvanel
