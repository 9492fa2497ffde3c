#include "talk/menu_talk.h"

#include "core/app_context.h"
#include "script/word_source.h"
#include "talk/calendar_talk.h"
#include "talk/talk_context.h"

namespace orvanel {
namespace {

QString OneOf(TalkContext& talk, std::initializer_list<const char16_t*> lines) {
    return QStringView(lines.begin()[talk.Pick(int(lines.size())) - 1]).toString();
}

} // namespace

QString TipTalk(TalkContext& talk) {
    switch (talk.Pick(5)) {
    case 1:
        return QStringLiteral("追加したい機能とかあったら作者にメール送ってね。\\w8");
    case 2:
        return QStringLiteral("自動更新エンジンはちゃんと使ってる？\\w5");
    case 3:
        return QStringLiteral(
            "TalkEngineを更新する時は「talk.ini」か「TalkEngineﾌｫﾙﾀﾞ」、\\w5もしくは"
            "「TalkEngineﾌｫﾙﾀﾞの内容をLHA形式で圧縮したもの」をドロップしてね～。\\w8");
    case 4:
        return talk.SelfCall() +
               QStringLiteral("、\\w5ノートパソコンの時はバッテリーもちゃんと監視してるんだよ。"
                              "\\w8えらいでしょ。\\w8");
    default:
        return talk.SelfCall() + QStringLiteral("は意味の無いことにいろいろ反応するよ。\\w8例えば、"
                                                "\\w5タスクバーの幅を変えてみて。\\w8");
    }
}

MenuTalk::MenuTalk(TalkContext& talk, CalendarTalk& calendar) : talk_(talk), calendar_(calendar) {}

QString MenuTalk::MaximTalk() {
    if (talk_.Next() > 0.93) {
        // A learning question like the others, so it counts as a talk.
        ++talk_.app.flags.talkCount;
        return QStringLiteral("%usernameは、どんな格言を知ってる？\\w8$learn[格言]");
    }
    if (talk_.Next() > 0.72)
        return QStringLiteral("\\h") + talk_.words.GetWord(QStringLiteral("格言"));
    return QStringLiteral("\\h") + talk_.words.DecorateWord(QStringLiteral("格言"));
}

QString MenuTalk::ScheduleTalk() {
    switch (talk_.Pick(8)) {
    case 1:
        return QStringLiteral(
            "\\hスケジュールぐらい自分で管理してください。\\w8\\w8\\u自立するんや。");
    case 2:
    case 3:
        return QStringLiteral(
                   "\\h現在、\\w5%day日の%hour時%minute分です。\\w8\\n%usernameのこれからの予定は"
                   "・・・\\w8\\n\\n") +
               QString::number(talk_.app.clock.Now().time().hour() + 1) +
               QStringLiteral("時から%msと%vsすることになってます。");
    case 4:
        return QStringLiteral("\\h生きたいように生きるのがいちばんですよ。");
    case 5:
        return QStringLiteral("\\h\\s6んなもん知る訳ないだろっ！");
    case 6:
        return QStringLiteral("\\h%mpなんかに出かけてみるのはどうでしょうか？");
    case 7:
        return QStringLiteral("\\h%msと%vsする約束したこと覚えてないの？");
    default:
        return QStringLiteral("\\hどんな機能にするか考え中です。");
    }
}

QString MenuTalk::FortuneTalk() {
    return QStringLiteral("\\h%usernameは%amタイプだから、\\w5\\n\\n") +
           OneOf(talk_, {u"「%ms参り」に行くといいことがある%ev\\w8\\w8\\u･･･%ms1参り？",
                         u"%mpで%vsするのがオススメ。", u"%msに%vsされないよう気をつけて。",
                         u"・・・こんなこと恥ずかしくて言えません。",
                         u"%gdなんかを買いに行くのがいい%ev"});
}

QString MenuTalk::TodayTalk() {
    switch (talk_.Pick(6)) {
    case 1:
        return QStringLiteral("\\h今日は「%msの日」\\w5だよ～。\\w8\\w8\\uウソ言うなや。");
    case 2:
        return QStringLiteral("\\h今日は「%gdの日」\\w5だよ～。\\w8\\w8\\u何分けかからんことを･･･");
    case 3:
        return QStringLiteral(
            "\\h今日は「%chの日」\\w5だよ～。\\w8\\w8\\u･･･勝手に記念日作るなよ。");
    case 4:
        return QStringLiteral("\\h今日は「%jbの日」\\w5だよ～。\\w8\\w8\\uウソ付け！");
    default: {
        QString kind;
        return QStringLiteral("\\h今日は「") +
               calendar_.DayMessage(talk_.app.clock.Now().date(), kind) +
               QStringLiteral("」\\w5だよ～。\\w8\\w8\\uマジですか。");
    }
    }
}

QString MenuTalk::DismissTalk(const QString& item) {
    switch (talk_.Pick(5)) {
    case 1:
        return QStringLiteral("\\hあ、そうですか。");
    case 2:
        return QStringLiteral("\\h\\s5用がないなら呼ばないでください。");
    case 3:
        return QStringLiteral("\\h\\s4用なし、か。");
    case 4:
        return QStringLiteral("\\h\\s6「") + item + QStringLiteral("」だとぉ！(怒)");
    default:
        return QStringLiteral("\\h\\s7なんでもないのに呼んだんだ。");
    }
}

} // namespace orvanel
