#include "platform/codec.h"

#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

class TestCodec : public QObject {
    Q_OBJECT
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
};

QTEST_GUILESS_MAIN(TestCodec)
#include "test_codec.moc"
