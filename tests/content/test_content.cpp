// Checks the default program folder as the build produces it: every dictionary, the scenario
// and relation files, the calendar files, the headline list, the version notes and the skin's
// external scripts, against what the player and the talk engine make of them.
#include "../talk/talk_rig.h"
#include "core/headlines.h"
#include "core/version_info.h"
#include "platform/codec.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

const QString kFolder = QStringLiteral(ORVANEL_DEFAULT_FOLDER "/");

// What the words of a category must look like to fit the sentences built around them.
enum class Shape {
    Any,
    Script,    // spliced into a script when the talk is generated: may open with markup
    VerbNoun,  // "する" follows
    PastVerb,  // a finished verb phrase
    PlainVerb, // dictionary form
    NaWord,    // takes "な", "に", "だった"; an i-adjective would read wrong there
    AdjStem,   // "さ" and "そうに" follow (the stem of かわいい ends in い itself)
    Ending,    // ends the sentence
    Pair,      // comma-separated look-alikes
    Address,   // a web address
    Label,     // a menu heading: plain text, not a script
    Title,     // found inside window titles by substring
};

Shape ShapeOf(const QString& category) {
    static const QHash<QString, Shape> shapes{
        {u"形容詞1"_s, Shape::AdjStem},     {u"動詞(単純)"_s, Shape::VerbNoun},
        {u"動詞(過去)"_s, Shape::PastVerb}, {u"動詞(現変)"_s, Shape::PlainVerb},
        {u"動詞(過変)"_s, Shape::PastVerb}, {u"状態"_s, Shape::NaWord},
        {u"ひとこと"_s, Shape::Script},     {u"ツッコミ"_s, Shape::Script},
        {u"起動時"_s, Shape::Script},       {u"脅し"_s, Shape::Script},
        {u"終了時"_s, Shape::Script},       {u"呼び出し"_s, Shape::Label},
        {u"ソフト"_s, Shape::Title},        {u"ウイルス"_s, Shape::Title},
        {u"アドレス"_s, Shape::Address},    {u"類似"_s, Shape::Pair}};
    if (category.startsWith(u"挨拶("_s)) return Shape::Script;
    if (category.startsWith(u"文末("_s)) return Shape::Ending;
    return shapes.value(category, Shape::Any);
}

// 15 words at least for whole lines, endings, headings and questions; 40 for the rest.
int Minimum(const QString& category) {
    const Shape s = ShapeOf(category);
    return s == Shape::Script || s == Shape::Ending || s == Shape::Label || category == u"疑問"
               ? 15
               : 40;
}

QStringList Categories() {
    QStringList names;
    for (int i = 0; i < kCategoryCount; ++i)
        names << CategoryName(i);
    return names;
}

// Scenario names the program itself asks for.
const QStringList kProgramScenarioNames = {u"Select_NewsEvent_Yes"_s, u"Select_NewsEvent_No"_s,
                                           u"Select_GoSubSidiary_Yes"_s,
                                           u"Select_GoSubSidiary_No"_s};

QString IniPath(const QString& category) {
    return kFolder + u"TalkEngine/"_s + category + u".ini"_s;
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A file decodes as CP932 when every byte sequence maps to a character and back unchanged.
bool IsCp932(const QByteArray& bytes) {
    const QString text = codec::FromCp932(bytes);
    return !text.contains(QChar(0xFFFD)) && codec::ToCp932(text) == bytes;
}

bool StartsWithMarkup(const QString& text) {
    return text.startsWith(u'\\') || text.startsWith(u'%') || text.startsWith(u'$');
}

QStringList Lines(const QString& relative) {
    return ReadCp932Lines(kFolder + relative).value_or(QStringList());
}

// "key:value" files of the calendar: the last line of a key counts.
QHash<QString, QString> CalendarLines(const QString& relative) {
    QHash<QString, QString> map;
    for (const QString& line : Lines(relative)) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0) map.insert(line.left(colon), line.mid(colon + 1));
    }
    return map;
}

