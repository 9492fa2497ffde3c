#include "platform/ini_file.h"

#include "platform/codec.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFile>

#include <sys/stat.h>
#include <time.h>

#include <vector>

using namespace Qt::StringLiterals;

namespace orvanel {
struct IniStore::Stamp {
    bool exists = false;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;
    quint64 inode = 0;
    bool operator==(const Stamp&) const = default;
};

static IniStore::Stamp StampOf(const QString& path) {
    struct stat st {};
    IniStore::Stamp s;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return s;
    s.exists = true;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.ctimeNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    s.inode = st.st_ino;
    return s;
}

namespace {

enum class Kind { Blank, Comment, Section, Key, Other };

// File times have the granularity of the kernel's clock tick: a file changed within a tick
// of our read may keep size and time. Such recent files are compared by content.
constexpr qint64 kRacyNs = 50'000'000;

qint64 WallNs() {
    struct timespec ts {};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView Trimmed(QStringView s) {
    qsizetype b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

QString Fold(QStringView s) {
    return s.toString().toCaseFolded();
}

// Strip line breaks from written values: a value is one line and must never split its line.
QString OneLine(QStringView v) {
    QString s = v.toString();
    s.replace(u"\r\n"_s, u" "_s);
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

} // namespace

struct IniStore::File {
    struct Line {
        QByteArray raw; // without its line end
        QByteArray eol; // "\r\n", "\n", "\r" or "" (last line)
        Kind kind = Kind::Other;
        QString name;  // section or key name, trimmed
        QString value; // key value, trimmed, unquoted, cut
    };
    IniStore::Stamp stamp;
    std::vector<Line> lines;

    static Line Parse(QByteArray raw, QByteArray eol) {
        Line l;
        l.raw = std::move(raw);
        l.eol = std::move(eol);
        const QString text = codec::FromCp932(l.raw);
        const QStringView t = Trimmed(text);
        if (t.isEmpty()) {
            l.kind = Kind::Blank;
        } else if (t[0] == u';') {
            l.kind = Kind::Comment;
        } else if (t[0] == u'[') {
            l.kind = Kind::Section;
            const qsizetype close = t.indexOf(u']');
            l.name = Trimmed(t.mid(1, close < 0 ? -1 : close - 1)).toString();
        } else if (const qsizetype eq = t.indexOf(u'='); eq >= 0) {
            l.kind = Kind::Key;
            l.name = Trimmed(t.left(eq)).toString();
            QStringView v = Trimmed(t.mid(eq + 1));
            if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
                v = v.mid(1, v.size() - 2);
            if (const qsizetype nul = v.indexOf(QChar(0)); nul >= 0) v = v.left(nul);
            l.value = codec::CutToBytes(v, kMaxValueBytes);
        }
        return l;
    }

    static std::unique_ptr<File> FromBytes(const QByteArray& data) {
        auto f = std::make_unique<File>();
        qsizetype pos = 0;
        const qsizetype n = data.size();
        while (pos < n) {
            qsizetype end = pos;
            while (end < n && data[end] != '\n' && data[end] != '\r')
                ++end;
            qsizetype next = end;
            if (next < n && data[next] == '\r') ++next;
            if (next < n && data[next] == '\n') ++next;
            f->lines.push_back(Parse(data.mid(pos, end - pos), data.mid(end, next - end)));
            pos = next;
        }
        return f;
    }

    QByteArray ToBytes() const {
        QByteArray out;
        for (const Line& l : lines)
            out += l.raw + l.eol;
        return out;
    }

    // Look-ups by folded name, built on first use after a parse or an edit: a dictionary of
    // thousands of keys is searched many times between edits.
    struct SectionIndex {
        size_t begin = 0, end = 0;
        QHash<QString, size_t> keys; // first of duplicates
    };
    mutable std::optional<QHash<QString, SectionIndex>> index;

    void Touched() { index.reset(); }

    const QHash<QString, SectionIndex>& Index() const {
        if (index) return *index;
        index.emplace();
        SectionIndex* current = nullptr;
        for (size_t i = 0; i < lines.size(); ++i) {
            const Line& l = lines[i];
            if (l.kind == Kind::Section) {
                if (current) current->end = i;
                const QString folded = Fold(l.name);
                if (index->contains(folded)) {
                    current = nullptr; // a later duplicate section is never read
                } else {
                    current = &(*index)[folded];
                    current->begin = i;
                    current->end = lines.size();
                }
            } else if (l.kind == Kind::Key && current) {
                const QString folded = Fold(l.name);
                if (!current->keys.contains(folded)) current->keys.insert(folded, i);
            }
        }
        if (current) current->end = lines.size();
        return *index;
    }

    // [begin, end) line range of the first section named `section`; begin is the header.
    std::optional<std::pair<size_t, size_t>> FindSection(QStringView section) const {
        const auto& idx = Index();
        const auto it = idx.constFind(Fold(section));
        if (it == idx.cend()) return std::nullopt;
        return std::make_pair(it->begin, it->end);
    }

    std::optional<size_t> FindKey(std::pair<size_t, size_t> range, QStringView key) const {
        const auto& idx = Index();
        const auto sec = idx.constFind(Fold(lines[range.first].name));
        if (sec == idx.cend()) return std::nullopt;
        const auto it = sec->keys.constFind(Fold(key));
        if (it == sec->keys.cend()) return std::nullopt;
        return *it;
    }

    // Index at which a new key of the section goes: after its last non-blank line.
    size_t InsertPoint(std::pair<size_t, size_t> range) {
        size_t at = range.first;
        for (size_t i = range.first + 1; i < range.second; ++i)
            if (lines[i].kind != Kind::Blank) at = i;
        if (lines[at].eol.isEmpty()) lines[at].eol = "\r\n";
        return at + 1;
    }

    void EnsureFinalLineEnd() {
        if (!lines.empty() && lines.back().eol.isEmpty()) lines.back().eol = "\r\n";
    }

    static Line KeyLine(QStringView key, QStringView value) {
        return Parse(codec::ToCp932(QString(key.toString() + u'=' + OneLine(value))), "\r\n");
    }

    // Sets or (nullopt) deletes one key in memory; false when nothing had to change.
    bool Set(QStringView section, QStringView key, std::optional<QStringView> value) {
        const auto range = FindSection(section);
        if (!range) {
            if (!value) return false;
            EnsureFinalLineEnd();
            lines.push_back(
                Parse(codec::ToCp932(QString(u'[' + section.toString() + u']')), "\r\n"));
            lines.push_back(KeyLine(key, *value));
        } else if (const auto k = FindKey(*range, key)) {
            if (!value) {
                lines.erase(lines.begin() + qsizetype(*k));
            } else {
                Line line = KeyLine(lines[*k].name, *value);
                line.eol = lines[*k].eol.isEmpty() ? QByteArray("\r\n") : lines[*k].eol;
                lines[*k] = std::move(line);
            }
        } else {
            if (!value) return false;
            const size_t at = InsertPoint(*range);
            lines.insert(lines.begin() + qsizetype(at), KeyLine(key, *value));
        }
        Touched();
        return true;
    }
};

IniStore::IniStore() = default;
IniStore::~IniStore() = default;

QString IniStore::Resolve(const QString& path, Stamp* stamp) {
    // One stat for the usual case of an existing file named exactly; the case-insensitive
    // search only when that misses.
    QString p = path;
    if (p.contains(u'\\')) p.replace(u'\\', u'/');
    *stamp = StampOf(p);
    if (stamp->exists) return p;
    p = NativePath(p);
    *stamp = StampOf(p);
    return p;
}

IniStore::File* IniStore::Load(const QString& nativePath, const Stamp& now) {
    auto it = cache_.find(nativePath);
    QByteArray bytes;
    bool haveBytes = false;
    if (it != cache_.end() && it.value()->stamp == now) {
        if (!now.exists || WallNs() - now.mtimeNs > kRacyNs) return it.value().get();
        QFile file(nativePath);
        if (file.open(QIODevice::ReadOnly)) {
            bytes = file.readAll();
            haveBytes = true;
            if (bytes == it.value()->ToBytes()) return it.value().get();
        }
    }
    std::shared_ptr<File> f;
    if (now.exists) {
        QFile file(nativePath);
        if (haveBytes || file.open(QIODevice::ReadOnly)) {
            f = File::FromBytes(haveBytes ? bytes : file.readAll());
            ++parseCount_;
        }
    }
    if (!f) f = std::make_shared<File>();
    f->stamp = now;
    if (cache_.size() > 512) cache_.clear();
    cache_.insert(nativePath, f);
    return f.get();
}

bool IniStore::Store(const QString& nativePath, File& file) {
    file.Touched();
    if (!WriteFileAtomic(nativePath, file.ToBytes())) {
        // The edit stays out of the cache too: the next read sees the file as it is.
        cache_.remove(nativePath);
        return false;
    }
    file.stamp = StampOf(nativePath);
    return true;
}

QString IniStore::Read(const QString& path, QStringView section, QStringView key) {
    Stamp stamp;
    const QString native = Resolve(path, &stamp);
    const File* f = Load(native, stamp);
    const auto range = f->FindSection(section);
    if (!range) return {};
    const auto k = f->FindKey(*range, key);
    return k ? f->lines[*k].value : QString();
}

bool IniStore::Write(const QString& path, QStringView section, QStringView key,
                     std::optional<QStringView> value) {
    Stamp stamp;
    const QString native = Resolve(path, &stamp);
    File* f = Load(native, stamp);
    return !f->Set(section, key, value) || Store(native, *f);
}

bool IniStore::WriteKeys(const QString& path, QStringView section, const QList<KeyEdit>& edits) {
    Stamp stamp;
    const QString native = Resolve(path, &stamp);
    File* f = Load(native, stamp);
    bool changed = false;
    for (const auto& [key, value] : edits)
        changed = f->Set(section, key, value ? std::optional<QStringView>(*value) : std::nullopt) ||
                  changed;
    return !changed || Store(native, *f);
}

bool IniStore::DeleteSection(const QString& path, QStringView section) {
    Stamp stamp;
    const QString native = Resolve(path, &stamp);
    File* f = Load(native, stamp);
    const auto range = f->FindSection(section);
    if (!range) return true;
    f->lines.erase(f->lines.begin() + qsizetype(range->first),
                   f->lines.begin() + qsizetype(range->second));
    return Store(native, *f);
}

QList<QPair<QString, QString>> IniStore::Keys(const QString& path, QStringView section) {
    Stamp stamp;
    const QString native = Resolve(path, &stamp);
    const File* f = Load(native, stamp);
    QList<QPair<QString, QString>> out;
    const auto range = f->FindSection(section);
    if (!range) return out;
    QHash<QString, bool> seen;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        const auto& l = f->lines[i];
        if (l.kind != Kind::Key) continue;
        const QString folded = Fold(l.name);
        if (seen.contains(folded)) continue;
        seen.insert(folded, true);
        out.append({l.name, l.value});
    }
    return out;
}

QStringList IniStore::Sections(const QString& path) {
    Stamp stamp;
    const QString native = Resolve(path, &stamp);
    const File* f = Load(native, stamp);
    QStringList out;
    for (const auto& l : f->lines)
        if (l.kind == Kind::Section) out.append(l.name);
    return out;
}

bool IniStore::ReplaceSection(const QString& path, QStringView section,
                              const QList<QPair<QString, QString>>& keys) {
    Stamp stamp;
    const QString native = Resolve(path, &stamp);
    File* f = Load(native, stamp);
    auto range = f->FindSection(section);
    if (!range) {
        f->EnsureFinalLineEnd();
        f->lines.push_back(
            File::Parse(codec::ToCp932(QString(u'[' + section.toString() + u']')), "\r\n"));
        range = std::make_pair(f->lines.size() - 1, f->lines.size());
    } else {
        for (size_t i = range->second; i-- > range->first + 1;)
            if (f->lines[i].kind == Kind::Key) {
                f->lines.erase(f->lines.begin() + qsizetype(i));
                --range->second;
            }
    }
    size_t at = f->InsertPoint(*range);
    std::vector<File::Line> added;
    added.reserve(size_t(keys.size()));
    for (const auto& [k, v] : keys)
        added.push_back(File::KeyLine(k, v));
    f->lines.insert(f->lines.begin() + qsizetype(at), std::make_move_iterator(added.begin()),
                    std::make_move_iterator(added.end()));
    return Store(native, *f);
}

} // namespace orvanel
