#pragma once

#include "platform/archive.h"

#include <QDate>
#include <QString>

#include <functional>

namespace orvanel {

class AppContext;
class ScriptPlayer;

// The dictionary export: the category files of "TalkEngine" packed into one LHA archive on
// the user's desktop, "<Name1><Name2>.<yymmdd>.TalkEngine.lzh", for another user to drop on
// their character (which merges it back through the archive drop).
class DictionaryExport {
public:
    // OK and Cancel with the question icon; true for OK.
    using Confirm = std::function<bool(const QString& question)>;
    // Packs the files of a folder into an archive (WriteArchive).
    using Writer = std::function<ArchiveResult(const QString& archive, const QString& folder)>;

    enum class Result { Written, Cancelled, Failed };

    DictionaryExport(AppContext& app, ScriptPlayer& player);

    // The archive's path in `desktop` for the user's full name and `date`.
    static QString ArchivePath(const QString& desktop, const QString& fullName, const QDate& date);

    // Announces the export, asks before replacing an archive of the same name, packs and says
    // how it went. `desktop` is the user's desktop folder.
    Result Export(const QString& desktop, const Confirm& confirm, const Writer& writer = {});
    // The archive of the last Export.
    const QString& LastPath() const { return path_; }

private:
    AppContext& app_;
    ScriptPlayer& player_;
    QString path_;
};

} // namespace orvanel