struct Scenario {
    QHash<int, QStringList> groups;
    QStringList errors;
};

Scenario LoadScenario() {
    Scenario s;
    static const QRegularExpression line(uR"(^([1-9][0-9]{0,4}),(.+)$)"_s);
    for (const QString& text : Lines(u"Scenario.dat"_s)) {
        if (text.isEmpty() || text.startsWith(u'/')) continue;
        const auto m = line.match(text);
        if (!m.hasMatch() || m.captured(1).toInt() > 10000)
            s.errors << text;
        else
            s.groups[m.captured(1).toInt()] << m.captured(2);
    }
    return s;
}

// Name to identifier; the first line of a name counts.
QHash<QString, int> LoadRelations(QStringList* errors) {
    QHash<QString, int> ids;
    static const QRegularExpression line(uR"(^([^,]+),([1-9][0-9]*)$)"_s);
    for (const QString& text : Lines(u"Str2ID.dat"_s)) {
        const auto m = line.match(text);
        if (!m.hasMatch() || ids.contains(m.captured(1)))
            *errors << text;
        else
            ids.insert(m.captured(1), m.captured(2).toInt());
    }
    return ids;
}

QStringList ExternalScripts() {
    QStringList scripts;
    for (const QString& line : Lines(u"kanami/script.txt"_s))
        if (!line.isEmpty() && !line.startsWith(u'/')) scripts << line;
    return scripts;
}

// Every text that ends up inside a played script, with where it comes from.
QList<QPair<QString, QString>> ScriptTexts() {
    QList<QPair<QString, QString>> texts;
    IniStore ini;
    for (const QString& c : Categories())
        for (const auto& [key, value] : ini.Keys(IniPath(c), c))
            texts.append({c + u'/' + key, value});
    for (const auto& [id, lines] : LoadScenario().groups.asKeyValueRange())
        for (const QString& line : lines)
            texts.append({u"Scenario %1"_s.arg(id), line});
    for (const QString& line : ExternalScripts())
        texts.append({u"script.txt"_s, line});
    for (const QString& line : Lines(u"readme.txt"_s).mid(2))
        texts.append({u"readme"_s, line});
    for (const QString& file : {u"daymes.dat"_s, u"flower.dat"_s})
        for (const auto& [key, value] : CalendarLines(file).asKeyValueRange())
            texts.append({file + u' ' + key, value});
    return texts;
}

} // namespace

