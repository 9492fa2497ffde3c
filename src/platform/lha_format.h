#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

// The LHA (.lzh) archive format at the level of headers and checksums: what the archive
// reader and writer share. Names stay raw bytes here; their text is decided by the caller.
namespace orvanel::lha {

// CRC-16 as LHA computes it (polynomial 0xA001, reflected, starting at `crc`).
quint16 Crc16(QByteArrayView data, quint16 crc = 0);

inline constexpr char kFolderMethod[] = "-lhd-";
inline constexpr char kStoredMethod[] = "-lh0-";
inline constexpr char kLh5Method[] = "-lh5-";

struct Header {
    int level = 0;
    QByteArray method;     // "-lh5-", "-lhd-", ...
    qint64 packedSize = 0; // the data that follows the header
    qint64 originalSize = 0;
    quint16 crc = 0;      // of the original data
    quint32 unixTime = 0; // 0 when the header has no usable time
    // Folder and file name as stored, with every separator the writer used: "\" and "/" in
    // level 0 and 1 names, 0xFF between folder names of the extended header. The folder part
    // comes first, its 0xFF turned into "/" (0xFF is neither a CP932 nor a UTF-8 name byte).
    QByteArray name;
    std::optional<quint16> unixMode; // with its file-type bits, when the writer kept one
    qint64 dataOffset = 0;           // where the data starts in the archive
};

enum class ReadStatus { Entry, End, Damaged };

// Reads the header at the device's position. Entry: `header` is filled and the device stands
// at the data. End: the end mark (a zero byte) or the end of the device. Damaged: `why` says
// what is wrong (cut short, bad checksum, unknown level).
ReadStatus ReadHeader(QIODevice& device, Header* header, QString* why);

// A level 2 header for a file of the given bare name (bytes as they will be stored), with the
// header CRC of the common extended header.
QByteArray Level2Header(const Header& header);

} // namespace orvanel::lha
