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
        QCOMPARE(frame.WSFCategory(), QString()); // lost: that is why WaitThen sets the flag first
        WaitThen(frame, u"SelMsg"_s);
        QVERIFY(frame.WaitScriptFinish());
        QCOMPARE(frame.WSFCategory(), u"SelMsg"_s);
    }

    // Names are case-sensitive; an unknown one changes nothing. ApplyOnTop reaches the window.
    void foreMenuAndOnTop() {
        QStringList journal;
        FakeBalloon balloon(u"main"_s, journal);
        FakeCharacter character(journal);
        TOMU_MainFrame frame;
        frame.SetViews(&balloon, &character);
        frame.ForeMenu(u"Teach"_s);
        QVERIFY(balloon.IsPanelVisible(BalloonPanel::Teach));
        QCOMPARE(journal.filter(u"ResetButtons"_s).size(), 1);
        for (const QString& name : {u"teach"_s, QString()})
            frame.ForeMenu(name);
        QVERIFY(balloon.IsPanelVisible(BalloonPanel::Teach));
        frame.ForeMenu(u"Select"_s);
        QVERIFY(!balloon.IsPanelVisible(BalloonPanel::Teach));
        QVERIFY(balloon.IsPanelVisible(BalloonPanel::Select));
        journal.clear();
        frame.SetOnTop(false);
        QCOMPARE(journal, QStringList{u"kanami.NotTopmost"_s});
    }
};

QTEST_GUILESS_MAIN(TestMainFrame)
#include "test_main_frame.moc"
