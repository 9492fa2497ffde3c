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
    const SettingKey key = mode == 1   ? SettingKey::ImageSearch
                           : mode == 2 ? SettingKey::ForumSearch
                                       : SettingKey::Search;
    return FillAddressPattern(settings.Text(key), words);
}

QString GooDictionaryAddress(const Settings& settings, const QString& words, int number) {
    const SettingKey key = number == 0   ? SettingKey::DicEnJa
                           : number == 1 ? SettingKey::DicJaEn
                           : number == 3 ? SettingKey::DicNew
                                         : SettingKey::DicJa;
    return FillAddressPattern(settings.Text(key), words);
}

QString ArchiveAddress(const Settings& settings, const QString& address) {
    return FillAddressPattern(settings.Text(SettingKey::Archive), address);
}

Headline BabylonRecord(const Settings& settings, const QString& word) {
    // The page is whatever the service sends (UTF-8 today): converted, as its header, its
    // own declaration or a guess says.
    return {u"BABYLON"_s, FillAddressPattern(settings.Text(SettingKey::EnJaLookUp), word),
            settings.Text(SettingKey::EnJaStart), settings.Text(SettingKey::EnJaEnd), true};
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
