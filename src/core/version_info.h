#pragma once

#include <QString>

namespace orvanel {

// Version facts read afresh from "readme.txt" in the program folder on every call.
class VersionInfo {
public:
    explicit VersionInfo(QString programFolder) : folder_(std::move(programFolder)) {}

    // The first two lines of "readme.txt" joined; empty when unreadable.
    QString ReadmeHead() const;
    // The two characters after the first "Phase" of the head, " UNKNOWN" without one.
    QString PhaseText() const;
    // "major.minor.revision" of this build.
    static QString AppVersion();
    // The first date "yyyy/mm/dd" of the head, "UNKNOWN" without one.
    QString ReleaseDate() const;
    // The notes of the line whose first 22 characters are this version's key.
    QString UpdateNotes() const;

private:
    QString folder_;
};

// "h時間m分s秒" for the milliseconds between two tick counts, rounded to whole seconds.
QString UptimeText(quint32 startTick, quint32 nowTick);

} // namespace orvanel
