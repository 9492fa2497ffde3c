#include "platform/autostart.h"

#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// One Exec argument: quoted where the desktop entry format reserves a character, then
// escaped once more as a string value (so a backslash in a quoted argument is written four
// times over).
QString ExecArgument(const QString& arg) {
    static const QString kReserved = u" \t\"'\\><~|&;$*?#()`"_s;
    QString text = arg;
    text.replace(u'%', u"%%"_s);
    bool quote = false;
    for (const QChar c : text)
        quote = quote || kReserved.contains(c);
    if (quote) {
        QString quoted;
        for (const QChar c : text) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
            quoted += c;
        }
        text = u'"' + quoted + u'"';
    }
    return text.replace(u"\\"_s, u"\\\\"_s);
}

} // namespace

QString AutostartEntryPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + u"/.config"_s;
    return base + u"/autostart/org.orvanel.Orvanel.desktop"_s;
}

bool StartsAtLogin() {
    QFile file(AutostartEntryPath());
    if (!file.open(QIODevice::ReadOnly)) return false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return false;
    }
    return true;
}

bool SetStartAtLogin(bool on, const QString& program, const QString& folder) {
    const QString path = AutostartEntryPath();
    if (!on) return !QFileInfo::exists(path) || QFile::remove(path);
    for (const QString& s : {program, folder})
        if (s.contains(u'\n') || s.contains(u'\r')) return false;
    const QString entry = u"[Desktop Entry]\n"
                          u"Type=Application\n"
                          u"Name=Orvanel\n"
                          u"Name[ja]=オルヴァネル\n"
                          u"Comment=Kanami on the desktop, started at login\n"
                          u"Icon=org.orvanel.Orvanel\n"
                          u"Exec=%1 --folder %2\n"
                          u"Terminal=false\n"_s.arg(ExecArgument(program), ExecArgument(folder));
    return WriteFileAtomic(path, entry.toUtf8());
}

} // namespace orvanel
