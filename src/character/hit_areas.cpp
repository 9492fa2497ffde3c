#include "character/hit_areas.h"

#include "character/skin.h"
#include "core/geometry.h"
#include "platform/numbers.h"

#include <QRegularExpression>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace orvanel {

QRect HitAreas::Pixels(HitArea a) const {
    return TwipsToPixels((*this)[a]);
}

bool ParseRegionNumber(QStringView text, int* value) {
    static const QRegularExpression kNumber(
        uR"(^\s*(?:[+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?|&[hH][0-9a-fA-F]{1,8})\s*$)"_s);
    if (!kNumber.match(text).hasMatch()) return false;
    *value = LenientInt(text, /*allowHex=*/true);
    return true;
}

HitAreas PlaceHitAreas(const AppContext& ctx) {
    static const std::array<QString, kHitAreaCount> kKeys = {
        u"Head"_s, u"EyeL"_s, u"EyeR"_s, u"Nose"_s, u"Mouth"_s, u"CheekL"_s, u"CheekR"_s};
    HitAreas areas;
    std::array<int, 4> shared = {0, 0, 0, 0}; // carried from one key to the next
    for (int i = 0; i < kHitAreaCount; ++i) {
        const QStringList parts = ReadSkinValue(ctx, u"Region"_s, kKeys[size_t(i)]).split(u',');
        for (int k = 0; k < 4 && k < parts.size(); ++k)
            ParseRegionNumber(parts[k], &shared[k]);
        areas.twips[size_t(i)] =
            QRect(shared[0], shared[1], qMax(0, shared[2]), qMax(0, shared[3]));
    }
    return areas;
}

} // namespace orvanel
