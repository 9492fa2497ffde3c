#include "core/headlines.h"

#include "platform/numbers.h"
#include "platform/text_file.h"

using namespace Qt::StringLiterals;

namespace orvanel {

QStringList SplitHeadlineFields(QStringView line) {
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i <= n) {
        while (i < n && (line[i] == u' ' || line[i] == u'\t'))
            ++i;
        QString field;
        if (i < n && line[i] == u'"') {
            const qsizetype close = line.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            field = line.mid(i + 1, end - i - 1).toString();
            i = close < 0 ? n : close + 1;
            while (i < n && line[i] != u',')
                ++i; // anything after the quote is dropped
        } else {
            const qsizetype comma = line.indexOf(u',', i);
            const qsizetype end = comma < 0 ? n : comma;
            field = line.mid(i, end - i).trimmed().toString();
            i = end;
        }
        fields.append(field);
        if (i >= n) break;
        ++i; // the comma
        if (i == n) fields.append(QString());
    }
    return fields;
}

QList<Headline> LoadHeadlines(const QString& path) {
    QList<Headline> list{Headline{}};
    const auto lines = ReadCp932Lines(path);
    if (!lines) return list;
    for (const QString& line : *lines) {
        if (line.trimmed().isEmpty()) continue;
        const QStringList f = SplitHeadlineFields(line);
        Headline h{f.value(0), f.value(1), f.value(2), f.value(3), false};
        const QString flag = f.value(4).trimmed();
        if (flag.compare(u"True"_s, Qt::CaseInsensitive) == 0 ||
            flag.compare(u"#TRUE#"_s, Qt::CaseInsensitive) == 0)
            h.convert = true;
        else if (flag.compare(u"False"_s, Qt::CaseInsensitive) != 0)
            h.convert = LenientNumber(flag) != 0;
        if (h.name.isEmpty() || h.address.isEmpty() || h.startMarker.isEmpty() ||
            h.endMarker.isEmpty())
            continue;
        list.append(h);
    }
    return list;
}

} // namespace orvanel
