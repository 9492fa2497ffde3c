#pragma once

#include "../script/script_rig.h"
#include "platform/text_file.h"
#include "talk/dictionary.h"
#include "talk/machine_probes.h"
#include "talk/talk_engine.h"

#include <QDir>

namespace orvanel::fakes {

// A machine whose every fact is a field.
class FakeMachine : public MachineProbes {
public:
    MemoryStatus Memory() override { return memory; }
    quint64 UptimeMs() override { return uptimeMs; }
    PowerStatus Power() override { return power; }
    QList<DriveInfo> Drives() override { return drives; }
    quint64 FreeBytes(const QString& root) override { return free.value(root); }
    QString ScreenSaverSeconds() override { return screenSaver; }
    QString SystemVersion() override { return version; }
    QString ProductKey() override { return productKey; }
    QString Manufacturer() override { return manufacturer; }
    QString Model() override { return model; }
    QString RegisteredOwner() override { return owner; }
    QString BrowserVersion() override { return browser; }

    MemoryStatus memory{42, 512ull * 1024 * 1024};
    quint64 uptimeMs = 0;
    PowerStatus power{1, 128, 255};
    QList<DriveInfo> drives;
    QHash<QString, quint64> free;
    QString screenSaver, version, productKey, manufacturer, model, owner, browser;
};

// The script rig with the talk engine on top: a real dictionary in the rig's program folder,
// the rig's recording words for the player and the talk, and a fake machine.
struct TalkRig : ScriptRig {
    TalkRig() { talk.SetViews(&mainBalloon, &fellowBalloon, &character); }

    // Writes a category file as the original platform would have: CP932, CR LF.
    void Category(const QString& category, const QStringList& list) {
        QString text =
            u'[' + category + QStringLiteral("]\nPN=") + QString::number(list.size()) + u'\n';
        for (int i = 0; i < list.size(); ++i)
            text += QStringLiteral("%1=%2\n").arg(i + 1).arg(list[i]);
        QDir().mkpath(dir.filePath(QStringLiteral("TalkEngine")));
        WriteCp932File(TalkFile(category), text);
    }
    QString TalkFile(const QString& category) const {
        return dir.filePath(QStringLiteral("TalkEngine/") + category + QStringLiteral(".ini"));
    }
    // The words of a category file in key order.
    QStringList Words(const QString& category) {
        QStringList out;
        const qint32 n = dictionary.WordCount(category);
        for (qint32 i = 1; i <= n; ++i)
            out << dictionary.ReadTalk(category, i);
        return out;
    }
    void Push(const QList<double>& randoms) {
        for (double r : randoms)
            random.Push(r);
    }
    // The value r that makes Pick(n) give k.
    static double R(int k, int n) { return (k - 0.5) / n; }

    Dictionary dictionary{ctx.settings, random};
    FakeMachine machine;
    TalkEngine talk{ctx, frame, player, dictionary, words, scenario, probes, machine};
};

} // namespace orvanel::fakes
