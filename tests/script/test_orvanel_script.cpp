#include "platform/text_file.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {

struct Run {
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

Run RunPlayer(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(ORVANEL_BIN_DIR "/orvanel-script"), args);
    if (!p.waitForStarted()) return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    Run r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    if (r.lines.last().isEmpty()) r.lines.removeLast();
    r.errors = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Every file under `dir` with a digest of its content.
QStringList Snapshot(const QString& dir) {
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        QByteArray digest;
        if (f.open(QIODevice::ReadOnly))
            digest = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
        out << path + u' ' + QString::fromLatin1(digest);
    }
    out.sort();
    return out;
}

} // namespace

class TestOrvanelScript : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        const auto write = [&](const QString& name, const QString& text) {
            QVERIFY(WriteCp932File(folder_.filePath(name), text));
        };
        QDir().mkpath(folder_.filePath(u"TalkEngine"_s));
        write(u"tomu.ini"_s, u"[User]\nCall=はな\n[General]\nSkinFile=test.skn\n"_s);
        write(u"test.skn"_s, u"[Skin]\nSurface10=fellow.png\n"
                             "[Name]\nHSelfName=あたし\nHCallName=かなみ\nFCallName=けろ\n"_s);
        write(u"Scenario.dat"_s, u"1,おはよう\n"_s);
        write(u"Str2ID.dat"_s, u"Greeting,1\n"_s);
        QString people = u"[人物]\nPN=10\n"_s;
        for (int i = 1; i <= 10; ++i)
            people += u"%1=人%1\n"_s.arg(i);
        write(u"TalkEngine/人物.ini"_s, people);
    }

    void printsFourLines() {
        const QStringList before = Snapshot(folder_.path());
        const Run r = RunPlayer({u"--folder"_s, folder_.path(), u"--seed"_s, u"1"_s,
                                 u"\\h%usernameさん、%selfcall\\w8\\s[4]\\u%keroname\\x"
                                 "\\h%rs[Greeting]\\j[https://example.org]"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.lines, (QStringList{u"h: \"はなさん、あたしおはよう\""_s, u"u: \"けろ\""_s,
                                       u"surfaces: 5"_s, u"elapsed: 2050"_s}));
        // An address is reported, never opened.
        QVERIFY(r.errors.contains(u"SystemAction: OpenUrl https://example.org"_s));
        QCOMPARE(Snapshot(folder_.path()), before);
    }

    void readsStandardInput() {
        const Run r = RunPlayer({u"--folder"_s, folder_.path()}, "\\hA\n\"B\"\\\\\n");
        QCOMPARE(r.exitCode, 0);
        // Two backslashes are two unrecognised tags, each shown as it stands.
        QCOMPARE(r.lines, (QStringList{u"h: \"A\\r\\n\\\"B\\\"\\\\\\\\\""_s, u"u: \"\""_s,
                                       u"surfaces: "_s, u"elapsed: 450"_s}));
    }

    void seedRepeatsTheWords() {
        const QStringList args{u"--folder"_s, folder_.path(), u"--seed"_s, u"42"_s,
                               u"\\h%ms%ms%ms%ms%ms"_s};
        const Run a = RunPlayer(args);
        const Run b = RunPlayer(args);
        QCOMPARE(a.exitCode, 0);
        QCOMPARE(a.lines, b.lines);
        QVERIFY(a.lines.first().contains(u"人"_s));
        QStringList other = args;
        other[3] = u"43"_s;
        QVERIFY(RunPlayer(other).lines.first() != a.lines.first());
    }

    void defaultFolderIsOnlyRead() {
        const QString defaults = QStringLiteral(ORVANEL_DEFAULT_FOLDER);
        const QStringList before = Snapshot(defaults);
        const Run r = RunPlayer({u"\\hこんにちは%ms$learn[人物]$RSC"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.lines.size(), 4);
        QCOMPARE(r.lines.first().left(9), u"h: \"こんにちは"_s);
        QCOMPARE(Snapshot(defaults), before);
    }

    void refusesBadArguments() {
        QCOMPARE(RunPlayer({u"--seed"_s, u"abc"_s, u"x"_s}).exitCode, 2);
        QCOMPARE(RunPlayer({u"--folder"_s, folder_.filePath(u"missing"_s), u"x"_s}).exitCode, 2);
        QCOMPARE(RunPlayer({u"a"_s, u"b"_s}).exitCode, 2);
    }

private:
    QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(TestOrvanelScript)
#include "test_orvanel_script.moc"
