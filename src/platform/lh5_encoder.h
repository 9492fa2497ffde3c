#pragma once

#include <QByteArray>

namespace orvanel::lha {

// The data compressed with the -lh5- method: LZSS over an 8 KiB window, coded in blocks of
// static Huffman tables as every LHA reader expects them.
QByteArray CompressLh5(QByteArrayView data);

} // namespace orvanel::lha
