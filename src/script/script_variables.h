#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

namespace orvanel {

class AppContext;
class ScenarioFiles;
class ScriptProbes;
class WordSource;

// The "%" variables of scripts: dates and times, names, machine figures, scenario lines and
// the 42 word variables with their memories of the last and the previous word drawn.
class ScriptVariables {
public:
    ScriptVariables(AppContext& ctx, WordSource& words, ScenarioFiles& scenario,
                    ScriptProbes& probes);

    struct Expansion {
        qsizetype length; // characters of the variable, "%" included
        QString value;
    };
    // The variable that `text` begins with (at its "%"); nullopt when the text names none.
    // Drawing a word updates that variable's memories. `findClose(from)` is the index in
    // `text` of the first "]" at or after `from`, -1 when there is none.
    std::optional<Expansion> Expand(QStringView text,
                                    const std::function<qsizetype(qsizetype from)>& findClose);

    // The word memories of a code ("ms", "dms", ...); empty until the first draw.
    QString LastWord(const QString& code) const { return memory_.value(code).last; }
    QString PreviousWord(const QString& code) const { return memory_.value(code).previous; }

private:
    struct Memory {
        QString last;
        QString previous;
    };
    QString SimpleValue(int index);
    QString DrawWord(int code);

    AppContext& ctx_;
    WordSource& words_;
    ScenarioFiles& scenario_;
    ScriptProbes& probes_;
    QHash<QString, Memory> memory_;
};

// "1,048,576KB": a count of KB with thousands separators.
QString KilobyteText(quint64 bytes);

} // namespace orvanel
