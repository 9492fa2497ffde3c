#include "character/region_data.h"

#include <QRect>

#include <algorithm>
#include <limits>

namespace orvanel {

bool IsBanded(const QList<RegionRect>& rects) {
    for (qsizetype i = 0; i < rects.size(); ++i) {
        const RegionRect& r = rects[i];
        if (r.left >= r.right || r.top >= r.bottom) return false;
        if (i == 0) continue;
        const RegionRect& p = rects[i - 1];
        if (r.top == p.top) {
            // Same band: same height, strictly to the right with a gap (touching spans merge).
            if (r.bottom != p.bottom || r.left <= p.right) return false;
        } else if (r.top < p.bottom) {
            return false; // bands may not overlap
        }
    }
    return true;
}

bool RegionData::FitsIn(QSize size) const {
    const auto within = [](qint32 v, int limit) { return v >= 0 && v <= limit; };
    return std::all_of(rects.begin(), rects.end(), [&](const RegionRect& r) {
        return within(r.left, size.width()) && within(r.right, size.width()) &&
               within(r.top, size.height()) && within(r.bottom, size.height());
    });
}

QRegion RegionData::ToQRegion() const {
    constexpr qint64 kMaxExtent = std::numeric_limits<int>::max();
    QList<QRect> list;
    list.reserve(rects.size());
    for (const RegionRect& r : rects) {
        const qint64 width = qint64(r.right) - r.left;
        const qint64 height = qint64(r.bottom) - r.top;
        if (width > 0 && height > 0 && width <= kMaxExtent && height <= kMaxExtent)
            list.append(QRect(r.left, r.top, int(width), int(height)));
    }
    QRegion region;
    if (IsBanded(rects)) {
        region.setRects(list.constData(), int(list.size()));
    } else {
        // Lists from other writers may be in any order; the union is what the platform made.
        for (const QRect& r : std::as_const(list))
            region += r;
    }
    return region;
}

} // namespace orvanel
