#include "script/scenario_files.h"

#include "core/settings.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include "platform/text_file.h"
#include "tools/trace_log.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

const QString kInvalidId = u"[Err:IDが無効]"_s;

bool Skipped(const QString& line) {
    return line.isEmpty() || line.startsWith(u'/');
}

} // namespace

ScenarioFiles::ScenarioFiles(const Settings& settings, TraceLog& log, Random& random)
    : settings_(settings), log_(log), random_(random) {}

void ScenarioFiles::LoadExternalScripts(const QString& skinFolderPrefix,
                                        const QString& scriptFile) {
    scripts_.clear();
    if (scriptFile.isEmpty()) return;
    const QString path = settings_.FilePath(skinFolderPrefix + scriptFile);
    if (!QFileInfo(path).isFile()) return;
    log_.LogBegin(u"ExtSriptLoad..."_s);
    const QStringList lines = ReadCp932Lines(path).value_or(QStringList());
    qsizetype dropped = 0;
    for (const QString& line : lines) {
        if (Skipped(line)) continue;
        if (scripts_.size() >= kMaxEntries) {
            ++dropped;
            continue;
        }
        scripts_.append(line);
    }
    log_.LogEnd(u" Complete"_s);
    if (dropped)
        log_.LogLine(u"ExtSriptLoad: %1 lines beyond %2 left out"_s.arg(dropped).arg(kMaxEntries));
}

QString ScenarioFiles::PickExternalScript() {
    if (scripts_.isEmpty()) return {};
    const int k = random_.Pick(int(scripts_.size()));
    return scripts_.value(k - 1);
}

void ScenarioFiles::LoadScenario() {
    groups_.clear();
    const QString path = settings_.DataFile(SettingKey::Scenario);
    log_.LogBegin(u"ScenarioLoad..."_s);
    const auto lines = ReadCp932Lines(path);
    QStringList problems;
    if (!lines) problems << u"ScenarioLoad: %1 not found"_s.arg(path);
    static const QRegularExpression kNumber(u"^[ \\t]*([+-]?)0*([0-9]+)[ \\t]*$"_s);
    qsizetype lineNo = 0;
    for (const QString& line : lines.value_or(QStringList())) {
        ++lineNo;
        if (Skipped(line)) continue;
        const auto skip = [&](const QString& why) {
            problems << u"ScenarioLoad: line %1 skipped (%2)"_s.arg(lineNo).arg(why);
        };
        const qsizetype comma = line.indexOf(u',');
        if (comma < 0) {
            skip(u"no comma"_s);
            continue;
        }
        const auto m = kNumber.match(QStringView(line).left(comma));
        if (!m.hasMatch()) {
            skip(u"identifier not a number"_s);
            continue;
        }
        // Digits beyond what an identifier can be are simply too large.
        const QString digits = m.captured(2);
        const bool negative = m.captured(1) == u"-";
        if (negative || digits == u"0") continue; // identifiers of 0 or less are ignored
        const qint32 id = digits.size() > 6 ? kMaxId + 1 : digits.toInt();
        if (id > kMaxId) {
            skip(u"identifier above %1"_s.arg(kMaxId));
            continue;
        }
        if (groups_.size() < id) groups_.resize(id);
        QStringList& group = groups_[id - 1];
        if (group.size() >= kMaxLinesPerId) {
            skip(u"more than %1 lines for %2"_s.arg(kMaxLinesPerId).arg(id));
            continue;
        }
        group.append(line.mid(comma + 1));
    }
    log_.LogEnd(u" Complete"_s);
    for (const QString& p : problems)
        log_.LogLine(p);
}

QString ScenarioFiles::ScenarioLine(qint32 id) {
    if (id < 1 || id > LargestId()) return kInvalidId;
    const QStringList& group = groups_.at(id - 1);
    if (group.isEmpty()) return kInvalidId;
    return group.value(random_.Pick(int(group.size())) - 1);
}

void ScenarioFiles::LoadIdRelation() {
    names_.clear();
    nameEntries_ = 0;
    const QString path = settings_.DataFile(SettingKey::IDRelation);
    log_.LogBegin(u"IDRelationLoad..."_s);
    const auto lines = ReadCp932Lines(path);
    qsizetype dropped = 0;
    for (const QString& line : lines.value_or(QStringList())) {
        const qsizetype comma = line.indexOf(u',');
        if (comma < 0) continue; // names nothing
        if (nameEntries_ >= kMaxEntries) {
            ++dropped;
            continue;
        }
        ++nameEntries_;
        const QString name = line.left(comma);
        if (!names_.contains(name))
            names_.insert(name, LenientInt(QStringView(line).mid(comma + 1)));
    }
    log_.LogEnd(u" Complete"_s);
    if (!lines) log_.LogLine(u"IDRelationLoad: %1 not found"_s.arg(path));
    if (dropped)
        log_.LogLine(
            u"IDRelationLoad: %1 entries beyond %2 left out"_s.arg(dropped).arg(kMaxEntries));
}

qint32 ScenarioFiles::IdForName(const QString& name) const {
    return names_.value(name, -1);
}

QString ScenarioFiles::ScenarioText(const QString& key) {
    if (IsNumericKey(key)) return ScenarioLine(RoundHalfEven(LenientNumber(key, true)));
    const qint32 id = IdForName(key);
    return id == -1 ? kInvalidId : ScenarioLine(id);
}

bool IsNumericKey(const QString& key) {
    static const QRegularExpression kDecimal(
        u"^[ \\t]*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eEdD][+-]?[0-9]+)?[ \\t]*$"_s);
    static const QRegularExpression kHex(u"^[ \\t]*&[hH][0-9a-fA-F]{1,8}[ \\t]*$"_s);
    return kDecimal.match(key).hasMatch() || kHex.match(key).hasMatch();
}

} // namespace orvanel
