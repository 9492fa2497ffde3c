#pragma once

#include <QRect>

#include <array>

namespace orvanel {

class AppContext;

// The seven transparent hit areas of the face (rgnhead, rgneye 0/1, rgnnose, rgnmouth,
// rgncheeks 0/1), in the order of the skin's [Region] keys.
enum class HitArea { Head, EyeL, EyeR, Nose, Mouth, CheekL, CheekR };
constexpr int kHitAreaCount = 7;

struct HitAreas {
    // Left, top, width, height in twips of the displayed picture's coordinates.
    std::array<QRect, kHitAreaCount> twips;

    const QRect& operator[](HitArea a) const { return twips[size_t(a)]; }
    // The same rectangle in picture pixels (15 twips to the pixel).
    QRect Pixels(HitArea a) const;
};

// Reads the [Region] keys. Each value is "left,top,width,height"; a number that is missing or
// not a number keeps its value from the previous key (0 for the first), so a missing key
// repeats the previous area. Negative sizes become 0.
HitAreas PlaceHitAreas(const AppContext& ctx);

// One element of a [Region] value: the whole text, blanks around it ignored, must be a number.
bool ParseRegionNumber(QStringView text, int* value);

} // namespace orvanel
