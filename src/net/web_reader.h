#pragma once

#include "core/headlines.h"
#include "net/http_get.h"

#include <QString>

#include <functional>

namespace orvanel {

class AppContext;

// The reading half of the web: a page is downloaded, the parts between a record's markers
// are cut out, read in the page's encoding and made into a script that shows the page's text
// literally. One page at a time; a new request abandons the one in progress.
class WebReader {
public:
    using Progress = HttpGet::Progress;
    // The script text; "" when the page could not be had or held nothing between the markers.
    using Done = std::function<void(const QString& script)>;

    explicit WebReader(AppContext& ctx, FetchLimits limits = {});

    // What is read instead of a page when no connection can be made.
    static QString NoConnectionScript() {
        return QStringLiteral("\\s4・・・接続できませんでした。");
    }

    // The page of `record` as a script: the parts between its markers (see PagePartScript).
    // A record without "convert" is read as CP932, as the original platform's pages were;
    // with it the page's encoding comes from the header, the page or a guess. `done` runs
    // later from the event loop, once, unless the request is abandoned.
    void FetchPagePart(const Headline& record, Progress progress, Done done);
    // The English–Japanese look-up of `word` (the service of [Web] EnJaLookUp).
    void LookUpBabylon(const QString& word, Progress progress, Done done);

    // Abandons the request in progress; its `done` never runs.
    void Abort() { http_.Abort(); }
    bool Busy() const { return http_.Busy(); }
    HttpGet& Http() { return http_; }

private:
    AppContext& ctx_;
    HttpGet http_;
};

} // namespace orvanel
