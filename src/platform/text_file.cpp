#include "platform/text_file.h"

#include "platform/codec.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvanel {

std::optional<QString> ReadCp932File(const QString& path) {
    QFile f(NativePath(path));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return codec::FromCp932(f.readAll());
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        lines.append(text.mid(pos, end - pos));
        if (end < n && text[end] == u'\r') ++end;
        if (end < n && text[end] == u'\n') ++end;
        pos = end;
    }
    return lines;
}

std::optional<QStringList> ReadCp932Lines(const QString& path) {
    auto text = ReadCp932File(path);
    if (!text) return std::nullopt;
    return SplitLines(*text);
}

bool WriteFileAtomic(const QString& path, const QByteArray& bytes) {
    const QString native = NativePath(path);
    QDir().mkpath(QFileInfo(native).absolutePath());
    QSaveFile out(native);
    // Unbuffered: through a buffer, a full disk's short write is lost between the buffer and
    // the file, and the cut file is committed as if whole. Only the count of a direct write
    // tells.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

QStringList RemoveInterruptedWrites(const QString& folder, const QStringList& targets) {
    // QSaveFile's temporary: the target's name, a dot and six random letters.
    static const QRegularExpression kTemporary(u"^(.+)\\.[A-Za-z]{6}$"_s);
    QList<QRegularExpression> wanted;
    for (const QString& t : targets)
        wanted.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(t),
                                         QRegularExpression::CaseInsensitiveOption));
    QStringList removed;
    const QDir dir(NativePath(folder));
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        const QRegularExpressionMatch m = kTemporary.match(info.fileName());
        if (!m.hasMatch()) continue;
        const QString target = m.captured(1);
        if (std::none_of(wanted.begin(), wanted.end(),
                         [&](const QRegularExpression& w) { return w.match(target).hasMatch(); }))
            continue;
        if (QFile::remove(info.absoluteFilePath())) removed.append(info.absoluteFilePath());
    }
    return removed;
}

bool WriteCp932File(const QString& path, const QString& text) {
    QString crlf = text;
    crlf.replace(u"\r\n"_s, u"\n"_s);
    crlf.replace(u'\r', u'\n');
    crlf.replace(u"\n"_s, u"\r\n"_s);
    return WriteFileAtomic(path, codec::ToCp932(crlf));
}

} // namespace orvanel
