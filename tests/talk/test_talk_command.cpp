// orvanel-script --talk N: generated talks played through the real player on the default
// program folder, read as the user would see them.
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString JsonText(const QString& line, const QString& prefix) {
    if (!line.startsWith(prefix)) return u"(no "_s + prefix + u")"_s;
    const QJsonDocument doc =
        QJsonDocument::fromJson(u'[' + line.mid(prefix.size()).toUtf8() + u']');
    return doc.array().at(0).toString(u"(not a string)"_s);
}

} // namespace

class TestTalkCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void talksReadAsTheUserSeesThem() {
        QProcess p;
        p.start(QStringLiteral(ORVANEL_BIN_DIR "/orvanel-script"),
                {u"--folder"_s, QStringLiteral(ORVANEL_DEFAULT_FOLDER), u"--seed"_s, u"11"_s,
                 u"--talk"_s, u"60"_s});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
        QCOMPARE(lines.size(), 60 * 5 + 1);
        // Variables and tags never reach the balloon.
        const QRegularExpression leftover(u"%(ms|vs|gd|ev|en|username|selfcall)|\\\\[hunwsce]"_s);
        int spoken = 0;
        for (int t = 0; t < 60; ++t) {
            const QString h = JsonText(lines[t * 5], u"h: "_s);
            const QString u = JsonText(lines[t * 5 + 1], u"u: "_s);
            QVERIFY2(lines[t * 5 + 2].startsWith(u"surfaces:"_s), qPrintable(lines[t * 5 + 2]));
            QVERIFY2(lines[t * 5 + 3].startsWith(u"elapsed: "_s), qPrintable(lines[t * 5 + 3]));
            QCOMPARE(lines[t * 5 + 4], QString());
            QVERIFY2(!leftover.match(h).hasMatch(), qPrintable(h));
            QVERIFY2(!leftover.match(u).hasMatch(), qPrintable(u));
            if (!h.trimmed().isEmpty()) ++spoken;
        }
        QCOMPARE(spoken, 60);
    }

    void refusesABadCount() {
        QProcess p;
        p.start(QStringLiteral(ORVANEL_BIN_DIR "/orvanel-script"),
                {u"--folder"_s, QStringLiteral(ORVANEL_DEFAULT_FOLDER), u"--talk"_s, u"many"_s});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestTalkCommand)
#include "test_talk_command.moc"
