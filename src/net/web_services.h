#pragma once

#include "core/headlines.h"

#include <QString>

namespace orvanel {

class AppContext;
class Settings;

// The services of the search panel are address patterns kept under [Web] in "tomu.ini"
// (SettingKey::Search and the keys after it), so a user can move to another service without a
// new build.

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
