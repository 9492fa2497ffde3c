// The region cache reader: any bytes as a cache file, and any text as its index's Time. What
// is read writes back to the same rectangles.
#include "character/region_cache.h"
#include "character/region_data.h"
#include "fuzz_rig.h"

using namespace orvanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto region = ParseRegion(bytes)) {
        const auto again = ParseRegion(SerializeRegion(*region));
        if (!again || again->rects != region->rects) std::abort();
        (void)region->ToQRegion();
    }
    if (const auto time = ParseRegionTime(fuzz::Text(data, size))) (void)FormatRegionTime(*time);
    return 0;
}
