#include "platform/codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <mutex>
#include <vector>

namespace orvanel::codec {
namespace {

constexpr char16_t kNone = 0xFFFF;

bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Tables built once from the system's CP932 converter, so that decoding and encoding are
// plain look-ups with our own rules for bad input.
struct Tables {
    std::array<char16_t, 256> single{};
    std::vector<char16_t> dbcs = std::vector<char16_t>(65536, kNone); // index lead << 8 | trail
    std::vector<quint16> encode = std::vector<quint16>(65536, 0);     // 0 = not encodable

    Tables() {
        QStringDecoder dec("windows-31j", QStringDecoder::Flag::Stateless);
        if (!dec.isValid()) dec = QStringDecoder("Shift_JIS", QStringDecoder::Flag::Stateless);
        for (int b = 0; b < 256; ++b) {
            single[b] = kNone;
            if (IsLeadByte(static_cast<unsigned char>(b))) continue;
            const char c = static_cast<char>(b);
            const QString s = dec.decode(QByteArrayView(&c, 1));
            if (s.size() == 1 && s[0] != QChar(0x1A) && s[0] != QChar::ReplacementCharacter)
                single[b] = s[0].unicode();
        }
        single[0x1A] = 0x1A;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                const QString s = dec.decode(QByteArrayView(pair, 2));
                if (s.size() == 1 && s[0] != QChar(0x1A) && s[0] != QChar::ReplacementCharacter)
                    dbcs[lead << 8 | trail] = s[0].unicode();
            }
        }
        // Reverse table: the first code in table order wins, except that for the duplicated
        // NEC/IBM extension characters CP932 encoders pick the IBM (0xFA-0xFC) or the basic
        // (0x81) code; ask the system's encoder which one it takes.
        QStringEncoder enc("windows-31j", QStringEncoder::Flag::Stateless);
        if (!enc.isValid()) enc = QStringEncoder("Shift_JIS", QStringEncoder::Flag::Stateless);
        for (int b = 0; b < 256; ++b)
            if (single[b] != kNone && encode[single[b]] == 0) encode[single[b]] = b;
        for (int code = 0x8140; code <= 0xFCFC; ++code) {
            const char16_t u = dbcs[code];
            if (u == kNone || encode[u] != 0) continue;
            const QChar ch(u);
            const QByteArray b = enc.encode(QStringView(&ch, 1));
            if (b.size() == 2) {
                const int pref =
                    (static_cast<unsigned char>(b[0]) << 8) | static_cast<unsigned char>(b[1]);
                encode[u] = static_cast<quint16>(dbcs[pref] == u ? pref : code);
            } else {
                encode[u] = static_cast<quint16>(code);
            }
        }
        encode[0] = 0; // NUL is written as a byte below
        // Look-alikes that Linux input methods and fonts produce for CP932 characters.
        const std::pair<char16_t, quint16> bestFit[] = {
            {0x301C, 0x8160}, {0x2016, 0x8161}, {0x2212, 0x817C}, {0x00A2, 0x8191},
            {0x00A3, 0x8192}, {0x00AC, 0x81CA}, {0x00A5, 0x5C},   {0x203E, 0x7E},
            {0x2014, 0x815C}, {0x00A6, 0xFA55}};
        for (auto [u, code] : bestFit)
            if (encode[u] == 0) encode[u] = code;
    }
};

const Tables& T() {
    static const Tables tables;
    return tables;
}

} // namespace

bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

QString FromCp932(QByteArrayView bytes) {
    const Tables& t = T();
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            out.append(QChar(char16_t(b)));
        } else if (IsLeadByte(b)) {
            if (i + 1 < n && IsTrailByte(p[i + 1])) {
                const char16_t u = t.dbcs[b << 8 | p[i + 1]];
                out.append(QChar(u == kNone ? char16_t(0xFFFD) : u));
                ++i;
            } else {
                // A lead byte without its trail: the next byte starts a character of its own.
                out.append(QChar::ReplacementCharacter);
            }
        } else {
            const char16_t u = t.single[b];
            out.append(QChar(u == kNone ? char16_t(0xFFFD) : u));
        }
    }
    return out;
}

QByteArray ToCp932(QStringView text) {
    const Tables& t = T();
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
            continue;
        }
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i; // one character outside the BMP: one "?"
        const quint16 code = QChar::isSurrogate(u) ? 0 : t.encode[u];
        if (code == 0) {
            out.append('?');
        } else if (code > 0xFF) {
            out.append(static_cast<char>(code >> 8));
            out.append(static_cast<char>(code & 0xFF));
        } else {
            out.append(static_cast<char>(code));
        }
    }
    return out;
}

bool CanEncode(QStringView text) {
    const Tables& t = T();
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80 && (QChar::isSurrogate(u) || t.encode[u] == 0)) return false;
    }
    return true;
}

qsizetype Cp932Length(QStringView text) {
    return ToCp932(text).size();
}

QString CutToBytes(QStringView text, qsizetype maxBytes) {
    const Tables& t = T();
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        qsizetype w = 1;
        if (u >= 0x80 && !QChar::isSurrogate(u) && t.encode[u] > 0xFF) w = 2;
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            if (bytes + 1 > maxBytes) return text.left(i).toString();
            bytes += 1;
            ++i;
            continue;
        }
        if (bytes + w > maxBytes) return text.left(i).toString();
        bytes += w;
    }
    return text.toString();
}

QByteArray CutBytes(QByteArrayView bytes, qsizetype maxBytes) {
    if (bytes.size() <= maxBytes) return bytes.toByteArray();
    qsizetype i = 0;
    while (i < maxBytes) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const qsizetype w = (IsLeadByte(b) && i + 1 < bytes.size()) ? 2 : 1;
        if (i + w > maxBytes) break;
        i += w;
    }
    return bytes.first(i).toByteArray();
}

} // namespace orvanel::codec