class TestContent : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyFolderFileIsCp932() {
        const QDir folder(kFolder);
        QStringList files;
        for (const QString& pattern :
             {u"*.dat"_s, u"*.txt"_s, u"TalkEngine/*.ini"_s, u"kanami/*.txt"_s}) {
            const QFileInfo info(folder.filePath(pattern));
            for (const QString& name : QDir(info.path()).entryList({info.fileName()}))
                files << QDir(info.path()).filePath(name);
        }
        QVERIFY(files.size() >= 61 + 7);
        for (const QString& file : files)
            QVERIFY2(IsCp932(ReadBytes(file)), qPrintable(file));
    }

    void dictionaryHoldsExactlyTheCategories() {
        QSet<QString> files;
        for (const QString& name : QDir(kFolder + u"TalkEngine"_s).entryList(QDir::Files))
            files.insert(name.chopped(4));
        const QStringList names = Categories();
        QCOMPARE(files, QSet<QString>(names.begin(), names.end()));
    }

    void dictionary_data() {
        QTest::addColumn<QString>("name");
        for (const QString& name : Categories())
            QTest::newRow(name.toUtf8().constData()) << name;
    }

    void dictionary() {
        QFETCH(QString, name);
        const Shape shape = ShapeOf(name);
        IniStore ini;
        QCOMPARE(ini.Sections(IniPath(name)), QStringList{name});

        const auto keys = ini.Keys(IniPath(name), name);
        bool numeric = false;
        const int count = ini.Read(IniPath(name), name, u"PN").toInt(&numeric);
        QVERIFY(numeric);
        QCOMPARE(keys.size(), count + 1); // the words and "PN"
        QVERIFY2(count >= Minimum(name), qPrintable(u"%1 words"_s.arg(count)));

        QSet<QString> seen;
        for (int k = 1; k <= count; ++k) {
            const QString word = ini.Read(IniPath(name), name, QString::number(k));
            const QString where = u"%1 #%2: %3"_s.arg(name).arg(k).arg(word);
            QVERIFY2(!word.trimmed().isEmpty(), qPrintable(where)); // also catches a gap
            QVERIFY2(codec::Cp932Length(word) <= IniStore::kMaxValueBytes, qPrintable(where));
            // The dictionary merge treats words that differ only in case as one.
            QVERIFY2(!seen.contains(word.toUpper()), qPrintable(where + u" (twice)"_s));
            seen.insert(word.toUpper());
            QVERIFY2(shape == Shape::Script || !StartsWithMarkup(word), qPrintable(where));
            QVERIFY2(FitsShape(word, shape), qPrintable(where));
        }
    }

    void dictionaryIsBigEnough() {
        IniStore ini;
        int total = 0;
        for (const QString& c : Categories())
            total += ini.Read(IniPath(c), c, u"PN").toInt();
        QVERIFY2(total >= 3000, qPrintable(QString::number(total)));
    }

    void everyDateHasAnAnniversaryAndAFlower() {
        const auto days = CalendarLines(u"daymes.dat"_s);
        const auto flowers = CalendarLines(u"flower.dat"_s);
        for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1)) {
            const QString key = d.toString(u"MMdd"_s);
            const QStringList names = days.value(key).split(u',');
            QVERIFY2(!names.contains(QString()), qPrintable(u"daymes "_s + key));
            const QStringList entries = flowers.value(key).split(u',');
            for (const QString& entry : entries) {
                const qsizetype colon = entry.indexOf(u':');
                QVERIFY2(colon > 0 && colon < entry.size() - 1,
                         qPrintable(u"flower "_s + key + u' ' + entry));
            }
        }
        // Monthly lines are keyed by the day and "00"; nothing else may sneak in.
        for (const QString& key : days.keys()) {
            const QDate yearly = QDate::fromString(u"2024"_s + key, u"yyyyMMdd"_s);
            const int monthlyDay = key.endsWith(u"00"_s) ? key.left(2).toInt() : 0;
            QVERIFY2(yearly.isValid() || (monthlyDay >= 1 && monthlyDay <= 31), qPrintable(key));
            QVERIFY2(!days[key].split(u',').contains(QString()), qPrintable(key));
        }
        QCOMPARE(flowers.size(), 366);
    }

    void scenarioFilesAreWellFormed() {
        const Scenario scenario = LoadScenario();
        QVERIFY2(scenario.errors.isEmpty(), qPrintable(scenario.errors.join(u'\n')));
        QStringList errors;
        const auto ids = LoadRelations(&errors);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
        for (const auto& [name, id] : ids.asKeyValueRange())
            QVERIFY2(scenario.groups.value(id).size() >= 5, qPrintable(name));
        for (const QStringList& lines : scenario.groups)
            for (const QString& line : lines)
                // The player shows the first character of an inserted line as it is.
                QVERIFY2(!StartsWithMarkup(line), qPrintable(line));
    }

    void scenarioNamesResolve_data() {
        QTest::addColumn<QString>("key");
        for (const QString& name : kProgramScenarioNames)
            QTest::newRow(name.toUtf8().constData()) << name;
        // Every reference the data itself makes.
        static const QRegularExpression rs(uR"(%rs\[([^\]]*)\])"_s);
        for (const auto& [where, text] : ScriptTexts())
            for (const auto& m : rs.globalMatch(text))
                QTest::newRow(qPrintable(where + u' ' + m.captured(1))) << m.captured(1);
    }

    void scenarioNamesResolve() {
        QFETCH(QString, key);
        QStringList errors;
        const auto ids = LoadRelations(&errors);
        bool numeric = false;
        const int number = key.toInt(&numeric);
        const int id = numeric ? number : ids.value(key, -1);
        QVERIFY(LoadScenario().groups.value(id).size() >= 5);
    }

    // Every text that ends up in a script plays to its end with all its markup taken as tags,
    // variables and commands, and teaches only real categories.
    void markupIsKnownToThePlayer() {
        const auto texts = ScriptTexts();
        QVERIFY(texts.size() > 3000);
        TalkRig rig;
        rig.player.hooks.clickWaitStarted = [&] { rig.ClickIn(100); };
        static const QRegularExpression leftover(uR"([\\%$])"_s);
        for (const auto& [where, text] : texts) {
            rig.mainBalloon.messages.clear();
            rig.fellowBalloon.messages.clear();
            QVERIFY2(rig.Play(u"\\h"_s + text) > 0, qPrintable(where));
            for (const QString& shown : rig.mainBalloon.messages + rig.fellowBalloon.messages)
                QVERIFY2(!leftover.match(shown).hasMatch(), qPrintable(where + u": "_s + shown));
        }
        QVERIFY2(!rig.log.Text().contains(u"Learning refused"_s), qPrintable(rig.log.Text()));
    }

    // The notes of this version, dated, under a two-character phase.
    void readmeHasTheNotesOfThisVersion() {
        const VersionInfo v(kFolder);
        QVERIFY(QDate::fromString(v.ReleaseDate(), u"yyyy/MM/dd"_s).isValid());
        QCOMPARE(v.PhaseText().trimmed().size(), 2);
        QVERIFY(v.UpdateNotes().size() > 10);
    }

    // Every line a usable source, at most the six slots of the news page.
    void headlineSourcesAreComplete() {
        const QList<Headline> sources = LoadHeadlines(kFolder + u"HeadLine.dat"_s);
        QCOMPARE(sources.size(), Lines(u"HeadLine.dat"_s).size() + 1); // none dropped
        QVERIFY(sources.size() >= 2 && sources.size() <= 7);
        for (const Headline& h : sources.mid(1))
            QVERIFY2(h.address.startsWith(u"https://"_s) || h.address.startsWith(u"http://"_s),
                     qPrintable(h.address));
    }

    void externalScriptsAreExchanges() {
        const QStringList scripts = ExternalScripts();
        const auto exchanges = std::count_if(scripts.begin(), scripts.end(), [](const QString& s) {
            return s.startsWith(u"\\h"_s) && s.contains(u"\\u"_s);
        });
        QVERIFY2(exchanges >= 40, qPrintable(QString::number(exchanges)));
        for (const QString& s : scripts)
            QVERIFY2(s.startsWith(u"\\h"_s) || s.startsWith(u"\\u"_s), qPrintable(s));
    }

