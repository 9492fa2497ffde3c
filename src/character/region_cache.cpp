#include "character/region_cache.h"

#include "character/skin.h"
#include "core/app_context.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

constexpr qint32 kRectangleListType = 1; // RDH_RECTANGLES

void Put(QByteArray& out, qint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

qint32 Get(const QByteArray& in, qsizetype offset) {
    return qFromLittleEndian<qint32>(in.constData() + offset);
}

// The modification time as the cache compares it: local wall-clock time, whole seconds.
std::optional<QDateTime> FileTime(const QString& nativePath) {
    const QFileInfo info(nativePath);
    if (!info.isFile()) return std::nullopt;
    const QDateTime t = info.lastModified().toLocalTime();
    return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute(), t.time().second()),
                     Qt::UTC);
}

} // namespace

QString PictureBaseName(const QString& picturePath) {
    const qsizetype slash = qMax(picturePath.lastIndexOf(u'\\'), picturePath.lastIndexOf(u'/'));
    const QString name = picturePath.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString RegionCachePath(const AppContext& ctx, const QString& picturePath) {
    return ctx.settings.FilePath(SkinFolderPrefix(ctx) + PictureBaseName(picturePath) + u".rgn"_s);
}

QString RegionIndexPath(const AppContext& ctx) {
    return ctx.settings.FilePath(SkinFolderPrefix(ctx) + u"Region.ini"_s);
}

bool FindRegionCache(const AppContext& ctx, const QString& picturePath) {
    const QString index = RegionIndexPath(ctx);
    const QString section = PictureBaseName(picturePath);
    const QString fileName = ctx.ini.Read(index, section, u"FileName"_s);
    if (fileName.toLower() != picturePath.toLower()) return false;
    const QString time = ctx.ini.Read(index, section, u"Time"_s);
    if (time.isEmpty()) return false;
    const std::optional<QDateTime> stored = ParseRegionTime(time);
    const std::optional<QDateTime> actual = FileTime(picturePath);
    return stored && actual && *stored == *actual;
}

QByteArray SerializeRegion(const RegionData& region) {
    QByteArray out;
    out.reserve(region.DataSize());
    const qint32 count = qint32(region.rects.size());
    for (qint32 v : {qint32(RegionData::kHeaderSize), kRectangleListType, count,
                     qint32(count * RegionData::kRectSize), region.bounds.left, region.bounds.top,
                     region.bounds.right, region.bounds.bottom})
        Put(out, v);
    for (const RegionRect& r : region.rects) {
        Put(out, r.left);
        Put(out, r.top);
        Put(out, r.right);
        Put(out, r.bottom);
    }
    return out;
}

std::optional<RegionData> ParseRegion(const QByteArray& bytes) {
    if (bytes.size() < RegionData::kHeaderSize) return std::nullopt;
    const qint32 count = Get(bytes, 8);
    if (Get(bytes, 0) != RegionData::kHeaderSize || Get(bytes, 4) != kRectangleListType ||
        count < 0 || count > kMaxCachedRects)
        return std::nullopt;
    // The platform builds the region from dwSize + nRgnSize bytes; less than nCount
    // rectangles' worth cannot be read.
    if (Get(bytes, 12) < count * RegionData::kRectSize ||
        bytes.size() < RegionData::kHeaderSize + count * RegionData::kRectSize)
        return std::nullopt;
    RegionData region;
    region.bounds = {Get(bytes, 16), Get(bytes, 20), Get(bytes, 24), Get(bytes, 28)};
    region.rects.reserve(count);
    for (qint32 i = 0; i < count; ++i) {
        const qsizetype at = RegionData::kHeaderSize + i * RegionData::kRectSize;
        region.rects.append(
            {Get(bytes, at), Get(bytes, at + 4), Get(bytes, at + 8), Get(bytes, at + 12)});
    }
    return region;
}

std::optional<RegionData> ReadRegionCacheFile(const QString& cachePath) {
    QFile file(NativePath(cachePath));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // Trailing bytes are ignored; reading more than the largest readable cache is not needed.
    return ParseRegion(
        file.read(RegionData::kHeaderSize + kMaxCachedRects * RegionData::kRectSize));
}

CacheWrite WriteRegionCache(const AppContext& ctx, const QString& picturePath,
                            const RegionData& region) {
    if (region.DataSize() >= kRegionDataLimit) return CacheWrite::TooLarge;
    if (!WriteFileAtomic(RegionCachePath(ctx, picturePath), SerializeRegion(region)))
        return CacheWrite::Failed;
    const std::optional<QDateTime> time = FileTime(picturePath);
    const QString index = RegionIndexPath(ctx);
    const QString section = PictureBaseName(picturePath);
    const QString timeText = time ? FormatRegionTime(*time) : QString();
    // One write: the name and the time of an entry always belong to the same cache file.
    if (!ctx.ini.WriteKeys(index, section, {{u"FileName"_s, picturePath}, {u"Time"_s, timeText}}))
        return CacheWrite::Failed;
    return CacheWrite::Written;
}

QString FormatRegionTime(const QDateTime& time) {
    return time.toString(u"yyyy/MM/dd H:mm:ss"_s);
}

std::optional<QDateTime> ParseRegionTime(const QString& text) {
    static const QRegularExpression kDate(
        uR"(^\s*(\d{1,4})\s*[/\-.年]\s*(\d{1,2})\s*[/\-.月]\s*(\d{1,2})\s*日?(.*)$)"_s);
    static const QRegularExpression kTime(uR"((\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)"_s);
    const QRegularExpressionMatch d = kDate.match(text);
    if (!d.hasMatch()) return std::nullopt;
    int year = d.captured(1).toInt();
    if (d.captured(1).size() <= 2) year += year < 30 ? 2000 : 1900;
    const QDate date(year, d.captured(2).toInt(), d.captured(3).toInt());
    if (!date.isValid()) return std::nullopt;

    const QString rest = d.captured(4);
    QTime time(0, 0);
    const QRegularExpressionMatch t = kTime.match(rest);
    if (t.hasMatch()) {
        int hour = t.captured(1).toInt();
        const bool pm = rest.contains(u"午後") || rest.contains(u"PM", Qt::CaseInsensitive);
        const bool am = rest.contains(u"午前") || rest.contains(u"AM", Qt::CaseInsensitive);
        if (pm && hour < 12) hour += 12;
        if (am && hour == 12) hour = 0;
        time = QTime(hour, t.captured(2).toInt(), t.captured(3).toInt());
        if (!time.isValid()) return std::nullopt;
    }
    return QDateTime(date, time, Qt::UTC);
}

} // namespace orvanel
