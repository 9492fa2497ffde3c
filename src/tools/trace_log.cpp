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

void TraceLog::SetLimits(qsizetype memoryChars, qint64 fileBytes) {
    memoryChars_ = memoryChars;
    fileBytes_ = fileBytes;
}

bool TraceLog::MirrorTo(const QString& path) {
    if (mirror_.isOpen()) mirror_.close();
    mirror_.setFileName(path);
    if (!mirror_.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    mirrored_ = 0;
    Mirror(text_.toUtf8());
    return true;
}

void TraceLog::Mirror(const QByteArray& bytes) {
    if (mirrored_ > 0 && mirrored_ + bytes.size() > fileBytes_) {
        // One older file is kept: what led up to a problem stays readable after a flood.
        const QString path = mirror_.fileName();
        const QString older = path + u".1"_s;
        mirror_.close();
        QFile::remove(older);
        QFile::rename(path, older);
        mirror_.setFileName(path);
        if (!mirror_.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
        mirrored_ = 0;
    }
    mirror_.write(bytes);
    mirror_.flush();
    mirrored_ += bytes.size();
}

void TraceLog::Append(const QString& piece) {
    text_ += piece;
    if (text_.size() > memoryChars_) {
        // Cut well below the bound, at a line start, so that trimming is rare and the log
        // never begins in the middle of a line.
        const qsizetype excess = text_.size() - memoryChars_ * 3 / 4;
        const qsizetype lineEnd = text_.indexOf(u'\n', excess);
        text_.remove(0, lineEnd < 0 ? text_.size() : lineEnd + 1);
        text_.squeeze();
    }
    if (mirror_.isOpen()) Mirror(piece.toUtf8());
    Q_EMIT Appended(piece);
}

} // namespace orvanel
