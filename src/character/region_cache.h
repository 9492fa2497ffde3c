#pragma once

#include "character/region_data.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace orvanel {

class AppContext;

// Outline caches: "<base name>.rgn" beside "Region.ini" in the skin's picture folder, in the
// binary layout of the platform's region data (a 32-byte header of eight little-endian 32-bit
// integers, then left, top, right, bottom of each rectangle). Files written by the original
// program are read as they are, and ours are byte-identical to its files for the same picture.

// Region data of more than this many rectangles did not fit the original's buffer.
constexpr qsizetype kMaxCachedRects = 4001;
// Data of this size or more is not cached ("ＣＧのサイズが大きすぎます。").
constexpr qsizetype kRegionDataLimit = 64000;

// The text between the last path separator and the last "." of the file name; the whole
// file name when it has no ".".
QString PictureBaseName(const QString& picturePath);

// Program folder + skin folder prefix + base name + ".rgn", and the index beside it.
QString RegionCachePath(const AppContext& ctx, const QString& picturePath);
QString RegionIndexPath(const AppContext& ctx);

// "Region.ini" names this picture path (compared in lower case) with a Time that equals the
// file's modification time to the second. Says nothing about the cache file itself.
bool FindRegionCache(const AppContext& ctx, const QString& picturePath);

QByteArray SerializeRegion(const RegionData& region);
// nullopt for data the cache reader cannot use: shorter than the header or than nCount
// rectangles, a header that is not the rectangle-list header, nCount negative or over 4001.
std::optional<RegionData> ParseRegion(const QByteArray& bytes);
std::optional<RegionData> ReadRegionCacheFile(const QString& cachePath);

enum class CacheWrite { Written, TooLarge, Failed };
// Writes the cache file, then its "Region.ini" entry (FileName, Time). Nothing is written for
// data of kRegionDataLimit bytes or more; the entry is not written when the file could not be.
[[nodiscard]] CacheWrite WriteRegionCache(const AppContext& ctx, const QString& picturePath,
                                          const RegionData& region);

// "Time" as written: "yyyy/MM/dd H:mm:ss" local time.
QString FormatRegionTime(const QDateTime& time);
// Reads the forms a user's regional settings may have written ("2003/4/5 9:08:07",
// "2003-04-05 09:08", "2003/04/05 午後 9:08:07"); nullopt when there is no date in it. The
// wall-clock fields are held as UTC so no daylight-saving shift touches them.
std::optional<QDateTime> ParseRegionTime(const QString& text);

} // namespace orvanel
