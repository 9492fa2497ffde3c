#include "platform/archive.h"

#include "platform/codec.h"
#include "platform/lh5_encoder.h"
#include "platform/lha_format.h"
#include "platform/paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <lhasa.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <variant>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// A name that is valid UTF-8 with at least one multi-byte sequence was written on Linux;
// anything else is CP932, as Windows archivers write names.
QString DecodeName(const QByteArray& raw) {
    const bool ascii = std::all_of(raw.begin(), raw.end(), [](char c) { return uchar(c) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(raw);
        if (!utf8.hasError()) return text;
    }
    return codec::FromCp932(raw);
}

QString Quoted(const QString& name) {
    QString shown = name;
    for (QChar& c : shown)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = u'?';
    return u'"' + shown + u'"';
}

// The folder names and file name of an entry, or why the name is refused.
QStringList SplitName(const QString& name, QString* why) {
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            *why = u"has a control character in its name"_s;
            return {};
        }
    }
    // LHA writers on Unix store a link as "name|target".
    if (name.contains(u'|')) {
        *why = u"is a symbolic link"_s;
        return {};
    }
    QString path = name;
    path.replace(u'\\', u'/');
    if (path.startsWith(u'/')) {
        *why = u"has an absolute name"_s;
        return {};
    }
    QStringList parts;
    for (const QString& part : path.split(u'/')) {
        if (part.isEmpty() || part == u".") continue;
        if (part == u"..") {
            *why = u"climbs out of the folder with \"..\""_s;
            return {};
        }
        parts.append(part);
    }
    if (!parts.isEmpty() && parts[0].size() >= 2 && parts[0][1] == u':' && parts[0][0].isLetter()) {
        *why = u"names a drive"_s;
        return {};
    }
    return parts;
}

bool IsFolderMethod(const QByteArray& method) {
    return method == lha::kFolderMethod;
}

struct Planned {
    lha::Header header;
    QString shown; // the name as the archive has it, quoted, for the reasons
    QString relative;
    bool folder = false;
};

struct Fail {
    QString error;
};

// Reads every header before anything is written: names, kinds, sizes and counts are judged
// on the whole archive, and a cut-short archive is found before it costs anything.
std::variant<QList<Planned>, Fail> Plan(QFile& file, const QString& archiveName,
                                        const ArchiveLimits& limits) {
    QList<Planned> plan;
    // Case-folded relative path -> the path as first met, and whether it is a folder.
    QHash<QString, std::pair<QString, bool>> seen;
    qint64 total = 0;
    qint32 count = 0;
    const qint64 size = file.size();
    for (;;) {
        lha::Header h;
        QString why;
        const lha::ReadStatus status = lha::ReadHeader(file, &h, &why);
        if (status == lha::ReadStatus::End) break;
        if (status == lha::ReadStatus::Damaged) {
            const QString where =
                plan.isEmpty() ? Quoted(archiveName) : u"after "_s + plan.last().shown;
            return Fail{where + u": "_s + why};
        }
        Planned p;
        p.header = h;
        const QString name = DecodeName(h.name);
        p.shown = Quoted(name);
        const auto refuse = [&](const QString& reason) { return Fail{p.shown + u": "_s + reason}; };
        if (++count > limits.maxEntries)
            return refuse(u"is one entry more than the %1 allowed"_s.arg(limits.maxEntries));
        QStringList parts = SplitName(name, &why);
        if (!why.isEmpty()) return refuse(why);
        if (h.unixMode) {
            const int type = *h.unixMode & 0xF000;
            if (type == 0xA000) return refuse(u"is a symbolic link"_s);
            if (type != 0 && type != 0x8000 && type != 0x4000)
                return refuse(u"is a device or special file"_s);
        }
        p.folder = IsFolderMethod(h.method);
        if (h.dataOffset + h.packedSize > size) return refuse(u"is cut short"_s);
        if (!p.folder) {
            if (parts.isEmpty()) return refuse(u"has no name"_s);
            QByteArray method = h.method;
            if (!lha_decoder_for_name(method.data()))
                return refuse(u"uses the unknown method "_s + QString::fromLatin1(h.method));
            total += h.originalSize;
            if (total > limits.maxTotalBytes)
                return refuse(u"makes the files larger than the %1 bytes allowed"_s.arg(
                    limits.maxTotalBytes));
        }
        // Names that differ only in letter case are one name, as on the archive's home system.
        QString relative, key;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            key += u'/' + parts[i].toCaseFolded();
            const bool folder = p.folder || i + 1 < parts.size();
            const auto found = seen.constFind(key);
            if (found == seen.cend()) {
                relative = relative.isEmpty() ? parts[i] : relative + u'/' + parts[i];
                seen.insert(key, {relative, folder});
            } else if (found->second != folder) {
                return refuse(u"is a file and a folder at once"_s);
            } else {
                relative = found->first;
            }
        }
        p.relative = relative;
        if (!file.seek(h.dataOffset + h.packedSize)) return refuse(u"is cut short"_s);
        if (!relative.isEmpty()) plan.append(p);
    }
    return plan;
}

