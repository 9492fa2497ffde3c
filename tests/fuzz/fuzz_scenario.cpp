// The scenario, ID-relation and external-script loaders: the input split at its first two
// NUL bytes into the three files, then lines picked by number and by name.
#include "core/settings.h"
#include "fuzz_rig.h"
#include "script/scenario_files.h"

using namespace orvanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnsureApplication();
    static VirtualClock clock;
    static SystemRandom random(1);
    static IniStore ini;
    static const QString folder = fuzz::ScratchFolder(false);
    static Settings settings(ini, folder);
    static TraceLog log(clock);
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    const char* names[] = {"Scenario.dat", "Str2ID.dat", "scripts.txt"};
    for (int i = 0; i < 3; ++i) {
        const QByteArray part = parts.value(i);
        if (!fuzz::WriteBytes(folder + QLatin1String(names[i]),
                              reinterpret_cast<const uint8_t*>(part.constData()),
                              size_t(part.size())))
            std::abort();
    }
    ScenarioFiles files(settings, log, random);
    files.LoadScenario();
    files.LoadIdRelation();
    files.LoadExternalScripts(QString(), QStringLiteral("scripts.txt"));
    (void)files.PickExternalScript();
    for (qint32 id = 0; id <= qMin(files.LargestId() + 1, 50); ++id)
        (void)files.ScenarioLine(id);
    // Keys as "%rs[...]" gives them: every ID-relation name, and the later parts as keys.
    for (const QByteArray& key : parts.mid(3))
        (void)files.ScenarioText(QString::fromUtf8(key));
    return 0;
}
