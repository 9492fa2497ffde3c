#include "core/version_info.h"

#include "platform/text_file.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

QString ReadmePath(const QString& folder) {
    return folder + u"readme.txt"_s;
}

QString HeadOf(const QStringList& lines) {
    return lines.value(0) + lines.value(1);
}

} // namespace

QString VersionInfo::ReadmeHead() const {
    const auto lines = ReadCp932Lines(ReadmePath(folder_));
    return lines ? HeadOf(*lines) : QString();
}

QString VersionInfo::PhaseText() const {
    const QString head = ReadmeHead();
    const qsizetype at = head.indexOf(u"Phase"_s);
    if (at < 0) return u" UNKNOWN"_s;
    return head.mid(at + 5, 2);
}

QString VersionInfo::AppVersion() {
    return u"%1.%2.%3"_s.arg(ORVANEL_VERSION_MAJOR)
        .arg(ORVANEL_VERSION_MINOR)
        .arg(ORVANEL_VERSION_PATCH);
}

QString VersionInfo::ReleaseDate() const {
    static const QRegularExpression date(u"[0-9]{4}/[0-9]{2}/[0-9]{2}"_s);
    const auto m = date.match(ReadmeHead());
    return m.hasMatch() ? m.captured(0) : u"UNKNOWN"_s;
}

QString VersionInfo::UpdateNotes() const {
    const QString key = ReleaseDate().mid(2, 8) + u' ' + AppVersion() + u" Phase"_s + PhaseText();
    const auto lines = ReadCp932Lines(ReadmePath(folder_));
    if (!lines) return {};
    for (const QString& line : *lines)
        if (line.left(22) == key) return line.mid(23);
    return {};
}

QString UptimeText(quint32 startTick, quint32 nowTick) {
    const quint32 ms = nowTick - startTick;
    const qint64 total = (qint64(ms) + 500) / 1000;
    return u"%1時間%2分%3秒"_s.arg(total / 3600).arg(total / 60 % 60).arg(total % 60);
}

} // namespace orvanel
