#pragma once

#include <QImage>
#include <QString>

namespace orvanel {

// Loads a picture file into a picture holder. A name ending in ".png" (any letter case) goes
// through the PNG path, which first checks the file's signature; anything else is read by Qt's
// image readers (BMP, GIF, JPEG, ICO, ...), which judge the format by the content. A file that
// cannot be read or decoded leaves the holder as it was and returns false. `path` is native or
// written with "\"; names are resolved case-insensitively.
bool LoadPictureFile(QImage& holder, const QString& path);

// Whether the file starts with the eight bytes of the PNG signature.
bool HasPngSignature(const QString& nativePath);

} // namespace orvanel
