#include "character/picture_file.h"

#include "platform/paths.h"

#include <QFile>
#include <QImageReader>

namespace orvanel {
namespace {

bool IsPngName(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    return path.mid(dot + 1).compare(u"png", Qt::CaseInsensitive) == 0;
}

} // namespace

bool HasPngSignature(const QString& nativePath) {
    static const QByteArray kSignature("\x89PNG\r\n\x1A\n", 8);
    QFile file(nativePath);
    return file.open(QIODevice::ReadOnly) && file.read(8) == kSignature;
}

bool LoadPictureFile(QImage& holder, const QString& path) {
    const QString native = NativePath(path);
    const bool png = IsPngName(path);
    // The signature test comes first: a file that only carries the name is not touched.
    if (png && !HasPngSignature(native)) return false;
    QImageReader reader(native, png ? QByteArray("png") : QByteArray());
    reader.setDecideFormatFromContent(!png);
    QImage image = reader.read();
    if (image.isNull()) return false;
    holder = std::move(image);
    return true;
}

} // namespace orvanel
