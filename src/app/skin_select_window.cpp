#include "app/skin_select_window.h"

#include "core/app_context.h"
#include "tools/trace_log.h"

#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

namespace orvanel {

SkinSelectWindow::SkinSelectWindow(AppContext& ctx, std::function<QString()> farewell,
                                   std::function<void(const QString&)> play, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), ctx_(ctx),
      farewell_(std::move(farewell)), play_(std::move(play)) {
    ctx_.log.LogBegin(u"Load SkinSlectForm..."_s);
    setObjectName(u"frmSelSkin"_s);
    setWindowTitle(u"スキン選択 - Orvanel"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    files_ = new QListWidget;
    files_->setObjectName(u"File1"_s);
    info_ = new QPlainTextEdit;
    info_->setObjectName(u"Text1"_s);
    info_->setReadOnly(true);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(files_);
    layout->addWidget(info_);
    connect(files_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowInfoOf(FileOf(item)); });
    connect(files_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Choose(FileOf(item)); });
    files_->installEventFilter(this);
    Refresh();
    const SkinState& skin = ctx_.skin;
    info_->setPlainText(InfoText(skin.name, skin.author, skin.url));
    files_->setFocus();
    ctx_.log.LogEnd(u" Complete"_s);
}

bool SkinSelectWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a file does what a double click does, for those who use the keyboard.
    if (watched == files_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && files_->currentItem()) {
            Choose(FileOf(files_->currentItem()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

SkinSelectWindow::~SkinSelectWindow() {
    ctx_.log.LogLine(u"Unload SkinSelectForm"_s);
}

QString SkinSelectWindow::InfoText(const QString& name, const QString& author, const QString& url) {
    return u"名前："_s + name + u"\r\n作者："_s + author + u"\r\n\r\nHP："_s + url + u"\r\n"_s;
}

void SkinSelectWindow::Refresh() {
    files_->clear();
    const QDir folder(ctx_.settings.AppFolder());
    // Each skin by the name it gives itself; the file name where it gives none.
    for (const QString& file :
         folder.entryList({u"*.skn"_s}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        const QString name = ctx_.settings.ReadIni(folder.filePath(file), u"Info"_s, u"Name"_s);
        auto* item = new QListWidgetItem(name.isEmpty() ? file : name, files_);
        item->setData(Qt::UserRole, file);
        item->setToolTip(file);
    }
}

QString SkinSelectWindow::FileOf(const QListWidgetItem* item) {
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void SkinSelectWindow::ShowInfoOf(const QString& fileName) {
    const QString path = ctx_.settings.AppFolder() + fileName;
    const auto info = [&](const QString& key) {
        return ctx_.settings.ReadIni(path, u"Info"_s, key);
    };
    info_->setPlainText(InfoText(info(u"Name"_s), info(u"Author"_s), info(u"URL"_s)));
}

void SkinSelectWindow::Choose(const QString& fileName) {
    const QString path = ctx_.settings.AppFolder() + fileName;
    ctx_.log.LogLine(u"Character Change - "_s + ctx_.settings.ReadIni(path, u"Info"_s, u"Name"_s));
    // Unwritten, the choice holds for this run only (the settings keep it in memory).
    if (!ctx_.settings.WriteSetting(SettingKey::SkinFile, fileName))
        ctx_.log.LogLine(u"Write failed: "_s + SettingName(SettingKey::SkinFile));
    // The leaving word goes after the speaker tag: behind it, the closing "\h" would move the
    // word out of the main balloon and the farewell would never be seen.
    play_(u"\\h"_s + farewell_());
    ctx_.flags.skinChangeRequest = true;
    close();
}

} // namespace orvanel