struct Feed {
    QFile* file;
    qint64 left;
};

size_t ReadPacked(void* buffer, size_t length, void* data) {
    auto* feed = static_cast<Feed*>(data);
    const qint64 n =
        feed->file->read(static_cast<char*>(buffer), qMin<qint64>(qint64(length), feed->left));
    if (n <= 0) return 0;
    feed->left -= n;
    return size_t(n);
}

// Decodes one file into `path`; empty when its length and CRC came out right.
QString Unpack(QFile& archive, const Planned& p, const QString& path) {
    const lha::Header& h = p.header;
    QByteArray method = h.method;
    LHADecoderType* type = lha_decoder_for_name(method.data());
    Feed feed{&archive, h.packedSize};
    if (!archive.seek(h.dataOffset)) return u"is cut short"_s;
    std::unique_ptr<LHADecoder, decltype(&lha_decoder_free)> decoder(
        lha_decoder_new(type, ReadPacked, &feed, size_t(h.originalSize)), &lha_decoder_free);
    if (!decoder) return u"cannot be decoded"_s;
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return u"cannot be written: "_s + out.errorString();
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const size_t n = lha_decoder_read(decoder.get(), reinterpret_cast<uint8_t*>(buffer.data()),
                                          buffer.size());
        if (n == 0) break;
        if (out.write(buffer.constData(), qint64(n)) != qint64(n))
            return u"cannot be written: "_s + out.errorString();
    }
    if (qint64(lha_decoder_get_length(decoder.get())) != h.originalSize)
        return u"is damaged (it unpacks to a wrong length)"_s;
    if (lha_decoder_get_crc(decoder.get()) != h.crc) return u"is damaged (CRC error)"_s;
    if (h.unixTime)
        out.setFileTime(QDateTime::fromSecsSinceEpoch(h.unixTime),
                        QFileDevice::FileModificationTime);
    if (!out.flush()) return u"cannot be written: "_s + out.errorString();
    return {};
}

bool RenameOver(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (errno != EXDEV) return false;
    // Another file system: copy beside the target, then replace it in one step.
    const QString part = to + u".part"_s;
    QFile::remove(part);
    return QFile::copy(from, part) &&
           std::rename(QFile::encodeName(part).constData(), QFile::encodeName(to).constData()) == 0;
}

bool Inside(const QString& canonical, const QString& root) {
    return canonical == root || canonical.startsWith(root + u'/');
}

// Where a staged entry goes in an existing destination, or why it may not go there. Names
// meet the existing ones in any letter case; a link on the way must stay inside.
QString Target(const QString& destination, const QString& root, const Planned& p, QString* why) {
    const QString target = NativePath(destination + u'/' + p.relative);
    QString probe = target;
    while (!QFileInfo::exists(probe) && !QFileInfo(probe).isSymLink())
        probe = QFileInfo(probe).path();
    const QFileInfo at(probe);
    if (probe == target && at.isSymLink()) {
        *why = u"would replace a link"_s;
        return {};
    }
    if (!Inside(at.canonicalFilePath(), root)) {
        *why = u"leads outside the destination"_s;
        return {};
    }
    if (probe == target && at.isDir() != p.folder) {
        *why = p.folder ? u"is a folder where the destination has a file"_s
                        : u"is a file where the destination has a folder"_s;
        return {};
    }
    return target;
}

} // namespace

