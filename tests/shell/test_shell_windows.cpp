// The shell's own windows on the offscreen platform: the options window, the first-start
// window, the character's menu and the skin selection.
#include "../script/script_rig.h"
#include "app/character_drag.h"
#include "app/character_menu.h"
#include "app/first_start_window.h"
#include "app/option_window.h"
#include "app/skin_select_window.h"
#include "platform/autostart.h"
#include "platform/ini_file.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

class TestShellWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<fakes::ScriptRig> rig_;
    QStringList played_;

    QString Setting(SettingKey key) { return rig_->ctx.settings.ReadSetting(key); }
    void Write(SettingKey key, const QString& value) {
        QVERIFY(rig_->ctx.settings.WriteSetting(key, value));
    }
    std::function<void(const QString&)> Recorder() {
        return [this](const QString& s) { played_.append(s); };
    }
    // Lets the deferred deletion of a closed window run.
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private Q_SLOTS:
    void init() {
        rig_ = std::make_unique<fakes::ScriptRig>();
        played_.clear();
        Write(SettingKey::TOMULimitTime, u"3000"_s);
        Write(SettingKey::MsgDispLimit, u"abc"_s); // raw text is shown as it is
        Write(SettingKey::Name1, u"山田"_s);
        Write(SettingKey::Name2, u"太郎"_s);
        Write(SettingKey::Call, u"たろう"_s);
        LoadUserInfo(rig_->ctx.settings, rig_->ctx.profile, rig_->log);
        rig_->ctx.flags.timerInterval = 35;
    }
    void cleanup() { rig_.reset(); }

    void optionsShowTheSettingsAsWritten() {
        QPointer<OptionWindow> w = new OptionWindow(rig_->ctx, Recorder());
        QCOMPARE(w->Field(0)->text(), u"3000"_s);
        QCOMPARE(w->Field(1)->text(), u"300"_s); // repaired by LoadUserInfo
        QCOMPARE(w->Field(4)->text(), u"たろう"_s);
        QCOMPARE(w->Speed()->value(), 35);
        QVERIFY(rig_->ctx.flags.balloonHold);
        w->close();
        Settle();
        QVERIFY(!w);
        QVERIFY(!rig_->ctx.flags.balloonHold);
        QVERIFY(rig_->log.Text().contains(u"Unload ConfigrationForm"_s));
    }

    void optionsOk_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("answer");
        QTest::newRow("same name, k=2") << u"たろう"_s << 0.5 << u"\\hファイナルアンサー？"_s;
        QTest::newRow("new name greets")
            << u"タロちゃん"_s << 0.1 << u"\\hういっす。%username。\\n\\nよろしく～。"_s;
    }
    void optionsOk() {
        QFETCH(QString, call);
        QFETCH(double, r);
        rig_->random.Push(r);
        QPointer<OptionWindow> w = new OptionWindow(rig_->ctx, Recorder());
        w->show();
        w->Field(4)->setText(call);
        w->Speed()->setValue(80);
        // Out of range, or no number: refused, nothing written.
        for (const auto& [idle, shown] : {std::pair{u"0"_s, u"300"_s},
                                          {u"999"_s, u"-5"_s},
                                          {u"999"_s, u"abc"_s},
                                          {u"100"_s, u"300"_s}}) {
            w->Field(0)->setText(idle);
            w->Field(1)->setText(shown);
            QTest::mouseClick(w->OkButton(), Qt::LeftButton);
            QVERIFY(!w->Refusal().isEmpty());
        }
        QCOMPARE(Setting(SettingKey::TimerInterval), QString());
        w->Field(0)->setText(u"999"_s);
        w->Field(1)->setText(u"400"_s);
        QTest::mouseClick(w->OkButton(), Qt::LeftButton);
        Settle();
        QVERIFY(!w);
        QCOMPARE(rig_->ctx.flags.timerInterval, 80);
        QCOMPARE(Setting(SettingKey::TimerInterval), u"80"_s);
        QCOMPARE(Setting(SettingKey::TOMULimitTime), u"999"_s);
        QCOMPARE(rig_->ctx.profile.MsgDispLimit, 400);
        QCOMPARE(rig_->ctx.profile.callName, call);
        QCOMPARE(played_.size(), 1);
        QTEST(played_.value(0), "answer");
    }

    void optionsKeepAnEmptyForm() {
        QPointer<OptionWindow> w = new OptionWindow(rig_->ctx, Recorder());
        w->show();
        w->Field(3)->clear();
        w->Field(0)->setText(u"999"_s);
        w->Ok();
        Settle();
        QVERIFY(w && w->isVisible());
        QCOMPARE(Setting(SettingKey::TOMULimitTime), u"3000"_s);
        QVERIFY(played_.isEmpty());
        delete w;
    }

    void optionsCancelWritesNothing() {
        QPointer<OptionWindow> w = new OptionWindow(rig_->ctx, Recorder());
        w->show();
        w->Field(4)->setText(u"別人"_s);
        w->Speed()->setValue(5);
        QTest::mouseClick(w->CancelButton(), Qt::LeftButton);
        Settle();
        QCOMPARE(Setting(SettingKey::Call), u"たろう"_s);
        QCOMPARE(rig_->ctx.flags.timerInterval, 35);
        QCOMPARE(played_.size(), 1); // a word about it, nothing else
    }

    // The box shows whether the entry is there; OK writes or removes it, and says so when it
    // cannot.
    void optionsStartAtLogin() {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const auto ok = [&](bool before, bool after) {
            QPointer<OptionWindow> w = new OptionWindow(rig_->ctx, Recorder());
            QCOMPARE(w->StartAtLogin()->isChecked(), before);
            w->StartAtLogin()->setChecked(after);
            w->Ok();
            Settle();
        };
        ok(false, true);
        QFile entry(AutostartEntryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains(rig_->ctx.settings.AppFolder().toUtf8()));
        ok(true, false);
        QVERIFY(!entry.exists());
        // A file where the folder should be: the entry cannot be made.
        QVERIFY(QDir(config.filePath(u"autostart"_s)).removeRecursively());
        QVERIFY(QFile(config.filePath(u"autostart"_s)).open(QIODevice::WriteOnly));
        played_.clear();
        ok(false, true);
        QCOMPARE(played_, QStringList{u"\\h設定、書き込めなかった～。"_s});
        qunsetenv("XDG_CONFIG_HOME");
    }

    void firstStart() {
        fakes::FakeCharacter& character = rig_->character;
        Write(SettingKey::Call, QString());
        LoadUserInfo(rig_->ctx.settings, rig_->ctx.profile, rig_->log);
        rig_->ctx.flags.balloonHold = true;
        QPointer<FirstStartWindow> w = new FirstStartWindow(rig_->ctx, &character, Recorder());
        w->show();
        QCOMPARE(w->Field(0)->text(), u"山田"_s);

        w->Ok();
        QCOMPARE(played_.size(), 1); // a complaint
        QVERIFY(w && w->isVisible());
        QVERIFY(!character.enabled);

        w->Field(2)->setText(u"やまちゃん"_s);
        QTest::keyClick(w->Field(2), Qt::Key_Return);
        Settle();
        QVERIFY(!w);
        QVERIFY(character.enabled && !rig_->ctx.flags.balloonHold);
        QCOMPARE(Setting(SettingKey::Call), u"やまちゃん"_s);
        QCOMPARE(Setting(SettingKey::MsgDispLimit), u"300"_s);
        QVERIFY(played_.last().contains(u"%username"_s)); // greets by the new name
    }

    void firstStartClosedByTheUserLeavesTheCharacterUsable() {
        fakes::FakeCharacter& character = rig_->character;
        rig_->ctx.flags.balloonHold = true;
        QPointer<FirstStartWindow> w = new FirstStartWindow(rig_->ctx, &character, Recorder());
        bool dismissed = false;
        w->dismissed = [&dismissed] { dismissed = true; };
        w->show();
        QVERIFY(!character.enabled);
        w->close(); // as an empty answer: her request goes, idle talk may come again
        Settle();
        QVERIFY(!w && dismissed && character.enabled && !rig_->ctx.flags.balloonHold);
        QVERIFY(played_.isEmpty());
    }

    void menuCheckMarks() {
        const bool onTop = true, hide = false, silent = true;
        CharacterMenu menu;
        menu.Prepare({onTop, hide, silent, false, true, rig_->ctx.settings.AppFolder()}, true);
        QCOMPARE(menu.Item(MenuItem::OnTop)->isChecked(), onTop);
        QCOMPARE(menu.Item(MenuItem::Hide)->isChecked(), hide);
        QCOMPARE(menu.Item(MenuItem::Silent)->isChecked(), silent);
        // From the notification-area icon the switches are not touched.
        menu.Prepare({!onTop, !hide, !silent, true, true, rig_->ctx.settings.AppFolder()}, false);
        QCOMPARE(menu.Item(MenuItem::OnTop)->isChecked(), onTop);
        QCOMPARE(menu.Item(MenuItem::Silent)->isChecked(), silent);
    }

    void menuItems() {
        CharacterMenu menu;
        const QString folder = rig_->ctx.settings.AppFolder();
        QFile editor(folder + u"ScriptEditor.exe"_s);
        QVERIFY(editor.open(QIODevice::WriteOnly));
        editor.close();
        menu.Prepare({true, false, false, false, true, folder}, true);
        QVERIFY(menu.Item(MenuItem::ScriptEdit)->isEnabled());
        QVERIFY(!menu.Item(MenuItem::ScriptSend)->isEnabled());
        QVERIFY(!menu.Item(MenuItem::ScenarioEdit)->isEnabled());

        menu.Prepare({true, false, false, true, true, folder}, false); // minimised
        QVERIFY(!menu.Item(MenuItem::Skin)->isVisible());
        QVERIFY(menu.Item(MenuItem::Mini)->isChecked());

        // Without a notification area the character cannot be put there.
        menu.Prepare({true, false, false, false, false, folder}, true);
        QVERIFY(!menu.Item(MenuItem::Mini)->isEnabled());

        int ends = 0;
        menu.SetHandler(MenuItem::End, [&] { ++ends; });
        menu.Item(MenuItem::End)->trigger();
        menu.Item(MenuItem::About)->trigger(); // no handler: nothing happens
        QCOMPARE(ends, 1);
    }

    void draggingACharacter() {
        QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        window.setGeometry(300, 200, 100, 150);
        window.show();
        int moved = 0, finished = 0;
        CharacterDrag drag(
            window, [&] { ++moved; }, [&] { ++finished; });
        // Grabbed 50 px into her: she follows the pointer from there, whatever the window
        // thought its place was when pressed.
        window.move(0, 0);
        drag.Press(QPoint(350, 250), QPoint(50, 50));
        QVERIFY(!drag.Move(QPoint(352, 251), true)); // a jitter of the click is no drag
        QVERIFY(drag.Move(QPoint(420, 230), true));
        QCOMPARE(window.pos(), QPoint(370, 180));
        QVERIFY(drag.Move(QPoint(200, 260), true));
        QCOMPARE(window.pos(), QPoint(150, 210));
        QCOMPARE(moved, 2);
        drag.Release();
        QCOMPARE(finished, 1);
        // Moving without the button is no drag, even right after one.
        QVERIFY(!drag.Move(QPoint(100, 100), false));
        QCOMPARE(window.pos(), QPoint(150, 210));
        // A release that went astray: the next move without the button ends the drag.
        drag.Press(QPoint(200, 260), QPoint(50, 50));
        QVERIFY(drag.Move(QPoint(260, 260), true));
        QVERIFY(drag.Move(QPoint(300, 300), false));
        QCOMPARE(finished, 2);
        QVERIFY(!drag.Dragging());
        QCOMPARE(window.pos(), QPoint(210, 210));
    }

    void skinSelection() {
        const QString folder = rig_->ctx.settings.AppFolder();
        IniStore& ini = rig_->ini;
        QVERIFY(ini.Write(folder + u"b.skn"_s, u"Info", u"Name", u"ビー"_s));
        QVERIFY(ini.Write(folder + u"b.skn"_s, u"Info", u"URL", u"http://b/"_s));
        QVERIFY(ini.Write(folder + u"a.skn"_s, u"Info", u"Name", u"エー"_s));
        Write(SettingKey::SkinFile, u"a.skn"_s);
        rig_->ctx.skin.name = u"エー"_s;
        rig_->ctx.skin.author = u"不明"_s;
        rig_->ctx.skin.url = u"不明"_s;

        QPointer<SkinSelectWindow> w = new SkinSelectWindow(
            rig_->ctx, [] { return u"またね"_s; }, Recorder());
        QCOMPARE(w->Files()->count(), 2);
        QCOMPARE(w->Files()->item(1)->text(), u"ビー"_s); // the skin's own name
        QCOMPARE(SkinSelectWindow::FileOf(w->Files()->item(1)), u"b.skn"_s);
        QCOMPARE(w->Info()->toPlainText(), u"名前：エー\n作者：不明\n\nHP：不明\n"_s);
        w->ShowInfoOf(u"b.skn"_s); // read as written, no defaults
        QCOMPARE(w->Info()->toPlainText(), u"名前：ビー\n作者：\n\nHP：http://b/\n"_s);

        w->Choose(u"b.skn"_s);
        Settle();
        QCOMPARE(played_, QStringList{u"\\hまたね"_s});
        QCOMPARE(Setting(SettingKey::SkinFile), u"b.skn"_s);
        QVERIFY(rig_->ctx.flags.skinChangeRequest);
        QVERIFY(rig_->log.Text().contains(u"Character Change - ビー"_s));
    }
};

QTEST_MAIN(TestShellWindows)
#include "test_shell_windows.moc"
