#include "platform/lha_format.h"

#include <QDateTime>
#include <QtEndian>

#include <array>

using namespace Qt::StringLiterals;

namespace orvanel::lha {
namespace {

const std::array<quint16, 256>& CrcTable() {
    static const std::array<quint16, 256> table = [] {
        std::array<quint16, 256> t{};
        for (unsigned i = 0; i < 256; ++i) {
            quint16 c = quint16(i);
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? quint16((c >> 1) ^ 0xA001) : quint16(c >> 1);
            t[i] = c;
        }
        return t;
    }();
    return table;
}

quint16 U16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 U32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint64 U64(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint64>(b.constData() + at);
}

bool ReadExactly(QIODevice& device, qint64 n, QByteArray* into) {
    const QByteArray got = device.read(n);
    into->append(got);
    return got.size() == n;
}

// MS-DOS date and time, as level 0 and 1 headers store them, in local time.
quint32 FromDosTime(quint32 dos) {
    if (dos == 0) return 0;
    const QDate date(int(1980 + (dos >> 25)), int((dos >> 21) & 0x0F), int((dos >> 16) & 0x1F));
    const QTime time(int((dos >> 11) & 0x1F), int((dos >> 5) & 0x3F), int((dos & 0x1F) * 2));
    const QDateTime at(date, time);
    return at.isValid() ? quint32(qMax<qint64>(0, at.toSecsSinceEpoch())) : 0;
}

// What the extended headers of level 1 and 2 say.
struct Extended {
    std::optional<QByteArray> fileName;
    QByteArray folder;
    std::optional<quint16> headerCrc;
    qsizetype headerCrcAt = -1; // offset of the CRC in the bytes the CRC covers
    std::optional<quint16> unixMode;
    std::optional<quint32> unixTime;
    std::optional<std::pair<quint64, quint64>> sizes; // packed, original
};

// One extended header: `e` holds its type byte, its data and the two bytes of the next size.
void TakeExtended(const QByteArray& e, qsizetype atInCovered, Extended* x) {
    const QByteArray data = e.mid(1, e.size() - 3);
    switch (quint8(e[0])) {
    case 0x00:
        if (data.size() >= 2) {
            x->headerCrc = U16(data, 0);
            x->headerCrcAt = atInCovered + 1;
        }
        break;
    case 0x01:
        x->fileName = data;
        break;
    case 0x02:
        x->folder = data;
        break;
    case 0x42:
        if (data.size() >= 16) x->sizes = {U64(data, 0), U64(data, 8)};
        break;
    case 0x50:
        if (data.size() >= 2) x->unixMode = U16(data, 0);
        break;
    case 0x54:
        if (data.size() >= 4) x->unixTime = U32(data, 0);
        break;
    default:
        break;
    }
}

bool HeaderCrcHolds(QByteArray covered, const Extended& x) {
    if (!x.headerCrc) return true;
    covered[x.headerCrcAt] = 0;
    covered[x.headerCrcAt + 1] = 0;
    return Crc16(covered) == *x.headerCrc;
}

void ApplyExtended(const Extended& x, Header* h) {
    QByteArray name;
    if (!x.folder.isEmpty()) {
        name = x.folder;
        name.replace('\xFF', '/');
        if (!name.endsWith('/')) name += '/';
    }
    h->name = name + (x.fileName ? *x.fileName : h->name);
    if (x.unixMode) h->unixMode = x.unixMode;
    if (x.unixTime) h->unixTime = *x.unixTime;
    if (x.sizes) {
        // 64-bit sizes of large files; saturate rather than wrap, so the size caps see them.
        h->packedSize = qint64(qMin<quint64>(x.sizes->first, quint64(1) << 62));
        h->originalSize = qint64(qMin<quint64>(x.sizes->second, quint64(1) << 62));
    }
}

// The longest extended-header chain we follow; real archives have a handful.
constexpr int kMaxExtended = 64;

ReadStatus Damaged(QString* why, const QString& text) {
    if (why) *why = text;
    return ReadStatus::Damaged;
}

} // namespace

quint16 Crc16(QByteArrayView data, quint16 crc) {
    const auto& table = CrcTable();
    for (const char c : data)
        crc = quint16((crc >> 8) ^ table[(crc ^ quint8(c)) & 0xFF]);
    return crc;
}

ReadStatus ReadHeader(QIODevice& device, Header* h, QString* why) {
    *h = Header{};
    QByteArray raw;
    if (!ReadExactly(device, 1, &raw) || raw[0] == 0) return ReadStatus::End;
    if (!ReadExactly(device, 21, &raw)) return Damaged(why, u"a header is cut short"_s);
    h->level = quint8(raw[20]);
    h->method = raw.mid(2, 5);
    if (h->method[0] != '-' || h->method[4] != '-') return Damaged(why, u"not an LHA header"_s);
    h->packedSize = U32(raw, 7);
    h->originalSize = U32(raw, 11);

    Extended x;
    if (h->level == 0 || h->level == 1) {
        const int total = quint8(raw[0]) + 2;
        const int minimum = h->level == 0 ? 24 : 27;
        if (total < minimum || !ReadExactly(device, total - 22, &raw))
            return Damaged(why, u"a header is cut short"_s);
        quint8 sum = 0;
        for (qsizetype i = 2; i < total; ++i)
            sum = quint8(sum + quint8(raw[i]));
        if (sum != quint8(raw[1])) return Damaged(why, u"a header checksum is wrong"_s);
        const int nameLength = quint8(raw[21]);
        if (22 + nameLength + (minimum - 22) > total)
            return Damaged(why, u"a header is cut short"_s);
        h->name = raw.mid(22, nameLength);
        h->crc = U16(raw, 22 + nameLength);
        h->unixTime = FromDosTime(U32(raw, 15));
        if (h->level == 0) {
            // LHa for UNIX appends 'U', a version, the time, the mode, the user and the group.
            const qsizetype ext = 24 + nameLength;
            if (total - ext >= 12 && raw[ext] == 'U') {
                h->unixTime = U32(raw, ext + 2);
                h->unixMode = U16(raw, ext + 6);
            }
        } else {
            // The packed size of level 1 counts the extended headers that follow.
            quint16 next = U16(raw, total - 2);
            QByteArray covered = raw;
            for (int n = 0; next != 0; ++n) {
                QByteArray e;
                if (n == kMaxExtended || next < 3)
                    return Damaged(why, u"an extended header is damaged"_s);
                if (!ReadExactly(device, next, &e)) return Damaged(why, u"a header is cut short"_s);
                h->packedSize -= next;
                if (h->packedSize < 0) return Damaged(why, u"an extended header is damaged"_s);
                TakeExtended(e, covered.size(), &x);
                covered += e;
                next = U16(e, e.size() - 2);
            }
            if (!HeaderCrcHolds(covered, x)) return Damaged(why, u"a header CRC is wrong"_s);
        }
    } else if (h->level == 2) {
        const int total = U16(raw, 0);
        if (total < 26 || !ReadExactly(device, total - 22, &raw))
            return Damaged(why, u"a header is cut short"_s);
        h->unixTime = U32(raw, 15);
        h->crc = U16(raw, 21);
        quint16 next = U16(raw, 24);
        qsizetype at = 26;
        for (int n = 0; next != 0; ++n) {
            if (n == kMaxExtended || next < 3 || at + next > total)
                return Damaged(why, u"an extended header is damaged"_s);
            const QByteArray e = raw.mid(at, next);
            TakeExtended(e, at, &x);
            at += next;
            next = U16(e, e.size() - 2);
        }
        if (!HeaderCrcHolds(raw, x)) return Damaged(why, u"a header CRC is wrong"_s);
    } else {
        return Damaged(why, u"header level %1 is not read"_s.arg(h->level));
    }
    ApplyExtended(x, h);
    h->dataOffset = device.pos();
    return ReadStatus::Entry;
}

QByteArray Level2Header(const Header& h) {
    QByteArray b(26, '\0');
    b.replace(2, 5, h.method.left(5));
    qToLittleEndian<quint32>(quint32(h.packedSize), b.data() + 7);
    qToLittleEndian<quint32>(quint32(h.originalSize), b.data() + 11);
    qToLittleEndian<quint32>(h.unixTime, b.data() + 15);
    b[19] = 0x20; // the archive attribute, as Windows writers set it
    b[20] = 2;
    qToLittleEndian<quint16>(h.crc, b.data() + 21);
    b[23] = 'M'; // names in the code page of Windows, as its archivers write them
    qToLittleEndian<quint16>(5, b.data() + 24);
    // Common header: the header CRC, filled in last.
    const qsizetype crcAt = b.size() + 1;
    b += QByteArray("\x00\x00\x00", 3);
    QByteArray next(2, '\0');
    qToLittleEndian<quint16>(quint16(3 + h.name.size()), next.data());
    b += next;
    b += '\x01';
    b += h.name;
    b += QByteArray(2, '\0'); // no further extended header
    // A first byte of 0 would read as the end of the archive.
    if ((b.size() & 0xFF) == 0) b += '\0';
    qToLittleEndian<quint16>(quint16(b.size()), b.data());
    qToLittleEndian<quint16>(Crc16(b), b.data() + crcAt);
    return b;
}

} // namespace orvanel::lha
