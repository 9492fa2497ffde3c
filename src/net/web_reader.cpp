#include "net/web_reader.h"

#include "core/app_context.h"
#include "net/page_charset.h"
#include "net/web_services.h"
#include "net/web_text.h"
#include "platform/codec.h"

using namespace Qt::StringLiterals;

namespace orvanel {

WebReader::WebReader(AppContext& ctx, FetchLimits limits) : ctx_(ctx), http_(ctx.log, limits) {}

void WebReader::FetchPagePart(const Headline& record, Progress progress, Done done) {
    const QUrl url(record.address.trimmed(), QUrl::TolerantMode);
    http_.Get(
        url, std::move(progress), [record, done = std::move(done)](const FetchResult& result) {
            if (result.failure == FetchFailure::NoConnection) {
                done(NoConnectionScript());
                return;
            }
            if (result.failure != FetchFailure::None) {
                done(QString());
                return;
            }
            const QString page = record.convert ? DecodePage(result.body, result.headerCharset)
                                                : codec::FromCp932(result.body);
            done(PagePartScript(page, record.startMarker, record.endMarker));
        });
}

void WebReader::LookUpBabylon(const QString& word, Progress progress, Done done) {
    FetchPagePart(BabylonRecord(ctx_.settings, word), std::move(progress), std::move(done));
}

} // namespace orvanel
