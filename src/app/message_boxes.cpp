#include "app/message_boxes.h"

#include "platform/system_actions.h"
#include "tools/trace_log.h"

#include <QMessageBox>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {
const QString kTitle = u"Orvanel"_s;
} // namespace

bool MessageBoxes::LoggedOnly() {
    return SystemActionsLogOnly() ||
           qEnvironmentVariable("ORVANEL_MESSAGE_BOXES").compare(u"log"_s, Qt::CaseInsensitive) ==
               0;
}

void MessageBoxes::Log(const QString& kind, const QString& text) {
    const QString line = kind + u": "_s + text;
    if (log_) log_->LogLine(line);
    std::fprintf(stderr, "orvanel: %s\n", qPrintable(line));
}

void MessageBoxes::ShowMessage(const QString& text) {
    if (LoggedOnly()) {
        Log(u"MessageBox"_s, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok);
    box.exec();
}

bool MessageBoxes::Confirm(const QString& text) {
    if (LoggedOnly()) {
        Log(u"Confirm"_s, text);
        return true;
    }
    QMessageBox box(QMessageBox::Question, kTitle, text, QMessageBox::Ok | QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

} // namespace orvanel
