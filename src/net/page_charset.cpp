#include "net/page_charset.h"

#include "platform/codec.h"

#include <QStringDecoder>

#include <uchardet.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// How far into a page its own declaration is looked for: heads with long scripts put the
// meta tag late, but not this late.
constexpr qsizetype kDeclarationWindow = 8192;

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == ':';
}

// The name after `key` "=" (blanks and one quote allowed) at `at` in `s`, else empty.
QByteArray ValueAfter(QByteArrayView s, qsizetype at, QByteArrayView key) {
    qsizetype i = at + key.size();
    const auto skipBlanks = [&] {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n'))
            ++i;
    };
    skipBlanks();
    if (i >= s.size() || s[i] != '=') return {};
    ++i;
    skipBlanks();
    if (i < s.size() && (s[i] == '"' || s[i] == '\'')) ++i;
    const qsizetype from = i;
    while (i < s.size() && IsNameChar(s[i]))
        ++i;
    return s.sliced(from, i - from).toByteArray();
}

// "Shift_JIS", "sjis", "windows-31j", ... : what the original platform's code page reads.
bool IsCp932Name(QByteArrayView charset) {
    QByteArray n;
    for (char c : charset)
        if (c != '-' && c != '_') n += char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    static const char* const kNames[] = {"shiftjis", "sjis",    "xsjis",      "windows31j", "cp932",
                                         "ms932",    "mskanji", "csshiftjis", "xmscp932"};
    for (const char* k : kNames)
        if (n == k) return true;
    return false;
}

} // namespace

QByteArray CharsetOfContentType(QByteArrayView contentType) {
    const QByteArray lower = contentType.toByteArray().toLower();
    const qsizetype at = lower.indexOf("charset");
    if (at < 0) return {};
    return ValueAfter(contentType, at, "charset");
}

QByteArray DeclaredCharset(QByteArrayView page) {
    const QByteArray head = page.first(qMin(page.size(), kDeclarationWindow)).toByteArray();
    const QByteArray lower = head.toLower();
    if (lower.startsWith("<?xml")) {
        const qsizetype close = lower.indexOf("?>");
        const qsizetype at = lower.indexOf("encoding");
        if (at > 0 && (close < 0 || at < close)) {
            const QByteArray name = ValueAfter(head, at, "encoding");
            if (!name.isEmpty()) return name;
        }
    }
    for (qsizetype meta = lower.indexOf("<meta"); meta >= 0;
         meta = lower.indexOf("<meta", meta + 5)) {
        const qsizetype close = lower.indexOf('>', meta);
        const qsizetype end = close < 0 ? lower.size() : close;
        for (qsizetype at = lower.indexOf("charset", meta); at >= 0 && at < end;
             at = lower.indexOf("charset", at + 7)) {
            const QByteArray name = ValueAfter(head, at, "charset");
            if (!name.isEmpty()) return name;
        }
    }
    return {};
}

QByteArray GuessCharset(QByteArrayView page) {
    const std::unique_ptr<uchardet, decltype(&uchardet_delete)> ud(uchardet_new(),
                                                                   &uchardet_delete);
    if (!ud) return {};
    if (uchardet_handle_data(ud.get(), page.data(), size_t(page.size())) != 0) return {};
    uchardet_data_end(ud.get());
    return QByteArray(uchardet_get_charset(ud.get()));
}

std::optional<QString> DecodeAs(const QByteArray& page, QByteArrayView charset) {
    if (charset.isEmpty()) return std::nullopt;
    if (IsCp932Name(charset)) return codec::FromCp932(page);
    QByteArray name = charset.toByteArray();
    if (name.compare("ASCII", Qt::CaseInsensitive) == 0 ||
        name.compare("US-ASCII", Qt::CaseInsensitive) == 0)
        name = "UTF-8";
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid()) return std::nullopt;
    QString text = decoder.decode(page);
    // ICU's converters mark bytes they cannot read with SUB; ours say so with U+FFFD.
    text.replace(QChar(0x1A), QChar::ReplacementCharacter);
    return text;
}

QString DecodePage(const QByteArray& page, QByteArrayView headerCharset) {
    if (page.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(page.mid(3));
    if (page.startsWith("\xFE\xFF") || page.startsWith("\xFF\xFE")) {
        if (auto text = DecodeAs(page, "UTF-16")) return *text;
    }
    for (const QByteArray& name :
         {headerCharset.toByteArray(), DeclaredCharset(page), GuessCharset(page)}) {
        if (auto text = DecodeAs(page, name)) return *text;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(page);
    if (!utf8.hasError()) return text;
    return codec::FromCp932(page);
}

} // namespace orvanel
