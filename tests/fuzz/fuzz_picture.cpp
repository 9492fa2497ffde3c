// The picture loader and the outline scanner: any bytes as a picture file (PNG, or whatever
// Qt's readers make of them), then its outline. The outline lies within the picture.
#include "character/picture_file.h"
#include "character/region_data.h"
#include "character/region_scanner.h"
#include "fuzz_rig.h"

#include <QImage>
#include <QImageReader>

using namespace orvanel;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnsureApplication();
    QImageReader::setAllocationLimit(64); // MB: a claimed 30000 x 30000 is not worth the time
    // The length picks the name: the PNG path, or the readers that judge by content.
    const bool png = size % 2 == 0;
    const QString path = fuzz::ScratchFolder(false) + (png ? u"p.PNG"_s : u"p.gif"_s);
    if (!fuzz::WriteBytes(path, data, size)) std::abort();
    QImage picture;
    if (!LoadPictureFile(picture, path)) return 0;
    const RegionData region = ScanRegion(picture);
    for (const RegionRect& r : region.rects)
        if (r.left < 0 || r.top < 0 || r.right > picture.width() || r.bottom > picture.height() ||
            r.left >= r.right || r.top >= r.bottom)
            std::abort();
    return 0;
}
