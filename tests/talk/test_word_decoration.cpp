#include "core/settings.h"
#include "platform/ini_file.h"
#include "platform/random.h"
#include "platform/text_file.h"
#include "talk/dictionary.h"
#include "talk/word_decoration.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

// Every category holds one word, its own name in brackets, so a phrase shows which categories
// it was built from. The folder is written once for all tests.
QTemporaryDir* gFolder = nullptr;

struct NamedWords {
    IniStore ini;
    Settings settings{ini, gFolder->path()};
    ScriptedRandom random{{}, 9};
    Dictionary dictionary{settings, random};
    WordDecorator words{dictionary, random};
};

class TestWordDecoration : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        gFolder = &folder_;
        QVERIFY(folder_.isValid());
        QDir().mkpath(folder_.filePath(u"TalkEngine"_s));
        for (int i = 0; i < kCategoryCount; ++i) {
            const QString c = CategoryName(i);
            QVERIFY(WriteCp932File(folder_.filePath(u"TalkEngine/"_s + c + u".ini"_s),
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
        QFETCH(QString, phrase);
        NamedWords w;
        for (double r : draws)
            w.random.Push(r);
        QCOMPARE(w.words.DecorateWord(category), phrase);
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
        QFETCH(QString, word);
        NamedWords w;
        w.random.Push(r);
        QCOMPARE(w.words.GetWord(category), word);
    }

    void emptyPartsShrinkToTheFixedText() {
        QTemporaryDir dir;
        IniStore ini;
        Settings settings(ini, dir.path());
        ScriptedRandom random({0.0, 0.0});
        Dictionary dictionary(settings, random);
        WordDecorator words(dictionary, random);
        QCOMPARE(words.GetWord(u"会社"_s), u"裏"_s);
    }

private:
    QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(TestWordDecoration)
#include "test_word_decoration.moc"
