#include "app/debug_window.h"

#include "core/app_context.h"
#include "engine/engine.h"
#include "script/play_state.h"
#include "script/script_player.h"
#include "tools/trace_log.h"
#include "watch/main_timer.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

enum class Frame { Script, Timer, Flags };

struct BoxRow {
    DebugBox box;
    Frame frame;
    const char16_t* caption; // "" for the four boxes of the touches
    const char16_t* name;    // for screen readers and tests
};

constexpr BoxRow kBoxes[] = {
    {DebugBox::TalkCount, Frame::Script, u"話し回数", u"話し回数"},
    {DebugBox::PlayPosition, Frame::Script, u"文字カウント", u"文字カウント"},
    {DebugBox::MsgScope, Frame::Script, u"メッセージスコープ", u"メッセージスコープ"},
    {DebugBox::Murmur, Frame::Timer, u"つぶやき", u"つぶやき"},
    {DebugBox::MainBalloon, Frame::Timer, u"バルーン", u"バルーン"},
    {DebugBox::FellowBalloon, Frame::Timer, u"ツッコミ役", u"ツッコミ役"},
    {DebugBox::Blink, Frame::Timer, u"まばたき", u"まばたき"},
    {DebugBox::StrokeTicks, Frame::Timer, u"", u"なでなで"},
    {DebugBox::EyeQuiet, Frame::Timer, u"", u"目"},
    {DebugBox::MouthQuiet, Frame::Timer, u"", u"口"},
    {DebugBox::BodyQuiet, Frame::Timer, u"", u"体"},
    {DebugBox::TimeSignal, Frame::Flags, u"正時", u"正時"},
    {DebugBox::BalloonHold, Frame::Flags, u"入力", u"入力"},
    {DebugBox::FaceChange, Frame::Flags, u"顔変更", u"顔変更"},
    {DebugBox::InputForm, Frame::Flags, u"入力フォーム", u"入力フォーム"},
    {DebugBox::SelectForm, Frame::Flags, u"選択フォーム", u"選択フォーム"},
    {DebugBox::Minimized, Frame::Flags, u"最小化", u"最小化"},
    {DebugBox::ScriptRunning, Frame::Flags, u"スクリプト解析", u"スクリプト解析"},
};

QString Number(qint64 n) {
    return QString::number(n);
}

QString Flag(bool on) {
    return on ? u"True"_s : u"False"_s;
}

// What is left of a count up to `limit`, and the limit.
QString Left(qint32 limit, qint32 count) {
    return Number(qint64(limit) - count) + u'/' + Number(limit);
}

} // namespace

std::array<QString, kDebugBoxCount> DebugStatus(const Engine& engine) {
    const AppContext& ctx = engine.Context();
    const RunFlags& f = ctx.flags;
    const TouchState& t = ctx.touch;
    const Profile& p = ctx.profile;
    const MainTimer::Counters c = engine.Timer() ? engine.Timer()->State() : MainTimer::Counters{};
    const PlayState& play = engine.Play();
    return {
        Number(f.talkCount),
        Number(engine.Player().Position()),
        Number(int(play.MsgScope())),
        Left(p.TOMULimitTime, c.murmur),
        Left(p.MsgDispLimit, f.mainBalloonCounter),
        Left(p.MsgDispLimit, f.fellowBalloonCounter),
        Left(c.blinkInterval, c.blinkCount),
        Number(t.strokeTicks),
        Number(t.eyeQuietTicks),
        Number(t.mouthQuietTicks),
        Number(t.bodyQuietTicks),
        Flag(c.timeSignalDone),
        Flag(f.balloonHold),
        // The face change and input form flags have no writer here.
        Flag(false),
        Flag(false),
        Flag(play.Pending() != FinishAction::None),
        Flag(f.minimized),
        Flag(f.scriptRunning),
    };
}

