#include "tools/script_log.h"

#include "platform/clock.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace orvanel {

ScriptLog::ScriptLog(Clock& clock) : clock_(clock), start_(clock.TickCount()) {}

bool ScriptLog::Open(const QString& path) {
    file_.setFileName(path);
    return file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

void ScriptLog::Append(const QString& script, const QString& origin) {
    if (!file_.isOpen()) return;
    const QJsonObject line{{u"t"_s, qint64(clock_.TickCount() - start_)},
                           {u"origin"_s, origin},
                           {u"script"_s, script}};
    file_.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
}

} // namespace orvanel
