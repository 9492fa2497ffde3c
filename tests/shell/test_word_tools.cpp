// The word tools on the offscreen platform: the registration window over a real dictionary
// (the five kinds of Enter, bad input, a large category) and the dictionary export.
#include "../talk/talk_rig.h"
#include "app/word_registration_window.h"
#include "talk/dictionary_export.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The numbers a label shows, in order.
QList<int> Numbers(const QLabel* label) {
    QList<int> out;
    for (const auto& m : QRegularExpression(u"\\d+"_s).globalMatch(label->text()))
        out << m.captured().toInt();
    return out;
}

struct Dialog {
    explicit Dialog(TalkRig& rig, const QString& category)
        : window(new WordRegistrationWindow(rig.ctx, rig.dictionary, rig.player,
                                            [this](bool restart) { closes << restart; })) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window.data())) qFatal("window not exposed");

        QSignalSpy loaded(window.data(), &WordRegistrationWindow::Loaded);
        window->Categories()->setCurrentIndex(CategoryIndex(category));
        if (window->Loading()) loaded.wait(5000);
    }
    void Type(const QString& text) {
        window->Input()->setText(text);
        QTest::keyClick(window->Input(), Qt::Key_Return);
    }
    void DoubleClick(int row) {
        QListWidget* list = window->Words();
        const QPoint at = list->visualItemRect(list->item(row)).center();
        // An item view takes a double click only after the press that began it.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    QStringList Lines() const {
        QStringList out;
        for (int i = 0; i < window->Words()->count(); ++i)
            out << window->Words()->item(i)->text();
        return out;
    }

    QList<bool> closes;
    ~Dialog() { delete window.data(); }
    // The window deletes itself when closed.
    QPointer<WordRegistrationWindow> window;
};

} // namespace

