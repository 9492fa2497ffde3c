#include "tools/trace_log.h"

#include "platform/clock.h"

namespace orvanel {

TraceLog::TraceLog(Clock& clock, QObject* parent) : QObject(parent), clock_(clock) {}

void TraceLog::LogLine(const QString& message) {
    Append(message + QStringLiteral(" [ ") +
           clock_.Now().time().toString(QStringLiteral("H:mm:ss")) + QStringLiteral(" ]\r\n"));
}

void TraceLog::LogBegin(const QString& message) {
    stopwatch_ = clock_.TickCount();
    Append(QStringLiteral("  ") + message);
}

void TraceLog::LogEnd(const QString& message) {
    const quint32 elapsed = clock_.TickCount() - stopwatch_;
    Append(message + QStringLiteral(" [ ") + QString::number(elapsed) + QStringLiteral("ms ]\r\n"));
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
