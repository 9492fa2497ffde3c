#include "character/region_shaper.h"

#include "character/picture_file.h"
#include "character/region_cache.h"
#include "character/region_scanner.h"
#include "character/skin.h"
#include "core/app_context.h"
#include "platform/paths.h"
#include "tools/trace_log.h"

#include <QImageReader>

using namespace Qt::StringLiterals;

namespace orvanel {

RegionShaper::RegionShaper(AppContext& ctx, RegionProgress& progress, UserMessages& messages)
    : ctx_(ctx), progress_(progress), messages_(messages) {}

bool RegionShaper::FindRegionCache(const QString& picturePath) const {
    return orvanel::FindRegionCache(ctx_, picturePath);
}

bool RegionShaper::HasUsableCache(const QString& picturePath) const {
    return FindRegionCache(picturePath) &&
           ReadCache(picturePath, QImageReader(NativePath(picturePath)).size()).has_value();
}

std::optional<RegionData> RegionShaper::ReadCache(const QString& picturePath,
                                                  QSize pictureSize) const {
    std::optional<RegionData> region = ReadRegionCacheFile(RegionCachePath(ctx_, picturePath));
    // The scanner never makes a rectangle outside its picture: such a cache was damaged or
    // made up, and is built again.
    if (region && !region->FitsIn(pictureSize)) {
        ctx_.log.LogLine(u"Region cache outside its picture: "_s + picturePath);
        return std::nullopt;
    }
    return region;
}

void RegionShaper::BuildRegionFromPicture(const QString& picturePath, const QImage& picture,
                                          ShapedWindow& window) {
    progress_.Open();
    progress_.SetCaption(u"リージョンデータ作成中"_s);
    ctx_.clock.ProcessEvents(0);
    window.ResizeWindow(picture.size());
    window.SetInputEnabled(false);
    const int height = picture.height();
    progress_.SetMaximum(height);
    // The scan takes milliseconds, so unlike the original it does not let events run
    // between rows: no handler can start another build on the half-built outline.
    last_ = ScanRegion(picture, [&](int row) {
        if (row < height) progress_.SetValue(row);
    });
    progress_.SetCaption(u"リージョンデータのセーブ中"_s);
    SaveRegionCache(picturePath, last_);
    if (!window.ApplyShape(last_)) messages_.ShowMessage(u"フォームの変形に失敗しました。"_s);
    progress_.Close();
}

bool RegionShaper::LoadRegionCache(const QString& picturePath, const QImage& picture, QPoint offset,
                                   ShapedWindow& window) {
    const std::optional<RegionData> region = ReadCache(picturePath, picture.size());
    if (!region) return false;
    window.ResizeWindow(picture.size());
    window.SetInputEnabled(false);
    if (!window.ApplyShape(*region)) messages_.ShowMessage(u"窓の整形に失敗しました。"_s);
    window.ShowPicture(picture, offset);
    window.SetInputEnabled(true);
    return true;
}

void RegionShaper::SaveRegionCache(const QString& picturePath, const RegionData& region) {
    // Such a picture is scanned again at every show; one message per picture and run is
    // enough, rather than a box each time the character changes her face.
    // A cache that cannot be written only costs a scan at the next show.
    const CacheWrite written = WriteRegionCache(ctx_, picturePath, region);
    if (written == CacheWrite::Failed)
        ctx_.log.LogLine(u"Region cache not written: "_s + picturePath);
    if (written == CacheWrite::TooLarge && !warnedTooLarge_.contains(picturePath)) {
        warnedTooLarge_.insert(picturePath);
        messages_.ShowMessage(u"ＣＧのサイズが大きすぎます。"_s);
    }
}

Outcome RegionShaper::ShapeWindowFromPicture(ShapedWindow& window, const QString& picturePath) {
    if (!IsExistingFile(picturePath)) {
        messages_.ShowMessage(picturePath + u"が見つかりません。"_s);
        return Outcome::EndProgram;
    }
    QImage picture;
    // A picture that cannot be decoded leaves the window as it was rather than caching an
    // outline of nothing under its name.
    if (!LoadPictureFile(picture, picturePath)) return Outcome::Go;
    if (FindRegionCache(picturePath) && LoadRegionCache(picturePath, picture, {}, window))
        return Outcome::Go;
    window.ShowPicture(picture, {});
    BuildRegionFromPicture(picturePath, picture, window);
    window.SetInputEnabled(true);
    return Outcome::Go;
}

} // namespace orvanel