ArchiveResult ExtractArchive(const QString& archive, const QString& destination,
                             const ArchiveLimits& limits) {
    ArchiveResult result;
    const auto fail = [&](const QString& error) {
        result.error = error;
        result.entries.clear();
        return result;
    };
    const QString archiveName = QFileInfo(archive).fileName();
    QFile file(NativePath(archive));
    if (!file.open(QIODevice::ReadOnly))
        return fail(Quoted(archiveName) + u": cannot be read: "_s + file.errorString());
    // Even an archive of nothing has its end mark; a file of nothing is no archive.
    if (file.size() == 0) return fail(Quoted(archiveName) + u": is empty"_s);
    auto planned = Plan(file, archiveName, limits);
    if (auto* refused = std::get_if<Fail>(&planned)) return fail(refused->error);
    const QList<Planned>& plan = std::get<QList<Planned>>(planned);

    const QString dest = QDir::cleanPath(QFileInfo(NativePath(destination)).absoluteFilePath());
    const QString parent = QFileInfo(dest).path();
    if (!QDir().mkpath(parent)) return fail(Quoted(dest) + u": cannot be made"_s);
    QTemporaryDir staging(parent + u"/."_s + QFileInfo(dest).fileName() + u"-unpacking-XXXXXX"_s);
    if (!staging.isValid())
        return fail(Quoted(parent) + u": no room to unpack: "_s + staging.errorString());
    for (const Planned& p : plan) {
        const QString path = staging.filePath(p.relative);
        if (!QDir().mkpath(p.folder ? path : QFileInfo(path).path()))
            return fail(p.shown + u": cannot be written"_s);
        if (!p.folder) {
            const QString why = Unpack(file, p, path);
            if (!why.isEmpty()) return fail(p.shown + u": "_s + why);
        }
        result.entries.append(p.relative);
    }
    result.entries.removeDuplicates();

    if (!QFileInfo::exists(dest) && !QFileInfo(dest).isSymLink()) {
        if (std::rename(QFile::encodeName(staging.path()).constData(),
                        QFile::encodeName(dest).constData()) != 0)
            return fail(Quoted(dest) + u": cannot be made"_s);
        staging.setAutoRemove(false);
        QFile::setPermissions(dest, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::ExeOther);
        return result;
    }

    // Every target is judged before the first move, so that a refusal changes nothing.
    const QString root = QFileInfo(dest).canonicalFilePath();
    if (!QFileInfo(dest).isDir() || root.isEmpty())
        return fail(Quoted(dest) + u": is not a folder"_s);
    QStringList targets;
    for (const Planned& p : plan) {
        QString why;
        targets.append(Target(dest, root, p, &why));
        if (!why.isEmpty()) return fail(p.shown + u": "_s + why);
    }
    for (qsizetype i = 0; i < plan.size(); ++i) {
        const Planned& p = plan[i];
        const QString& target = targets[i];
        const bool moved = p.folder ? QDir().mkpath(target)
                                    : QDir().mkpath(QFileInfo(target).path()) &&
                                          RenameOver(staging.filePath(p.relative), target);
        // Only whole files have been moved before this one.
        if (!moved) return fail(p.shown + u": cannot be moved into place"_s);
    }
    return result;
}

ArchiveResult WriteArchive(const QString& archive, const QString& sourceFolder,
                           ArchiveMethod method) {
    ArchiveResult result;
    const QDir source(NativePath(sourceFolder));
    if (!source.exists()) {
        result.error = Quoted(sourceFolder) + u": no such folder"_s;
        return result;
    }
    QSaveFile out(NativePath(archive));
    if (!out.open(QIODevice::WriteOnly)) {
        result.error = Quoted(archive) + u": cannot be written: "_s + out.errorString();
        return result;
    }
    const auto fail = [&](const QString& error) {
        out.cancelWriting();
        result.error = error;
        result.entries.clear();
        return result;
    };
    for (const QFileInfo& info : source.entryInfoList(QDir::Files, QDir::Name)) {
        const QString name = info.fileName();
        const QByteArray stored = codec::ToCp932(name);
        if (codec::FromCp932(stored) != name || stored.size() > 1024)
            return fail(Quoted(name) + u": has no CP932 name"_s);
        QFile in(info.filePath());
        if (!in.open(QIODevice::ReadOnly))
            return fail(Quoted(name) + u": cannot be read: "_s + in.errorString());
        const QByteArray data = in.readAll();
        lha::Header h;
        h.name = stored;
        h.originalSize = data.size();
        h.crc = lha::Crc16(data);
        h.unixTime = quint32(qMax<qint64>(0, info.lastModified().toSecsSinceEpoch()));
        QByteArray packed;
        if (method == ArchiveMethod::Lh5 && !data.isEmpty()) packed = lha::CompressLh5(data);
        if (!packed.isEmpty() && packed.size() < data.size()) {
            h.method = lha::kLh5Method;
        } else {
            h.method = lha::kStoredMethod;
            packed = data;
        }
        h.packedSize = packed.size();
        if (out.write(lha::Level2Header(h)) < 0 || out.write(packed) != packed.size())
            return fail(Quoted(archive) + u": cannot be written: "_s + out.errorString());
        result.entries.append(name);
    }
    if (!out.putChar('\0') || !out.commit())
        return fail(Quoted(archive) + u": cannot be written: "_s + out.errorString());
    return result;
}

} // namespace orvanel
