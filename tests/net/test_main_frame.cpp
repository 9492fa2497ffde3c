#include "../fakes/fake_views.h"
#include "net/main_frame.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

class TestMainFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void settingTheFlagEmptiesTheAction() {
        TOMU_MainFrame frame;
        frame.SetWSFCategory(u"SelMsg"_s);
        frame.SetWaitScriptFinish(true);
        QVERIFY(frame.WaitScriptFinish());
        QCOMPARE(frame.WSFCategory(), QString()); // lost: that is why WaitThen sets the flag first
        WaitThen(frame, u"SelMsg"_s);
        QVERIFY(frame.WaitScriptFinish());
        QCOMPARE(frame.WSFCategory(), u"SelMsg"_s);
        frame.CancelWSF();
        QVERIFY(!frame.WaitScriptFinish());
        QCOMPARE(frame.WSFCategory(), u"SelMsg"_s);
    }

    void foreMenu_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<int>>("shown"); // BalloonPanel values left visible
        QTest::addColumn<bool>("changed");
        QTest::newRow("Normal") << u"Normal"_s << QList<int>{} << true;
        QTest::newRow("Select") << u"Select"_s << QList<int>{int(BalloonPanel::Select)} << true;
        QTest::newRow("Menu") << u"Menu"_s << QList<int>{int(BalloonPanel::Menu)} << true;
        QTest::newRow("Teach") << u"Teach"_s << QList<int>{int(BalloonPanel::Teach)} << true;
        QTest::newRow("Search") << u"Search"_s << QList<int>{int(BalloonPanel::Search)} << true;
        QTest::newRow("menu") << u"menu"_s << QList<int>{int(BalloonPanel::Menu)} << false;
        QTest::newRow("empty") << QString() << QList<int>{int(BalloonPanel::Menu)} << false;
    }
    void foreMenu() {
        QFETCH(QString, name);
        QFETCH(QList<int>, shown);
        QFETCH(bool, changed);
        QStringList journal;
        FakeBalloon balloon(u"main"_s, journal);
        FakeCharacter character(journal);
        TOMU_MainFrame frame;
        frame.SetViews(&balloon, &character);
        frame.ForeMenu(u"Menu"_s);
        journal.clear();
        frame.ForeMenu(name);
        QCOMPARE(!journal.isEmpty(), changed);
        for (BalloonPanel p :
             {BalloonPanel::Select, BalloonPanel::Menu, BalloonPanel::Teach, BalloonPanel::Search})
            QCOMPARE(balloon.IsPanelVisible(p), shown.contains(int(p)));
        const bool buttons = name == u"Teach" || name == u"Search";
        QCOMPARE(journal.filter(u"ResetButtons"_s).size(), buttons ? 1 : 0);
        // Nothing is shown before the others are hidden.
        const qsizetype firstShow = journal.indexOf(QRegularExpression(u".* 1$"_s));
        const qsizetype lastHide = journal.lastIndexOf(QRegularExpression(u".* 0$"_s));
        if (firstShow >= 0) QVERIFY(lastHide < firstShow);
    }

    void onTopGoesToTheCharacterWindows() {
        QStringList journal;
        FakeBalloon balloon(u"main"_s, journal);
        FakeCharacter character(journal);
        TOMU_MainFrame frame;
        frame.SetOnTop(true); // no windows yet: only the flag
        QVERIFY(frame.OnTop());
        frame.SetViews(&balloon, &character);
        frame.SetOnTop(false);
        frame.SetOnTop(true);
        QCOMPARE(journal, (QStringList{u"kanami.NotTopmost"_s, u"kanami.Topmost"_s}));
    }
};

QTEST_GUILESS_MAIN(TestMainFrame)
#include "test_main_frame.moc"
