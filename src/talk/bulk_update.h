#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace orvanel {

struct TalkContext;

// What a dropped item is, by case-insensitive parts of its path, tested in this order.
enum class DropKind {
    ProgramUpdate,     // "tomu.lzh"
    SkinArchive,       // ".skin.lzh"
    AddInArchive,      // ".addin.lzh"
    DictionaryArchive, // "TalkEngine.lzh" (the export archives end in ".TalkEngine.lzh")
    TalkIni,           // "talk.ini"
    NGWords,           // "NGWord.ini"
    DictionaryFolder,  // a folder whose path holds "TalkEngine"
    Other,
};
DropKind ClassifyDrop(const QString& path, bool isFolder);

// The whole-dictionary updates: words merged in from a dropped "talk.ini", from a dropped
// dictionary folder (or an extracted archive of one), and words taken out by an NG list.
// Each pass goes through the 61 categories in index order; every category file is written
// once, atomically, sorted (ignoring case) and free of duplicates and blank words.
class BulkUpdate {
public:
    explicit BulkUpdate(TalkContext& talk);

    // A dictionary item dropped on the character: runs its pass and returns true; false for
    // anything that is not a dictionary update (and for archives while no extractor is set).
    bool HandleDrop(const QString& path);

    void UpdateFromTalkIni(const QString& path);
    void UpdateFromFolder(const QString& folder);
    void CheckNGWords(const QString& path);

    // The counters of the last pass.
    qint32 AddedCount() const { return added_; }
    qint32 NGCount() const { return ngFound_; }
    bool IsRunning() const { return running_; }

    // Restores the files of an LHA archive into a folder: empty when it worked, else why not
    // (naming the entry). The Engine sets it; without it dropped dictionary archives are not
    // taken.
    std::function<QString(const QString& archive, const QString& folder)> extractArchive;

private:
    enum class Mode { Merge, NGCheck };
    // Source of a category: the file and the section that hold its words.
    using SourceOf = std::function<QString(const QString& category)>;

    bool Begin();
    void SayAdded();
    void Pass(Mode mode, const SourceOf& source);
    void MergeCategory(Mode mode, const QString& category, const QString& sourceFile);
    QStringList SectionWords(const QString& file, const QString& section, qint32* pn,
                             bool letEventsRun);
    void LetEventsRun(bool now = false);

    TalkContext& talk_;
    qint32 added_ = 0;
    qint32 ngFound_ = 0;
    bool running_ = false;
    quint32 lastEvents_ = 0;
};

} // namespace orvanel
