#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace orvanel {

// Whole text files in CP932. Paths may use "\" (see NativePath).

// The decoded text; nullopt when the file cannot be read.
std::optional<QString> ReadCp932File(const QString& path);

// The lines without their line ends (CR LF, LF or CR); nullopt when unreadable. A final line
// end does not make an extra empty line.
std::optional<QStringList> ReadCp932Lines(const QString& path);

QStringList SplitLines(const QString& text);

// Writes `bytes` so that a crash or a full disk leaves either the old or the new file, never
// a mix. False when the whole of it could not be written.
[[nodiscard]] bool WriteFileAtomic(const QString& path, const QByteArray& bytes);

// What a write killed half-way leaves beside its file: the temporary "<name>.XXXXXX" (six
// ASCII letters) that was to replace <name>. Removes such files in `folder` whose <name>
// matches one of `targets` (wildcards such as "*.ini", any letter case) and returns their
// paths; nothing else is touched.
QStringList RemoveInterruptedWrites(const QString& folder, const QStringList& targets);

// Encodes to CP932 with CR LF line ends and writes atomically.
[[nodiscard]] bool WriteCp932File(const QString& path, const QString& text);

} // namespace orvanel
