#include "platform/archive.h"
#include "platform/codec.h"
#include "platform/lha_format.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <filesystem>
#include <fstream>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {

bool Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A folder's files and folders, relative, with their contents ("/" for a folder). Names on
// disk are read as the program reads archive names, UTF-8 when valid, else CP932, so that
// the trees of tools that keep an archive's name bytes and of tools that convert them
// compare. (Qt cannot open a file whose name is not UTF-8: std::filesystem reads these.)
QMap<QString, QByteArray> Tree(const QString& root) {
    namespace fs = std::filesystem;
    QMap<QString, QByteArray> tree;
    const fs::path base(QFile::encodeName(root).toStdString());
    for (const auto& e : fs::recursive_directory_iterator(base)) {
        const std::string raw = e.path().lexically_relative(base).native();
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString name = utf8.decode(QByteArrayView(raw.data(), qsizetype(raw.size())));
        if (utf8.hasError())
            name = codec::FromCp932(QByteArrayView(raw.data(), qsizetype(raw.size())));
        QByteArray content("/");
        if (!e.is_directory()) {
            std::ifstream in(e.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), {});
            content = QByteArray(bytes.data(), qsizetype(bytes.size()));
        }
        tree.insert(name, content);
    }
    return tree;
}

// Text that compresses, bytes that do not, long runs (matches of the longest length, one
// distance), and names whose CP932 second byte is "\" (表, ソ).
void MakeSource(const QString& root, bool folders) {
    QByteArray text;
    for (int i = 0; text.size() < 300000; ++i)
        text += codec::ToCp932(u"%1=単語%2の表示\r\n"_s.arg(i).arg(i * 7 % 1000));
    QByteArray noise(40000, '\0');
    QRandomGenerator random(7);
    for (char& c : noise)
        c = char(random.bounded(256));
    Write(root + u"/人物.ini"_s, text);
    Write(root + u"/表示.dat"_s, noise);
    Write(root + u"/zeros.bin"_s, QByteArray(70000, '\0'));
    Write(root + u"/run.bin"_s, QByteArray(262, 'z')); // its codes end on a byte's last bit
    Write(root + u"/empty.txt"_s, {});
    if (folders) {
        Write(root + u"/ソフト/下/a.txt"_s, "abc abc abc abc");
        QDir().mkpath(root + u"/空のフォルダ"_s);
    }
}

struct Tool {
    QString program;
    QStringList args;
};

// Runs `program` in `folder`; jlha is told to keep names in `nameCode` (MS932 or UTF-8).
bool Run(const Tool& tool, const QString& folder, const QString& nameCode = u"MS932"_s) {
    QProcess p;
    p.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LANG"_s, u"C.UTF-8"_s);
    env.insert(u"JAVA_TOOL_OPTIONS"_s, u"-Dlha.encoding="_s + nameCode +
                                           u" -Dsun.jnu.encoding=UTF-8 -Dfile.encoding=UTF-8"_s);
    p.setProcessEnvironment(env);
    p.start(tool.program, tool.args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning() << tool.program << tool.args << p.readAllStandardError();
        return false;
    }
    return true;
}

