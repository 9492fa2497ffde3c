#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace orvanel {

class Random;
class Settings;
class TraceLog;

// The scenario file (numbered groups of alternative script lines), the ID-relation file
// (names for scenario identifiers) and the skin's external script file (whole scripts, one a
// line). Each load replaces what the previous load read; nothing is written back.
class ScenarioFiles {
public:
    static constexpr qint32 kMaxId = 10000;
    static constexpr qsizetype kMaxLinesPerId = 100;
    static constexpr qsizetype kMaxEntries = 10000;

    ScenarioFiles(const Settings& settings, TraceLog& log, Random& random);

    // Reads program folder + skinFolderPrefix + scriptFile; an empty name or a missing file
    // leaves no external scripts.
    void LoadExternalScripts(const QString& skinFolderPrefix, const QString& scriptFile);
    // A uniformly random external script; "" when there is none.
    QString PickExternalScript();
    const QStringList& ExternalScripts() const { return scripts_; }

    // Reads the file named by [Script] Scenario of tomu.ini, "Scenario.dat" when that is empty
    // or names no file.
    void LoadScenario();
    // A random line of the identifier's group, or "[Err:IDが無効]".
    QString ScenarioLine(qint32 id);
    qint32 LargestId() const { return qint32(groups_.size()); }

    // Reads the file named by [Script] IDRelation, "Str2ID.dat" when empty or missing.
    void LoadIdRelation();
    // The identifier of the first entry of that exact name; -1 when there is none.
    qint32 IdForName(const QString& name) const;

    // "%rs[key]": a number picks by identifier, anything else by name.
    QString ScenarioText(const QString& key);

private:
    const Settings& settings_;
    TraceLog& log_;
    Random& random_;
    QStringList scripts_;
    QList<QStringList> groups_;    // index id - 1
    QHash<QString, qint32> names_; // the first entry of each name
    qsizetype nameEntries_ = 0;
};

// Whether a %rs key reads as a number, as the original platform's numeric test would take it:
// blanks around an optionally signed decimal number with optional fraction and exponent, or
// "&H" hexadecimal.
bool IsNumericKey(const QString& key);

} // namespace orvanel
