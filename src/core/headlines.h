#pragma once

#include <QList>
#include <QString>

namespace orvanel {

// A source of the latest news headline: the page to fetch and the markers around the text.
struct Headline {
    QString name;
    QString address;
    QString startMarker;
    QString endMarker;
    bool convert = false; // convert the page to CP932 before cutting
};

// Reads "HeadLine.dat": entry 0 is the empty record, then one entry per usable line. A record
// whose name, address, start or end marker is empty is dropped. A missing file gives entry 0.
QList<Headline> LoadHeadlines(const QString& path);

// The fields of one line: comma-separated, a field in double quotes may hold commas.
QStringList SplitHeadlineFields(QStringView line);

} // namespace orvanel
