// The INI reader and writer: any bytes as a file, then one write. Parse, write and parse again
// must agree: every other key reads as before, a fresh reader sees what the writing one does,
// and writing the same value again leaves the file alone.
//
// Input: the file's bytes, optionally followed by "\0\0" and the write as CP932
// "section\0key\0value" (without it: the first key of the first section gets "v").
#include "fuzz_rig.h"
#include "platform/codec.h"

#include <QHash>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Trimmed(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\t'))
        ++b;
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t'))
        --e;
    return s.mid(b, e - b);
}

void Check(bool ok) {
    if (!ok) std::abort();
}

// Every key as the first reader sees it, by folded section and key.
QHash<QPair<QString, QString>, QString> Everything(IniStore& ini, const QString& path) {
    QHash<QPair<QString, QString>, QString> all;
    for (const QString& section : ini.Sections(path)) {
        const QString s = section.toCaseFolded();
        for (const auto& [key, value] : ini.Keys(path, section))
            if (!all.contains({s, key.toCaseFolded()})) all.insert({s, key.toCaseFolded()}, value);
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnsureApplication();
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf(QByteArray("\0\0", 2));
    const QByteArray file = split < 0 ? input : input.left(split);
    const QString path = fuzz::ScratchFolder(false) + u"f.ini"_s;
    Check(fuzz::WriteBytes(path, reinterpret_cast<const uint8_t*>(file.constData()),
                           size_t(file.size())));

    static IniStore ini; // kept: each new file must be seen through the change notices
    const auto before = Everything(ini, path);
    QString section, key, value = QStringLiteral("v");
    if (split >= 0) {
        const QList<QByteArray> parts = input.mid(split + 2).split('\0');
        section = codec::FromCp932(parts.value(0));
        key = codec::FromCp932(parts.value(1));
        value = codec::FromCp932(parts.value(2));
    } else if (const QStringList sections = ini.Sections(path); !sections.isEmpty()) {
        section = sections.first();
        key = ini.Keys(path, section).value(0).first;
    }
    const bool written = ini.Write(path, section, key, value);
    const QByteArray after = ReadAll(path);
    if (!written) Check(after == file);

    IniStore fresh;
    const auto again = Everything(fresh, path);
    const QPair<QString, QString> edited{Trimmed(section).toCaseFolded(),
                                         Trimmed(key).toCaseFolded()};
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (it.key() != edited || !written) Check(again.value(it.key()) == it.value());
    Check(fresh.Read(path, section, key) == ini.Read(path, section, key));

    // The same value again: nothing written.
    Check(ini.Write(path, section, key, value) == written);
    Check(ReadAll(path) == after);
    return 0;
}
