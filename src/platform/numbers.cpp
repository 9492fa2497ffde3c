#include "platform/numbers.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

bool IsSkippable(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

} // namespace

double LenientNumber(QStringView text, bool allowHex) {
    // Blanks may stand anywhere inside the number ("1 2" is 12), as the original reader did.
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (!IsSkippable(c)) s.append(c);

    if (allowHex && s.size() >= 2 && s[0] == u'&' && (s[1] == u'H' || s[1] == u'h')) {
        quint64 v = 0;
        int digits = 0;
        for (qsizetype i = 2; i < s.size() && digits < 16; ++i, ++digits) {
            const char16_t c = s[i].unicode();
            const int d = (c >= u'0' && c <= u'9')   ? c - u'0'
                          : (c >= u'a' && c <= u'f') ? c - u'a' + 10
                          : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                                     : -1;
            if (d < 0) break;
            v = v * 16 + quint64(d);
        }
        if (digits == 0) return 0;
        if (digits <= 4) return double(qint16(quint16(v)));
        if (digits <= 8) return double(qint32(quint32(v)));
        return double(v);
    }

    qsizetype i = 0;
    QString num;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) num += s[i++];
    bool digits = false;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        num += s[i++];
        digits = true;
    }
    if (i < s.size() && s[i] == u'.') {
        num += s[i++];
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
            num += s[i++];
            digits = true;
        }
    }
    if (!digits) return 0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        QString exp = u"e"_s;
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exp += s[j++];
        bool expDigits = false;
        while (j < s.size() && s[j] >= u'0' && s[j] <= u'9') {
            exp += s[j++];
            expDigits = true;
        }
        if (expDigits) num += exp;
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

qint32 RoundHalfEven(double value) {
    if (!std::isfinite(value)) return 0;
    const double r = std::nearbyint(value); // default rounding mode: to nearest, ties to even
    if (r >= double(std::numeric_limits<qint32>::max())) return std::numeric_limits<qint32>::max();
    if (r <= double(std::numeric_limits<qint32>::min())) return std::numeric_limits<qint32>::min();
    return qint32(r);
}

qint32 LenientInt(QStringView text, bool allowHex) {
    return RoundHalfEven(LenientNumber(text, allowHex));
}

} // namespace orvanel
