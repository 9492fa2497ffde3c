#pragma once

#include <QFile>
#include <QObject>
#include <QString>

namespace orvanel {

class Clock;

// The in-memory trace log that the log window shows, mirrored line by line to a file when
// asked (--trace-file), so end-to-end tests and bug reports can read it.
class TraceLog : public QObject {
    Q_OBJECT
public:
    explicit TraceLog(Clock& clock, QObject* parent = nullptr);

    // message + " [ " + time of day + " ]" + CR LF
    void LogLine(const QString& message);
    // Restarts the stopwatch; "  " + message, no line end.
    void LogBegin(const QString& message);
    // message + " [ " + elapsed ms + "ms ]" + CR LF
    void LogEnd(const QString& message);

    const QString& Text() const { return text_; }

    // Mirrors everything (the history so far included) to `path`. False when it cannot open.
    [[nodiscard]] bool MirrorTo(const QString& path);

Q_SIGNALS:
    void Appended(const QString& piece);

private:
    void Append(const QString& piece);

    Clock& clock_;
    QString text_;
    quint32 stopwatch_ = 0;
    QFile mirror_;
};

} // namespace orvanel
