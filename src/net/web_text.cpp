#include "net/web_text.h"

#include "platform/codec.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// Removes every run that begins with `open` and ends with the first `close` after it (an
// unterminated run goes to the end), as repeated leftmost removals would: a removal that joins
// the text around it into a new `open` removes that one too. Linear in the text.
QString RemoveRuns(QStringView text, QStringView open, QStringView close) {
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        qsizetype at = text.indexOf(open, i, Qt::CaseInsensitive);
        if (at < 0) {
            out += text.mid(i);
            break;
        }
        out += text.mid(i, at - i);
        qsizetype openEnd = at + open.size();
        for (;;) {
            const qsizetype c = text.indexOf(close, openEnd, Qt::CaseInsensitive);
            i = c < 0 ? n : c + close.size();
            // Does the kept text's tail and the rest now spell `open`?
            qsizetype joined = 0;
            for (qsizetype k = qMin(open.size() - 1, out.size()); k > 0 && !joined; --k) {
                const QStringView tail = QStringView(out).right(k);
                const QStringView head = text.mid(i, open.size() - k);
                if (head.size() == open.size() - k &&
                    tail.toString().append(head).compare(open, Qt::CaseInsensitive) == 0)
                    joined = k;
            }
            if (!joined) break;
            out.chop(joined);
            openEnd = i + open.size() - joined;
        }
    }
    return out;
}

bool IsUnreserved(unsigned char b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '@' ||
           b == '*' || b == '-' || b == '.' || b == '_';
}

// What a decoded reference stands for, ready for a script; nullopt: keep the reference.
std::optional<QString> ReferenceText(QStringView name) {
    char32_t code = 0;
    if (name.startsWith(u'#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const QStringView digits = name.mid(hex ? 2 : 1);
        if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
        for (QChar c : digits)
            if (!(c.isDigit() || (hex && QStringView(u"abcdefABCDEF").contains(c))))
                return std::nullopt;
        const uint value = digits.toUInt(&ok, hex ? 16 : 10);
        if (!ok) return std::nullopt;
        code = value;
    } else {
        static const std::pair<QStringView, char32_t> kNamed[] = {
            {u"amp", u'&'},     {u"lt", u'<'},       {u"gt", u'>'},      {u"quot", u'"'},
            {u"apos", u'\''},   {u"nbsp", 0xA0},     {u"yen", 0xA5},     {u"copy", 0xA9},
            {u"laquo", 0xAB},   {u"raquo", 0xBB},    {u"middot", 0xB7},  {u"ndash", 0x2013},
            {u"mdash", 0x2014}, {u"lsquo", 0x2018},  {u"rsquo", 0x2019}, {u"ldquo", 0x201C},
            {u"rdquo", 0x201D}, {u"hellip", 0x2026}, {u"times", 0xD7}};
        for (const auto& [n, c] : kNamed)
            if (n == name) code = c;
        if (code == 0) return std::nullopt;
    }
    if (code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0)) return QString();
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return QString(QChar(0xFFFD));
    return ShowLiterally(QString::fromUcs4(&code, 1));
}

} // namespace

QString ExtractBetween(QStringView text, QStringView start, QStringView end) {
    const qsizetype s = text.indexOf(start, 0, Qt::CaseInsensitive);
    if (s < 0) return {};
    const qsizetype p = s + start.size();
    const qsizetype q = text.indexOf(end, p, Qt::CaseInsensitive);
    if (q < 0) return {};
    return text.mid(p, q - p).toString();
}

QString HtmlToScript(QStringView text) {
    QString s = text.toString();
    s.replace(u"<BR>"_s, u"\\n"_s, Qt::CaseInsensitive);
    s.replace(u"<HR>"_s, u"\\n"_s, Qt::CaseInsensitive);
    s = RemoveRuns(s, u"<!--", u"-->");
    s = RemoveRuns(s, u"<", u">");
    s.remove(u'\n');
    s.remove(u'\r');
    return s;
}

QString AddSpeechWaits(QStringView text) {
    QString s = text.toString();
    s.replace(u"。"_s, u"。\\w8"_s);
    s.replace(u"、"_s, u"、\\w5"_s);
    s.replace(u"」"_s, u"」\\w8"_s);
    s.replace(u"。\\w8」\\w8"_s, u"。」\\w8"_s);
    s.replace(u"("_s, u"\\w5("_s);
    s.replace(u")"_s, u")\\w5"_s);
    s.replace(u"】"_s, u"】\\w8\\w8\\n"_s);
    return s;
}

QString UrlEncodeBytes(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size() * 3);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == ' ')
            out += u'+';
        else if (IsUnreserved(b))
            out += QChar(b);
        else {
            static constexpr char16_t kHex[] = u"0123456789ABCDEF";
            out += u'%';
            out += QChar(kHex[b >> 4]);
            out += QChar(kHex[b & 15]);
        }
    }
    return out;
}

QString UrlEncodeAnsi(QStringView text) {
    return UrlEncodeBytes(codec::ToCp932(text));
}

QString UrlEncodeUtf8(QStringView text) {
    return UrlEncodeBytes(text.toUtf8());
}

QString ShowLiterally(QStringView text) {
    QString out = text.toString();
    for (QChar& c : out) {
        if (c == u'\\')
            c = u'＼';
        else if (c == u'%')
            c = u'％';
        else if (c == u'$')
            c = u'＄';
    }
    return out;
}

QString DecodeCharacterReferences(QStringView text) {
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype amp = text.indexOf(u'&', i);
        if (amp < 0) {
            out += text.mid(i);
            break;
        }
        out += text.mid(i, amp - i);
        const qsizetype semi = text.indexOf(u';', amp + 1);
        // Names are short; a far ";" belongs to something else.
        if (semi > amp + 1 && semi - amp <= 10) {
            if (const auto decoded = ReferenceText(text.mid(amp + 1, semi - amp - 1))) {
                out += *decoded;
                i = semi + 1;
                continue;
            }
        }
        out += u'&';
        i = amp + 1;
    }
    return out;
}

QString PagePartScript(QStringView page, QStringView start, QStringView end) {
    QStringList parts;
    const bool repeat = !start.isEmpty() && !end.isEmpty();
    qsizetype from = 0;
    while (parts.size() < kMaxPageParts) {
        const QStringView rest = page.mid(from);
        const qsizetype s = rest.indexOf(start, 0, Qt::CaseInsensitive);
        if (s < 0) break;
        const qsizetype q = rest.indexOf(end, s + start.size(), Qt::CaseInsensitive);
        if (q < 0) break;
        QString part = ExtractBetween(rest, start, end);
        part.remove(u"<![CDATA["_s);
        part.remove(u"]]>"_s);
        part = DecodeCharacterReferences(HtmlToScript(AddSpeechWaits(ShowLiterally(part))));
        if (!part.isEmpty()) parts.append(part);
        if (!repeat) break;
        from += q + end.size();
    }
    return parts.join(kPartSeparator);
}

} // namespace orvanel
