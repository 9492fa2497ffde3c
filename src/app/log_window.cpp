#include "app/log_window.h"

#include "app/character_drag.h"
#include "tools/trace_log.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// The log trims its oldest lines; the window reloads once it holds this much more than that.
constexpr qsizetype kSlack = 64 * 1024;

QString WithoutCr(const QString& text) {
    return QString(text).remove(u'\r');
}

} // namespace

LogWindow::LogWindow(TraceLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), text_(new QPlainTextEdit),
      drag_(new CharacterDrag(*this, {}, {})) {
    setObjectName(u"frmLog"_s);
    setWindowTitle(u"TOMU 動作ログ"_s);
    text_->setObjectName(u"txtSubMsg"_s);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    resize(480, 320);
    log_.LogLine(u"Load LogForm"_s);
    connect(&log_, &TraceLog::Appended, this, &LogWindow::Append);
}

LogWindow::~LogWindow() {
    disconnect(&log_, nullptr, this, nullptr);
    log_.LogLine(u"Unload LogForm"_s);
}

void LogWindow::showEvent(QShowEvent* event) {
    if (stale_) Reload();
    QWidget::showEvent(event);
}

void LogWindow::Append(const QString& piece) {
    // Hidden, nothing is drawn: the text is brought up to date when shown.
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    if (text_->document()->characterCount() > log_.Text().size() + kSlack) {
        Reload();
        return;
    }
    QTextCursor end = text_->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(WithoutCr(piece));
    text_->setTextCursor(end);
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

void LogWindow::Reload() {
    stale_ = false;
    text_->setPlainText(WithoutCr(log_.Text()));
    text_->moveCursor(QTextCursor::End);
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

bool LogWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != text_->viewport() ||
        (type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonPress &&
         type != QEvent::MouseMove && type != QEvent::MouseButtonRelease))
        return QWidget::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (type) {
    case QEvent::MouseButtonDblClick:
        hide();
        return true;
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton)
            drag_->Press(mouse->globalPosition().toPoint(),
                         text_->viewport()->mapTo(this, mouse->position().toPoint()));
        break;
    case QEvent::MouseMove:
        return drag_->Move(mouse->globalPosition().toPoint(),
                           mouse->buttons().testFlag(Qt::LeftButton));
    default: // MouseButtonRelease
        if (mouse->button() == Qt::LeftButton) drag_->Release();
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvanel
