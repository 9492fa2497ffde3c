#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Reading a web page's bytes as text in whatever Japanese encoding it came in (QtCore and
// uchardet).
namespace orvanel {

// The charset a Content-Type value names ("text/html; charset=EUC-JP" gives "EUC-JP"); empty
// when it names none.
QByteArray CharsetOfContentType(QByteArrayView contentType);

// The charset the page declares in its first bytes: a meta tag (charset= or http-equiv
// Content-Type) or the XML declaration's encoding; empty when it declares none.
QByteArray DeclaredCharset(QByteArrayView page);

// uchardet's guess ("EUC-JP", "SHIFT_JIS", "ISO-2022-JP", "UTF-8", "ASCII"); empty when it
// has none.
QByteArray GuessCharset(QByteArrayView page);

// The page as text: a byte-order mark decides, then the header's charset, then the page's own
// declaration, then uchardet's guess, then UTF-8 when the bytes are valid UTF-8, else CP932.
// Names that no converter knows are passed over. Shift_JIS and its aliases read as CP932.
// Undecodable bytes become U+FFFD.
QString DecodePage(const QByteArray& page, QByteArrayView headerCharset = {});

// `page` read with the converter of `charset`; nullopt when no converter knows the name.
std::optional<QString> DecodeAs(const QByteArray& page, QByteArrayView charset);

} // namespace orvanel
