#pragma once

#include <QString>
#include <QStringList>

namespace orvanel {

// LHA (.lzh) archives: dictionaries, skins, add-ins and updates arrive as archives made by
// other people, on Windows (CP932 names) or on Linux (UTF-8 names), and the dictionary export
// writes one.

struct ArchiveLimits {
    qint64 maxTotalBytes = 100 * 1024 * 1024; // the unpacked sizes of all files together
    qint32 maxEntries = 10000;                // files and folders
};

struct ArchiveResult {
    // Empty when it worked; else what was refused or went wrong, naming the entry
    // ("\"..\\evil.ini\": climbs out of the folder"), for the trace log.
    QString error;
    // What is now in the destination (or in the archive, when writing), relative, with "/".
    QStringList entries;

    bool Ok() const { return error.isEmpty(); }
};

// Restores the files and folders of `archive` (levels 0, 1 and 2; -lh0-, -lh5-, -lh6-,
// -lh7- and the older methods) into `destination`, made when missing; existing files of the
// same names are replaced, and names match existing ones in any letter case (as NativePath).
// Refused, with nothing in the destination changed: names that are absolute, hold "..", a
// drive letter or a control character, or lead outside the destination through a link in
// it; links and device files; an empty file; more entries or bytes than `limits`; a damaged
// or cut-short archive, a CRC error. Everything is unpacked beside the destination first, then
// moved in.
[[nodiscard]] ArchiveResult ExtractArchive(const QString& archive, const QString& destination,
                                           const ArchiveLimits& limits = {});

enum class ArchiveMethod { Stored, Lh5 };

// Writes the files directly in `sourceFolder` (no subfolders, no hidden files, no paths:
// bare names in CP932) into `archive` with level 2 headers, atomically. A file that -lh5-
// would not make smaller is stored. Refused when a name has no CP932 form or a file cannot
// be read; nothing is written then.
[[nodiscard]] ArchiveResult WriteArchive(const QString& archive, const QString& sourceFolder,
                                         ArchiveMethod method = ArchiveMethod::Lh5);

} // namespace orvanel
