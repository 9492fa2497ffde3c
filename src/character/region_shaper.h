#pragma once

#include "character/region_data.h"
#include "character/shape_views.h"

#include <QSet>

#include <optional>

namespace orvanel {

class AppContext;

// Gives windows the outline of their pictures, through the caches when they are valid and
// by scanning the picture (with the progress window) when they are not.
class RegionShaper {
public:
    RegionShaper(AppContext& ctx, RegionProgress& progress, UserMessages& messages);

    // `picturePath` is always a full native path (FullPicturePath).
    bool FindRegionCache(const QString& picturePath) const;
    // FindRegionCache, and the cache file can be read and fits the picture.
    bool HasUsableCache(const QString& picturePath) const;

    // Scans `picture`, hands the outline to `window` and caches it. The window already shows
    // the picture; the caller enables the window afterwards.
    void BuildRegionFromPicture(const QString& picturePath, const QImage& picture,
                                ShapedWindow& window);

    // Applies the cached outline, then shows `picture` at `offset` and enables the window.
    // False, with the window untouched, when the cache file cannot be read or reaches outside
    // the picture: the caller builds the outline instead.
    bool LoadRegionCache(const QString& picturePath, const QImage& picture, QPoint offset,
                         ShapedWindow& window);

    // Writes `region` as the picture's cache; too large a region shows the size message.
    void SaveRegionCache(const QString& picturePath, const RegionData& region);

    // The fellow's and the balloons' windows: picture at (0,0), outline cached or built. A
    // missing picture shows "<path>が見つかりません。" and ends the program.
    [[nodiscard]] Outcome ShapeWindowFromPicture(ShapedWindow& window, const QString& picturePath);

    // The outline built last by the scanner.
    const RegionData& LastRegion() const { return last_; }

    UserMessages& Messages() const { return messages_; }

private:
    std::optional<RegionData> ReadCache(const QString& picturePath, QSize pictureSize) const;

    AppContext& ctx_;
    RegionProgress& progress_;
    UserMessages& messages_;
    RegionData last_;
    QSet<QString> warnedTooLarge_;
};

} // namespace orvanel
