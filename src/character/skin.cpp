#include "character/skin.h"

#include "core/app_context.h"
#include "platform/ini_file.h"
#include "platform/numbers.h"

#include <QFileInfo>

namespace orvanel {
namespace {

const QString kSkin = QStringLiteral("Skin");
const QString kUnknown = QStringLiteral("不明");

qint32 ReadNumber(const AppContext& ctx, const QString& section, const QString& key) {
    return LenientInt(ReadSkinValue(ctx, section, key), /*allowHex=*/true);
}

} // namespace

QString ReadSkinValue(const AppContext& ctx, const QString& section, const QString& key) {
    return ctx.ini.Read(ctx.settings.AppFolder() + ctx.profile.skinFile, section, key);
}

QString SkinFolderPrefix(const AppContext& ctx) {
    const QString prefix = ReadSkinValue(ctx, kSkin, QStringLiteral("Folder")) + u'\\';
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
    s.name = ReadSkinValue(ctx, QStringLiteral("Info"), QStringLiteral("Name"));
    s.author = ReadSkinValue(ctx, QStringLiteral("Info"), QStringLiteral("Author"));
    s.url = ReadSkinValue(ctx, QStringLiteral("Info"), QStringLiteral("URL"));
    for (int i = 0; i < 2; ++i) {
        const QString section = QStringLiteral("Balloon%1").arg(i);
        SkinState::Balloon& b = s.balloons[size_t(i)];
        const QString value = ReadSkinValue(ctx, kSkin, section);
        // A balloon picture may also lie in the program folder itself.
        b.picture = prefix + value;
        if (!IsExistingFile(FullPicturePath(ctx, b.picture))) b.picture = value;
        b.top = ReadNumber(ctx, section, QStringLiteral("Top"));
        b.left = ReadNumber(ctx, section, QStringLiteral("Left"));
        // 0 means that no colour was given, so pure black cannot be chosen.
        b.backColor = ReadNumber(ctx, section, QStringLiteral("BackColor"));
        if (b.backColor == 0) b.backColor = 0xFFFFFF;
        b.foreColor = ReadNumber(ctx, section, QStringLiteral("ForeColor"));
        if (b.foreColor == 0) b.foreColor = 0xD4D0C8;
        b.msgArea = ReadSkinValue(ctx, section, QStringLiteral("MsgArea"));
    }
    s.hSelfName = ReadSkinValue(ctx, QStringLiteral("Name"), QStringLiteral("HSelfName"));
    s.hCallName = ReadSkinValue(ctx, QStringLiteral("Name"), QStringLiteral("HCallName"));
    s.fCallName = ReadSkinValue(ctx, QStringLiteral("Name"), QStringLiteral("FCallName"));
    if (s.name.isEmpty()) s.name = kUnknown;
    if (s.author.isEmpty()) s.author = kUnknown;
    if (s.url.isEmpty()) s.url = kUnknown;
    if (s.hSelfName.isEmpty()) s.hSelfName = QStringLiteral("わたし");
}

Outcome LoadSurfaceList(AppContext& ctx, UserMessages& messages) {
    SkinState& s = ctx.skin;
    const QString prefix = SkinFolderPrefix(ctx);
    for (int n = 1; n <= 7; ++n) {
        QString path = prefix + ReadSkinValue(ctx, kSkin, QStringLiteral("Surface%1").arg(n));
        if (path == prefix) {
            // Defaults are complete paths relative to the program folder, not to the prefix.
            path = n == 1   ? QStringLiteral("kanami\\Image1.gif")
                   : n == 2 ? QStringLiteral("kanami\\Image2.gif")
                   : n == 6 ? s.surfaces[4]
                            : s.surfaces[0];
        }
        s.surfaces[size_t(n - 1)] = path;
        const QString full = FullPicturePath(ctx, path);
        if (!IsExistingFile(full)) {
            messages.ShowMessage(full + QStringLiteral("が見つかりません。"));
            if (n <= 2) return Outcome::EndProgram;
        }
    }
    return Outcome::Go;
}

QString SurfacePath(const SkinState& skin, int n) {
    return n >= 1 && n <= 7 ? skin.surfaces[size_t(n - 1)] : QString();
}

void CheckFellowPresent(AppContext& ctx) {
    const QString value = ReadSkinValue(ctx, kSkin, QStringLiteral("Surface10"));
    ctx.skin.fellowPresent = !value.isEmpty();
    ctx.skin.fellowPicture = SkinFolderPrefix(ctx) + value;
}

} // namespace orvanel
