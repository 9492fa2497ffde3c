#include "app/system_launcher_window.h"

#include "tools/trace_log.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace orvanel {

SystemLauncherWindow::SystemLauncherWindow(TraceLog& log, Start start,
                                           std::function<void(const QString&)> play,
                                           QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), start_(std::move(start)), play_(std::move(play)) {
    setObjectName(u"frmSL"_s);
    setWindowTitle(u"System Launch for TOMU"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);

    log_.LogBegin(u"Load SystemLaunchForm..."_s);
    auto* grid = new QGridLayout(this);
    const auto tools = LauncherTools();
    for (int i = 0; i < int(tools.size()); ++i) {
        const LauncherTool& tool = tools[size_t(i)];
        auto* button = new QPushButton(QString::fromUtf16(tool.caption));
        button->setObjectName(QString::fromUtf16(tool.button));
        std::optional<ToolCommand> command = FindTool(tool);
        button->setEnabled(command.has_value());
        button->setToolTip(command ? (QStringList{command->program} + command->arguments).join(u' ')
                                   : u"見つかりません"_s);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, i] { Launch(i); });
        grid->addWidget(button, i / 2, i % 2);
        buttons_.append({button, std::move(command)});
    }
    close_ = new QLabel(u"<a href=\"#\">閉じる</a>"_s);
    close_->setObjectName(u"Label1"_s);
    close_->setAlignment(Qt::AlignRight);
    connect(close_, &QLabel::linkActivated, this, &QWidget::close);
    grid->addWidget(close_, int(tools.size() + 1) / 2, 0, 1, 2);
    log_.LogEnd(u" Complete"_s);
}

SystemLauncherWindow::~SystemLauncherWindow() {
    log_.LogLine(u"Unload SystemLaunchForm"_s);
}

void SystemLauncherWindow::Launch(int row) {
    const LauncherTool& tool = LauncherTools()[size_t(row)];
    const std::optional<ToolCommand>& command = buttons_[row].command;
    if (tool.announce) close();
    // The tool was there when the window opened; it may have gone since.
    const bool started = command && start_(command->program, command->arguments);
    if (!tool.announce) close();
    if (!started)
        play_(u"\\h"_s + QString::fromUtf16(tool.caption) + u"の起動に失敗しました。"_s);
    else if (tool.announce)
        play_(u"\\h起動！"_s);
}

bool SystemLauncherWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter && !explained_) {
        for (int i = 0; i < buttons_.size(); ++i) {
            if (buttons_[i].button != watched || !buttons_[i].button->isEnabled()) continue;
            explained_ = true;
            play_(QString::fromUtf16(LauncherTools()[size_t(i)].hover));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SystemLauncherWindow::mouseMoveEvent(QMouseEvent* event) {
    // A disabled button passes its moves on: it counts as background.
    const auto* button = qobject_cast<QPushButton*>(childAt(event->position().toPoint()));
    if (!button || !button->isEnabled()) explained_ = false;
    QWidget::mouseMoveEvent(event);
}

} // namespace orvanel