class TestWordTools : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enter_data() {
        QTest::addColumn<int>("edit"); // the row double-clicked first, -1 none
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QList<int>>("counters"); // added, known, corrected
        const QStringList start{u"イヌ"_s, u"ネコ"_s};
        QTest::newRow("new word") << -1 << u"ウマ"_s
                                  << QStringList{u"イヌ"_s, u"ネコ"_s, u"Add:ウマ"_s}
                                  << (start + QStringList{u"ウマ"_s}) << QList<int>{1, 0, 0};
        QTest::newRow("known word") << -1 << u"ネコ"_s << start << start << QList<int>{0, 1, 0};
        QTest::newRow("edited to a new word")
            << 1 << u"トラ"_s << QStringList{u"イヌ"_s, u"Fix:トラ"_s}
            << QStringList{u"イヌ"_s, u"トラ"_s} << QList<int>{0, 0, 1};
        QTest::newRow("edited to another word's text")
            << 0 << u"ネコ"_s << start << start << QList<int>{0, 1, 0};
        QTest::newRow("edited to its own text")
            << 1 << u"ネコ"_s << start << start << QList<int>{0, 0, 0};
    }
    void enter() {
        QFETCH(int, edit);
        QFETCH(QString, text);
        TalkRig rig;
        rig.Category(u"動物"_s, {u"イヌ"_s, u"ネコ"_s});
        Dialog d(rig, u"動物"_s);
        QCOMPARE(d.Lines(), (QStringList{u"イヌ"_s, u"ネコ"_s}));
        if (edit >= 0) {
            d.DoubleClick(edit);
            QVERIFY(d.window->EditMarker()->isVisibleTo(d.window.data()));
            QCOMPARE(d.window->Input()->selectedText(), rig.Words(u"動物"_s)[edit]);
        }
        d.Type(text);
        QTEST(d.Lines(), "lines");
        QTEST(rig.Words(u"動物"_s), "words");
        QTEST(Numbers(d.window->Counters()), "counters");
        QVERIFY(!d.window->EditMarker()->isVisibleTo(d.window.data()));
        QVERIFY(d.window->Input()->text().isEmpty());
        QVERIFY(rig.ctx.flags.balloonHold);
    }

    // What the category file cannot hold as typed is refused with a reason; the file and the
    // input box stay as they were.
    void badInput_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::newRow("254 bytes") << u"あ"_s.repeated(127) << true;
        QTest::newRow("255 bytes") << u"あ"_s.repeated(127) + u"a"_s << false;
        QTest::newRow("not in CP932") << u"犬😀"_s << false;
        QTest::newRow("hangul") << u"개"_s << false;
        QTest::newRow("a tab") << u"イ\tヌ"_s << false;
        QTest::newRow("blanks only") << u"   "_s << false;
    }
    void badInput() {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        TalkRig rig;
        rig.Category(u"動物"_s, {u"イヌ"_s});
        const QByteArray before = Bytes(rig.TalkFile(u"動物"_s));
        Dialog d(rig, u"動物"_s);
        d.Type(text);
        QCOMPARE(d.window->Refusal()->text().isEmpty(), taken);
        QCOMPARE(rig.Words(u"動物"_s).size(), taken ? 2 : 1);
        if (!taken) {
            QCOMPARE(Bytes(rig.TalkFile(u"動物"_s)), before);
            QCOMPARE(d.window->Input()->text(), text);
        } else {
            QCOMPARE(rig.Words(u"動物"_s).last(), text);
        }
    }

    void hundredEnters() {
        TalkRig rig;
        rig.Category(u"動物"_s, {u"イヌ"_s});
        Dialog d(rig, u"動物"_s);
        for (int i = 0; i < 100; ++i) {
            d.window->Input()->setText(u"ウマ"_s);
            QTest::keyClick(d.window->Input(), Qt::Key_Return);
            QTest::keyClick(d.window->Input(), Qt::Key_Return); // empty: nothing
        }
        QCOMPARE(rig.Words(u"動物"_s), (QStringList{u"イヌ"_s, u"ウマ"_s}));
        QCOMPARE(Numbers(d.window->Counters()), (QList<int>{1, 99, 0}));
    }

    // A large category is listed a part at a time; closing meanwhile stops the listing, says
    // the closing talk once and leaves the file alone.
    void largeCategory() {
        TalkRig rig;
        QStringList many;
        for (int i = 1; i <= 10000; ++i)
            many << u"語%1"_s.arg(i);
        rig.Category(u"動物"_s, many);
        const QByteArray before = Bytes(rig.TalkFile(u"動物"_s));
        {
            Dialog d(rig, u"動物"_s);
            QCOMPARE(d.window->Words()->count(), 10000);
        }
        Dialog d(rig, u"日時(現在)"_s);
        d.window->Categories()->setCurrentIndex(CategoryIndex(u"動物"_s));
        QVERIFY(d.window->Loading());
        QCOMPARE(d.window->Input()->text(), u"ロード中"_s);
        d.Type(u"ウマ"_s); // not while loading
        d.window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QVERIFY(d.window.isNull());
        QCOMPARE(d.closes, QList<bool>{true});
        QVERIFY(rig.player.Buffer().contains(u"今回は0件の追加登録"_s));
        QCOMPARE(Bytes(rig.TalkFile(u"動物"_s)), before);
    }

    void exportNamesAsksAndMergesBack() {
        TalkRig rig;
        rig.Category(u"動物"_s, {u"イヌ"_s, u"ネコ"_s});
        rig.ctx.profile.fullName = u"山田太郎"_s;
        rig.clock.SetNow(QDateTime(QDate(2026, 3, 9), QTime(10, 0)));
        QTemporaryDir desktop;
        DictionaryExport exporter(rig.ctx, rig.player);
        QStringList asked;
        bool answer = false;
        const auto confirm = [&](const QString& q) {
            asked << q;
            return answer;
        };
        QCOMPARE(exporter.Export(desktop.path(), confirm), DictionaryExport::Result::Written);
        QCOMPARE(exporter.LastPath(), desktop.filePath(u"山田太郎.260309.TalkEngine.lzh"_s));
        QVERIFY(asked.isEmpty());
        QVERIFY(rig.player.Buffer().contains(u"エクスポートしました"_s));
        const QByteArray first = Bytes(exporter.LastPath());

        rig.Category(u"動物"_s, {u"イヌ"_s, u"ネコ"_s, u"ウマ"_s});
        QCOMPARE(exporter.Export(desktop.path(), confirm), DictionaryExport::Result::Cancelled);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(Bytes(exporter.LastPath()), first);
        QCOMPARE(rig.player.Buffer(), u"\\h処理を中断しました。"_s);
        answer = true;
        QCOMPARE(exporter.Export(desktop.path(), confirm), DictionaryExport::Result::Written);
        QVERIFY(Bytes(exporter.LastPath()) != first);

        // Another user drops it on their character: the words arrive.
        TalkRig other;
        other.Category(u"動物"_s, {u"ネコ"_s});
        const QString dropped = other.dir.filePath(u"TalkEngine.lzh"_s);
        QVERIFY(QFile::copy(exporter.LastPath(), dropped));
        QVERIFY(other.talk.HandleDrop(dropped));
        QVERIFY(other.Words(u"動物"_s).contains(u"ウマ"_s));

        // A failing archiver and a missing desktop are reported, not taken for success.
        const auto broken = [](const QString&, const QString&) {
            return ArchiveResult{u"disk full"_s, {}};
        };
        QCOMPARE(exporter.Export(desktop.path(), confirm, broken),
                 DictionaryExport::Result::Failed);
        QVERIFY(rig.player.Buffer().contains(u"失敗"_s));
        QCOMPARE(exporter.Export(desktop.filePath(u"gone"_s), confirm),
                 DictionaryExport::Result::Failed);
        QCOMPARE(rig.player.Buffer(), u"\\h辞書ファイルをエクスポート失敗～。"_s);
    }
};

QTEST_MAIN(TestWordTools)
#include "test_word_tools.moc"