QString Find(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

QList<lha::Header> Headers(const QString& archive) {
    QFile f(archive);
    f.open(QIODevice::ReadOnly);
    QList<lha::Header> out;
    lha::Header h;
    while (lha::ReadHeader(f, &h, nullptr) == lha::ReadStatus::Entry) {
        out.append(h);
        f.seek(h.dataOffset + h.packedSize);
    }
    return out;
}

// A level 0 header as old writers made it; with a mode, LHa for UNIX's extension.
QByteArray Level0(const QByteArray& method, const QByteArray& name, const QByteArray& data,
                  qint64 declared = -1, int mode = -1) {
    QByteArray h(22, '\0');
    h.replace(2, 5, method);
    qToLittleEndian<quint32>(quint32(data.size()), h.data() + 7);
    qToLittleEndian<quint32>(quint32(declared < 0 ? data.size() : declared), h.data() + 11);
    h[19] = 0x20;
    h[21] = char(name.size());
    h += name;
    QByteArray crc(2, '\0');
    qToLittleEndian<quint16>(lha::Crc16(data), crc.data());
    h += crc;
    if (mode >= 0) {
        QByteArray ext(12, '\0');
        ext[0] = 'U';
        qToLittleEndian<quint16>(quint16(mode), ext.data() + 6);
        h += ext;
    }
    h[0] = char(h.size() - 2);
    quint8 sum = 0;
    for (qsizetype i = 2; i < h.size(); ++i)
        sum = quint8(sum + quint8(h[i]));
    h[1] = char(sum);
    return h + data;
}

QByteArray Level2(const QByteArray& method, const QByteArray& name, const QByteArray& data,
                  qint64 declared = -1) {
    lha::Header h;
    h.method = method;
    h.name = name;
    h.packedSize = data.size();
    h.originalSize = declared < 0 ? data.size() : declared;
    h.crc = lha::Crc16(data);
    return lha::Level2Header(h) + data;
}

QByteArray Cp932(const QString& s) {
    return codec::ToCp932(s);
}

// Three stored files; the last one's data is at the end, before the end mark.
QByteArray ThreeFiles() {
    return Level2("-lh0-", "a.ini", "first") + Level2("-lh0-", "b.ini", "second") +
           Level2("-lh0-", "c.ini", "third") + QByteArray(1, '\0');
}

} // namespace

