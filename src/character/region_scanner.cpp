#include "character/region_scanner.h"

#include <vector>

namespace orvanel {
namespace {

struct Span {
    qint32 left;
    qint32 right;
    friend bool operator==(const Span&, const Span&) = default;
};

// The picture in a format whose 32-bit words compare as the colours the scan must tell apart.
QImage ComparableImage(const QImage& picture) {
    if (picture.hasAlphaChannel())
        return picture.format() == QImage::Format_ARGB32_Premultiplied
                   ? picture
                   : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return picture.format() == QImage::Format_RGB32 ? picture
                                                    : picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace

RegionData ScanRegion(const QImage& picture, const std::function<void(int row)>& rowDone) {
    RegionData out;
    if (picture.isNull()) return out;
    const QImage image = ComparableImage(picture);
    const int width = image.width();
    const int height = image.height();
    // RGB32 leaves the top byte undefined in principle; mask it so only colour counts.
    const quint32 mask = image.hasAlphaChannel() ? 0xFFFFFFFFu : 0x00FFFFFFu;
    const quint32 transparent = reinterpret_cast<const quint32*>(image.constScanLine(0))[0] & mask;

    // A band is a run of consecutive rows with identical spans; it is written out when a row
    // with other spans (or none) ends it, which is how the platform coalesces bands.
    std::vector<Span> band, row;
    qint32 bandTop = 0;
    auto flush = [&](qint32 bottom) {
        for (const Span& s : band)
            out.rects.append(RegionRect{s.left, bandTop, s.right, bottom});
        band.clear();
    };
    for (int y = 0; y < height; ++y) {
        const quint32* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
        row.clear();
        int start = -1;
        for (int x = 0; x < width; ++x) {
            const bool clear = (line[x] & mask) == transparent;
            if (!clear && start < 0) {
                start = x;
            } else if (clear && start >= 0) {
                row.push_back(Span{start, x});
                start = -1;
            }
        }
        if (start >= 0) row.push_back(Span{start, width});

        if (row != band || band.empty()) {
            flush(y);
            band.swap(row);
            bandTop = y;
        }
        if (rowDone && y % 10 == 0) rowDone(y);
    }
    flush(height);

    if (!out.rects.isEmpty()) {
        RegionRect b{out.rects.first().left, out.rects.first().top, out.rects.first().right,
                     out.rects.last().bottom};
        for (const RegionRect& r : std::as_const(out.rects)) {
            b.left = qMin(b.left, r.left);
            b.right = qMax(b.right, r.right);
        }
        out.bounds = b;
    }
    return out;
}

} // namespace orvanel
