// The archive reader: any bytes as an LHA archive, restored into a folder. Whatever it holds,
// nothing is written outside the destination and nothing is left beside it.
#include "fuzz_rig.h"
#include "platform/archive.h"

#include <QDir>
#include <QDirIterator>

using namespace orvanel;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnsureApplication();
    const QString root = fuzz::ScratchFolder(false) + u"archive/"_s;
    QDir(root).removeRecursively();
    QDir().mkpath(root + u"dest"_s);
    if (!fuzz::WriteBytes(root + u"in.lzh"_s, data, size)) std::abort();
    ArchiveLimits limits;
    limits.maxTotalBytes = 8 * 1024 * 1024;
    limits.maxEntries = 1000;
    const ArchiveResult result = ExtractArchive(root + u"in.lzh"_s, root + u"dest"_s, limits);
    const QStringList beside =
        QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (beside != QStringList{u"dest"_s, u"in.lzh"_s}) std::abort();
    if (!result.Ok()) {
        if (!QDir(root + u"dest"_s)
                 .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            std::abort(); // refused, yet something was restored
        return 0;
    }
    QDirIterator it(root + u"dest"_s,
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        if (!QFileInfo(it.next()).canonicalFilePath().startsWith(
                QDir(root + u"dest"_s).canonicalPath()))
            std::abort();
    return 0;
}
