#include "net/http_get.h"

#include "net/page_charset.h"
#include "tools/trace_log.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// The proxies the desktop or the environment configures, for this manager alone.
class SystemProxyFactory final : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        return systemProxyForQuery(query);
    }
};

// Qt buffers this much of a response that has not been read yet; with it a page that
// decompresses to far more than it weighs cannot fill the memory behind our back.
constexpr qint64 kReadBufferBytes = 64 * 1024;

bool IsHttp(const QUrl& url) {
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == u"http" || url.scheme() == u"https");
}

} // namespace

bool ConnectionPossible(const QUrl& url) {
    const QString host = url.host();
    if (host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback())
        return true;
    static const bool loaded = QNetworkInformation::loadDefaultBackend();
    const QNetworkInformation* info = loaded ? QNetworkInformation::instance() : nullptr;
    return !info || info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

HttpGet::HttpGet(TraceLog& log, FetchLimits limits, QObject* parent)
    : QObject(parent), log_(log), limits_(limits) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &HttpGet::TimedOut);
}

HttpGet::~HttpGet() {
    Abort();
}

QNetworkAccessManager& HttpGet::Manager() {
    if (!manager_) {
        manager_ = std::make_unique<QNetworkAccessManager>();
        manager_->setProxyFactory(new SystemProxyFactory);
    }
    return *manager_;
}

void HttpGet::Get(const QUrl& url, Progress progress, Done done) {
    Abort();
    progress_ = std::move(progress);
    done_ = std::move(done);
    body_.clear();
    sent_ = false;
    answered_ = false;
    log_.LogLine(u"HttpGet "_s + url.toString(QUrl::FullyEncoded));
    if (!IsHttp(url)) {
        EndLater({FetchFailure::Address, {}, {}, u"not an http(s) address"_s});
        return;
    }
    if (!ConnectionPossible(url)) {
        EndLater({FetchFailure::NoConnection, {}, {}, u"the network is down"_s});
        return;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, u"TOMU HTTP Module"_s);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(limits_.maxRedirects);
    QNetworkReply* reply = Manager().get(request);
    reply_ = reply;
    reply->setReadBufferSize(kReadBufferBytes);
    connect(reply, &QNetworkReply::requestSent, this, [this] {
        sent_ = true;
        timer_.start(limits_.receiveMs);
    });
    connect(reply, &QNetworkReply::redirected, this, [this] {
        // Another server may have to be reached now.
        sent_ = false;
        timer_.start(limits_.connectMs);
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, &HttpGet::Answered);
    connect(reply, &QNetworkReply::readyRead, this, &HttpGet::DataArrived);
    connect(reply, &QNetworkReply::finished, this, &HttpGet::Finished);
    timer_.start(limits_.connectMs);
}

void HttpGet::Abort() {
    ++generation_;
    timer_.stop();
    done_ = nullptr;
    progress_ = nullptr;
    if (QNetworkReply* reply = reply_) {
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void HttpGet::Answered() {
    if (!reply_ || answered_) return;
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 300 && status < 400) return; // a redirect on its way
    answered_ = true;
    timer_.start(limits_.receiveMs);
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > limits_.maxBytes) {
        Fail(FetchFailure::Transfer, u"announced %1 bytes"_s.arg(length.toLongLong()));
        return;
    }
    if (status >= 200 && status < 300) Say(u"データを受信しています・・・"_s);
}

void HttpGet::DataArrived() {
    QNetworkReply* reply = reply_;
    if (!reply) return;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 300) {
        reply->readAll(); // an error page or a redirect's body: not ours to keep
        return;
    }
    body_ += reply->readAll();
    timer_.start(limits_.receiveMs);
    if (body_.size() > limits_.maxBytes) {
        Fail(FetchFailure::Transfer, u"more than %1 bytes"_s.arg(limits_.maxBytes));
        return;
    }
    Say(u"データ受信中 - "_s + QString::number(body_.size()) + u"bytes"_s);
}

void HttpGet::TimedOut() {
    if (!reply_) return;
    if (sent_)
        Fail(FetchFailure::Transfer, u"no data for %1 ms"_s.arg(limits_.receiveMs));
    else
        Fail(FetchFailure::NoConnection, u"no connection in %1 ms"_s.arg(limits_.connectMs));
}

void HttpGet::Finished() {
    QNetworkReply* reply = reply_;
    if (!reply) return;
    const QNetworkReply::NetworkError error = reply->error();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (error != QNetworkReply::NoError) {
        // Errors of the content and the protocol (HTTP status, redirects) have their own
        // ranges of codes; the others are the connection's.
        const bool addressError = (error >= QNetworkReply::ProtocolUnknownError &&
                                   error <= QNetworkReply::ProtocolFailure) ||
                                  (error >= QNetworkReply::ContentAccessDenied &&
                                   error <= QNetworkReply::UnknownContentError) ||
                                  (error >= QNetworkReply::InternalServerError &&
                                   error <= QNetworkReply::UnknownServerError) ||
                                  error == QNetworkReply::TooManyRedirectsError ||
                                  error == QNetworkReply::InsecureRedirectError;
        const FetchFailure failure = addressError ? FetchFailure::Address
                                     : sent_      ? FetchFailure::Transfer
                                                  : FetchFailure::NoConnection;
        Fail(failure, reply->errorString());
        return;
    }
    if (status != 0 && (status < 200 || status >= 300)) {
        Fail(FetchFailure::Address, u"HTTP status %1"_s.arg(status));
        return;
    }
    body_ += reply->readAll();
    if (body_.size() > limits_.maxBytes) {
        Fail(FetchFailure::Transfer, u"more than %1 bytes"_s.arg(limits_.maxBytes));
        return;
    }
    FetchResult result;
    result.body = std::move(body_);
    result.headerCharset =
        CharsetOfContentType(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
    Say(u"データ取得完了"_s);
    if (reply_ != reply) return; // the progress text's receiver started something else
    End(std::move(result));
}

void HttpGet::EndLater(FetchResult result) {
    QMetaObject::invokeMethod(
        this,
        [this, generation = generation_, result = std::move(result)] {
            if (generation == generation_) End(result);
        },
        Qt::QueuedConnection);
}

void HttpGet::Fail(FetchFailure failure, const QString& why) {
    End({failure, {}, {}, why});
}

void HttpGet::End(FetchResult result) {
    Done done = std::move(done_);
    Abort();
    if (result.failure == FetchFailure::None)
        log_.LogLine(u"HttpGet %1 bytes"_s.arg(result.body.size()));
    else
        log_.LogLine(u"HttpGet failed: "_s + result.error);
    if (done) done(result);
}

void HttpGet::Say(const QString& text) {
    // A copy: the receiver may start another download from here.
    if (Progress progress = progress_) progress(text);
}

} // namespace orvanel
