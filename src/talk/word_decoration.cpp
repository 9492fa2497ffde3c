#include "talk/word_decoration.h"

#include "platform/random.h"
#include "talk/dictionary.h"

#include <QHash>
#include <QList>

namespace orvanel {
namespace {

// In a rule, "[X]" is a plain word of X, "[キャラ*]" a キャラ word that may itself be
// decorated, and "{N}" a number 1..8; everything else is literal. Parts are drawn left to right.
struct RuleSet {
    const char16_t* category;
    std::initializer_list<const char16_t*> rules;
};

const RuleSet kRuleSets[] = {
    {u"動詞(単純)",
     {u"はじめての[動詞(単純)]", u"[人物]占い", u"[商品]ダイエット", u"[機能]商法で一儲け"}},
    {u"動詞(過去)", {u"[動詞(単純)]した", u"[人物]占いした", u"[商品]ダイエットした"}},
    {u"人物",
     {u"[状態]な[人物]", u"[動物]に[体]を噛まれて重体の[人物]",
      u"[人物]に影響されて[動詞(単純)]を始めた[人物]", u"[商品]を振り回す[人物]",
      u"[家族]に[商品]を買ってもらいご満悦の[人物]", u"[人物]に[状態]呼ばわりされる[人物]",
      u"[形容詞2][職業]を志す[人物]", u"[人物]の[家族]", u"[人物]([職業])",
      u"[場所]で[食べ物]を食らった[人物]", u"実は[状態]だった[人物]", u"冤罪で起訴される[人物]",
      u"[人物]と[動詞(単純)]する[人物]", u"[人物]に[動詞(単純)]させる[人物]",
      u"[キャラ]を家族だと思っている[人物]", u"[商品]マニアの[人物]", u"[キャラ]マニアの[人物]"}},
    {u"副詞", {u"[形容詞1]そうに"}},
    {u"職業",
     {u"[動詞(単純)]名人", u"歌って踊れる[職業]", u"[動物]ハンター", u"たまねぎ[職業]",
      u"[職業]見習い補佐代理"}},
    {u"団体", {u"[キャラ]撲滅委員会"}},
    {u"会社", {u"裏[会社]"}},
    {u"格言",
     {u"[商品]は[形容詞2][職業][文末(格名)]", u"[商品]と[商品]は[形容詞2][キャラ*][文末(格名)]",
      u"[場所]、そこは[形容詞2][職業]の聖地である。", u"[副詞][団体]は[動詞(単純)]する[文末(格動)]",
      u"[キャラ]は%gpによって[動詞(単純)]される[文末(格動)]",
      u"[形容詞2][職業]は[副詞][動詞(単純)]する[文末(格動)]"}},
    {u"商品",
     {u"[動物]でも出来る[動詞(単純)]マニュアル", u"無農薬[食べ物]", u"果汁{N}％[飲み物]",
      u"無印[商品]", u"抗菌[商品]", u"完全[動詞(単純)]マニュアル", u"18禁版[マンガ]"}},
    {u"食べ物",
     {u"シュガーレス[食べ物]", u"無農薬[食べ物]", u"果汁{N}％[飲み物]", u"[食べ物]風味の[食べ物]"}},
    {u"マンガ",
     {u"[動詞(単純)]しちゃうぞ", u"はぐれ[職業][状態]派", u"不思議の国の[人物]", u"∀[キャラ]",
      u"ああっ[キャラ]さまっ"}},
    // Not one of the 61 categories, so no word request reaches it; kept for completeness.
    {u"形容詞", {u"[職業]的な"}},
};

struct Part {
    enum Kind { Text, Word, DecoratedWord, Number } kind;
    QString text;
};
using Rule = QList<Part>;

Rule Parse(QStringView rule) {
    Rule parts;
    qsizetype i = 0;
    while (i < rule.size()) {
        if (rule[i] == u'[') {
            const qsizetype close = rule.indexOf(u']', i);
            QString name = rule.mid(i + 1, close - i - 1).toString();
            const bool decorated = name.endsWith(u'*');
            if (decorated) name.chop(1);
            parts.append(Part{decorated ? Part::DecoratedWord : Part::Word, name});
            i = close + 1;
        } else if (rule.mid(i).startsWith(u"{N}")) {
            parts.append(Part{Part::Number, QString()});
            i += 3;
        } else {
            qsizetype end = i;
            while (end < rule.size() && rule[end] != u'[' && !rule.mid(end).startsWith(u"{N}"))
                ++end;
            parts.append(Part{Part::Text, rule.mid(i, end - i).toString()});
            i = end;
        }
    }
    return parts;
}

const QHash<QString, QList<Rule>>& Rules() {
    static const QHash<QString, QList<Rule>> rules = [] {
        QHash<QString, QList<Rule>> table;
        for (const RuleSet& set : kRuleSets) {
            QList<Rule>& list = table[QStringView(set.category).toString()];
            for (const char16_t* r : set.rules)
                list.append(Parse(r));
        }
        return table;
    }();
    return rules;
}

} // namespace

WordDecorator::WordDecorator(const Dictionary& dictionary, Random& random)
    : dictionary_(dictionary), random_(random) {}

QString WordDecorator::GetRandomWord(const QString& category) {
    return dictionary_.GetRandomWord(category);
}

QString WordDecorator::GetWord(const QString& category) {
    if (random_.Next() > 0.15) return dictionary_.GetRandomWord(category);
    const QString phrase = DecorateWord(category);
    return phrase.isEmpty() ? dictionary_.GetRandomWord(category) : phrase;
}

QString WordDecorator::DecorateWord(const QString& category) {
    const auto it = Rules().constFind(category);
    if (it == Rules().constEnd()) return {};
    const QList<Rule>& rules = *it;
    const Rule& rule = rules.at(qBound(1, random_.Pick(int(rules.size())), int(rules.size())) - 1);
    QString phrase;
    for (const Part& part : rule) {
        switch (part.kind) {
        case Part::Text:
            phrase += part.text;
            break;
        case Part::Word:
            phrase += dictionary_.GetRandomWord(part.text);
            break;
        case Part::DecoratedWord:
            phrase += GetWord(part.text);
            break;
        case Part::Number:
            phrase += QString::number(qBound(1, random_.Pick(8), 8));
            break;
        }
    }
    return phrase;
}

} // namespace orvanel
