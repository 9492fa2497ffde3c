#include "app/option_window.h"

#include "balloon/panel_widgets.h"
#include "core/app_context.h"
#include "platform/autostart.h"
#include "platform/random.h"
#include "tools/trace_log.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {
// The fields Text1..Text5, and the order in which OK writes them.
constexpr SettingKey kFieldKeys[] = {SettingKey::TOMULimitTime, SettingKey::MsgDispLimit,
                                     SettingKey::Name1, SettingKey::Name2, SettingKey::Call};
constexpr int kWriteOrder[] = {2, 3, 4, 0, 1};
constexpr const char16_t* kLabels[] = {u"おしゃべり間隔", u"バルーン(吹き出し)表示時間", u"名字",
                                       u"名前", u"呼び方"};

// Ticks, 64 to the second: idle talk from every 5 seconds to once a day, a balloon shown from
// 1 second to an hour. Zero or less would murmur at every tick or never close a balloon.
struct TickRange {
    int low;
    int high;
};
constexpr TickRange kRanges[] = {{320, 64 * 60 * 60 * 24}, {64, 64 * 60 * 60}};
} // namespace

OptionWindow::OptionWindow(AppContext& ctx, std::function<void(const QString&)> play,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), play_(std::move(play)) {
    ctx_.log.LogBegin(u"Load ConfigrationForm..."_s);
    setObjectName(u"frmOption"_s);
    setWindowTitle(u"TOMU ユーザー設定"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    ctx_.flags.balloonHold = true;

    auto* form = new QFormLayout;
    QString values[5];
    for (int i = 0; i < 5; ++i) {
        values[i] = ctx_.settings.ReadSetting(kFieldKeys[i]);
        auto* field = new QLineEdit(values[i]);
        field->setObjectName(u"Text%1"_s.arg(i + 1));
        fields_[size_t(i)] = field;
        if (i >= 2) {
            form->addRow(QString::fromUtf16(kLabels[i]), field);
            continue;
        }
        field->setValidator(new QIntValidator(kRanges[i].low, kRanges[i].high, field));
        auto* row = new QHBoxLayout;
        row->addWidget(field);
        row->addWidget(new QLabel(u"× 1/64秒"_s));
        form->addRow(QString::fromUtf16(kLabels[i]), row);
    }
    refusal_ = new QLabel;
    refusal_->setObjectName(u"lblRefusal"_s);
    refusal_->setStyleSheet(u"color: #c00000"_s);
    refusal_->hide();
    form->addRow(refusal_);
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName(u"Slider1"_s);
    slider_->setRange(1, 100);
    slider_->setValue(ctx_.flags.timerInterval);
    form->addRow(u"スクリプト表示速度(デフォルトは50)"_s, slider_);
    startAtLogin_ = new QCheckBox(u"ログイン時に起動"_s);
    startAtLogin_->setObjectName(u"StartAtLogin"_s);
    startAtLogin_->setChecked(StartsAtLogin());
    form->addRow(startAtLogin_);
    callAtLoad_ = values[4];
    // Enter moves to the next field; in the last one it is OK.
    for (int i = 0; i < 5; ++i)
        new EnterKeyFilter(fields_[size_t(i)], [this, i] {
            if (i < 4)
                fields_[size_t(i + 1)]->setFocus();
            else
                Ok();
        });

    ok_ = new QPushButton(u"OK"_s);
    cancel_ = new QPushButton(u"キャンセル"_s);
    connect(ok_, &QPushButton::clicked, this, &OptionWindow::Ok);
    connect(cancel_, &QPushButton::clicked, this, &OptionWindow::Cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    ctx_.log.LogEnd(u" Complete"_s);
}

OptionWindow::~OptionWindow() {
    ctx_.flags.balloonHold = false;
    ctx_.log.LogLine(u"Unload ConfigrationForm"_s);
}

QString OptionWindow::Refusal() const {
    return refusal_->isHidden() ? QString() : refusal_->text();
}

void OptionWindow::Ok() {
    for (QLineEdit* f : fields_)
        if (f->text().isEmpty()) return;
    for (int i = 0; i < 2; ++i) {
        QLineEdit* f = fields_[size_t(i)];
        if (f->hasAcceptableInput()) continue;
        refusal_->setText(u"%1は%2～%3の数で入れてください。"_s.arg(QString::fromUtf16(kLabels[i]))
                              .arg(kRanges[i].low)
                              .arg(kRanges[i].high));
        refusal_->show();
        f->setFocus();
        f->selectAll();
        return;
    }
    refusal_->hide();
    const Settings& s = ctx_.settings;
    bool written = true;
    const auto write = [&](SettingKey key, const QString& value) {
        if (s.WriteSetting(key, value)) return;
        ctx_.log.LogLine(u"Write failed: "_s + SettingName(key));
        written = false;
    };
    for (const int i : kWriteOrder)
        write(kFieldKeys[i], fields_[size_t(i)]->text());
    write(SettingKey::TimerInterval, QString::number(slider_->value()));
    ctx_.flags.timerInterval = slider_->value();
    // The entry names this program and this folder, so the login start is the same Kanami.
    const bool atLogin = startAtLogin_->isChecked();
    if (atLogin != StartsAtLogin() &&
        !SetStartAtLogin(atLogin, QCoreApplication::applicationFilePath(), s.AppFolder())) {
        ctx_.log.LogLine(u"Write failed: "_s + AutostartEntryPath());
        written = false;
    }
    const bool sameCall = fields_[4]->text() == callAtLoad_;
    close();
    LoadUserInfo(ctx_.settings, ctx_.profile, ctx_.log);
    if (!written) {
        // The profile is what the file holds, so she does not pretend the fields took.
        play_(u"\\h設定、書き込めなかった～。"_s);
        return;
    }
    if (!sameCall) {
        play_(u"\\hういっす。%username。\\n\\nよろしく～。"_s);
        return;
    }
    switch (ctx_.random.Pick(3)) {
    case 1:
        play_(u"\\hふぅ。設定そんなにいじっても仕方ないよね。"_s);
        break;
    case 2:
        play_(u"\\hファイナルアンサー？"_s);
        break;
    default:
        play_(u"\\hほえほえ～。"_s);
        break;
    }
}

void OptionWindow::Cancel() {
    play_(u"\\h人生にキャンセルは効かないよ～。\\w8\\w8\\u効かないよ～。"_s);
    close();
}

} // namespace orvanel
