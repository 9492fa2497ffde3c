#pragma once

#include "character/region_data.h"

#include <QImage>

#include <functional>

namespace orvanel {

// The outline of a picture: every pixel that has the colour of the top-left pixel is cut out.
// Pictures with an alpha channel are compared in premultiplied colour, so every fully
// transparent pixel is cut out whatever colour it stores. The picture is read once; the result
// is the rectangle list the platform's region data gives for the union of the rows' runs.
//
// `rowDone` is called after every tenth row (0, 10, 20, ...) with the row number, for a
// progress display.
RegionData ScanRegion(const QImage& picture, const std::function<void(int row)>& rowDone = {});

} // namespace orvanel
