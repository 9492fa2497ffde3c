#include "../fakes/full_disk.h"
#include "platform/codec.h"
#include "platform/ini_file.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

} // namespace

// CP932 text, text files and INI files.
class TestIniFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString Path(const QString& name) { return dir_.filePath(name); }

private Q_SLOTS:
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("wave dash is fullwidth tilde") << QByteArray("\x81\x60") << u"～"_s;
        QTest::newRow("trail byte 0x5C") << QByteArray("\x83\x5C") << u"ソ"_s;
        QTest::newRow("trail byte 0x5D") << QByteArray("\x83\x5D") << u"ゾ"_s;
        QTest::newRow("backslash stays") << QByteArray("\\h") << u"\\h"_s;
        QTest::newRow("half-width kana") << QByteArray("\xB6\xC5") << u"ｶﾅ"_s;
        QTest::newRow("NEC circled digit") << QByteArray("\x87\x40") << u"①"_s;
        QTest::newRow("category name")
            << QByteArray("\x93\xae\x8e\x8c(\x92\x50\x8f\x83)") << u"動詞(単純)"_s;
    }
    void roundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(codec::FromCp932(bytes), text);
        QCOMPARE(codec::ToCp932(text), bytes);
    }

    void lookAlikesEncodeToCp932Forms() {
        QCOMPARE(codec::ToCp932(u"〜"_s), QByteArray("\x81\x60")); // U+301C from input methods
        QCOMPARE(codec::ToCp932(u"−"_s), QByteArray("\x81\x7C"));
        QCOMPARE(codec::ToCp932(u"😀"_s), QByteArray("?")); // outside the BMP: one "?"
        QCOMPARE(codec::ToCp932(u"한"_s), QByteArray("?"));
    }

    void badBytesBecomeReplacementCharacters() {
        // A lead byte at the end, a lead byte followed by an ASCII control, an unused byte.
        QCOMPARE(codec::FromCp932(QByteArray("a\x81", 2)), u"a\uFFFD"_s);
        QCOMPARE(codec::FromCp932(QByteArray("\x81\x0D"
                                             "b",
                                             3)),
                 u"\uFFFD\rb"_s);
        QCOMPARE(codec::FromCp932(QByteArray("\xA0x", 2)), u"\uFFFDx"_s);
        // A valid pair that maps to nothing.
        QCOMPARE(codec::FromCp932(QByteArray("\x85\x40", 2)), u"\uFFFD"_s);
    }

    void cuttingNeverSplitsACharacter() {
        const QString text = u"ab"_s + QString(10, u'あ'); // 2 + 20 bytes
        QCOMPARE(codec::CutToBytes(text, 5), u"abあ"_s);   // 4 bytes; "あ" no longer fits
        QCOMPARE(codec::CutToBytes(text, 6), u"abああ"_s);
        QCOMPARE(codec::CutToBytes(text, 100), text);
        QCOMPARE(codec::Cp932Length(text), 22);
        const QByteArray bytes = codec::ToCp932(text);
        QCOMPARE(codec::CutBytes(bytes, 5), bytes.left(4));
        QCOMPARE(codec::CutBytes(bytes, 6), bytes.left(6));
    }
    void textFilesSplitEveryLineEnd() {
        QCOMPARE(SplitLines(u"a\r\nb\nc\rd\r\n"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
        QCOMPARE(SplitLines(u"a\r\n\r\nb"_s), (QStringList{u"a"_s, QString(), u"b"_s}));
        QTemporaryDir dir;
        QVERIFY(WriteCp932File(dir.filePath(u"t.txt"_s), u"一\n二"_s));
        QFile f(dir.filePath(u"t.txt"_s));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\x88\xea\r\n\x93\xf1"));
        QVERIFY(!ReadCp932Lines(dir.filePath(u"none.txt"_s)));
    }
    void readingFollowsTheProfileRules() {
        const QString p = Path(u"rules.ini"_s);
        WriteBytes(p, "; comment=no\r\n"
                      "key0=before any section\r\n"
                      "[General]\r\n"
                      "  OnTop  =  False  \r\n"
                      "Quoted=\"  spaced  \"\r\n"
                      "Dup=first\r\n"
                      "dup=second\r\n"
                      "NoEquals\r\n"
                      "Empty=\r\n"
                      "[ general ]\r\n"
                      "Later=hidden by the first section\r\n"
                      "[Other]\r\n"
                      "Dup=other\r\n");
        IniStore ini;
        QCOMPARE(ini.Read(p, u"general", u"ONTOP"), u"False"_s);
        QCOMPARE(ini.Read(p, u"General", u"Quoted"), u"  spaced  "_s);
        QCOMPARE(ini.Read(p, u"General", u"DUP"), u"first"_s);
        QCOMPARE(ini.Read(p, u"Other", u"Dup"), u"other"_s);
        QCOMPARE(ini.Read(p, u"General", u"Later"), QString());
        QCOMPARE(ini.Read(p, u"General", u"NoEquals"), QString());
        QCOMPARE(ini.Read(p, u"General", u"Empty"), QString());
        QCOMPARE(ini.Read(p, u"", u"key0"), QString());
        QCOMPARE(ini.Read(p, u"Missing", u"Dup"), QString());
        QCOMPARE(ini.Read(Path(u"missing.ini"_s), u"General", u"OnTop"), QString());
    }

    void trailBytesAreNotBracketsOrBackslashes() {
        // "ソ" is 83 5C and "ゾ" 83 5D: read as bytes they would end a section name.
        const QString p = Path(u"trail.ini"_s);
        WriteBytes(p, codec::ToCp932(u"[ソゾ]\r\nキー=表示\\h\r\n"_s));
        IniStore ini;
        QCOMPARE(ini.Read(p, u"ソゾ", u"キー"), u"表示\\h"_s);
    }

    void valuesAreCutTo254BytesWithoutSplittingACharacter() {
        const QString p = Path(u"long.ini"_s);
        IniStore ini;
        const QString ascii(300, u'x');
        QVERIFY(ini.Write(p, u"S", u"ascii", ascii));
        QCOMPARE(ini.Read(p, u"S", u"ascii"), ascii.left(254));
        // 1 + 2 * 130 bytes: the cut falls inside the 127th double-byte character.
        const QString mixed = u"a"_s + QString(130, u'漢');
        QVERIFY(ini.Write(p, u"S", u"mixed", mixed));
        QCOMPARE(ini.Read(p, u"S", u"mixed"), mixed.left(1 + 126));
        // The file keeps the whole value; only reads are cut.
        QVERIFY(ReadBytes(p).contains(codec::ToCp932(mixed)));
        // A value ends at its first NUL.
        WriteBytes(Path(u"nul.ini"_s), QByteArray("[S]\r\nk=ab\0cd\r\n", 14));
        QCOMPARE(ini.Read(Path(u"nul.ini"_s), u"S", u"k"), u"ab"_s);
    }

    void writingKeepsEverythingElseByteForByte() {
        const QString p = Path(u"keep.ini"_s);
        const QByteArray before = "; my notes \x82\xA0\r\n"
                                  "[A]\r\n"
                                  "x = 1\r\n"
                                  "\r\n"
                                  "  ; indented comment\r\n"
                                  "y=\xff\xfe raw bytes\n"
                                  "\r\n"
                                  "[B]\r\n"
                                  "z=3";
        WriteBytes(p, before);
        IniStore ini;
        QVERIFY(ini.Write(p, u"a", u"X", u"10"));  // replaced in place, key spelled as before
        QVERIFY(ini.Write(p, u"A", u"new", u"n")); // after the section's last non-blank line
        QVERIFY(ini.Write(p, u"B", u"w", u"4"));   // the last line had no line end
        QVERIFY(ini.Write(p, u"C", u"c", u"5"));   // a new section at the end
        const QByteArray after = "; my notes \x82\xA0\r\n"
                                 "[A]\r\n"
                                 "x=10\r\n"
                                 "\r\n"
                                 "  ; indented comment\r\n"
                                 "y=\xff\xfe raw bytes\n"
                                 "new=n\r\n"
                                 "\r\n"
                                 "[B]\r\n"
                                 "z=3\r\n"
                                 "w=4\r\n"
                                 "[C]\r\n"
                                 "c=5\r\n";
        QCOMPARE(ReadBytes(p), after);
    }

    void nullValueDeletesButEmptyTextKeeps() {
        const QString p = Path(u"delete.ini"_s);
        IniStore ini;
        QVERIFY(ini.Write(p, u"General", u"UpDate", u"True"));
        QVERIFY(ini.Write(p, u"General", u"Keep", u""));
        QCOMPARE(ReadBytes(p), QByteArray("[General]\r\nUpDate=True\r\nKeep=\r\n"));
        QVERIFY(ini.Write(p, u"General", u"UpDate", std::nullopt));
        QCOMPARE(ReadBytes(p), QByteArray("[General]\r\nKeep=\r\n"));
        // Deleting what is not there writes nothing and succeeds.
        QVERIFY(ini.Write(p, u"Nope", u"UpDate", std::nullopt));
        QVERIFY(!QFile::exists(Path(u"never.ini"_s)) &&
                ini.Write(Path(u"never.ini"_s), u"S", u"k", std::nullopt) &&
                !QFile::exists(Path(u"never.ini"_s)));
    }

    void japaneseFileAndSectionNamesRoundTrip() {
        const QString p = dir_.filePath(u"TalkEngine/動詞(単純).ini"_s);
        IniStore ini;
        QVERIFY(ini.Write(p, u"動詞(単純)", u"PN", u"1"));
        QVERIFY(ini.Write(p, u"動詞(単純)", u"1", u"散歩"));
        QCOMPARE(ReadBytes(p), codec::ToCp932(u"[動詞(単純)]\r\nPN=1\r\n1=散歩\r\n"_s));
        IniStore fresh;
        QCOMPARE(fresh.Read(p, u"動詞(単純)", u"1"), u"散歩"_s);
        // Windows-style separators and other letter case reach the same file.
        QCOMPARE(fresh.Read(dir_.path() + u"\\talkengine\\動詞(単純).INI"_s, u"動詞(単純)", u"pn"),
                 u"1"_s);
    }

    void repeatedReadsParseOnceAndHandEditsAreSeen() {
        const QString p = Path(u"cache.ini"_s);
        WriteBytes(p, "[S]\r\nk=one\r\n");
        IniStore ini;
        for (int i = 0; i < 100; ++i)
            QCOMPARE(ini.Read(p, u"S", u"k"), u"one"_s);
        QCOMPARE(ini.ParseCount(), 1);
        // Another program rewrites the file with the same size, within the same second.
        WriteBytes(p, "[S]\r\nk=two\r\n");
        QCOMPARE(ini.Read(p, u"S", u"k"), u"two"_s);
        QCOMPARE(ini.ParseCount(), 2);
        // Our own writes need no re-parse.
        QVERIFY(ini.Write(p, u"S", u"k", u"three"));
        QCOMPARE(ini.Read(p, u"S", u"k"), u"three"_s);
        QCOMPARE(ini.ParseCount(), 2);
        // A file that disappears reads as empty.
        QFile::remove(p);
        QCOMPARE(ini.Read(p, u"S", u"k"), QString());
    }

    void writesFollowTheProfileRules() {
        const QString p = Path(u"fidelity.ini"_s);
        const QByteArray before = "[S]\r\nx = 1\r\nname3\r\n";
        WriteBytes(p, before);
        struct stat st0 {};
        QCOMPARE(::stat(QFile::encodeName(p).constData(), &st0), 0);
        IniStore ini;
        // The value already there, however spelled: no write at all.
        QVERIFY(ini.Write(p, u"s", u"X", u"1"));
        QVERIFY(ini.WriteKeys(p, u" S ", {{u" x"_s, u" 1"_s}, {u"NAME3"_s, u""_s}}));
        struct stat st1 {};
        QCOMPARE(::stat(QFile::encodeName(p).constData(), &st1), 0);
        QCOMPARE(ReadBytes(p), before);
        QVERIFY(st0.st_ino == st1.st_ino && st0.st_mtim.tv_nsec == st1.st_mtim.tv_nsec &&
                st0.st_mtim.tv_sec == st1.st_mtim.tv_sec);
        // Names asked for are trimmed; a line without "=" is its key.
        QCOMPARE(ini.Read(p, u" S\t", u" x "), u"1"_s);
        QVERIFY(ini.Write(p, u"S", u"name3", u"v"));
        QVERIFY(ini.Write(p, u" S ", u" y ", u"2"));
        QCOMPARE(ReadBytes(p), QByteArray("[S]\r\nx = 1\r\nname3=v\r\ny=2\r\n"));
        QCOMPARE(ini.Keys(p, u"S").size(), 3);
    }

    // Whatever another program does to a file or the folders that lead to it, the next read
    // sees it, though repeated reads touch nothing on disk.
    void editsByOthersAreSeenAtTheNextRead() {
        struct Case {
            const char* name;
            QString asked;                           // relative to the case's folder
            QList<QPair<QString, QByteArray>> files; // before; an empty content removes
            QList<QPair<QString, QByteArray>> edits;
            const char* first;
            const char* then;
        };
        const QByteArray one = "[S]\r\nk=1\r\n", two = "[S]\r\nk=2\r\n";
        const Case cases[] = {
            {"rewritten in place", u"a.ini"_s, {{u"a.ini"_s, one}}, {{u"a.ini"_s, two}}, "1", "2"},
            {"replaced by rename", u"a.ini"_s, {{u"a.ini"_s, one}}, {{u"!a.ini"_s, two}}, "1", "2"},
            {"removed", u"a.ini"_s, {{u"a.ini"_s, one}}, {{u"a.ini"_s, {}}}, "1", ""},
            {"created", u"a.ini"_s, {}, {{u"a.ini"_s, one}}, "", "1"},
            {"created with its folder", u"d/e/a.ini"_s, {}, {{u"d/e/a.ini"_s, one}}, "", "1"},
            {"exact name beside another case",
             u"D/a.ini"_s,
             {{u"d/A.INI"_s, one}},
             {{u"D/a.ini"_s, two}},
             "1",
             "2"},
            {"other case only",
             u"D\\a.ini"_s,
             {{u"d/x.ini"_s, one}},
             {{u"d/A.INI"_s, two}},
             "",
             "2"},
        };
        int n = 0;
        for (const Case& c : cases) {
            const QString root = Path(u"edits%1/"_s.arg(++n));
            const auto apply = [&](const QList<QPair<QString, QByteArray>>& files) {
                for (const auto& [name, bytes] : files) {
                    const bool rename = name.startsWith(u'!');
                    const QString target = root + name.mid(rename ? 1 : 0);
                    QDir().mkpath(QFileInfo(target).path());
                    if (bytes.isEmpty()) {
                        QFile::remove(target);
                    } else if (rename) {
                        WriteBytes(target + u".new"_s, bytes);
                        QCOMPARE(::rename(QFile::encodeName(target + u".new"_s).constData(),
                                          QFile::encodeName(target).constData()),
                                 0);
                    } else {
                        WriteBytes(target, bytes);
                    }
                }
            };
            QDir().mkpath(root);
            apply(c.files);
            IniStore ini;
            for (int i = 0; i < 3; ++i)
                QCOMPARE(ini.Read(root + c.asked, u"S", u"k"), QString::fromLatin1(c.first));
            QVERIFY2(ini.ParseCount() <= 1, c.name);
            apply(c.edits);
            QVERIFY2(ini.Read(root + c.asked, u"S", u"k") == QString::fromLatin1(c.then), c.name);
        }
    }

    void writesAreAtomic() {
        const QString p = Path(u"atomic.ini"_s);
        IniStore ini;
        QVERIFY(ini.Write(p, u"S", u"k", u"v"));
        struct stat before {};
        QCOMPARE(::stat(QFile::encodeName(p).constData(), &before), 0);
        QVERIFY(ini.Write(p, u"S", u"k", u"w"));
        struct stat after {};
        QCOMPARE(::stat(QFile::encodeName(p).constData(), &after), 0);
        // Replaced by rename, not rewritten in place: a crash leaves one whole version.
        QVERIFY(before.st_ino != after.st_ino);
        QCOMPARE(QDir(dir_.path()).entryList({u"atomic.ini*"_s}, QDir::Files | QDir::Hidden).size(),
                 1);
        // A folder that cannot be written: the write fails and the old file stays as it was.
        const QString ro = Path(u"ro"_s);
        QVERIFY(QDir().mkpath(ro));
        const QString rp = ro + u"/r.ini"_s;
        QVERIFY(ini.Write(rp, u"S", u"k", u"old"));
        QFile::setPermissions(ro, QFile::ReadOwner | QFile::ExeOwner);
        if (::geteuid() != 0) {
            QVERIFY(!ini.Write(rp, u"S", u"k", u"new"));
            QCOMPARE(ini.Read(rp, u"S", u"k"), u"old"_s);
        }
        QFile::setPermissions(ro, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A full disk takes part of a file without an error; a folder that is a file takes nothing.
    // Either way the write reports failure and the file stays as it was, on disk and in the
    // cache.
    void failedWritesLeaveTheFileAsItWas_data() {
        QTest::addColumn<bool>("full");
        QTest::newRow("full disk") << true;
        QTest::newRow("folder is a file") << false;
    }
    void failedWritesLeaveTheFileAsItWas() {
        QFETCH(bool, full);
        const QString folder = Path(full ? u"full"_s : u"blocked"_s);
        QVERIFY(QDir().mkpath(folder));
        const QString p = folder + (full ? u"/f.ini"_s : u"/sub/f.ini"_s);
        const QByteArray before = "[S]\r\nk=old\r\n; " + QByteArray(300, 'x') + "\r\n";
        if (full)
            WriteBytes(p, before);
        else
            WriteBytes(folder + u"/sub"_s, before);
        IniStore ini;
        {
            fakes::FullDisk disk(full ? p : folder + u"/sub"_s);
            QVERIFY(!ini.Write(p, u"S", u"k", QString(200, u'n')));
            QVERIFY(!ini.WriteKeys(p, u"S", {{u"a"_s, u"1"_s}, {u"k"_s, u"new"_s}}));
        }
        QCOMPARE(ini.Read(p, u"S", u"k"), full ? u"old"_s : QString());
        QCOMPARE(ReadBytes(full ? p : folder + u"/sub"_s), before);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{full ? u"f.ini"_s : u"sub"_s});
    }

    void writtenValuesStayOnOneLine() {
        const QString p = Path(u"oneline.ini"_s);
        IniStore ini;
        QVERIFY(ini.Write(p, u"S", u"k", u"a\r\n[Evil]\r\nx=1"));
        QCOMPARE(ini.Sections(p), QStringList{u"S"_s});
        QCOMPARE(ini.Read(p, u"S", u"k"), u"a [Evil] x=1"_s);
        // Names that would not read back are refused, and the file stays as it was.
        const QByteArray before = ReadBytes(p);
        const std::pair<QStringView, QStringView> names[] = {
            {u"a]b", u"k"}, {u"S\r\n[T", u"k"}, {u"S", u"k=v"}, {u"S", u" [T]"},
            {u"S", u";c"},  {u"S", u"a\nb"},    {u"S", u"😀"}};
        for (const auto& [section, key] : names)
            QVERIFY(!ini.Write(p, section, key, u"v") &&
                    !ini.WriteKeys(p, section, {{key.toString(), u"v"_s}}));
        QCOMPARE(ReadBytes(p), before);
    }

    void sectionsCanBeReplacedInOneWrite() {
        const QString p = Path(u"replace.ini"_s);
        WriteBytes(
            p, codec::ToCp932(u"[人物]\r\nPN=2\r\n; keep me\r\n1=b\r\n2=a\r\n[Next]\r\nq=1\r\n"_s));
        IniStore ini;
        QVERIFY(ini.ReplaceSection(p, u"人物", {{u"PN"_s, u"1"_s}, {u"1"_s, u"c"_s}}));
        QCOMPARE(ReadBytes(p),
                 codec::ToCp932(u"[人物]\r\n; keep me\r\nPN=1\r\n1=c\r\n[Next]\r\nq=1\r\n"_s));
        const auto keys = ini.Keys(p, u"人物");
        QCOMPARE(keys.size(), 2);
        QCOMPARE(keys[1].second, u"c"_s);
        QVERIFY(ini.DeleteSection(p, u"next"));
        QCOMPARE(ini.Sections(p), QStringList{u"人物"_s});
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_ini_file.moc"
