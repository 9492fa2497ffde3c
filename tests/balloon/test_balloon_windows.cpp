// The balloon geometry of the skin in twips (message areas, panel layout, placement, colours),
// then the balloon windows on the offscreen platform: the message area and panels as the skin
// places them, the placement against the character, the mouse actions of the balloon table,
// the choice and teaching panels and the label's wrapping.
#include "../script/script_rig.h"
#include "balloon/balloon_layout.h"
#include "balloon/fellow_balloon.h"
#include "balloon/main_balloon.h"
#include "balloon/message_label.h"
#include "balloon/panel_widgets.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {

const QSize kBalloonSize(320, 220);

QPoint CentreIn(const QWidget& balloon, const QWidget& child) {
    return child.mapTo(&balloon, child.rect().center());
}

// The mouse moving over `target` with no button held, as the window system reports it to the
// widget under the mouse.
void Hover(QWidget* target, QPoint local) {
    QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}
void Hover(QWidget* target) {
    Hover(target, target->rect().center());
}

} // namespace

class TestBalloonWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<fakes::ScriptRig> rig_;
    std::unique_ptr<MainBalloon> balloon_;

    MainBalloon& ShownBalloon() {
        balloon_->ResizeWindow(kBalloonSize);
        balloon_->show();
        if (!QTest::qWaitForWindowExposed(balloon_.get())) qFatal("balloon not exposed");
        return *balloon_;
    }

