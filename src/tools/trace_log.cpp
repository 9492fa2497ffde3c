#include "tools/trace_log.h"

#include "platform/clock.h"

using namespace Qt::StringLiterals;

namespace orvanel {

TraceLog::TraceLog(Clock& clock, QObject* parent) : QObject(parent), clock_(clock) {}

void TraceLog::LogLine(const QString& message) {
    Append(message + u" [ "_s + clock_.Now().time().toString(u"H:mm:ss"_s) + u" ]\r\n"_s);
}

void TraceLog::LogBegin(const QString& message) {
    stopwatch_ = clock_.TickCount();
    Append(u"  "_s + message);
}

void TraceLog::LogEnd(const QString& message) {
    const quint32 elapsed = clock_.TickCount() - stopwatch_;
    Append(message + u" [ "_s + QString::number(elapsed) + u"ms ]\r\n"_s);
}

bool TraceLog::MirrorTo(const QString& path) {
    if (mirror_.isOpen()) mirror_.close();
    mirror_.setFileName(path);
    if (!mirror_.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    mirror_.write(text_.toUtf8());
    mirror_.flush();
    return true;
}

void TraceLog::Append(const QString& piece) {
    text_ += piece;
    if (mirror_.isOpen()) {
        mirror_.write(piece.toUtf8());
        mirror_.flush();
    }
    Q_EMIT Appended(piece);
}

} // namespace orvanel
