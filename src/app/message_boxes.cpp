#include "app/message_boxes.h"

#include "platform/system_actions.h"
#include "tools/trace_log.h"

#include <QMessageBox>

#include <cstdio>

namespace orvanel {
namespace {
const QString kTitle = QStringLiteral("Orvanel");
} // namespace

bool MessageBoxes::LoggedOnly() {
    return SystemActionsLogOnly() ||
           qEnvironmentVariable("ORVANEL_MESSAGE_BOXES")
                   .compare(QStringLiteral("log"), Qt::CaseInsensitive) == 0;
}

void MessageBoxes::Log(const QString& kind, const QString& text) {
    const QString line = kind + QStringLiteral(": ") + text;
    if (log_) log_->LogLine(line);
    std::fprintf(stderr, "orvanel: %s\n", qPrintable(line));
}

void MessageBoxes::ShowMessage(const QString& text) {
    if (LoggedOnly()) {
        Log(QStringLiteral("MessageBox"), text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok);
    box.exec();
}

bool MessageBoxes::Confirm(const QString& text) {
    if (LoggedOnly()) {
        Log(QStringLiteral("Confirm"), text);
        return true;
    }
    QMessageBox box(QMessageBox::Question, kTitle, text, QMessageBox::Ok | QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

} // namespace orvanel