private:
    static bool FitsShape(const QString& w, Shape shape) {
        static const QRegularExpression ending(uR"([。！？!?～]$)"_s);
        switch (shape) {
        case Shape::Any:
        case Shape::Script:
            return true;
        case Shape::VerbNoun:
            return !w.endsWith(u"する"_s) && !w.endsWith(u"した"_s);
        case Shape::PastVerb:
            return w.endsWith(u'た') || w.endsWith(u'だ');
        case Shape::PlainVerb:
            return u"うくぐすつぬぶむる"_s.contains(w.back());
        case Shape::NaWord:
            return !w.endsWith(u'い');
        case Shape::AdjStem:
            return !w.endsWith(u"しい"_s) && !w.endsWith(u"いい"_s);
        case Shape::Ending:
            return ending.match(w).hasMatch();
        case Shape::Pair: {
            const QStringList parts = w.split(u',');
            return parts.size() >= 2 && !parts.contains(QString());
        }
        case Shape::Address:
            return w.startsWith(u"http://"_s) || w.startsWith(u"https://"_s);
        case Shape::Label:
            return !w.contains(u'\\') && !w.contains(u'%') && !w.contains(u'$');
        case Shape::Title:
            return w.size() >= 3;
        }
        return false;
    }
};

QTEST_GUILESS_MAIN(TestContent)
#include "test_content.moc"
