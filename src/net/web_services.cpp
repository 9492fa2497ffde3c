#include "net/web_services.h"

#include "core/app_context.h"
#include "core/settings.h"
#include "net/web_text.h"
#include "platform/system_actions.h"
#include "tools/trace_log.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

struct WebKeyInfo {
    QStringView name;
    QStringView value;
};

// The defaults, each a live service: the engine the panel names for the three search modes
// (its forum filter stands in for the closed discussion-group search), a Japanese dictionary
// site for goo's four dictionaries (with a new-words encyclopaedia for "新語"), its
// English–Japanese pages for the look-up read aloud, and the web archive. They all expect
// UTF-8 queries.
constexpr WebKeyInfo kWebKeys[] = {
    {u"Search", u"https://www.google.com/search?q={q}&hl=ja&lr="},
    {u"ImageSearch", u"https://www.google.com/search?q={q}&hl=ja&tbm=isch"},
    {u"ForumSearch", u"https://www.google.com/search?q={q}&hl=ja&udm=18"},
    {u"DicEnJa", u"https://ejje.weblio.jp/content/{q}"},
    {u"DicJaEn", u"https://ejje.weblio.jp/content/{q}"},
    {u"DicJa", u"https://www.weblio.jp/content/{q}"},
    {u"DicNew", u"https://kotobank.jp/search?q={q}"},
    {u"EnJaLookUp", u"https://ejje.weblio.jp/content/{q}"},
    {u"EnJaStart", u"class=\"content-explanation ej\">"},
    {u"EnJaEnd", u"</td>"},
    {u"Archive", u"https://web.archive.org/web/*/{raw}"},
};

const WebKeyInfo& Info(WebKey key) {
    return kWebKeys[int(key)];
}

void Open(AppContext& ctx, const QString& address) {
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != u"http" && url.scheme() != u"https")) {
        ctx.log.LogLine(u"Search refused: "_s + address);
        return;
    }
    ctx.log.LogLine(u"Search "_s + url.toString(QUrl::FullyEncoded));
    ctx.actions.OpenUrl(url.toString(QUrl::FullyEncoded));
}

} // namespace

QString WebKeyName(WebKey key) {
    return Info(key).name.toString();
}

QString WebKeyDefault(WebKey key) {
    return Info(key).value.toString();
}

QString WebSetting(const Settings& settings, WebKey key) {
    const QString value = settings.ReadSetting(u"Web"_s, WebKeyName(key));
    return value.isEmpty() ? WebKeyDefault(key) : value;
}

QString FillAddressPattern(const QString& pattern, const QString& words) {
    struct Slot {
        QStringView name;
        QString value;
    };
    const Slot slots[] = {
        {u"{q}", UrlEncodeUtf8(words)}, {u"{sjis}", UrlEncodeAnsi(words)}, {u"{raw}", words}};
    // One pass over the pattern: words that hold a placeholder's name stay as they are.
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const Slot* slot = nullptr;
        for (const Slot& s : slots)
            if (QStringView(pattern).mid(i).startsWith(s.name)) slot = &s;
        if (slot) {
            out += slot->value;
            i += slot->name.size();
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

QString GoogleAddress(const Settings& settings, const QString& words, int mode) {
    const WebKey key = mode == 1   ? WebKey::ImageSearch
                       : mode == 2 ? WebKey::ForumSearch
                                   : WebKey::Search;
    return FillAddressPattern(WebSetting(settings, key), words);
}

QString GooDictionaryAddress(const Settings& settings, const QString& words, int number) {
    const WebKey key = number == 0   ? WebKey::DicEnJa
                       : number == 1 ? WebKey::DicJaEn
                       : number == 3 ? WebKey::DicNew
                                     : WebKey::DicJa;
    return FillAddressPattern(WebSetting(settings, key), words);
}

QString ArchiveAddress(const Settings& settings, const QString& address) {
    return FillAddressPattern(WebSetting(settings, WebKey::Archive), address);
}

Headline BabylonRecord(const Settings& settings, const QString& word) {
    // The page is whatever the service sends (UTF-8 today): converted, as its header, its
    // own declaration or a guess says.
    return {u"BABYLON"_s, FillAddressPattern(WebSetting(settings, WebKey::EnJaLookUp), word),
            WebSetting(settings, WebKey::EnJaStart), WebSetting(settings, WebKey::EnJaEnd), true};
}

void SearchGoogle(AppContext& ctx, const QString& words, int mode) {
    Open(ctx, GoogleAddress(ctx.settings, words, mode));
}

void LookUpGooDictionary(AppContext& ctx, const QString& words, int number) {
    Open(ctx, GooDictionaryAddress(ctx.settings, words, number));
}

void OpenArchive(AppContext& ctx, const QString& address) {
    Open(ctx, ArchiveAddress(ctx.settings, address));
}

} // namespace orvanel
