#pragma once

#include <QList>
#include <QRegion>

namespace orvanel {

// One rectangle of a region, in window pixels, right and bottom exclusive (the RECT layout).
struct RegionRect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
    friend bool operator==(const RegionRect&, const RegionRect&) = default;
};

// A window outline as the rectangle list of the platform's region data: y-x bands sorted top
// to bottom and left to right, vertically adjacent bands with identical spans coalesced. This
// is the list the ".rgn" caches hold; an empty list means the window keeps its whole rectangle.
struct RegionData {
    QList<RegionRect> rects;
    RegionRect bounds; // all zero when there are no rectangles

    // Header plus rectangles, as the region data reports its size.
    qsizetype DataSize() const { return kHeaderSize + kRectSize * rects.size(); }
    bool IsEmpty() const { return rects.isEmpty(); }
    // The same area as a QRegion, for QWidget::setMask. Rectangles wider or taller than a
    // QRect can hold are left out.
    QRegion ToQRegion() const;
    // Whether every rectangle lies within a picture of `size` (0,0 to width,height).
    bool FitsIn(QSize size) const;

    static constexpr qsizetype kHeaderSize = 32;
    static constexpr qsizetype kRectSize = 16;
};

// Whether `rects` already has the banded form QRegion::setRects requires (what every cache
// written by us or by the original holds).
bool IsBanded(const QList<RegionRect>& rects);

} // namespace orvanel
