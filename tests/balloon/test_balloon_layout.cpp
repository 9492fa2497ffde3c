// The balloon geometry of the skin: message areas, panel layout, placement and colours.
#include "balloon/balloon_layout.h"

#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

class TestBalloonLayout : public QObject {
    Q_OBJECT
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
        QTest::newRow("no offsets: corner to corner")
            << QPoint(934, 420) << QSize(320, 220) << 0 << 0 << QPoint(614, 200);
        QTest::newRow("default skin offsets")
            << QPoint(934, 420) << QSize(320, 220) << 660 << 1755 << QPoint(658, 317);
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
        QTest::newRow("white") << 16777215 << QColor(255, 255, 255);
        QTest::newRow("button grey 0x404040") << 4210752 << QColor(64, 64, 64);
        QTest::newRow("light red 0x8080FF is red first") << 8421631 << QColor(255, 128, 128);
        QTest::newRow("blue byte is the high one") << 0xFF0000 << QColor(0, 0, 255);
    }
    void colours() {
        QFETCH(int, bgr);
        QTEST(ColorFromBgr(bgr), "colour");
    }
};

QTEST_GUILESS_MAIN(TestBalloonLayout)
#include "test_balloon_layout.moc"
