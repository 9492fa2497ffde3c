#pragma once

#include "../script/script_rig.h"
#include "platform/text_file.h"
#include "talk/dictionary.h"
#include "talk/talk_engine.h"

#include <QDir>

namespace orvanel::fakes {

// The script rig with the talk engine on top: a real dictionary in the rig's program folder,
// the rig's recording words for the player and the talk, and a fake machine.
struct TalkRig : ScriptRig {
    TalkRig() : ScriptRig(true) {}

    // Writes a category file as the original platform would have: CP932, CR LF.
    void Category(const QString& category, const QStringList& list) {
        QString text =
            u'[' + category + QStringLiteral("]\nPN=") + QString::number(list.size()) + u'\n';
        for (int i = 0; i < list.size(); ++i)
            text += QStringLiteral("%1=%2\n").arg(i + 1).arg(list[i]);
        QDir().mkpath(dir.filePath(QStringLiteral("TalkEngine")));
        if (!WriteCp932File(TalkFile(category), text))
            qFatal("cannot write %s", qPrintable(category));
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

    Dictionary& dictionary = engine.Words();
    TalkEngine& talk = engine.Talk();
};

} // namespace orvanel::fakes
