#pragma once

#include <QString>

namespace orvanel {

// The lenient text-to-number reading of settings and data files: blanks are skipped, the
// leading numeric part is taken (sign, digits, decimal point, exponent), anything else gives 0.
// With `allowHex`, "&H" introduces a hexadecimal number as skin files write colours ("&HFF"
// is 255; four digits or fewer are a 16-bit value, so "&HFFFF" is -1).
double LenientNumber(QStringView text, bool allowHex = false);

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4), saturating at the
// 32-bit range.
qint32 RoundHalfEven(double value);

// LenientNumber then RoundHalfEven: how every integer setting is read.
qint32 LenientInt(QStringView text, bool allowHex = false);

} // namespace orvanel
