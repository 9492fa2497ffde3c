#include "platform/text_file.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
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
    Run r{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
          QString::fromUtf8(p.readAllStandardError())};
    return r;
}

// Every file under `dir` with a digest of its content.
QStringList Snapshot(const QString& dir) {
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            out << f.fileName() + u' ' + QString::fromLatin1(f.readAll().toBase64());
    }
    out.sort();
    return out;
}

} // namespace

class TestOrvanelScript : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        const auto write = [&](const QString& name, const QString& text) {
            QVERIFY(WriteCp932File(folder_.filePath(name), text));
        };
        QDir().mkpath(folder_.filePath(u"TalkEngine"_s));
        write(u"tomu.ini"_s, u"[User]\nCall=はな\n[General]\nSkinFile=test.skn\n"_s);
        write(u"test.skn"_s, u"[Skin]\nSurface10=fellow.png\n"
                             "[Name]\nHSelfName=あたし\nHCallName=かなみ\nFCallName=けろ\n"_s);
        write(u"Scenario.dat"_s, u"1,おはよう\n"_s);
        write(u"Str2ID.dat"_s, u"Greeting,1\n"_s);
        write(u"TalkEngine/人物.ini"_s, u"[人物]\nPN=2\n1=人1\n2=人2\n"_s);
    }

    void printsFourLines() {
        const QStringList before = Snapshot(folder_.path());
        const Run r =
            RunPlayer({u"--folder"_s, folder_.path(), u"--seed"_s, u"1"_s,
                       u"\\h%usernameさ$RSCん$learn[人物]、%selfcall\\w8\\s[4]\\u%keroname\\x"
                       "\\h%rs[Greeting]\\j[https://example.org]"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.lines, (QStringList{u"h: \"はなさん、あたしおはよう\""_s, u"u: \"けろ\""_s,
                                       u"surfaces: 5"_s, u"elapsed: 2050"_s}));
        // An address is reported, never opened; the folder is only read.
        QVERIFY(r.errors.contains(u"SystemAction: OpenUrl https://example.org"_s));
        QCOMPARE(Snapshot(folder_.path()), before);
    }

    void readsStandardInputFromTheDefaultFolder() {
        const Run r = RunPlayer({}, "\\hA\n\"B\"\\\\\n");
        QCOMPARE(r.exitCode, 0);
        // Two backslashes are two unrecognised tags, each shown as it stands.
        QCOMPARE(r.lines, (QStringList{u"h: \"A\\r\\n\\\"B\\\"\\\\\\\\\""_s, u"u: \"\""_s,
                                       u"surfaces: "_s, u"elapsed: 450"_s}));
    }

    // --talk N: N generated talks on the default folder's words, each said in full.
    void talksOnTheDefaultFolder() {
        const Run r = RunPlayer({u"--seed"_s, u"11"_s, u"--talk"_s, u"40"_s});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.lines.filter(QRegularExpression(u"^h: \".+\"$"_s)).size(), 40);
        QCOMPARE(r.lines.filter(u"elapsed: "_s).size(), 40);
        // No tag or variable reaches a balloon, whichever words the talks drew.
        static const QRegularExpression leftover(u"\\\\[a-z_]|%[a-z]"_s);
        for (const QString& line : r.lines.filter(QRegularExpression(u"^[hu]: "_s))) {
            const QString shown =
                QJsonDocument::fromJson(u'[' + line.mid(3).toUtf8() + u']').array()[0].toString();
            QVERIFY2(!leftover.match(shown).hasMatch(), qPrintable(shown));
        }
    }

    void refusesBadArguments() {
        QCOMPARE(RunPlayer({u"--talk"_s, u"many"_s}).exitCode, 2);
        QCOMPARE(RunPlayer({u"--seed"_s, u"abc"_s, u"x"_s}).exitCode, 2);
        QCOMPARE(RunPlayer({u"--folder"_s, folder_.filePath(u"missing"_s), u"x"_s}).exitCode, 2);
        QCOMPARE(RunPlayer({u"a"_s, u"b"_s}).exitCode, 2);
    }

private:
    QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(TestOrvanelScript)
#include "test_orvanel_script.moc"
