#include "../script/script_rig.h"
#include "net/page_charset.h"
#include "net/web_services.h"
#include "net/web_text.h"

#include <QFile>
#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

QByteArray Fixture(const QString& name) {
    QFile f(QStringLiteral(ORVANEL_TEST_DATA "/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestWebText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void extractBetween_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("part");
        QTest::newRow("first of several")
            << u"<b>A</b><b>B</b>"_s << u"<b>"_s << u"</b>"_s << u"A"_s;
        QTest::newRow("any case") << u"<TITLE>x</Title>"_s << u"<title>"_s << u"</TITLE>"_s
                                  << u"x"_s;
        QTest::newRow("no start") << u"<i>A</b>"_s << u"<b>"_s << u"</b>"_s << QString();
        QTest::newRow("no end") << u"<b>A"_s << u"<b>"_s << u"</b>"_s << QString();
        QTest::newRow("end only before start")
            << u"</b> <b>A"_s << u"<b>"_s << u"</b>"_s << QString();
        QTest::newRow("start at the very end") << u"A<b>"_s << u"<b>"_s << u"</b>"_s << QString();
        QTest::newRow("empty start") << u"A</b>B</b>"_s << QString() << u"</b>"_s << u"A"_s;
    }
    void extractBetween() {
        QFETCH(QString, text);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, part);
        QCOMPARE(ExtractBetween(text, start, end), part);
    }

    void htmlToScript_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("script");
        QTest::newRow("br in any case, hr") << u"a<br>b<BR>c<Hr>d"_s << u"a\\nb\\nc\\nd"_s;
        QTest::newRow("br with a slash is only a tag") << u"a<br/>b"_s << u"ab"_s;
        QTest::newRow("comment inside a line") << u"a<!-- x <b>y</b> -->b"_s << u"ab"_s;
        QTest::newRow("tags go, their text stays")
            << u"<b>太字</b>と<a href=x>リンク</a>"_s << u"太字とリンク"_s;
        QTest::newRow("line ends go") << u"a\r\nb\nc\rd"_s << u"abcd"_s;
        QTest::newRow("nested comment") << u"a<!-- 1 <!-- 2 -->b-->c"_s << u"ab-->c"_s;
        QTest::newRow("comment formed by a removal") << u"<!<!-- x -->-- y -->z"_s << u"z"_s;
        QTest::newRow("comment does not close itself") << u"a<!-->b-->c"_s << u"ac"_s;
        QTest::newRow("unterminated comment") << u"a<!-- never closed <b>"_s << u"a"_s;
        QTest::newRow("unterminated tag") << u"a<b"_s << u"a"_s;
        QTest::newRow("stray closing bracket stays") << u"a > b"_s << u"a > b"_s;
        QTest::newRow("1 MB without >") << u"x<"_s + QString(1 << 20, u'a') << u"x"_s;
        QTest::newRow("1 MB of <") << QString(1 << 20, u'<') << QString();
        QTest::newRow("many tags") << u"<b>a</b>"_s.repeated(200000) << QString(200000, u'a');
        QTest::newRow("many comments") << u"<!--x-->a"_s.repeated(200000) << QString(200000, u'a');
    }
    void htmlToScript() {
        QFETCH(QString, html);
        QFETCH(QString, script);
        QCOMPARE(HtmlToScript(html), script);
    }

    void addSpeechWaits_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("script");
        QTest::newRow("full stop") << u"はい。"_s << u"はい。\\w8"_s;
        QTest::newRow("comma") << u"あ、い"_s << u"あ、\\w5い"_s;
        QTest::newRow("full stop before closing quote waits once")
            << u"「はい。」次"_s << u"「はい。」\\w8次"_s;
        QTest::newRow("closing quote alone") << u"「はい」"_s << u"「はい」\\w8"_s;
        QTest::newRow("parentheses") << u"a(b)c"_s << u"a\\w5(b)\\w5c"_s;
        QTest::newRow("lenticular bracket") << u"【速報】本文"_s << u"【速報】\\w8\\w8\\n本文"_s;
    }
    void addSpeechWaits() {
        QFETCH(QString, text);
        QFETCH(QString, script);
        QCOMPARE(AddSpeechWaits(text), script);
    }

    void urlEncode_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ansi");
        QTest::addColumn<QString>("utf8");
        QTest::newRow("blank") << u"a b"_s << u"a+b"_s << u"a+b"_s;
        QTest::newRow("slash") << u"/"_s << u"%2F"_s << u"%2F"_s;
        QTest::newRow("tab has a leading zero") << u"\t"_s << u"%09"_s << u"%09"_s;
        QTest::newRow("hiragana a") << u"あ"_s << u"%82%A0"_s << u"%E3%81%82"_s;
        QTest::newRow("half-width katakana") << u"ｱ"_s << u"%B1"_s << u"%EF%BD%B1"_s;
        QTest::newRow("kept as they are") << u"@Az09*-._"_s << u"@Az09*-._"_s << u"@Az09*-._"_s;
        QTest::newRow("query characters") << u"&=+%"_s << u"%26%3D%2B%25"_s << u"%26%3D%2B%25"_s;
        QTest::newRow("empty") << QString() << QString() << QString();
    }
    void urlEncode() {
        QFETCH(QString, text);
        QFETCH(QString, ansi);
        QFETCH(QString, utf8);
        QCOMPARE(UrlEncodeAnsi(text), ansi);
        QCOMPARE(UrlEncodeUtf8(text), utf8);
    }

    // What a page's parts become: literal text with the reader's own pauses and breaks.
    void pagePartScript_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("script");
        const QString sep = kPartSeparator.toString();
        QTest::newRow("script characters are shown")
            << u"<p>\\j[http://x] %ms $learn[格言] 100%<br>\\w9</p>"_s << u"<p>"_s << u"</p>"_s
            << u"＼j[http://x] ％ms ＄learn[格言] 100％\\n＼w9"_s;
        QTest::newRow("every item of a feed")
            << u"<title>Feed</title><item><title>A</title><link>u</link></item>"
               "<item>\n<title>B。</title></item>"_s
            << u"<item>"_s << u"</title>"_s << u"A"_s + sep + u"B。\\w8"_s;
        QTest::newRow("cdata opened") << u"<item><title><![CDATA[A < B]]></title>"_s << u"<item>"_s
                                      << u"</title>"_s << u"A "_s;
        QTest::newRow("references")
            << u"<p>AT&amp;T &lt;b&gt; &#92;n &#x24;x &#37; &bogus; &#0;&#12354;</p>"_s << u"<p>"_s
            << u"</p>"_s << u"AT&T <b> ＼n ＄x ％ &bogus; あ"_s;
        QTest::newRow("empty parts are skipped")
            << u"<li></li><li><b></b></li><li>A</li>"_s << u"<li>"_s << u"</li>"_s << u"A"_s;
        QTest::newRow("markers absent")
            << u"<html>nothing</html>"_s << u"<li>"_s << u"</li>"_s << QString();
        QTest::newRow("at most ten parts")
            << u"<li>x</li>"_s.repeated(25) << u"<li>"_s << u"</li>"_s
            << QStringList(kMaxPageParts, u"x"_s).join(sep);
    }
    void pagePartScript() {
        QFETCH(QString, page);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, script);
        QCOMPARE(PagePartScript(page, start, end), script);
    }

    // The bundled sources' markers read every headline of an RSS 2.0 feed, and nothing else.
    void defaultSourcesReadEveryHeadline() {
        const QString feed =
            u"<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>局</title>"
            "<link>https://example.com/</link><image><title>局</title><url>u</url></image>"
            "<item>\n<title>一つ目。</title>\n<link>https://example.com/1</link><pubDate>Mon, 01 "
            "Jan 2024 09:00:00 +0900</pubDate><description>本文</description></item>"
            "<item><title>二つ目</title><link>https://example.com/2</link></item>"
            "<item><title>三つ目</title><description>本文</description></item>"
            "</channel></rss>"_s;
        const QList<Headline> sources =
            LoadHeadlines(QStringLiteral(ORVANEL_DEFAULT_FOLDER "/HeadLine.dat"));
        QVERIFY(sources.size() > 1);
        for (const Headline& h : sources.mid(1)) {
            QVERIFY2(h.convert, qPrintable(h.name)); // today's feeds are UTF-8
            QCOMPARE(
                PagePartScript(feed, h.startMarker, h.endMarker),
                QStringList({u"一つ目。\\w8"_s, u"二つ目"_s, u"三つ目"_s}).join(kPartSeparator));
        }
    }

    void charsetDeclarations_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("declared");
        QTest::newRow("meta charset")
            << QByteArray("<html><head><meta charset=\"euc-jp\">") << QByteArray("euc-jp");
        QTest::newRow("meta http-equiv")
            << QByteArray("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                          "charset=Shift_JIS\">")
            << QByteArray("Shift_JIS");
        QTest::newRow("xml declaration")
            << QByteArray("<?xml version=\"1.0\" encoding='ISO-2022-JP'?><rss>")
            << QByteArray("ISO-2022-JP");
        QTest::newRow("charset outside a meta tag")
            << QByteArray("<p>charset=EUC-JP</p><meta name=x>") << QByteArray();
        QTest::newRow("none") << QByteArray("<html><body>") << QByteArray();
    }
    void charsetDeclarations() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, declared);
        QCOMPARE(DeclaredCharset(bytes), declared);
        QCOMPARE(CharsetOfContentType("text/html; charset=" + declared), declared);
    }

    // Each encoding read without a declaration (uchardet), declared by the page, and declared
    // by a header that outranks a wrong declaration in the page.
    void japanesePagesDecode_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("charset");
        for (const char* e : {"euc-jp", "iso-2022-jp", "shift_jis", "utf-8"})
            QTest::newRow(e) << u"page-headlines-%1.html"_s.arg(QLatin1StringView(e))
                             << QByteArray(e);
    }
    void japanesePagesDecode() {
        QFETCH(QString, file);
        QFETCH(QByteArray, charset);
        const QString expected = QString::fromUtf8(Fixture(u"page-headlines-utf-8.html"_s));
        QVERIFY(expected.contains(u"赤ちゃんパンダ"_s));
        const QByteArray page = Fixture(file);
        QCOMPARE(DecodePage(page), expected);
        const QByteArray meta = "<meta charset=\"" + charset + "\">";
        QCOMPARE(DecodePage(meta + page), QString::fromLatin1(meta) + expected);
        const QByteArray wrong = "<meta charset=\"iso-8859-1\">";
        QCOMPARE(DecodePage(wrong + page, charset), QString::fromLatin1(wrong) + expected);
    }

    void undecodableBytesAreMarked() {
        QCOMPARE(DecodePage("a\xFF\xFE"_ba.mid(0, 2), "EUC-JP"), u"a\uFFFD"_s);
        QCOMPARE(DecodePage("\xEF\xBB\xBF\xE3\x81\x82"_ba, "Shift_JIS"), u"あ"_s);
    }

    void searchAddresses_data() {
        QTest::addColumn<std::optional<SettingKey>>(
            "key"); // a [Web] key of tomu.ini set to `value`
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("address");
        QTest::newRow("no mode selected searches the web")
            << std::optional<SettingKey>() << QString() << u"Google"_s << 3 << u"a"_s
            << u"https://www.google.com/search?q=a&hl=ja&lr="_s;
        QTest::newRow("no dictionary selected uses 国語")
            << std::optional<SettingKey>() << QString() << u"goo"_s << 4 << u"猫"_s
            << u"https://www.weblio.jp/content/%E7%8C%AB"_s;
        QTest::newRow("a user's service in the system code page")
            << std::optional(SettingKey::ForumSearch)
            << u"http://bbs.example/find?w={sjis}&raw={raw}"_s << u"Google"_s << 2 << u"あ{q}"_s
            << u"http://bbs.example/find?w=%82%A0%7Bq%7D&raw=あ{q}"_s;
        QTest::newRow("an empty key keeps the default")
            << std::optional(SettingKey::DicNew) << QString() << u"goo"_s << 3 << u"a"_s
            << u"https://kotobank.jp/search?q=a"_s;
    }
    void searchAddresses() {
        QFETCH(std::optional<SettingKey>, key);
        QFETCH(QString, value);
        QFETCH(QString, engine);
        QFETCH(int, option);
        QFETCH(QString, words);
        QFETCH(QString, address);
        ScriptRig rig;
        if (key) QVERIFY(rig.ctx.settings.WriteSetting(*key, value));
        const Settings& s = rig.ctx.settings;
        const QString built = engine == u"Google" ? GoogleAddress(s, words, option)
                              : engine == u"goo"  ? GooDictionaryAddress(s, words, option)
                                                  : ArchiveAddress(s, words);
        QCOMPARE(built, address);
    }

    // A pattern edited into something other than a web address opens nothing.
    void onlyWebAddressesAreOpened() {
        ScriptRig rig;
        QVERIFY(rig.ctx.settings.WriteSetting(SettingKey::DicJa, u"file:///etc/{raw}"_s));
        LookUpGooDictionary(rig.ctx, u"passwd"_s, 2);
        QVERIFY(rig.actionLog.isEmpty());
        QVERIFY(rig.log.Text().contains(u"Search refused: file:///etc/passwd"_s));
    }
};

QTEST_GUILESS_MAIN(TestWebText)
#include "test_web_text.moc"