private Q_SLOTS:
    void mainLayout_data() {
        QTest::addColumn<QString>("msgArea");
        QTest::addColumn<QRect>("message");
        QTest::addColumn<int>("inputWidth");
        QTest::addColumn<int>("panelWidth");
        QTest::addColumn<int>("teachTop");
        const QRect standard(195, 225, 3900, 2025);
        QTest::newRow("empty: default area") << QString() << standard << 3705 << 3900 << 1113;
        QTest::newRow("four numbers")
            << "300,300,3000,1500" << QRect(300, 300, 3000, 1500) << 2700 << 3000 << 825;
        QTest::newRow("blanks around numbers")
            << " 300 , 300 ,3000, 1500" << QRect(300, 300, 3000, 1500) << 2700 << 3000 << 825;
        QTest::newRow("three numbers: default")
            << "300,300,3000" << standard << 3705 << 3900 << 1113;
        QTest::newRow("five numbers: default") << "1,2,3,4,5" << standard << 3705 << 3900 << 1113;
        QTest::newRow("not numbers: default") << "a,b,c,d" << standard << 3705 << 3900 << 1113;
        QTest::newRow("no width: default") << "10,10,0,500" << standard << 3705 << 3900 << 1113;
    }
    void mainLayout() {
        QFETCH(QString, msgArea);
        const MainBalloonLayout l = LayOutMainBalloon(msgArea);
        QTEST(l.message, "message");
        QTEST(l.inputWidth, "inputWidth");
        QTEST(l.panelWidth, "panelWidth");
        QTEST(l.teach.y(), "teachTop");
        QCOMPARE(l.search, l.teach);
        QCOMPARE(l.menu, l.message.topLeft() - QPoint(105, 75));
        QCOMPARE(l.select, QPoint(120, 1440));
        // The buttons end where the input box ends, less their own widths.
        QCOMPARE(l.learnOkLeft, l.inputLeft + l.inputWidth - 2775);
        QCOMPARE(l.learnCancelLeft, l.inputLeft + l.inputWidth - 1575);
    }

    void fellowArea() {
        QCOMPARE(FellowMessageArea(QString()), QRect(195, 225, 3900, 2025));
        QCOMPARE(FellowMessageArea(u"15,30,1500,600"_s), QRect(15, 30, 1500, 600));
    }

    void position_data() {
        QTest::addColumn<QPoint>("character");
        QTest::addColumn<QSize>("balloon");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("negative offsets")
            << QPoint(100, 300) << QSize(200, 100) << -150 << -30 << QPoint(-110, 198);
        QTest::newRow("fractions of a pixel round")
            << QPoint(0, 0) << QSize(0, 0) << 22 << 38 << QPoint(1, 3);
    }
    void position() {
        QFETCH(QPoint, character);
        QFETCH(QSize, balloon);
        QFETCH(int, left);
        QFETCH(int, top);
        QTEST(BalloonPosition(character, balloon, QPoint(left, top)), "expected");
    }

    void colours_data() {
        QTest::addColumn<int>("bgr");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("light red 0x8080FF is red first") << 8421631 << QColor(255, 128, 128);
        QTest::newRow("blue byte is the high one") << 0xFF0000 << QColor(0, 0, 255);
    }
    void colours() {
        QFETCH(int, bgr);
        QTEST(ColorFromBgr(bgr), "colour");
    }
    void init() {
        rig_ = std::make_unique<fakes::ScriptRig>();
        rig_->ctx.skin.balloons[0].backColor = 0xFFFFFF;
        rig_->ctx.skin.balloons[0].foreColor = 0xE0E0FF; // pink in BGR
        balloon_ = std::make_unique<MainBalloon>(rig_->ctx);
    }
    void cleanup() {
        balloon_.reset();
        rig_.reset();
    }

    void messageAreaPlacesLabelAndPanels_data() {
        QTest::addColumn<QString>("msgArea");
        QTest::addColumn<QRect>("label");
        QTest::addColumn<int>("inputWidth");
        QTest::addColumn<int>("panelWidth");
        QTest::addColumn<QPoint>("teach");
        QTest::addColumn<int>("okLeft");
        QTest::newRow("default") << QString() << QRect(13, 15, 260, 135) << 247 << 260
                                 << QPoint(8, 74) << 70;
        QTest::newRow("skin area")
            << "300,300,3000,1500" << QRect(20, 20, 200, 100) << 180 << 200 << QPoint(8, 55) << 3;
    }
    void messageAreaPlacesLabelAndPanels() {
        QFETCH(QString, msgArea);
        rig_->ctx.skin.balloons[0].msgArea = msgArea;
        balloon_->PlaceMainMessageArea();
        QTEST(balloon_->Label().geometry(), "label");
        QTEST(balloon_->Input()->width(), "inputWidth");
        QTEST(balloon_->SearchInput()->width(), "inputWidth");
        QTEST(balloon_->Panel(BalloonPanel::Teach)->width(), "panelWidth");
        QTEST(balloon_->Panel(BalloonPanel::Search)->width(), "panelWidth");
        QTEST(balloon_->Panel(BalloonPanel::Teach)->pos(), "teach");
        QTEST(balloon_->LearnOk()->x(), "okLeft");
        QFETCH(QRect, label);
        QCOMPARE(balloon_->Panel(BalloonPanel::Menu)->pos(), label.topLeft() - QPoint(7, 5));
        QCOMPARE(balloon_->Panel(BalloonPanel::Menu)->width(), label.width());
        QCOMPARE(balloon_->Panel(BalloonPanel::Select)->pos(), QPoint(8, 96));
    }

    void coloursComeFromTheSkin() {
        rig_->ctx.skin.balloons[0].backColor = 0xCCFFFF; // pale yellow
        balloon_->PlaceMainMessageArea();
        const QColor back(255, 255, 204);
        QCOMPARE(balloon_->Panel(BalloonPanel::Teach)->palette().color(QPalette::Window), back);
        QCOMPARE(balloon_->YesLabel()->Background(), back);
        QCOMPARE(balloon_->NoLabel()->Background(), back);
        QCOMPARE(balloon_->LearnOk()->TextColor(), QColor(64, 64, 64));
    }

    void placedAgainstItsCharacter() {
        QWidget character;
        character.move(934, 420);
        rig_->ctx.skin.balloons[0].left = 660;
        rig_->ctx.skin.balloons[0].top = 1755;
        balloon_->ResizeWindow(kBalloonSize);
        balloon_->PlaceAgainst(character);
        QCOMPARE(balloon_->pos(), QPoint(934 - 320 + 44, 420 - 220 + 117));

        FellowBalloon fellow(rig_->ctx);
        rig_->ctx.skin.balloons[1].left = 0;
        rig_->ctx.skin.balloons[1].top = 0;
        fellow.ResizeWindow(kBalloonSize);
        fellow.PlaceAgainst(character);
        QCOMPARE(fellow.pos() + QPoint(320, 220), character.pos());
    }

    void clickEndsTheWaitDoubleClickHides() {
        MainBalloon& b = ShownBalloon();
        int clicks = 0;
        b.onClick = [&] { ++clicks; };
        const QPoint onLabel = CentreIn(b, b.Label());
        QTest::mouseClick(&b, Qt::LeftButton, {}, onLabel);
        QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(4, 4)); // the picture
        QCOMPARE(clicks, 2);
        QTest::mouseClick(&b, Qt::RightButton, {}, onLabel);
        QCOMPARE(clicks, 2);
        QVERIFY(b.isVisible());
        QTest::mouseDClick(&b, Qt::LeftButton, {}, onLabel);
        QVERIFY(!b.isVisible());
    }

    void hoveringKeepsTheBalloonOpen() {
        MainBalloon& b = ShownBalloon();
        rig_->ctx.flags.mainBalloonCounter = 299;
        Hover(&b, CentreIn(b, b.Label()));
        QCOMPARE(rig_->ctx.flags.mainBalloonCounter, 0);

        FellowBalloon fellow(rig_->ctx);
        fellow.ResizeWindow(kBalloonSize);
        fellow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fellow));
        rig_->ctx.flags.fellowBalloonCounter = 250;
        rig_->ctx.flags.mainBalloonCounter = 10;
        Hover(&fellow, CentreIn(fellow, fellow.Label()));
        QCOMPARE(rig_->ctx.flags.fellowBalloonCounter, 0);
        QCOMPARE(rig_->ctx.flags.mainBalloonCounter, 10);
        QTest::mouseDClick(&fellow, Qt::LeftButton, {}, CentreIn(fellow, fellow.Label()));
        QVERIFY(!fellow.isVisible());
        QVERIFY(b.isVisible());
    }

    void choiceLabelsShowTheHoverMark() {
        MainBalloon& b = ShownBalloon();
        b.SetPanelVisible(BalloonPanel::Select, true);
        const QColor back(255, 255, 255);
        const QColor fore(255, 224, 224);
        Hover(b.YesLabel());
        QCOMPARE(b.YesLabel()->Background(), fore);
        QCOMPARE(b.NoLabel()->Background(), back);
        Hover(b.NoLabel());
        QCOMPARE(b.YesLabel()->Background(), back);
        QCOMPARE(b.NoLabel()->Background(), fore);
        // The panel's margin clears the mark and keeps the balloon open.
        rig_->ctx.flags.mainBalloonCounter = 123;
        Hover(b.Panel(BalloonPanel::Select), QPoint(2, 2));
        QCOMPARE(b.NoLabel()->Background(), back);
        QCOMPARE(rig_->ctx.flags.mainBalloonCounter, 0);
    }

    void doubleClickOnPanels_data() {
        QTest::addColumn<BalloonPanel>("panel");
        QTest::addColumn<bool>("hides");
        QTest::newRow("teaching panel") << BalloonPanel::Teach << true;
        QTest::newRow("search panel") << BalloonPanel::Search << true;
        QTest::newRow("choice panel") << BalloonPanel::Select << false;
        QTest::newRow("menu panel") << BalloonPanel::Menu << false;
    }
    void doubleClickOnPanels() {
        QFETCH(BalloonPanel, panel);
        MainBalloon& b = ShownBalloon();
        b.SetPanelVisible(panel, true);
        QTest::mouseDClick(b.Panel(panel), Qt::LeftButton, {}, QPoint(2, 2));
        QTEST(!b.isVisible(), "hides");
    }

    void choiceAnswers() {
        MainBalloon& b = ShownBalloon();
        QList<int> answers;
        b.hooks.answerChosen = [&](int choice) { answers.append(choice); };
        b.SetChoiceWords(u"うん"_s, u"いや"_s);
        b.SetPanelVisible(BalloonPanel::Select, true);
        QCOMPARE(b.YesLabel()->text(), u"うん"_s);
        QTest::mouseClick(b.NoLabel(), Qt::LeftButton);
        QTest::mouseClick(b.YesLabel(), Qt::LeftButton);
        QCOMPARE(answers, (QList<int>{1, 0}));
    }

    void teachingPanel() {
        MainBalloon& b = ShownBalloon();
        QStringList learned;
        int nags = 0;
        b.hooks.learnWord = [&](const QString& w) { learned.append(w); };
        b.hooks.nagTalk = [&] { ++nags; };
        b.SetPanelVisible(BalloonPanel::Teach, true);

        rig_->ctx.flags.balloonHold = true;
        QTest::mouseClick(b.LearnOk(), Qt::LeftButton); // nothing typed
        QCOMPARE(nags, 1);
        QVERIFY(!rig_->ctx.flags.balloonHold);

        b.SetInputText(u"ねこ"_s);
        QTest::mouseClick(b.LearnOk(), Qt::LeftButton);
        b.Input()->setText(u"いぬ"_s);
        QTest::keyClick(b.Input(), Qt::Key_Return);
        QCOMPARE(learned, (QStringList{u"ねこ"_s, u"いぬ"_s}));

        rig_->ctx.flags.balloonHold = true;
        QTest::mouseClick(b.LearnCancel(), Qt::LeftButton);
        QCOMPARE(nags, 2);
        QVERIFY(!rig_->ctx.flags.balloonHold);
        QCOMPARE(learned.size(), 2);
    }

    void buttonsLightUpUnderTheMouse() {
        MainBalloon& b = ShownBalloon();
        b.SetPanelVisible(BalloonPanel::Teach, true);
        Hover(b.LearnOk());
        QCOMPARE(b.LearnOk()->TextColor(), QColor(255, 128, 128));
        QCOMPARE(b.LearnCancel()->TextColor(), QColor(64, 64, 64));
        Hover(b.Panel(BalloonPanel::Teach), QPoint(2, 2));
        QCOMPARE(b.LearnOk()->TextColor(), QColor(64, 64, 64));
    }

    // The menu's lines report their captions and the mouse; a greyed-out line takes no click.
    void menuLines() {
        MainBalloon& b = ShownBalloon();
        QStringList clicked;
        QList<int> hovered;
        b.hooks.menuItem = [&](const QString& caption) { clicked << caption; };
        b.hooks.menuHover = [&](int i) { hovered << i; };
        b.SetMenuPage({u"見出し"_s, {u"一"_s, u"二"_s, u"三"_s}, {1}});
        b.SetPanelVisible(BalloonPanel::Menu, true);
        for (int i : {0, 1, 3})
            QTest::mouseClick(b.MenuLine(i), Qt::LeftButton);
        QCOMPARE(clicked, (QStringList{u"一"_s, QString()}));
        Hover(b.MenuLine(2));
        Hover(b.Panel(BalloonPanel::Menu), QPoint(1, 1));
        QCOMPARE(hovered, (QList<int>{2, -1}));
        b.MarkMenuItem(2);
        QCOMPARE(b.MenuLine(2)->Background(), QColor(255, 224, 224));
        QCOMPARE(b.MenuLine(0)->Background(), QColor(255, 255, 255));

        // For a screen reader: a button named by its caption that presses like a click; the
        // balloon's text readable as text.
        QAccessibleInterface* line = QAccessible::queryAccessibleInterface(b.MenuLine(0));
        QCOMPARE(line->role(), QAccessible::Button);
        QCOMPARE(line->text(QAccessible::Name), u"一"_s);
        line->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicked.size(), 3);
        b.SetMessage(u"こんにちは。"_s);
        QAccessibleInterface* text = QAccessible::queryAccessibleInterface(&b.Label());
        QCOMPARE(text->textInterface()->text(0, -1), u"こんにちは。"_s);
        QCOMPARE(text->text(QAccessible::Name), u"こんにちは。"_s);
    }

    void searchPanel_data() {
        QTest::addColumn<SearchPanelSetup::Options>("options");
        QTest::addColumn<int>("preset");
        QTest::addColumn<int>("option"); // SearchOption after the user picked the last one
        QTest::newRow("Google modes") << SearchPanelSetup::Options::GoogleModes << 0 << 2;
        QTest::newRow("goo dictionaries") << SearchPanelSetup::Options::GooDictionaries << 2 << 3;
        QTest::newRow("no options") << SearchPanelSetup::Options::None << 0 << 0;
    }
    void searchPanel() {
        QFETCH(SearchPanelSetup::Options, options);
        QFETCH(int, preset);
        MainBalloon& b = ShownBalloon();
        int oks = 0;
        b.hooks.searchOk = [&](bool fromEnter) { oks += fromEnter ? 10 : 1; };
        b.SetUpSearchPanel({u"題"_s, options, preset, false, u"http://"_s});
        b.SetPanelVisible(BalloonPanel::Search, true);
        QCOMPARE(b.SearchTitle()->text(), u"題"_s);
        QCOMPARE(b.GoogleModes()->isVisible(), options == SearchPanelSetup::Options::GoogleModes);
        QCOMPARE(b.GooDictionaries()->isVisible(),
                 options == SearchPanelSetup::Options::GooDictionaries);
        QCOMPARE(b.SearchOption(), options == SearchPanelSetup::Options::None ? 0 : preset);
        QVERIFY(!b.SearchInput()->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(b.SearchInput()->cursorPosition(), 7);
        PanelFrame* frame = options == SearchPanelSetup::Options::GoogleModes ? b.GoogleModes()
                                                                              : b.GooDictionaries();
        if (options != SearchPanelSetup::Options::None) b.OptionsOf(frame).last()->click();
        QTEST(b.SearchOption(), "option");
        QTest::keyClick(b.SearchInput(), Qt::Key_Return);
        QTest::mouseClick(b.SearchOk(), Qt::LeftButton);
        QCOMPARE(oks, 11);
    }

    void waitMarkerSitsInTheCornerOfTheMessage() {
        MainBalloon& b = ShownBalloon();
        QVERIFY(!b.WaitMarker()->isVisible());
        b.SetWaitMarkerVisible(true);
        QVERIFY(b.WaitMarker()->isVisible());
        const QRect marker = b.WaitMarker()->geometry();
        QCOMPARE(marker.bottomRight(), b.Label().geometry().bottomRight());
        b.SetWaitMarkerVisible(false);
        QVERIFY(!b.WaitMarker()->isVisible());
    }

    void boldSetting() {
        balloon_->SetBold(true);
        const QFont font = balloon_->Label().font();
        QVERIFY(font.bold());
        QCOMPARE(font.pixelSize(), 16);
        // "ＭＳ Ｐゴシック" is not on this system; a Japanese font takes its place.
        const QString family = QFontInfo(font).family();
        QVERIFY2(font.families().contains(family), qPrintable(family));
    }

    void labelWrapsAndCuts() {
        MessageLabel label;
        label.resize(260, 135);
        const QFontMetrics metrics(label.font());
        const QString sentence = u"今日は%1の日です。"_s.arg(u"あ"_s.repeated(30));
        label.SetText(sentence);
        const QStringList lines = label.VisibleLines();
        QVERIFY(lines.size() > 1);
        QCOMPARE(lines.join(QString()), sentence);
        for (const QString& line : lines)
            QVERIFY(metrics.horizontalAdvance(line) <= 260);

        label.SetText(u"一行目\r\n\r\n三行目"_s);
        QCOMPARE(label.VisibleLines(), (QStringList{u"一行目"_s, QString(), u"三行目"_s}));

        // A word longer than the label breaks inside the word rather than running out.
        label.SetText(u"http://"_s + u"x"_s.repeated(200));
        QVERIFY(label.VisibleLines().size() > 1);

        // Whole lines only, from the top, with the mark in the last line's place; a click
        // (NextPage) turns to the rest, and every line is seen once.
        QStringList many;
        for (int i = 1; i <= 30; ++i)
            many << QString::number(i);
        label.SetText(many.join(u"\r\n"_s));
        QStringList seen = label.VisibleLines();
        QCOMPARE(seen.first(), u"1"_s);
        QVERIFY(label.MoreFollows());
        QVERIFY((seen.size() + 1) * metrics.height() <= 135);
        QVERIFY(seen.size() >= 135 / metrics.height() - 2);
        while (label.NextPage())
            seen += label.VisibleLines();
        QCOMPARE(seen, many);
        QVERIFY(!label.MoreFollows());
        label.SetText(u"新しい話"_s); // a new text starts at the top
        QCOMPARE(label.VisibleLines(), QStringList{u"新しい話"_s});
    }
};

QTEST_MAIN(TestBalloonWindows)
#include "test_balloon_windows.moc"
