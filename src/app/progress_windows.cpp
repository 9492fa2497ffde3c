#include "app/progress_windows.h"

#include "core/app_context.h"
#include "tools/trace_log.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

void CentreOnScreen(QWidget& w) {
    w.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        w.move(screen->availableGeometry().center() - w.rect().center());
}

QLabel* Title(QWidget* parent) {
    auto* title = new QLabel(u"Orvanel"_s, parent);
    QFont f = title->font();
    f.setPointSize(f.pointSize() * 2);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    return title;
}

} // namespace

SplashWindow::SplashWindow(AppContext& ctx, const QString& versionText, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), ctx_(ctx) {
    ctx_.log.LogLine(u"Load SplashForm"_s);
    setObjectName(u"frmSplash"_s);
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(Title(this));
    version_ = new QLabel(versionText, this);
    version_->setObjectName(u"lblversion"_s);
    version_->setAlignment(Qt::AlignCenter);
    layout->addWidget(version_);
    CentreOnScreen(*this);
}

SplashWindow::~SplashWindow() {
    ctx_.log.LogLine(u"Unload SplashForm"_s);
}

RegionProgressWindow::RegionProgressWindow(AppContext& ctx, std::function<void()> unloadSplash,
                                           QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), ctx_(ctx),
      unloadSplash_(std::move(unloadSplash)) {
    setObjectName(u"Form9"_s);
    setWindowTitle(u"Region"_s);
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Title(this));
    layout->addWidget(new QLabel(u"しばらくお待ちください。"_s, this));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(u"ProgressBar1"_s);
    layout->addWidget(bar_);
    setFixedWidth(280);
}

void RegionProgressWindow::Open() {
    if (open_) return;
    open_ = true;
    ctx_.log.LogBegin(u"Load RegionCreateForm..."_s);
    if (unloadSplash_) unloadSplash_();
    ctx_.log.LogEnd(u" Complete"_s);
    setWindowTitle(u"Region"_s);
    bar_->setValue(0);
    CentreOnScreen(*this);
    show();
    repaint();
}

void RegionProgressWindow::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}
void RegionProgressWindow::SetMaximum(int maximum) {
    bar_->setMaximum(qMax(1, maximum));
}
void RegionProgressWindow::SetValue(int value) {
    bar_->setValue(value);
}

void RegionProgressWindow::Close() {
    if (!open_) return;
    open_ = false;
    hide();
    ctx_.log.LogEnd(u"Unload RegionCreateForm"_s);
}

} // namespace orvanel
