// Checks the default program folder as the build produces it: every dictionary, the scenario
// and relation files, the calendar files, the headline list, the version notes and the skin's
// external scripts, against what the player and the talk engine expect of them.
#include "platform/codec.h"
#include "platform/ini_file.h"
#include "platform/text_file.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace orvanel;
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

struct Category {
    const char16_t* name;
    int minimum;
    Shape shape;
};

// Index order of the dictionary; 15 is the floor for endings, greetings and whole lines.
const Category kCategories[] = {
    {u"日時(現在)", 40, Shape::Any},
    {u"日時(過去)", 40, Shape::Any},
    {u"化学反応", 40, Shape::Any},
    {u"天気", 40, Shape::Any},
    {u"個数", 40, Shape::Any},
    {u"場所", 40, Shape::Any},
    {u"人物", 40, Shape::Any},
    {u"形容詞1", 40, Shape::AdjStem},
    {u"形容詞2", 40, Shape::Any},
    {u"副詞", 40, Shape::Any},
    {u"職業", 40, Shape::Any},
    {u"会社", 40, Shape::Any},
    {u"商品", 40, Shape::Any},
    {u"名詞(事)", 40, Shape::Any},
    {u"動物", 40, Shape::Any},
    {u"動詞(単純)", 40, Shape::VerbNoun},
    {u"動詞(過去)", 40, Shape::PastVerb},
    {u"動詞(現変)", 40, Shape::PlainVerb},
    {u"動詞(過変)", 40, Shape::PastVerb},
    {u"状態", 40, Shape::NaWord},
    {u"ひとこと", 15, Shape::Script},
    {u"ツッコミ", 15, Shape::Script},
    {u"文末(名詞)", 15, Shape::Ending},
    {u"文末(動詞)", 15, Shape::Ending},
    {u"文末(格名)", 15, Shape::Ending},
    {u"文末(格動)", 15, Shape::Ending},
    {u"体", 40, Shape::Any},
    {u"起動時", 15, Shape::Script},
    {u"脅し", 15, Shape::Script},
    {u"格言", 40, Shape::Any},
    {u"ゲーム", 40, Shape::Any},
    {u"雑誌", 40, Shape::Any},
    {u"キャラ", 40, Shape::Any},
    {u"ソフト", 40, Shape::Title},
    {u"ウイルス", 40, Shape::Title},
    {u"マンガ", 40, Shape::Any},
    {u"事件", 40, Shape::Any},
    {u"機能", 40, Shape::Any},
    {u"団体", 40, Shape::Any},
    {u"まめ知識", 40, Shape::Any},
    {u"終了時", 15, Shape::Script},
    {u"呼び出し", 15, Shape::Label},
    {u"疑問", 15, Shape::Any},
    {u"家族", 40, Shape::Any},
    {u"ホームページ", 40, Shape::Any},
    {u"アドレス", 40, Shape::Address},
    {u"HPタイプ", 40, Shape::Any},
    {u"犯罪", 40, Shape::Any},
    {u"刑罰", 40, Shape::Any},
    {u"法律", 40, Shape::Any},
    {u"魔法", 40, Shape::Any},
    {u"食べ物", 40, Shape::Any},
    {u"飲み物", 40, Shape::Any},
    {u"食材", 40, Shape::Any},
    {u"類似", 40, Shape::Pair},
    {u"挨拶(早朝)", 15, Shape::Script},
    {u"挨拶(朝)", 15, Shape::Script},
    {u"挨拶(昼)", 15, Shape::Script},
    {u"挨拶(夕方)", 15, Shape::Script},
    {u"挨拶(夜)", 15, Shape::Script},
    {u"挨拶(深夜)", 15, Shape::Script},
};

// The variables and commands the player knows. Longer names first where one begins another.
const QStringList kVariables = {
    u"year"_s,     u"month"_s,       u"day"_s,          u"hour"_s,     u"minute"_s,
    u"second"_s,   u"username"_s,    u"selfname2"_s,    u"selfname"_s, u"keroname"_s,
    u"selfcall"_s, u"screenwidth"_s, u"screenheight"_s, u"exh"_s,      u"et"_s,
    u"m_avail"_s,  u"ms"_s,          u"mz"_s,           u"ml"_s,       u"mc"_s,
    u"mh"_s,       u"mt"_s,          u"me"_s,           u"mp"_s,       u"m？"_s,
    u"dms"_s,      u"vs"_s,          u"vp"_s,           u"dn"_s,       u"dp"_s,
    u"gd"_s,       u"am"_s,          u"bd"_s,           u"jb"_s,       u"gm"_s,
    u"fd"_s,       u"st"_s,          u"gp"_s,           u"mg"_s,       u"lw"_s,
    u"cr"_s,       u"pn"_s,          u"hp"_s,           u"ad"_s,       u"ch"_s,
    u"ev"_s,       u"en"_s,          u"ht"_s,           u"sf"_s,       u"fn"_s,
    u"wt"_s,       u"mx"_s,          u"cm"_s,           u"tp"_s,       u"qt"_s,
    u"vr"_s,       u"fm"_s,          u"ic"_s,
};

// Scenario names the program itself asks for.
const QStringList kProgramScenarioNames = {
    u"Select_NewsEvent_Yes"_s,
    u"Select_NewsEvent_No"_s,
    u"Select_GoSubSidiary_Yes"_s,
    u"Select_GoSubSidiary_No"_s,
};

