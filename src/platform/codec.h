#pragma once

#include <QByteArray>
#include <QString>

// Text on disk and on the wire is in the ANSI code page of the original platform, CP932
// (the Microsoft variant of Shift_JIS). Everything else in the program is QString.
namespace orvanel::codec {

// Undecodable bytes become U+FFFD; decoding never fails.
QString FromCp932(QByteArrayView bytes);

// Characters CP932 cannot hold become "?", as the original platform's converter wrote them;
// a few common look-alikes (U+301C wave dash, U+2212 minus, ...) map to their CP932 form.
QByteArray ToCp932(QStringView text);

// Whether every character of `text` has a CP932 form (ToCp932 writes no "?" for it).
bool CanEncode(QStringView text);

// Number of bytes `text` takes in CP932.
qsizetype Cp932Length(QStringView text);

// The longest prefix of `text` that fits in `maxBytes` bytes of CP932, never splitting a
// double-byte character.
QString CutToBytes(QStringView text, qsizetype maxBytes);

// The longest prefix of CP932 `bytes` of at most `maxBytes`, never ending on a lead byte.
QByteArray CutBytes(QByteArrayView bytes, qsizetype maxBytes);

bool IsLeadByte(unsigned char b);

} // namespace orvanel::codec
