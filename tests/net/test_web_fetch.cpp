#include "../script/script_rig.h"
#include "loopback_http_server.h"
#include "net/web_reader.h"
#include "net/web_text.h"
#include "platform/codec.h"

#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

using Route = LoopbackHttpServer::Route;
using orvanel::FetchFailure;
using Send = Route::Send;

QByteArray Fixture(const QString& name) {
    QFile f(QStringLiteral(ORVANEL_TEST_DATA "/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Time-outs short enough for a test, long enough for a loaded machine's loopback.
constexpr FetchLimits kTestLimits{2000, 300, 4 * 1024 * 1024, 5};

// A reader with its own server; Fetch runs the event loop until the script is in, counting
// the ticks of a 10 ms timer meanwhile.
struct Reader {
    Reader() : reader(rig.ctx, kTestLimits) {
        QObject::connect(&ticker, &QTimer::timeout, [this] { ++ticks; });
    }
    std::optional<QString> Fetch(const QUrl& url, bool convert = true,
                                 const QString& start = u"<li>"_s,
                                 const QString& end = u"</li>"_s) {
        std::optional<QString> script;
        progress.clear();
        ticks = 0;
        ticker.start(10);
        reader.FetchPagePart(
            {u"test"_s, url.toString(), start, end, convert},
            [this](const QString& text) { progress << text; },
            [&script](const QString& s) { script = s; });
        const bool in = QTest::qWaitFor([&] { return script.has_value(); }, 20000);
        ticker.stop();
        return in ? script : std::nullopt;
    }

    // The download alone, as the reader's HttpGet ends it.
    std::optional<FetchResult> Get(const QUrl& url) {
        std::optional<FetchResult> result;
        reader.Http().Get(url, {}, [&result](const FetchResult& r) { result = r; });
        if (!QTest::qWaitFor([&] { return result.has_value(); }, 20000)) return std::nullopt;
        return result;
    }

    ScriptRig rig;
    LoopbackHttpServer server;
    WebReader reader;
    QStringList progress;
    QTimer ticker;
    int ticks = 0;
};

} // namespace

class TestWebFetch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each encoding over the wire, declared by the header, by the page, or not at all.
    void pagesInEachEncoding_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("prefix");
        QTest::newRow("EUC-JP, header") << u"euc-jp"_s << QByteArray("EUC-JP") << QByteArray();
        QTest::newRow("ISO-2022-JP, guessed") << u"iso-2022-jp"_s << QByteArray() << QByteArray();
        QTest::newRow("UTF-8, guessed") << u"utf-8"_s << QByteArray() << QByteArray();
        QTest::newRow("Shift_JIS, meta")
            << u"shift_jis"_s << QByteArray()
            << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                          "charset=Shift_JIS\">");
    }
    void pagesInEachEncoding() {
        QFETCH(QString, file);
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, prefix);
        Reader r;
        Route route;
        route.body = prefix + Fixture(u"page-headlines-"_s + file + u".html"_s);
        if (!header.isEmpty())
            route.headers = "Content-Type: text/html; charset=" + header + "\r\n";
        r.server.Add("/news", route);
        const auto script = r.Fetch(r.server.Url(u"/news"_s));
        QVERIFY(script);
        const QStringList parts = script->split(kPartSeparator.toString());
        QCOMPARE(parts.size(), 8);
        QCOMPARE(parts.first(),
                 u"東京都心で今年初めての真夏日、\\w5各地で気温が上がりました。\\w8"_s);
        QCOMPARE(parts.last(), u"研究チームが新しい電池の材料を開発したと発表しました。\\w8"_s);
    }

    // A record without "convert" is read as CP932 whatever the server says.
    void withoutConvertThePageIsCp932() {
        Reader r;
        r.server.Add("/sjis", {"200 OK", "Content-Type: text/html; charset=UTF-8\r\n",
                               Fixture(u"page-headlines-shift_jis.html"_s)});
        r.server.Add("/utf8", {"200 OK", {}, Fixture(u"page-headlines-utf-8.html"_s)});
        QVERIFY(r.Fetch(r.server.Url(u"/sjis"_s), false)->startsWith(u"東京都心で"_s));
        const auto misread = r.Fetch(r.server.Url(u"/utf8"_s), false);
        QVERIFY(misread && !misread->isEmpty() && !misread->contains(u"東京"_s));
    }

    // What the server hears, and what the balloon is told, for a page that comes whole.
    void requestAndProgress() {
        Reader r;
        r.server.Add("/a", {"200 OK", {}, "<li>A</li>"});
        QCOMPARE(r.Fetch(r.server.Url(u"/a"_s)), u"A"_s);
        QCOMPARE(r.server.requests.size(), 1);
        const QByteArray head = r.server.requests.first();
        QVERIFY(head.startsWith("GET /a HTTP/1.1"));
        QVERIFY(head.contains("User-Agent: TOMU HTTP Module\r\n"));
        QVERIFY(head.contains("Cache-Control: no-cache"));
        QCOMPARE(r.progress, (QStringList{u"データを受信しています・・・"_s,
                                          u"データ受信中 - 10bytes"_s, u"データ取得完了"_s}));
    }

    // Every way a download can fail gives the empty script; the event loop runs throughout.
    void failuresGiveAnEmptyScript_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<FetchFailure>("failure");
        QTest::newRow("404") << u"/missing"_s << FetchFailure::Address;
        QTest::newRow("500 with the markers") << u"/error"_s << FetchFailure::Address;
        QTest::newRow("redirect loop") << u"/loop1"_s << FetchFailure::Address;
        QTest::newRow("six redirects") << u"/r6"_s << FetchFailure::Address;
        QTest::newRow("not a web address") << u"file:///etc/hostname"_s << FetchFailure::Address;
        QTest::newRow("server silent mid-page") << u"/slow"_s << FetchFailure::Transfer;
        QTest::newRow("server closes mid-page") << u"/cut"_s << FetchFailure::Transfer;
        QTest::newRow("redirect to a silent server") << u"/toslow"_s << FetchFailure::Transfer;
        QTest::newRow("10 MiB announced") << u"/big"_s << FetchFailure::Transfer;
        QTest::newRow("10 MiB chunked") << u"/bigchunked"_s << FetchFailure::Transfer;
    }
    void failuresGiveAnEmptyScript() {
        QFETCH(QString, path);
        QFETCH(FetchFailure, failure);
        Reader r;
        const QByteArray page = "<li>A</li>" + QByteArray(2000, ' ');
        r.server.Add("/slow", {"200 OK", {}, page, Send::StallAfter, 1000});
        r.server.Add("/cut", {"200 OK", {}, page, Send::CloseAfter, 1000});
        r.server.Redirect("/toslow", "/slow");
        r.server.Redirect("/loop1", "/loop2");
        r.server.Redirect("/loop2", "/loop1");
        for (int i = 1; i <= 6; ++i)
            r.server.Redirect("/r" + QByteArray::number(i), "/r" + QByteArray::number(i - 1));
        r.server.Add("/r0", {"200 OK", {}, "<li>A</li>"});
        const QByteArray big = "<li>A</li>" + QByteArray(10 * 1024 * 1024, 'x');
        r.server.Add("/big", {"200 OK", {}, big});
        r.server.Add("/bigchunked", {"200 OK", {}, big, Send::Chunked});
        r.server.Add("/error", {"500 Internal Server Error", {}, "<li>A</li>"});
        const QUrl url = path.startsWith(u'/') ? r.server.Url(path) : QUrl(path);

        const auto result = r.Get(url);
        QVERIFY(result);
        QCOMPARE(result->failure, failure);
        QVERIFY(result->body.isEmpty());
        QCOMPARE(r.Fetch(url), QString());
        QVERIFY(!r.progress.contains(u"データ取得完了"_s));
        if (path == u"/slow") QVERIFY2(r.ticks >= 5, qPrintable(QString::number(r.ticks)));
    }

    // Five redirects are followed; chunked pages below the cap arrive whole.
    void goodPagesAfterRedirectsAndChunks() {
        Reader r;
        for (int i = 1; i <= 5; ++i)
            r.server.Redirect("/r" + QByteArray::number(i), "/r" + QByteArray::number(i - 1));
        r.server.Add("/r0", {"200 OK", {}, "<li>A</li>"});
        QCOMPARE(r.Fetch(r.server.Url(u"/r5"_s)), u"A"_s);
        const QByteArray page = QByteArray(3 * 1024 * 1024, ' ') + "<li>B</li>";
        r.server.Add("/chunked", {"200 OK", {}, page, Send::Chunked});
        QCOMPARE(r.Fetch(r.server.Url(u"/chunked"_s)), u"B"_s);
        QCOMPARE(r.progress.last(), u"データ取得完了"_s);
        QCOMPARE(r.progress.at(r.progress.size() - 2),
                 u"データ受信中 - %1bytes"_s.arg(page.size()));
    }

    void noServerMeansNoConnection() {
        Reader r;
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const quint16 port = closed.serverPort();
        closed.close();
        QCOMPARE(r.Fetch(QUrl(u"http://127.0.0.1:%1/"_s.arg(port))),
                 WebReader::NoConnectionScript());
    }

    // A new request abandons the one in progress: only the newer one answers.
    void aNewRequestAbandonsTheOld() {
        Reader r;
        r.server.Add("/slow",
                     {"200 OK", {}, "<li>A</li>" + QByteArray(100, ' '), Send::StallAfter, 5});
        r.server.Add("/b", {"200 OK", {}, "<li>B</li>"});
        QStringList answers;
        r.reader.FetchPagePart(
            {u"a"_s, r.server.Url(u"/slow"_s).toString(), u"<li>"_s, u"</li>"_s, false}, {},
            [&](const QString& s) { answers << s; });
        QVERIFY(QTest::qWaitFor([&] { return !r.server.requests.isEmpty(); }, 5000));
        r.reader.FetchPagePart(
            {u"b"_s, r.server.Url(u"/b"_s).toString(), u"<li>"_s, u"</li>"_s, false}, {},
            [&](const QString& s) { answers << s; });
        QVERIFY(QTest::qWaitFor([&] { return !answers.isEmpty(); }, 5000));
        QTest::qWait(2 * kTestLimits.receiveMs);
        QCOMPARE(answers, QStringList{u"B"_s});
    }
};

QTEST_GUILESS_MAIN(TestWebFetch)
#include "test_web_fetch.moc"
