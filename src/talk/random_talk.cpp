#include "talk/random_talk.h"

#include "core/app_context.h"
#include "core/views.h"
#include "platform/machine_probes.h"
#include "script/scenario_files.h"
#include "script/word_source.h"
#include "talk/calendar_talk.h"
#include "talk/learning.h"
#include "talk/machine_talk.h"
#include "talk/questions.h"
#include "talk/talk_context.h"
#include "talk/talk_templates.h"

#include <QStringList>

namespace orvanel {

using namespace Qt::StringLiterals;

namespace {

const QString kCrLf2 = u"\r\n\r\n"_s;

QString Text(const char16_t* text) {
    return QStringView(text).toString();
}

} // namespace

RandomTalkMaker::RandomTalkMaker(TalkContext& talk, Learning& learning, Questions& questions,
                                 CalendarTalk& calendar, MachineTalk& machine)
    : talk_(talk), learning_(learning), questions_(questions), calendar_(calendar),
      machine_(machine) {}

QString RandomTalkMaker::Word(const char16_t* category) {
    return talk_.words.GetWord(Text(category));
}

QString RandomTalkMaker::WithChoice(const QString& text, AnswerKind kind, ChoicePosition position,
                                    ChoiceTopic topic) {
    questions_.PickAnswerWords(kind);
    questions_.OfferChoice(questions_.PositiveWord(), questions_.NegativeWord(), topic, position);
    return text;
}

QString RandomTalkMaker::MakeRandomTalk() {
    ++talk_.app.flags.talkCount;
    if (talk_.Next() >= 0.94) {
        const bool battery = talk_.Next() < 0.3;
        if (battery && talk_.machine.Power().acLine == 0) return machine_.BatteryTalk();
        return learning_.LearningQuestion();
    }
    if (talk_.Next() < 0.05 && talk_.views.character && talk_.views.character->FellowPresent()) {
        // A skin without external scripts has nothing to say here: a template speaks instead.
        const QString line = talk_.scenario.PickExternalScript();
        if (!line.isEmpty()) return line;
    }
    const int k = talk_.Pick(kTemplateCount);
    if (auto script = Template(k)) return *script;
    // The only template that cannot always be made (116) gives way to one of the others.
    int other = talk_.Pick(kTemplateCount - 1);
    if (other >= k) ++other;
    return Template(other).value_or(QString());
}

std::optional<QString> RandomTalkMaker::Template(int k) {
    if (k < 1 || k > kTemplateCount) return std::nullopt;
    const QString plain = PlainTemplate(k);
    if (!plain.isNull()) return plain;
    switch (k) {
    case 1:
        return u"\\h"_s + Word(u"ひとこと");
    case 3:
        return u"\\h%msと%msが%vpというのは本当%en\\n\\n\\w8"_s + Word(u"ツッコミ");
    case 7:
        return WithChoice(
            u"\\h%dpの新聞の一面にあった、\\w5\\n『%msが%vsの容疑で逮捕された』\\w5って記事、"
            u"\\w5%usernameは読んだ？\\w5"_s,
            AnswerKind::ExpYesNo, ChoicePosition::Mid, ChoiceTopic::NewsEvent);
    case 8:
        return u"\\h%vsしたくなるのは"_s + JoinState(Word(u"状態"), u"証拠。"_s);
    case 18:
        return u"\\h%msの子どもの頃の夢は\\n「%jbになって、\\w5%vsすること」だった%ev\\n\\n"_s +
               Word(u"ツッコミ");
    case 23:
        return u"\\h%mcに%gdを"_s + Word(u"個数") + u"注文すると、\\w5%msが配達してくれる%ev"_s;
    case 24:
        return WithChoice(u"\\h%usernameは%msが%vsすることはどう思う？\\w5"_s, AnswerKind::GoodBad,
                          ChoicePosition::Mid, ChoiceTopic::PsnDo);
    case 26:
        return u"\\h"_s + JoinState(Word(u"状態"), u"%jb。\\w8\\n"_s) + Word(u"ツッコミ");
    case 27: {
        const QString first = Word(u"動詞(単純)");
        const QString second = Word(u"動詞(単純)");
        questions_.OfferChoice(first, second, ChoiceTopic::ExpYesNo, ChoicePosition::Btm);
        return u"\\h%dp、\\w5%usernameに似た人が%msと一緒に%vsしているところを%"
               u"msが目撃したらしいんだけど、"
               u"\\w5\\nそのとき%usernameは何してた？\\w5"_s;
    }
    case 30:
        return WithChoice(
            u"\\h今度、\\w5%mpに%gdを販売する%mcの子会社が出来る%ev\\n\\n\\w5%usernameは行く？\\w5"_s,
            AnswerKind::ExpYesNo, ChoicePosition::Btm, ChoiceTopic::GoSubsidiary);
    case 32:
        return machine_.SystemInfoTalk();
    case 34: {
        const QString count = Word(u"個数");
        const QString reaction = Word(u"化学反応");
        return u"\\h%mpに%gdが"_s + count +
               u"集まって、\\w5そこに%msが居合わせると、\\w5反応がおきて%stになる%ev\\n\\nこのことを世間では"_s +
               reaction + u"という%ev"_s;
    }
    case 35:
        return u"\\h%msは、\\w5もう"_s + Word(u"個数") + u"も%gdを持っている%ev"_s;
    case 36:
        return machine_.MemoryTalk();
    case 37:
        return machine_.MachineUptimeTalk();
    case 42:
        return u"\\h「"_s + Word(u"雑誌") +
               u"」に、\\w5%msの投稿が載ってたんだけど、\\w5どうも%msは%stらしい。\\w8"_s;
    case 49:
        return WithChoice(
            u"\\h今度、\\w5%mcが%chのお手製の%gdを発売する%ev\\w8\\n\\n%usernameはどう思う？\\w5"_s,
            AnswerKind::GoodBad, ChoicePosition::Btm, ChoiceTopic::MadeByChar);
    case 52:
        return u"\\h%vrの作者は%ms%en\\n\\n"_s + Word(u"ツッコミ");
    case 55:
        return u"\\h%sfユーザーには"_s + JoinState(Word(u"状態"), u"ひとが多い%ev"_s);
    case 56:
        return u"\\h%msにむかって%msが\\n「"_s + Word(u"ひとこと") + u"」\\w5って言った%ev"_s;
    case 57:
        return u"\\h「"_s + Word(u"事件") + u"」を裏であやつっていたのは%ms%en"_s;
    case 58:
        talk_.ShowSurface(3, true);
        return u"\\h素人が%vsすると危ないよね。\\w8\\n%msならともかく。\\w8"_s;
    case 67:
        return u"\\h「"_s + talk_.words.DecorateWord(u"マンガ"_s) + u"」って%qt"_s;
    case 71:
        return u"\\hどうしても%vsしたくなったら%selfcallにひとこと言ってね。\\w8"_s + kCrLf2 +
               talk_.SelfCall() + u"が%msにたのんでおくから。\\w8"_s;
    case 77: {
        const int age = talk_.Pick(100);
        static const char16_t* const kHobbies[] = {u"%gd集め", u"%vsすること", u"%jb気取り"};
        const QString hobby = Text(kHobbies[talk_.Pick(3) - 1]);
        return u"\\h%msのヒミツ～。\\w8\\n年齢 : "_s + QString::number(age) + u"歳\\n趣味 : "_s +
               hobby + u"\\n生まれ : %mp\\n\\n\\w5だって。\\w8 "_s;
    }
    case 83:
        return WithChoice(u"\\h%usernameは%msに%vsしてもらいたいと思ったことはない？\\w5"_s,
                          AnswerKind::ExpYesNo, ChoicePosition::Mid, ChoiceTopic::ExpYesNo);
    case 84:
        return WithChoice(
            u"\\h今度何かで%usernameが罰ゲームを決める時がきたら、\\w5「%vsする」\\w5ってのはどう？\\w5"_s,
            AnswerKind::GoodBad, ChoicePosition::Mid, ChoiceTopic::GoodBad);
    case 85:
        talk_.ShowSurface(7, true);
        return u"\\h%ch3号機は現時刻を持って廃棄、\\w5目標を%msと識別する。\\w8\\n予定通り%"
               u"mpで戦線を展開、"
               u"\\w5目標を撃破しろ！"_s;
    case 89:
        talk_.ShowSurface(7, true);
        return u"\\hこの世に%gdは不要である！\\n発見次第、\\w5破壊せよ！"_s;
    case 93:
        return WithChoice(u"\\h%ad\\w5ってどんなサイトだか%usernameは知ってる？\\w5"_s,
                          AnswerKind::YesNo, ChoicePosition::Top, ChoiceTopic::YesNo);
    case 94:
        return u"\\h%hpの掲示板に%msが「"_s + Word(u"ひとこと") +
               u"」\\w5って書き込みをしてた%ev"_s;
    case 97:
        talk_.ShowSurface(7, true);
        return u"\\h%msは%pn確定である！"_s;
    case 106:
        return u"\\h%msは小"_s + QString::number(talk_.Pick(6)) +
               u"の時に\\n「%stで賞」、\\w5\\w8「%stで賞」、\\w5\\w8「%stで賞」\\w8の三冠王だった%ev"_s;
    case 109:
        return u"\\h%msは、\\w5ペットの%amに「%mg」\\w5の呪文を覚えさせようとしている%ev\\n\\n\\w8"_s +
               Word(u"ツッコミ");
    case 110:
        return u"\\h今度、\\w5%msが%gpに入るんだって。\\w8\\n%gdの新作を開発したいらしいんだけど・・・\\n\\w8"_s +
               Word(u"ツッコミ");
    case 112:
        return u"\\h%gdの半分は"_s + Word(u"形容詞1") + u"さで出来ている%ev"_s;
    case 114: {
        QString tail;
        switch (talk_.Pick(3)) {
        case 1:
            tail = Word(u"飲み物") + u"をかけるとすぐ出来るやつ。\\w8"_s;
            break;
        case 2:
            tail = u"レンジで"_s + QString::number(talk_.Pick(6)) + u"分温めれば出来るやつ。\\w8"_s;
            break;
        default:
            tail = u"%gdをおまけにつけてさ。\\w8"_s;
            break;
        }
        return u"\\h「インスタント%fd」を商品化してみたらどうかな？\\w5"_s + kCrLf2 + tail;
    }
    case 116: {
        const QStringList parts = Word(u"類似").split(u',');
        if (parts.size() < 2 || parts[0].trimmed().isEmpty() || parts[1].trimmed().isEmpty())
            return std::nullopt;
        return parts[0] + u'と' + parts[1] + u"って似てるよね。\\w8"_s;
    }
    case 118:
        return calendar_.GreetingScript();
    default:
        return std::nullopt;
    }
}

} // namespace orvanel
