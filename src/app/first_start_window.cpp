#include "app/first_start_window.h"

#include "balloon/panel_widgets.h"
#include "core/app_context.h"
#include "core/views.h"
#include "tools/trace_log.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace orvanel {

FirstStartWindow::FirstStartWindow(AppContext& ctx, CharacterView* character,
                                   std::function<void(const QString&)> play, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), character_(character), play_(std::move(play)) {
    ctx_.log.LogBegin(u"Load UserInfoForm..."_s);
    setObjectName(u"Form6"_s);
    setWindowTitle(u"初回起動 - ユーザー情報チェック"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* form = new QFormLayout(this);
    const QString labels[] = {u"名字"_s, u"名前"_s, u"呼び方"_s};
    const QString values[] = {ctx_.profile.name1, ctx_.profile.name2, ctx_.profile.callName};
    for (int i = 0; i < 3; ++i) {
        auto* field = new QLineEdit(values[i]);
        field->setObjectName(u"Text%1"_s.arg(i + 1));
        fields_[size_t(i)] = field;
        form->addRow(labels[i], field);
    }
    for (int i = 0; i < 3; ++i)
        new EnterKeyFilter(fields_[size_t(i)], [this, i] {
            if (i < 2)
                fields_[size_t(i + 1)]->setFocus();
            else
                Ok();
        });
    ok_ = new QPushButton(u"&OK"_s);
    connect(ok_, &QPushButton::clicked, this, &FirstStartWindow::Ok);
    form->addRow(ok_);
    if (character_) character_->SetEnabled(false);
    ctx_.log.LogEnd(u" Complete"_s);
}

FirstStartWindow::~FirstStartWindow() {
    // However the window goes, the character must not stay frozen.
    if (character_) character_->SetEnabled(true);
    ctx_.log.LogLine(u"Unload UserInfoForm"_s);
}

void FirstStartWindow::Ok() {
    for (QLineEdit* f : fields_)
        if (f->text().isEmpty()) {
            play_(u"\\hきちんと入力してよ～。"_s);
            return;
        }
    const bool saved =
        SaveUserInfo(ctx_.settings, fields_[0]->text(), fields_[1]->text(), fields_[2]->text());
    if (character_) character_->SetEnabled(true);
    LoadUserInfo(ctx_.settings, ctx_.profile, ctx_.log);
    if (saved) {
        play_(u"\\h%usernameさんですか。\\n\\nこれからよろしくお願いします。"_s);
    } else {
        // The settings keep the names for this run; the next start asks again, and the
        // message box about the file has said why.
        ctx_.log.LogLine(u"Write failed: "_s + ctx_.settings.SettingsFile());
        play_(u"\\h%usernameさんですか。\\n\\nでも名前を書き込めなかった～。"_s);
    }
    ctx_.flags.balloonHold = false;
    answered_ = true;
    close();
}

void FirstStartWindow::closeEvent(QCloseEvent* event) {
    // Like an empty answer: she stops asking and idle talk goes on.
    if (!answered_) {
        ctx_.flags.balloonHold = false;
        if (dismissed) dismissed();
    }
    QWidget::closeEvent(event);
}

} // namespace orvanel