class TestArchive : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Our archives, unpacked by the three readers Linux users have: the same files.
    void writtenByUsReadByOthers_data() {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("method");
        for (const auto& [name, method] :
             {std::pair{"-lh5-", ArchiveMethod::Lh5}, std::pair{"-lh0-", ArchiveMethod::Stored}}) {
            const QByteArray m(name);
            QTest::newRow("jlha " + m) << u"jlha"_s << QStringList{u"xq"_s} << int(method);
            QTest::newRow("lhasa " + m) << u"lhasa"_s << QStringList{u"xq"_s} << int(method);
            // bsdtar takes names as UTF-8 unless told otherwise, as for any archive from Windows.
            QTest::newRow("bsdtar " + m)
                << u"bsdtar"_s << QStringList{u"--options"_s, u"hdrcharset=CP932"_s, u"-xf"_s}
                << int(method);
        }
    }
    void writtenByUsReadByOthers() {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        QFETCH(int, method);
        const QString program = Find(tool);
        if (program.isEmpty())
            QSKIP(qPrintable(tool + u" is not installed (scripts/install-deps.sh installs it)"_s));
        QTemporaryDir dir;
        MakeSource(dir.filePath(u"src"_s), false);
        QDir().mkpath(dir.filePath(u"src/sub"_s)); // not taken: no subfolders
        const QString archive = dir.filePath(u"me.260101.TalkEngine.lzh"_s);
        const ArchiveResult written =
            WriteArchive(archive, dir.filePath(u"src"_s), ArchiveMethod(method));
        QVERIFY2(written.Ok(), qPrintable(written.error));
        QCOMPARE(written.entries.size(), 5);
        for (const lha::Header& h : Headers(archive)) {
            QCOMPARE(h.level, 2);
            // Incompressible and empty files are stored whatever the method.
            const bool stored = method == int(ArchiveMethod::Stored) ||
                                h.name == Cp932(u"表示.dat"_s) || h.originalSize == 0;
            QCOMPARE(h.method, QByteArray(stored ? "-lh0-" : "-lh5-"));
        }
        QDir().mkpath(dir.filePath(u"out"_s));
        QVERIFY(Run({program, args << archive}, dir.filePath(u"out"_s)));
        QDir(dir.filePath(u"src/sub"_s)).removeRecursively();
        const auto out = Tree(dir.filePath(u"out"_s));
        std::filesystem::remove_all(QFile::encodeName(dir.filePath(u"out"_s)).toStdString());
        QCOMPARE(out, Tree(dir.filePath(u"src"_s)));
    }

    // Archives made by jlha in every level and method, with folders and names in CP932 and in
    // UTF-8, read back byte for byte.
    void madeByJlhaReadByUs_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QString>("nameCode");
        for (int level : {0, 1, 2}) {
            for (const auto& [option, method] :
                 {std::pair{"z", "-lh0-"}, std::pair{"o5", "-lh5-"}, std::pair{"o6", "-lh6-"},
                  std::pair{"o7", "-lh7-"}}) {
                QTest::addRow("level %d %s", level, method)
                    << level << QString::fromLatin1(option) << QByteArray(method) << u"MS932"_s;
            }
        }
        QTest::newRow("level 2 UTF-8 names") << 2 << u"o5"_s << QByteArray("-lh5-") << u"UTF-8"_s;
        QTest::newRow("level 0 UTF-8 names") << 0 << u"o7"_s << QByteArray("-lh7-") << u"UTF-8"_s;
    }
    void madeByJlhaReadByUs() {
        QFETCH(int, level);
        QFETCH(QString, option);
        QFETCH(QByteArray, method);
        QFETCH(QString, nameCode);
        const QString jlha = Find(u"jlha"_s);
        if (jlha.isEmpty()) QSKIP("jlha is not installed (scripts/install-deps.sh installs it)");
        QTemporaryDir dir;
        const QString src = dir.filePath(u"src"_s);
        MakeSource(src, true);
        const QString archive = dir.filePath(u"made.lzh"_s);
        QStringList args{u"c%1q%2"_s.arg(level).arg(option), archive};
        args += QDir(src).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QVERIFY(Run({jlha, args}, src, nameCode));
        const QList<lha::Header> headers = Headers(archive);
        QVERIFY(std::all_of(headers.begin(), headers.end(),
                            [&](const lha::Header& h) { return h.level == level; }));
        QVERIFY(std::any_of(headers.begin(), headers.end(),
                            [&](const lha::Header& h) { return h.method == method; }));

        const ArchiveResult result = ExtractArchive(archive, dir.filePath(u"out"_s));
        QVERIFY2(result.Ok(), qPrintable(result.error));
        QCOMPARE(Tree(dir.filePath(u"out"_s)), Tree(src));
        QVERIFY(result.entries.contains(u"ソフト/下/a.txt"_s));
    }

    // Archives from strangers: each is refused, naming the entry; nothing lands outside the
    // destination, the destination keeps what it had and nothing half-done stays beside it.
    void hostileArchives_data() {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("reason");
        const QByteArray end(1, '\0');
        QTest::newRow("zero bytes") << QByteArray() << u"\"in.lzh\": is empty"_s;
        QTest::newRow("../ entry")
            << Level2("-lh0-", "../evil.ini", "x") + end << u"\"../evil.ini\": climbs out"_s;
        QTest::newRow("absolute name") << Level0("-lh0-", "/tmp/evil.ini", "x") + end
                                       << u"\"/tmp/evil.ini\": has an absolute"_s;
        QTest::newRow("..\\ in a CP932 name")
            << Level0("-lh0-", Cp932(u"表示\\..\\..\\evil.ini"_s), "x") + end
            << u"\"表示\\..\\..\\evil.ini\": climbs out"_s;
        QTest::newRow("drive letter")
            << Level0("-lh0-", "C:\\evil.ini", "x") + end << u"\"C:\\evil.ini\": names a drive"_s;
        QTest::newRow("symlink by name")
            << Level2("-lhd-", "link|/etc", {}) + end << u"\"link|/etc\": is a symbolic link"_s;
        QTest::newRow("symlink by mode")
            << Level0("-lh0-", "link", "/etc/passwd", -1, 0120777) + end
            << u"\"link\": is a symbolic link"_s;
        QTest::newRow("device") << Level0("-lh0-", "tty", {}, -1, 020666) + end
                                << u"\"tty\": is a device"_s;
        QByteArray crc = ThreeFiles();
        crc[crc.size() - 2] = 'X';
        QTest::newRow("CRC error in the last file") << crc << u"\"c.ini\": is damaged (CRC"_s;
        const QByteArray three = ThreeFiles();
        const qsizetype second = three.indexOf("-lh0-", 10) - 2;
        QTest::newRow("truncated header")
            << three.left(second + 12) << u"after \"a.ini\": a header is cut short"_s;
        QTest::newRow("truncated data")
            << three.left(three.size() - 3) << u"\"c.ini\": is cut short"_s;
        QTest::newRow("1 GB declared") << Level2("-lh5-", "big.bin", "tiny", 1 << 30) + end
                                       << u"\"big.bin\": makes the files larger"_s;
        QByteArray many;
        for (int i = 0; i < 50000; ++i)
            many += Level2("-lh0-", QByteArray::number(i), "x");
        QTest::newRow("50,000 tiny entries") << many + end << u"\"10000\": is one entry more"_s;
        QTest::newRow("not an archive") << QByteArray("MZ this is a program, not an archive")
                                        << u"\"in.lzh\": not an LHA header"_s;
        QTest::newRow("link in the destination leads out")
            << Level2("-lh0-", "SKIN\\evil.ini", "x") + end
            << u"\"SKIN\\evil.ini\": leads outside the destination"_s;
    }
    void hostileArchives() {
        QFETCH(QByteArray, archive);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString dest = dir.filePath(u"dest"_s);
        QVERIFY(Write(dest + u"/c.ini"_s, "kept"));
        QDir().mkpath(dir.filePath(u"outside"_s));
        QVERIFY(QFile::link(dir.filePath(u"outside"_s), dest + u"/skin"_s));
        QVERIFY(Write(dir.filePath(u"in.lzh"_s), archive));
        const QMap<QString, QByteArray> before = Tree(dir.path());

        const ArchiveResult result = ExtractArchive(dir.filePath(u"in.lzh"_s), dest);
        QVERIFY(!result.Ok());
        QVERIFY2(result.error.startsWith(reason), qPrintable(result.error));
        QVERIFY(result.entries.isEmpty());
        QCOMPARE(Tree(dir.path()), before);
        QVERIFY(!QFile::exists(QFileInfo(dir.path()).path() + u"/evil.ini"_s));
        QVERIFY(!QFile::exists(u"/tmp/evil.ini"_s));
    }

    // Into a folder that has files already: names meet the existing ones in any letter case,
    // files are replaced, others stay; a caller may lower the limits.
    void mergesIntoAnExistingFolder() {
        QTemporaryDir dir;
        const QString dest = dir.filePath(u"program"_s);
        QVERIFY(Write(dest + u"/Skin/Image1.GIF"_s, "old"));
        QVERIFY(Write(dest + u"/tomu.ini"_s, "settings"));
        const QByteArray archive = Level0("-lh0-", "skin\\image1.gif", "new") +
                                   Level2("-lhd-", "SKIN/Parts/", {}) +
                                   Level2("-lh0-", "skin/parts/eye.png", "eye") + QByteArray(1, 0);
        QVERIFY(Write(dir.filePath(u"x.skin.lzh"_s), archive));
        const ArchiveResult result = ExtractArchive(dir.filePath(u"x.skin.lzh"_s), dest);
        QVERIFY2(result.Ok(), qPrintable(result.error));
        QCOMPARE(result.entries,
                 (QStringList{u"skin/image1.gif"_s, u"skin/Parts"_s, u"skin/Parts/eye.png"_s}));
        const QMap<QString, QByteArray> expected{{u"Skin"_s, "/"},
                                                 {u"Skin/Image1.GIF"_s, "new"},
                                                 {u"Skin/Parts"_s, "/"},
                                                 {u"Skin/Parts/eye.png"_s, "eye"},
                                                 {u"tomu.ini"_s, "settings"}};
        QCOMPARE(Tree(dest), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 (QStringList{u"program"_s, u"x.skin.lzh"_s}));

        ArchiveLimits small;
        small.maxEntries = 2;
        QVERIFY(!ExtractArchive(dir.filePath(u"x.skin.lzh"_s), dest, small).Ok());
        small = {};
        small.maxTotalBytes = 5;
        QVERIFY(!ExtractArchive(dir.filePath(u"x.skin.lzh"_s), dest, small).Ok());
        small.maxTotalBytes = 6;
        QVERIFY(ExtractArchive(dir.filePath(u"x.skin.lzh"_s), dest, small).Ok());
    }
};

QTEST_GUILESS_MAIN(TestArchive)
#include "test_archive.moc"
