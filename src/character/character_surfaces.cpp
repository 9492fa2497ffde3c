#include "character/character_surfaces.h"

#include "character/picture_file.h"
#include "character/skin.h"
#include "core/app_context.h"
#include "tools/trace_log.h"

using namespace Qt::StringLiterals;

namespace orvanel {

CharacterSurfaces::CharacterSurfaces(AppContext& ctx, ShapedWindow& window,
                                     RegionProgress& progress, UserMessages& messages)
    : ctx_(ctx), window_(window), shaper_(ctx, progress, messages) {}

void CharacterSurfaces::LoadBlinkPictures() {
    // Through the work picture: a picture that cannot be read takes what it held before.
    LoadPictureFile(picture1_, FullPicturePath(ctx_, SurfacePath(ctx_.skin, 1)));
    image1_ = picture1_;
    LoadPictureFile(picture1_, FullPicturePath(ctx_, SurfacePath(ctx_.skin, 2)));
    image2_ = picture1_;
}

Outcome CharacterSurfaces::EnsureRegionCache(int n) {
    const QString path = FullPicturePath(ctx_, SurfacePath(ctx_.skin, n));
    // A damaged cache is rebuilt here rather than at the surface's first show.
    if (shaper_.HasUsableCache(path)) return Outcome::Go;
    if (!IsExistingFile(path)) {
        shaper_.Messages().ShowMessage(u"ファイルが見つかりません。"_s);
        return Outcome::EndProgram;
    }
    if (n == 1 && !image1_.isNull())
        picture1_ = image1_;
    else if (!LoadPictureFile(picture1_, path))
        return Outcome::Go; // nothing to outline; ShowSurface will leave it out as well
    window_.ShowPicture(picture1_, kPictureOffset);
    shaper_.BuildRegionFromPicture(path, picture1_, window_);
    window_.SetInputEnabled(true);
    return Outcome::Go;
}

Outcome CharacterSurfaces::PrepareSurfaceShapes() {
    for (int n = 1; n <= 7; ++n)
        if (EnsureRegionCache(n) == Outcome::EndProgram) return Outcome::EndProgram;
    return Outcome::Go;
}

Outcome CharacterSurfaces::ShowSurface(int n, bool hold) {
    if (n < 1 || n > 7) return Outcome::Go;
    // The window keeps its previous shape until the new outline is applied.
    const QString path = FullPicturePath(ctx_, SurfacePath(ctx_.skin, n));
    if (!IsExistingFile(path)) {
        shaper_.Messages().ShowMessage(path + u"が見つかりません。"_s);
        return Outcome::EndProgram;
    }
    // Surface 1 comes from the kept picture, without disk access, once there is one.
    bool loaded = true;
    if (n == 1 && !image1_.isNull())
        picture1_ = image1_;
    else
        loaded = LoadPictureFile(picture1_, path);
    if (loaded && !(shaper_.FindRegionCache(path) &&
                    shaper_.LoadRegionCache(path, picture1_, kPictureOffset, window_))) {
        window_.ShowPicture(picture1_, kPictureOffset);
        shaper_.BuildRegionFromPicture(path, picture1_, window_);
        window_.SetInputEnabled(true);
    }
    ctx_.flags.blinkHold = hold;
    return Outcome::Go;
}

Outcome CharacterSurfaces::ReloadSkin(SkinReloadSteps& steps) {
    if (reloading_) return Outcome::Go;
    reloading_ = true;
    const Outcome outcome = RunReload(steps);
    reloading_ = false;
    ctx_.flags.skinChangeRequest = false;
    return outcome;
}

Outcome CharacterSurfaces::RunReload(SkinReloadSteps& steps) {
    ctx_.log.LogBegin(u"UserInfoLoad... "_s);
    LoadUserInfo(ctx_.settings, ctx_.profile, ctx_.log);
    ctx_.log.LogEnd(u"Done"_s);
    if (LoadSurfaceList(ctx_, shaper_.Messages()) == Outcome::EndProgram)
        return Outcome::EndProgram;
    LoadSkinInfo(ctx_);
    steps.PlaceHitAreas(PlaceHitAreas(ctx_));
    LoadBlinkPictures();
    ctx_.Wait(500);
    steps.ReloadScriptFiles();
    ctx_.log.LogBegin(u"RegionFileCheck..."_s);
    if (PrepareSurfaceShapes() == Outcome::EndProgram) return Outcome::EndProgram;
    ctx_.log.LogEnd(u" Complete"_s);
    if (ShowSurface(1, false) == Outcome::EndProgram) return Outcome::EndProgram;
    if (steps.ReloadFellow() == Outcome::EndProgram) return Outcome::EndProgram;
    if (shaper_.ShapeWindowFromPicture(steps.MainBalloon(),
                                       FullPicturePath(ctx_, ctx_.skin.balloons[0].picture)) ==
        Outcome::EndProgram)
        return Outcome::EndProgram;
    steps.PlaceMainMessageArea();
    return Outcome::Go;
}

} // namespace orvanel
