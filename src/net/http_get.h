#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

namespace orvanel {

class TraceLog;

// What bounds one download; tests shorten the time-outs.
struct FetchLimits {
    int connectMs = 15000; // from the start (or a redirect) until the request is sent
    int receiveMs = 30000; // longest silence of the server after that
    qint64 maxBytes = 4 * 1024 * 1024;
    int maxRedirects = 5;
};

// How a download ended.
enum class FetchFailure {
    None,
    NoConnection, // the server could not be reached (no network, refused, connect time-out)
    Address,      // not an http(s) address, an HTTP error status, too many or unsafe redirects
    Transfer,     // broken off, silent too long, or larger than FetchLimits::maxBytes
};

struct FetchResult {
    FetchFailure failure = FetchFailure::None;
    QByteArray body;          // the whole page; empty on failure
    QByteArray headerCharset; // the charset of the response's Content-Type, if any
    QString error;            // why, for the trace log
};

// Whether a connection to `url`'s server can be tried: the loopback always; otherwise the
// system's network information says no only when it knows the machine is offline. Without
// such information the attempt itself decides.
bool ConnectionPossible(const QUrl& url);

// The download of one page at a time over HTTP(S), without blocking the event loop: always
// from the network, agent "TOMU HTTP Module", the system's proxy settings, redirects followed
// (never from https to http). The caller is told the progress texts for the balloon:
// "データを受信しています・・・" once the server answers, "データ受信中 - <n>bytes" each time
// data arrives and "データ取得完了" at the end of a good download.
class HttpGet : public QObject {
    Q_OBJECT
public:
    using Progress = std::function<void(const QString& text)>;
    using Done = std::function<void(const FetchResult& result)>;

    explicit HttpGet(TraceLog& log, FetchLimits limits = {}, QObject* parent = nullptr);
    ~HttpGet() override;

    // Starts downloading `url`. A download still running is abandoned: its `done` never runs.
    // `done` runs once, later, from the event loop (never inside Get); at once (NoConnection)
    // when ConnectionPossible says no.
    void Get(const QUrl& url, Progress progress, Done done);
    // Abandons the running download, if any; its `done` never runs.
    void Abort();
    bool Busy() const { return bool(done_); }

    const FetchLimits& Limits() const { return limits_; }
    void SetLimits(const FetchLimits& limits) { limits_ = limits; }

private:
    QNetworkAccessManager& Manager();
    void Answered();
    void DataArrived();
    void TimedOut();
    void Finished();
    void EndLater(FetchResult result);
    void Fail(FetchFailure failure, const QString& why);
    void End(FetchResult result);
    void Say(const QString& text);

    TraceLog& log_;
    FetchLimits limits_;
    std::unique_ptr<QNetworkAccessManager> manager_;
    QPointer<QNetworkReply> reply_;
    QTimer timer_;
    Progress progress_;
    Done done_;
    QByteArray body_;
    bool sent_ = false;      // the request has gone out: the connection was made
    bool answered_ = false;  // the final response's headers are in
    quint64 generation_ = 0; // counts abandoned downloads
};

} // namespace orvanel
