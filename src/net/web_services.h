#pragma once

#include "core/headlines.h"

#include <QString>

namespace orvanel {

class AppContext;
class Settings;

// The services of the search panel. Each is an address pattern kept under [Web] in
// "tomu.ini", so a user can move to another service without a new build. In a pattern
// "{q}" stands for the words encoded as UTF-8, "{sjis}" for the words encoded in the system
// code page (UrlEncodeAnsi) and "{raw}" for the words as typed.
enum class WebKey {
    Search,      // web search (mode 0, "ウェブ")
    ImageSearch, // image search (mode 1, "イメージ")
    ForumSearch, // discussion search (mode 2, "グループ")
    DicEnJa,     // dictionary 0 "英和"
    DicJaEn,     // dictionary 1 "和英"
    DicJa,       // dictionary 2 "国語"
    DicNew,      // dictionary 3 "新語"
    EnJaLookUp,  // the English–Japanese look-up that is read aloud
    EnJaStart,   // its markers around the meaning
    EnJaEnd,
    Archive, // the web archive
};

// The key's name under [Web] and the value used when "tomu.ini" has none.
QString WebKeyName(WebKey key);
QString WebKeyDefault(WebKey key);
// The key's value in "tomu.ini", or its default when missing or empty.
QString WebSetting(const Settings& settings, WebKey key);

// `pattern` with its placeholders filled with `words`.
QString FillAddressPattern(const QString& pattern, const QString& words);

// The addresses of the search panel's engines. Google mode 0..2 (another mode searches the
// web); goo dictionary 0..3 (another number uses the preselected 2, "国語").
QString GoogleAddress(const Settings& settings, const QString& words, int mode);
QString GooDictionaryAddress(const Settings& settings, const QString& words, int number);
QString ArchiveAddress(const Settings& settings, const QString& address);

// The page source record of the English–Japanese look-up of `word`.
Headline BabylonRecord(const Settings& settings, const QString& word);

// Open the built address in the user's browser through the system actions. Only http(s)
// addresses are opened (a pattern edited into something else is refused and logged); the
// browser's answer is not waited for.
void SearchGoogle(AppContext& ctx, const QString& words, int mode);
void LookUpGooDictionary(AppContext& ctx, const QString& words, int number);
void OpenArchive(AppContext& ctx, const QString& address);

} // namespace orvanel
