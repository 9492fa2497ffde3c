#pragma once

#include <QFile>
#include <QObject>
#include <QString>

namespace orvanel {

class Clock;

// The in-memory trace log that the log window shows, mirrored line by line to a file when
// asked (--trace-file), so end-to-end tests and bug reports can read it.
//
// Both are bounded, so a long run or a flood of events cannot grow them without end: the
// memory keeps the newest lines up to about kMemoryChars characters, and the file is moved
// to "<path>.1" (replacing the one before) when it reaches kFileBytes.
class TraceLog : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMemoryChars = 512 * 1024; // 1 MiB of UTF-16
    static constexpr qint64 kFileBytes = 4000 * 1000;     // two files: at most 8 MB

    explicit TraceLog(Clock& clock, QObject* parent = nullptr);

    // message + " [ " + time of day + " ]" + CR LF
    void LogLine(const QString& message);
    // Restarts the stopwatch; "  " + message, no line end.
    void LogBegin(const QString& message);
    // message + " [ " + elapsed ms + "ms ]" + CR LF
    void LogEnd(const QString& message);

    // The newest lines, whole lines only once the oldest have been let go.
    const QString& Text() const { return text_; }

    // Mirrors everything (the history so far included) to `path`. False when it cannot open.
    [[nodiscard]] bool MirrorTo(const QString& path);

    // Smaller bounds, for tests.
    void SetLimits(qsizetype memoryChars, qint64 fileBytes);

Q_SIGNALS:
    void Appended(const QString& piece);

private:
    void Append(const QString& piece);
    void Mirror(const QByteArray& bytes);

    Clock& clock_;
    QString text_;
    quint32 stopwatch_ = 0;
    QFile mirror_;
    qint64 mirrored_ = 0; // bytes in the mirror file
    qsizetype memoryChars_ = kMemoryChars;
    qint64 fileBytes_ = kFileBytes;
};

} // namespace orvanel
