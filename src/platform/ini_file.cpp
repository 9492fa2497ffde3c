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

enum class Kind { Blank, Comment, Section, Key };

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

// Names that would not read back as written: a section name cut short by "]" or a line end,
// a key name split by "=" or a line end, or read as a section or a comment, and names with
// no CP932 form (each write would add another line of "?").
bool Writable(QStringView section, QStringView key) {
    const auto fits = [](QStringView s) {
        return !s.contains(u'\r') && !s.contains(u'\n') && codec::FromCp932(codec::ToCp932(s)) == s;
    };
    return fits(section) && !section.contains(u']') && fits(key) && !key.contains(u'=') &&
           !key.startsWith(u'[') && !key.startsWith(u';');
}

} // namespace

struct IniStore::File {
    struct Line {
        QByteArray raw; // without its line end
        QByteArray eol; // "\r\n", "\n", "\r" or "" (last line)
        Kind kind = Kind::Blank;
        QString name;  // section or key name, trimmed
        QString value; // key value, trimmed, unquoted, not yet cut
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
        } else {
            // A line without "=" is a key with the empty value.
            l.kind = Kind::Key;
            const qsizetype eq = t.indexOf(u'=');
            l.name = Trimmed(t.left(eq)).toString();
            if (eq < 0) return l;
            QStringView v = Trimmed(t.mid(eq + 1));
            if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
                v = v.mid(1, v.size() - 2);
            if (const qsizetype nul = v.indexOf(QChar(0)); nul >= 0) v = v.left(nul);
            l.value = v.toString();
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

    const Line* FindKey(QStringView section, QStringView key) const {
        const auto& idx = Index();
        const auto sec = idx.constFind(Fold(section));
        if (sec == idx.cend()) return nullptr;
        const auto it = sec->keys.constFind(Fold(key));
        return it == sec->keys.cend() ? nullptr : &lines[*it];
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

    // Sets or (nullopt) deletes one key in memory; false when nothing had to change, also
    // when the key already reads as the value. Names are trimmed and Writable.
    bool Set(QStringView section, QStringView key, std::optional<QStringView> value) {
        const auto range = FindSection(section);
        const Line* existing = FindKey(section, key);
        if (!range) {
            if (!value) return false;
            EnsureFinalLineEnd();
            lines.push_back(
                Parse(codec::ToCp932(QString(u'[' + section.toString() + u']')), "\r\n"));
            lines.push_back(KeyLine(key, *value));
        } else if (existing) {
            const size_t k = size_t(existing - lines.data());
            if (!value) {
                lines.erase(lines.begin() + qsizetype(k));
            } else {
                // The name's own bytes: one that does not decode (bad CP932) stays itself.
                const QByteArray& raw = lines[k].raw;
                const qsizetype eq = raw.indexOf('=');
                qsizetype b = 0, e = eq < 0 ? raw.size() : eq;
                while (b < e && (raw[b] == ' ' || raw[b] == '\t'))
                    ++b;
                while (e > b && (raw[e - 1] == ' ' || raw[e - 1] == '\t'))
                    --e;
                const QByteArray name = raw.mid(b, e - b);
                Line line = Parse(name + '=' + codec::ToCp932(OneLine(*value)),
                                  lines[k].eol.isEmpty() ? QByteArray("\r\n") : lines[k].eol);
                if (line.value == lines[k].value) return false;
                lines[k] = std::move(line);
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

// What a read gives: at most 254 bytes. A UTF-16 unit is at most two bytes in CP932.
static QString Cut(const QString& value) {
    return value.size() * 2 <= IniStore::kMaxValueBytes
               ? value
               : codec::CutToBytes(value, IniStore::kMaxValueBytes);
}

struct IniStore::Entry {
    QString native; // the file as found on disk
    std::shared_ptr<File> file;
    QList<QPair<int, QString>> watches; // as registered in watchers_
    // Nothing has been reported since the file was last compared with the disk.
    bool fresh = false;
};

IniStore::IniStore() = default;
IniStore::~IniStore() = default;

static QString Resolve(const QString& path) {
    // The usual case of an existing file named exactly costs one stat; the case-insensitive
    // search only when that misses.
    QString p = path;
    if (p.contains(u'\\')) p.replace(u'\\', u'/');
    return StampOf(p).exists ? p : NativePath(p);
}

IniStore::File* IniStore::Load(const QString& path) {
    if (notices_.Pending()) TakeNotices();
    const auto it = entries_.constFind(path);
    if (it != entries_.cend() && it->fresh) return it->file.get();
    return Refresh(path);
}

IniStore::File* IniStore::Refresh(const QString& path) {
    if (entries_.size() > 512 && !entries_.contains(path)) {
        for (auto e = entries_.begin(); e != entries_.end(); ++e)
            Unwatch(e.key(), *e);
        entries_.clear();
    }
    Entry& entry = entries_[path];
    entry.native = Resolve(path);
    // Watched before the disk is looked at: an edit from now on is reported.
    Watch(path, entry);
    const Stamp now = StampOf(entry.native);
    if (entry.file && entry.file->stamp == now) {
        if (!now.exists || WallNs() - now.mtimeNs > kRacyNs) return entry.file.get();
        QFile file(entry.native);
        if (file.open(QIODevice::ReadOnly) && file.readAll() == entry.file->ToBytes())
            return entry.file.get();
    }
    std::shared_ptr<File> f;
    if (now.exists) {
        QFile file(entry.native);
        if (file.open(QIODevice::ReadOnly)) {
            f = File::FromBytes(file.readAll());
            ++parseCount_;
        }
    }
    if (!f) f = std::make_shared<File>();
    f->stamp = now;
    entry.file = std::move(f);
    return entry.file.get();
}

void IniStore::Watch(const QString& path, Entry& entry) {
    Unwatch(path, entry);
    if (!notices_.Ok()) return;
    bool ok = true;
    const auto add = [&](int wd, QString name) {
        watchers_[wd].append({name, path});
        entry.watches.append({wd, std::move(name)});
    };
    if (StampOf(entry.native).exists) {
        const int wd = notices_.WatchFile(entry.native);
        if (wd >= 0)
            add(wd, QString());
        else
            ok = false;
    }
    // The names that decide where the path leads: the file's own name in its folder, and
    // up from there every folder that is missing or was found in other letter case.
    QString asked = path;
    asked.replace(u'\\', u'/');
    const QStringList want = asked.split(u'/');
    const QStringList got = entry.native.split(u'/');
    if (want.size() != got.size()) ok = false;
    const bool absolute = got.size() > 1 && got.front().isEmpty();
    for (qsizetype i = got.size() - 1; ok && i >= (absolute ? 1 : 0); --i) {
        QString folder = got.mid(0, i).join(u'/');
        if (folder.isEmpty()) folder = absolute ? u"/"_s : u"."_s;
        const int wd = notices_.WatchFolder(folder);
        if (wd >= 0) {
            add(wd, Fold(want[i]));
            if (i == 0 || want[i - 1] == got[i - 1]) break;
        } else if (wd != -ENOENT && wd != -ENOTDIR) {
            ok = false;
        }
    }
    // Left unfresh, the entry is compared with the disk at every read.
    entry.fresh = ok;
}

void IniStore::Unwatch(const QString& path, Entry& entry) {
    for (const auto& [wd, name] : entry.watches) {
        const auto w = watchers_.find(wd);
        if (w == watchers_.end()) continue;
        w->removeOne(qMakePair(name, path));
        if (w->isEmpty()) {
            watchers_.erase(w);
            notices_.Unwatch(wd);
        }
    }
    entry.watches.clear();
    entry.fresh = false;
}

void IniStore::TakeNotices() {
    for (const FileNotices::Notice& n : notices_.Take()) {
        if (n.overflow) {
            for (Entry& e : entries_)
                e.fresh = false;
            continue;
        }
        const auto w = watchers_.constFind(n.watch);
        if (w == watchers_.cend()) continue;
        const QString name = Fold(n.name);
        for (const auto& [watched, path] : *w)
            if (n.name.isEmpty() || watched.isEmpty() || watched == name)
                if (const auto e = entries_.find(path); e != entries_.end()) e->fresh = false;
        if (n.gone) watchers_.remove(n.watch);
    }
}

void IniStore::Forget(const QString& path) {
    const auto it = entries_.find(path);
    if (it == entries_.end()) return;
    Unwatch(path, *it);
    entries_.erase(it);
}

bool IniStore::Store(const QString& path, File& file) {
    file.Touched();
    const QString native = entries_.value(path).native;
    if (!WriteFileAtomic(native, file.ToBytes())) {
        // The edit stays out of the cache too: the next read sees the file as it is.
        Forget(path);
        return false;
    }
    file.stamp = StampOf(native);
    return true;
}

// Names asked for are trimmed like the names in the file.
QString IniStore::Read(const QString& path, QStringView section, QStringView key) {
    const auto* l = Load(path)->FindKey(Trimmed(section), Trimmed(key));
    return l ? Cut(l->value) : QString();
}

bool IniStore::Write(const QString& path, QStringView section, QStringView key,
                     std::optional<QStringView> value) {
    if (!Writable(Trimmed(section), Trimmed(key))) return false;
    File* f = Load(path);
    return !f->Set(Trimmed(section), Trimmed(key), value) || Store(path, *f);
}

bool IniStore::WriteKeys(const QString& path, QStringView section, const QList<KeyEdit>& edits) {
    for (const auto& edit : edits)
        if (!Writable(Trimmed(section), Trimmed(edit.first))) return false;
    File* f = Load(path);
    bool changed = false;
    for (const auto& [key, value] : edits)
        changed = f->Set(Trimmed(section), Trimmed(key),
                         value ? std::optional<QStringView>(*value) : std::nullopt) ||
                  changed;
    return !changed || Store(path, *f);
}

bool IniStore::DeleteSection(const QString& path, QStringView section) {
    File* f = Load(path);
    const auto range = f->FindSection(Trimmed(section));
    if (!range) return true;
    f->lines.erase(f->lines.begin() + qsizetype(range->first),
                   f->lines.begin() + qsizetype(range->second));
    return Store(path, *f);
}

QList<QPair<QString, QString>> IniStore::Keys(const QString& path, QStringView section) {
    const File* f = Load(path);
    QList<QPair<QString, QString>> out;
    const auto range = f->FindSection(Trimmed(section));
    if (!range) return out;
    QHash<QString, bool> seen;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        const auto& l = f->lines[i];
        if (l.kind != Kind::Key) continue;
        const QString folded = Fold(l.name);
        if (seen.contains(folded)) continue;
        seen.insert(folded, true);
        out.append({l.name, Cut(l.value)});
    }
    return out;
}

QStringList IniStore::Sections(const QString& path) {
    const File* f = Load(path);
    QStringList out;
    for (const auto& l : f->lines)
        if (l.kind == Kind::Section) out.append(l.name);
    return out;
}

bool IniStore::ReplaceSection(const QString& path, QStringView section,
                              const QList<QPair<QString, QString>>& keys) {
    for (const auto& key : keys)
        if (!Writable(Trimmed(section), Trimmed(key.first))) return false;
    if (!Writable(Trimmed(section), {})) return false;
    File* f = Load(path);
    const QByteArray before = f->ToBytes();
    section = Trimmed(section);
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
        added.push_back(File::KeyLine(Trimmed(k), v));
    f->lines.insert(f->lines.begin() + qsizetype(at), std::make_move_iterator(added.begin()),
                    std::make_move_iterator(added.end()));
    f->Touched();
    // The same content again leaves the file untouched.
    return f->ToBytes() == before || Store(path, *f);
}

} // namespace orvanel