DebugWindow::DebugWindow(Engine& engine, ShellTalk& talk, CharacterView& character, Hooks hooks,
                         QWidget* parent)
    : QMainWindow(parent), engine_(engine), talk_(talk), character_(character),
      hooks_(std::move(hooks)) {
    TraceLog& log = engine_.Context().log;
    log.LogBegin(u"Load DebugForm..."_s);
    setObjectName(u"frmDebug"_s);
    setWindowTitle(u"TOMU デバッグウインドウ"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    msgTest_ = new QLineEdit;
    msgTest_->setObjectName(u"MsgTest"_s);
    msgTest_->setAccessibleName(u"スクリプト"_s);
    msgTest_->installEventFilter(this);
    connect(msgTest_, &QLineEdit::returnPressed, this, &DebugWindow::EnterScript);
    column->addWidget(msgTest_);

    auto* frames = new QHBoxLayout;
    QFormLayout* forms[3];
    const char16_t* titles[] = {u"スクリプト", u"タイマー", u"フラグ"};
    for (int i = 0; i < 3; ++i) {
        auto* group = new QGroupBox(QString::fromUtf16(titles[i]));
        forms[i] = new QFormLayout(group);
        frames->addWidget(group, 0, Qt::AlignTop);
    }
    QHBoxLayout* touches = nullptr;
    for (const BoxRow& row : kBoxes) {
        auto* box = new QLineEdit;
        box->setReadOnly(true);
        box->setAccessibleName(QString::fromUtf16(row.name));
        box->setMaximumWidth(110);
        boxes_[size_t(row.box)] = box;
        QFormLayout* form = forms[int(row.frame)];
        if (*row.caption) {
            form->addRow(QString::fromUtf16(row.caption), box);
            continue;
        }
        box->setToolTip(box->accessibleName());
        box->setMaximumWidth(48);
        if (!touches) form->addRow(touches = new QHBoxLayout);
        touches->addWidget(box);
    }

    auto* region = new QGroupBox(u"リージョン"_s);
    auto* regionForm = new QFormLayout(region);
    text12_ = new QLineEdit;
    text12_->setObjectName(u"Text12"_s);
    text12_->setAccessibleName(u"座標"_s);
    text12_->setReadOnly(true);
    check1_ = new QCheckBox(u"判定OFF"_s);
    check1_->setObjectName(u"Check1"_s);
    check2_ = new QCheckBox(u"枠表示"_s);
    check2_->setObjectName(u"Check2"_s);
    regionForm->addRow(text12_);
    regionForm->addRow(check1_);
    regionForm->addRow(check2_);
    connect(check1_, &QCheckBox::toggled, this, [this](bool on) {
        if (hooks_.hitAreasOff) hooks_.hitAreasOff(on);
    });
    connect(check2_, &QCheckBox::toggled, this, [this](bool on) {
        if (hooks_.hitAreaFrames) hooks_.hitAreaFrames(on);
    });
    frames->addWidget(region, 0, Qt::AlignTop);
    column->addLayout(frames);
    setCentralWidget(central);

    BuildMenu();
    // The original refreshed every 10 ms; ten times a second is as much as anyone reads.
    timer1_.setObjectName(u"Timer1"_s);
    timer1_.setInterval(kRefreshMs);
    connect(&timer1_, &QTimer::timeout, this, &DebugWindow::Refresh);
    log.LogEnd(u" Complete"_s);
}

DebugWindow::~DebugWindow() {
    engine_.Context().log.LogLine(u"Unload DebugForm"_s);
}

void DebugWindow::ShowPointer(QPoint twips) {
    text12_->setText(Number(twips.x()) + u',' + Number(twips.y()));
}

void DebugWindow::Refresh() {
    const std::array<QString, kDebugBoxCount> texts = DebugStatus(engine_);
    for (int i = 0; i < kDebugBoxCount; ++i)
        if (boxes_[size_t(i)]->text() != texts[size_t(i)])
            boxes_[size_t(i)]->setText(texts[size_t(i)]);
}

void DebugWindow::showEvent(QShowEvent* event) {
    Refresh();
    timer1_.start();
    QMainWindow::showEvent(event);
}

void DebugWindow::hideEvent(QHideEvent* event) {
    timer1_.stop();
    QMainWindow::hideEvent(event);
}

// Enter plays the line as it stands, cutting short whatever wait is running.
void DebugWindow::EnterScript() {
    RunFlags& flags = engine_.Context().flags;
    flags.balloonHold = false;
    flags.waitCancel = true;
    flags.click = true;
    hooks_.play(msgTest_->text());
}

bool DebugWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == msgTest_ && event->type() == QEvent::MouseButtonDblClick) {
        msgTest_->selectAll();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace orvanel
