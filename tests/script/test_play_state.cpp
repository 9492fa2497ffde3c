#include "../fakes/fake_views.h"
#include "script/play_state.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

class TestPlayState : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One panel at a time, buttons reset for the input panels; ApplyOnTop reaches the window.
    void foreMenuAndOnTop() {
        QStringList journal;
        FakeBalloon balloon(u"main"_s, journal);
        FakeCharacter character(journal);
        PlayState state;
        state.SetViews(&balloon, &character);
        state.ForeMenu(BalloonPanel::Teach);
        QVERIFY(balloon.IsPanelVisible(BalloonPanel::Teach));
        QCOMPARE(journal.filter(u"ResetButtons"_s).size(), 1);
        state.ForeMenu(BalloonPanel::Select);
        QVERIFY(!balloon.IsPanelVisible(BalloonPanel::Teach));
        QVERIFY(balloon.IsPanelVisible(BalloonPanel::Select));
        state.ForeMenu(BalloonPanel::None);
        QVERIFY(!balloon.IsPanelVisible(BalloonPanel::Select));
        journal.clear();
        state.SetOnTop(false);
        QCOMPARE(journal, QStringList{u"kanami.NotTopmost"_s});
    }

    void searchActionsNameTheirEngine() {
        QCOMPARE(SearchEngineOf(FinishAction::SearchGooDic), SearchEngine::GooDic);
        QCOMPARE(SearchEngineOf(FinishAction::SearchArchive), SearchEngine::Archive);
        QVERIFY(!SearchEngineOf(FinishAction::SelMsg));
    }
};

QTEST_GUILESS_MAIN(TestPlayState)
#include "test_play_state.moc"
