#include "../fakes/full_disk.h"
#include "core/settings.h"
#include "platform/codec.h"
#include "platform/ini_file.h"
#include "platform/random.h"
#include "platform/text_file.h"
#include "talk/dictionary.h"
#include "talk/word_decoration.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program folder of its own, or `shared` when given.
struct Folder {
    explicit Folder(const QString& shared = {})
        : settings(ini, shared.isEmpty() ? dir.path() : shared) {}
    QTemporaryDir dir;
    IniStore ini;
    Settings settings;
    ScriptedRandom random{{}, 5};
    Dictionary dictionary{settings, random};
    WordDecorator words{dictionary, random};

    QString TalkFile(const QString& category) {
        return dir.filePath(u"TalkEngine/"_s + category + u".ini"_s);
    }
    // A category file as the original platform would have written it.
    void Category(const QString& category, const QStringList& words) {
        QString text = u"["_s + category + u"]\nPN="_s + QString::number(words.size()) + u'\n';
        for (int i = 0; i < words.size(); ++i)
            text += u"%1=%2\n"_s.arg(i + 1).arg(words[i]);
        QDir().mkpath(dir.filePath(u"TalkEngine"_s));
        QVERIFY(WriteCp932File(TalkFile(category), text));
    }
};

} // namespace

class TestDictionary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gapInTheNumberingReadsEmpty() {
        Folder f;
        QDir().mkpath(f.dir.filePath(u"TalkEngine"_s));
        QVERIFY(
            QFile::copy(QStringLiteral(ORVANEL_TEST_DATA) + u"/dictionary-pn3-keys-1-and-3.ini"_s,
                        f.TalkFile(u"人物"_s)));
        QCOMPARE(f.dictionary.WordCount(u"人物"_s), 3);
        f.random.Push({0.0, 0.4, 0.9});
        QCOMPARE(f.dictionary.GetRandomWord(u"人物"_s), u"山田さん"_s);
        QCOMPARE(f.dictionary.GetRandomWord(u"人物"_s), QString());
        QCOMPARE(f.dictionary.GetRandomWord(u"人物"_s), u"ＡＢＣ～"_s);
    }

    void emptyCategories_data() {
        QTest::addColumn<QString>("content"); // null: no file at all
        QTest::addColumn<QString>("word");
        QTest::newRow("missing file") << QString() << QString();
        QTest::newRow("PN 0") << u"[天気]\nPN=0\n"_s << QString();
        // An empty category reads key "1", which only an inconsistent file has.
        QTest::newRow("PN 0, key 1") << u"[天気]\nPN=0\n1=stale\n"_s << u"stale"_s;
        QTest::newRow("PN not a number") << u"[天気]\nPN=many\n1=stale\n"_s << u"stale"_s;
    }
    void emptyCategories() {
        QFETCH(QString, content);
        QFETCH(QString, word);
        Folder f;
        if (!content.isNull()) {
            QDir().mkpath(f.dir.filePath(u"TalkEngine"_s));
            QVERIFY(WriteCp932File(f.TalkFile(u"天気"_s), content));
        }
        QCOMPARE(f.dictionary.WordCount(u"天気"_s), 0);
        QCOMPARE(f.dictionary.GetRandomWord(u"天気"_s), word);
        QCOMPARE(f.words.GetWord(u"天気"_s), word);
    }

    // Names are looked up exactly; the greetings ask for nothing in the registration window.
    void categories() {
        for (int i = 0; i < kCategoryCount; ++i) {
            QCOMPARE(CategoryIndex(CategoryName(i)), i);
            QCOMPARE(CategoryPrompt(i).isEmpty(), CategoryName(i).startsWith(u"挨拶"_s));
        }
        QCOMPARE(CategoryName(kCategoryCount), QString());
        QCOMPARE(CategoryIndex(u"形容詞"_s), -1);
    }

    void appendKeepsTheOriginalLayoutAndStaysCp932() {
        Folder f;
        QVERIFY(f.dictionary.AppendWord(u"動詞(単純)"_s, u"散歩"_s));
        QVERIFY(f.dictionary.AppendWord(u"動詞(単純)"_s, u"波～"_s));
        QCOMPARE(Bytes(f.TalkFile(u"動詞(単純)"_s)),
                 codec::ToCp932(u"[動詞(単純)]\r\nPN=2\r\n1=散歩\r\n2=波～\r\n"_s));
        QCOMPARE(f.dictionary.ReadTalk(u"動詞(単純)"_s, 2), u"波～"_s);
        QVERIFY(f.dictionary.WriteTalk(u"動詞(単純)"_s, u"1"_s, std::nullopt));
        QCOMPARE(f.dictionary.ReadTalk(u"動詞(単純)"_s, 1), QString());
        QCOMPARE(f.dictionary.WordCount(u"動詞(単純)"_s), 2);
    }

    // The count and the word go to the file together: a refused write leaves "PN" and the
    // keys as they were, with no gap, and the next append fills the next key.
    void appendOnAFullDiskLeavesNoGap() {
        Folder f;
        f.Category(u"人物"_s, {u"山田"_s, u"鈴木"_s});
        {
            fakes::FullDisk disk(f.TalkFile(u"人物"_s));
            QVERIFY(!f.dictionary.AppendWord(u"人物"_s, u"佐藤"_s));
        }
        QCOMPARE(f.dictionary.WordCount(u"人物"_s), 2);
        QCOMPARE(f.dictionary.ReadTalk(u"人物"_s, 3), QString());
        QVERIFY(f.dictionary.AppendWord(u"人物"_s, u"田中"_s));
        QCOMPARE(f.dictionary.WordCount(u"人物"_s), 3);
        QCOMPARE(f.dictionary.ReadTalk(u"人物"_s, 3), u"田中"_s);
    }

    // kill -9 at any moment of learning: after the start's clean-up of interrupted writes,
    // "PN" always matches the keys, every acknowledged word is there and nothing is left over.
    void killedWhileAppendingLeavesNoGap() {
        Folder f;
        const QString folder = f.dir.filePath(u"TalkEngine"_s), category = u"人物"_s;
        std::mt19937 gen(7);
        QStringList acknowledged;
        for (int round = 0; round < 40; ++round) {
            int fds[2];
            QVERIFY(::pipe(fds) == 0);
            const pid_t child = ::fork();
            if (child == 0) { // appends until killed, telling each stored word
                IniStore ini;
                const Settings settings(ini, f.dir.path());
                const Dictionary dictionary(settings, f.random);
                for (int i = 0;; ++i) {
                    const QByteArray word = QByteArray::number(round * 100000 + i);
                    if (!dictionary.AppendWord(category, QString::fromLatin1(word)) ||
                        ::write(fds[1], word + '\n', size_t(word.size() + 1)) < 0)
                        ::_exit(1);
                }
            }
            ::close(fds[1]);
            ::usleep(useconds_t(2000 + gen() % 60000));
            ::kill(child, SIGKILL);
            QCOMPARE(::waitpid(child, nullptr, 0), child);
            QFile pipe;
            QVERIFY(pipe.open(fds[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
            acknowledged += QString::fromLatin1(pipe.readAll()).split(u'\n', Qt::SkipEmptyParts);

            (void)RemoveInterruptedWrites(folder, {u"*.ini"_s});
            const QStringList files = QDir(folder).entryList(QDir::Files);
            QVERIFY(files.isEmpty() || files == QStringList{category + u".ini"_s});
            const qint32 n = f.dictionary.WordCount(category);
            QCOMPARE(f.ini.Keys(f.TalkFile(category), category).size(), n + 1); // "PN", 1..n
            QSet<QString> words;
            for (qint32 i = 1; i <= n; ++i)
                words << f.dictionary.ReadTalk(category, i);
            QVERIFY(!words.contains(QString()));
            for (const QString& w : std::as_const(acknowledged))
                QVERIFY2(words.contains(w), qPrintable(w));
        }
        qInfo("40 kills, %lld words acknowledged", qint64(acknowledged.size()));
    }

    void longWordsAreCutTo254Bytes() {
        Folder f;
        const QString fits(127, u'あ');
        QVERIFY(f.dictionary.AppendWord(u"格言"_s, fits));
        QVERIFY(f.dictionary.AppendWord(u"格言"_s, fits + u"い"_s));
        QCOMPARE(f.dictionary.ReadTalk(u"格言"_s, 1), fits);
        QCOMPARE(f.dictionary.ReadTalk(u"格言"_s, 2), fits);
    }

    void totalWordCount() {
        Folder f;
        QCOMPARE(f.dictionary.TotalWordCount(), 0);
        f.Category(u"日時(現在)"_s, {u"今"_s});
        f.Category(u"挨拶(深夜)"_s, {u"a"_s, u"b"_s, u"c"_s});
        f.Category(u"形容詞"_s, {u"not a category"_s});
        QCOMPARE(f.dictionary.TotalWordCount(), 4);
    }

    void categoryNamesNeverLeaveTheFolder() {
        Folder f;
        for (const QString& bad : {u"../../evil"_s, u"a/b"_s, u"..\\x"_s, u""_s}) {
            QCOMPARE(f.dictionary.FilePath(bad), QString());
            QVERIFY(!f.dictionary.AppendWord(bad, u"w"_s));
            QCOMPARE(f.dictionary.ReadTalk(bad, u"PN"_s), QString());
        }
        QVERIFY(!QFile::exists(f.dir.filePath(u"evil.ini"_s)));
        QDir root(f.dir.path());
        QCOMPARE(root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void folderNameInAnyCase() {
        Folder f;
        QDir().mkpath(f.dir.filePath(u"talkengine"_s));
        QVERIFY(WriteCp932File(f.dir.filePath(u"talkengine/体.ini"_s), u"[体]\nPN=1\n1=手\n"_s));
        QCOMPARE(f.dictionary.ReadTalk(u"体"_s, 1), u"手"_s);
    }

    void initTestCase() {
        QDir().mkpath(named_.filePath(u"TalkEngine"_s));
        for (int i = 0; i < kCategoryCount; ++i) {
            const QString c = CategoryName(i);
            QVERIFY(WriteCp932File(named_.filePath(u"TalkEngine/"_s + c + u".ini"_s),
                                   u"["_s + c + u"]\nPN=1\n1=【"_s + c + u"】\n"_s));
        }
    }

    // Each row: the category, the draws in the order they are made (the rule first, then one
    // per word or number of the rule), and the phrase.
    void rules_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QList<double>>("draws");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("副詞") << u"副詞"_s << QList<double>{0.7, 0.0} << u"【形容詞1】そうに"_s;
        QTest::newRow("人物 17 of 17")
            << u"人物"_s << QList<double>{0.999, 0, 0} << u"【キャラ】マニアの【人物】"_s;
        QTest::newRow("格言 2 of 6, キャラ plain")
            << u"格言"_s << QList<double>{1.5 / 6, 0, 0, 0, 0.5, 0, 0}
            << u"【商品】と【商品】は【形容詞2】【キャラ】【文末(格名)】"_s;
        QTest::newRow("商品 3 of 7, N")
            << u"商品"_s << QList<double>{2.5 / 7, 0.99, 0} << u"果汁8％【飲み物】"_s;
        QTest::newRow("食べ物 3 of 4, N")
            << u"食べ物"_s << QList<double>{2.5 / 4, 0.0, 0} << u"果汁1％【飲み物】"_s;
        QTest::newRow("形容詞2 has none") << u"形容詞2"_s << QList<double>{} << QString();
    }
    void rules() {
        QFETCH(QString, category);
        QFETCH(QList<double>, draws);
        Folder w(named_.path());
        for (double r : draws)
            w.random.Push(r);
        QTEST(w.words.DecorateWord(category), "phrase");
        QCOMPARE(w.random.Remaining(), 0); // each part drew exactly once
    }

    void getWordDecoratesFifteenPercent_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("word");
        QTest::newRow("副詞 at 0.15") << u"副詞"_s << 0.15 << u"【形容詞1】そうに"_s;
        QTest::newRow("副詞 above 0.15") << u"副詞"_s << 0.1501 << u"【副詞】"_s;
        QTest::newRow("天気 never") << u"天気"_s << 0.0 << u"【天気】"_s;
    }
    void getWordDecoratesFifteenPercent() {
        QFETCH(QString, category);
        QFETCH(double, r);
        Folder w(named_.path());
        w.random.Push(r);
        QTEST(w.words.GetWord(category), "word");
    }

    void emptyPartsShrinkToTheFixedText() {
        Folder f;
        f.random.Push({0.0, 0.0});
        QCOMPARE(f.words.GetWord(u"会社"_s), u"裏"_s);
    }

private:
    // Every category holds one word, its own name in brackets, so a phrase shows which
    // categories it was built from.
    QTemporaryDir named_;
};

QTEST_GUILESS_MAIN(TestDictionary)
#include "test_dictionary.moc"