QString IniPath(const Category& c) {
    return kFolder + u"TalkEngine/"_s + QString::fromUtf16(c.name) + u".ini"_s;
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

// Everything "\", "%" or "$" opens in `text` that the player would show as plain text,
// described for the failure message; empty when all of it is markup the player knows.
QString UnknownMarkup(const QString& text, const QSet<QString>& categories) {
    static const QRegularExpression tag(
        uR"(^\\([hucenx]|w[1-9]|s[0-9]|s\[[0-9]\]|_e|j\[[^\]]+\]))"_s);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QStringView rest = QStringView(text).mid(i);
        bool known = true;
        if (text[i] == u'\\') {
            known = tag.match(rest).hasMatch();
        } else if (text[i] == u'%') {
            const QStringView name = rest.mid(1);
            known = std::any_of(kVariables.begin(), kVariables.end(),
                                [&](const QString& v) { return name.startsWith(v); }) ||
                    (name.startsWith(u"rs["_s) && name.indexOf(u']') > 3);
        } else if (text[i] == u'$') {
            const QStringView name = rest.mid(1);
            const qsizetype close = name.indexOf(u']');
            known = name.startsWith(u"RSC"_s) ||
                    (name.startsWith(u"learn["_s) && close > 6 &&
                     categories.contains(name.mid(6, close - 6).toString()));
        }
        if (!known) return rest.left(12).toString();
    }
    return {};
}

QSet<QString> CategoryNames() {
    QSet<QString> names;
    for (const Category& c : kCategories)
        names.insert(QString::fromUtf16(c.name));
    return names;
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
    for (const Category& c : kCategories)
        for (const auto& [key, value] : ini.Keys(IniPath(c), c.name))
            texts.append({QString::fromUtf16(c.name) + u'/' + key, value});
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
        QCOMPARE(files, CategoryNames());
    }

    void dictionary_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kCategories)); ++i)
            QTest::newRow(QString::fromUtf16(kCategories[i].name).toUtf8().constData()) << i;
    }

    void dictionary() {
        QFETCH(int, index);
        const Category& c = kCategories[index];
        const QString name = QString::fromUtf16(c.name);
        IniStore ini;
        QCOMPARE(ini.Sections(IniPath(c)), QStringList{name});

        const auto keys = ini.Keys(IniPath(c), name);
        bool numeric = false;
        const int count = ini.Read(IniPath(c), name, u"PN").toInt(&numeric);
        QVERIFY(numeric);
        QCOMPARE(keys.size(), count + 1); // the words and "PN"
        QVERIFY2(count >= c.minimum, qPrintable(u"%1 words"_s.arg(count)));

        QSet<QString> seen;
        for (int k = 1; k <= count; ++k) {
            const QString word = ini.Read(IniPath(c), name, QString::number(k));
            const QString where = u"%1 #%2: %3"_s.arg(name).arg(k).arg(word);
            QVERIFY2(!word.trimmed().isEmpty(), qPrintable(where)); // also catches a gap
            QVERIFY2(codec::Cp932Length(word) <= IniStore::kMaxValueBytes, qPrintable(where));
            // The dictionary merge treats words that differ only in case as one.
            QVERIFY2(!seen.contains(word.toUpper()), qPrintable(where + u" (twice)"_s));
            seen.insert(word.toUpper());
            QVERIFY2(c.shape == Shape::Script || !StartsWithMarkup(word), qPrintable(where));
            QVERIFY2(FitsShape(word, c.shape), qPrintable(where));
        }
    }

    void dictionaryIsBigEnough() {
        IniStore ini;
        int total = 0;
        for (const Category& c : kCategories)
            total += ini.Read(IniPath(c), c.name, u"PN").toInt();
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

    void markupIsKnownToThePlayer() {
        const QSet<QString> categories = CategoryNames();
        const auto texts = ScriptTexts();
        QVERIFY(texts.size() > 3000);
        for (const auto& [where, text] : texts) {
            const QString unknown = UnknownMarkup(text, categories);
            QVERIFY2(unknown.isEmpty(), qPrintable(where + u": "_s + unknown));
        }
    }

    void versionHeadGivesTheNotesOfThisVersion() {
        const QStringList lines = Lines(u"readme.txt"_s);
        QVERIFY(lines.size() > 2);
        const QString head = lines[0] + lines[1];
        const qsizetype phaseAt = head.indexOf(u"Phase"_s);
        QVERIFY(phaseAt >= 0);
        const QString phase = head.mid(phaseAt + 5, 2);
        QCOMPARE(phase.size(), 2);
        const auto date = QRegularExpression(uR"(\d{4}/\d{2}/\d{2})"_s).match(head);
        QVERIFY(date.hasMatch());
        QVERIFY(QDate::fromString(date.captured(), u"yyyy/MM/dd"_s).isValid());

        const QString key = date.captured().mid(2, 8) +
                            u" %1.%2.%3 Phase"_s.arg(ORVANEL_VERSION_MAJOR)
                                .arg(ORVANEL_VERSION_MINOR)
                                .arg(ORVANEL_VERSION_PATCH) +
                            phase;
        QCOMPARE(key.size(), 22);
        const auto line = std::find_if(lines.begin(), lines.end(),
                                       [&](const QString& l) { return l.left(22) == key; });
        QVERIFY2(line != lines.end(), qPrintable(key));
        QVERIFY(line->mid(23).size() > 10);
    }

    void headlineSourcesAreComplete() {
        const QStringList lines = Lines(u"HeadLine.dat"_s);
        QVERIFY(lines.size() >= 1 && lines.size() <= 6); // the news page has six slots
        for (const QString& line : lines) {
            const QStringList f = line.split(u',');
            QCOMPARE(f.size(), 5);
            for (const QString& field : f)
                QVERIFY2(!field.trimmed().isEmpty(), qPrintable(line));
            QVERIFY(f[1].startsWith(u"https://"_s) || f[1].startsWith(u"http://"_s));
            QVERIFY(f[4] == u"True"_s || f[4] == u"False"_s);
        }
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
