#pragma once

#include "platform/file_notices.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace orvanel {

// INI files with the observable behaviour of the original platform's private-profile
// functions: CP932 on disk, case-insensitive names, blanks trimmed (in the file and in the
// names asked for), a key line without "=" is that key with the empty value, the first of
// duplicate sections and keys wins, values cut to 254 bytes, unrelated lines kept byte for
// byte, and a write that changes nothing leaves the file untouched.
//
// Parsed files are kept and reused until the kernel reports a change to the file or to the
// names that lead to it (FileNotices), then checked against the disk: reading thousands of
// keys one at a time costs one parse and no file-system call, and an edit by hand or by
// another program is seen at the next read. Without notices every read checks the file's
// size, modification time and identity. Writes replace the file atomically.
class IniStore {
public:
    static constexpr qsizetype kMaxValueBytes = 254;

    IniStore();
    ~IniStore();
    IniStore(const IniStore&) = delete;
    IniStore& operator=(const IniStore&) = delete;

    // Missing file, section or key give the empty text. `path` is native or uses "\".
    QString Read(const QString& path, QStringView section, QStringView key);

    // A null value (std::nullopt, distinct from the empty text) deletes the key. Creates the
    // file, its folder and the section when missing. Returns false when the file cannot be
    // written, or the names could not be read back (a section name with "]" or a line end, a
    // key name with "=" or a line end or beginning with "[" or ";", a name with no CP932
    // form); the file is then as it was.
    [[nodiscard]] bool Write(const QString& path, QStringView section, QStringView key,
                             std::optional<QStringView> value);

    // Several keys of one section, applied in order as by Write, in one atomic write: either
    // all of them reach the file or none does.
    using KeyEdit = QPair<QString, std::optional<QString>>;
    [[nodiscard]] bool WriteKeys(const QString& path, QStringView section,
                                 const QList<KeyEdit>& edits);

    // Deletes the whole first section of that name.
    [[nodiscard]] bool DeleteSection(const QString& path, QStringView section);

    // Every key of the first section of that name, in file order, first of duplicates only.
    QList<QPair<QString, QString>> Keys(const QString& path, QStringView section);
    QStringList Sections(const QString& path);

    // Replaces all key lines of the section by `keys` in one atomic write (comments and
    // other lines of the section stay).
    [[nodiscard]] bool ReplaceSection(const QString& path, QStringView section,
                                      const QList<QPair<QString, QString>>& keys);

    // What identifies one version of a file on disk.
    struct Stamp;

    // How many times a file was read and parsed (for tests of the cache).
    int ParseCount() const { return parseCount_; }

private:
    struct File;
    struct Entry;
    File* Load(const QString& path);
    File* Refresh(const QString& path);
    void Watch(const QString& path, Entry& entry);
    void Unwatch(const QString& path, Entry& entry);
    void TakeNotices();
    void Forget(const QString& path);
    [[nodiscard]] bool Store(const QString& path, File& file);

    FileNotices notices_;
    // By the path as asked for: the same file asked for in two spellings is two entries.
    QHash<QString, Entry> entries_;
    // Which entries each watch concerns: (folded name in a folder or "" for all, entry path).
    QHash<int, QList<QPair<QString, QString>>> watchers_;
    int parseCount_ = 0;
};

} // namespace orvanel
