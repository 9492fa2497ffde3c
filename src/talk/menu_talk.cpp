#include "talk/menu_talk.h"

#include "core/app_context.h"
#include "script/word_source.h"
#include "talk/calendar_talk.h"
#include "talk/talk_context.h"

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

QString OneOf(TalkContext& talk, std::initializer_list<const char16_t*> lines) {
    return QStringView(lines.begin()[talk.Pick(int(lines.size())) - 1]).toString();
}

} // namespace

QString TipTalk(TalkContext& talk) {
    switch (talk.Pick(5)) {
    case 1:
        return u"追加したい機能とかあったら作者にメール送ってね。\\w8"_s;
    case 2:
        return u"自動更新エンジンはちゃんと使ってる？\\w5"_s;
    case 3:
        return u"TalkEngineを更新する時は「talk.ini」か「TalkEngineﾌｫﾙﾀﾞ」、\\w5もしくは"
               "「TalkEngineﾌｫﾙﾀﾞの内容をLHA形式で圧縮したもの」をドロップしてね～。\\w8"_s;
    case 4:
        return talk.SelfCall() + u"、\\w5ノートパソコンの時はバッテリーもちゃんと監視してるんだよ。"
                                 "\\w8えらいでしょ。\\w8"_s;
    default:
        return talk.SelfCall() + u"は意味の無いことにいろいろ反応するよ。\\w8例えば、"
                                 "\\w5タスクバーの幅を変えてみて。\\w8"_s;
    }
}

MenuTalk::MenuTalk(TalkContext& talk, CalendarTalk& calendar) : talk_(talk), calendar_(calendar) {}

QString MenuTalk::MaximTalk() {
    if (talk_.Next() > 0.93) {
        // A learning question like the others, so it counts as a talk.
        ++talk_.app.flags.talkCount;
        return u"%usernameは、どんな格言を知ってる？\\w8$learn[格言]"_s;
    }
    if (talk_.Next() > 0.72) return u"\\h"_s + talk_.words.GetWord(u"格言"_s);
    return u"\\h"_s + talk_.words.DecorateWord(u"格言"_s);
}

QString MenuTalk::ScheduleTalk() {
    switch (talk_.Pick(8)) {
    case 1:
        return u"\\hスケジュールぐらい自分で管理してください。\\w8\\w8\\u自立するんや。"_s;
    case 2:
    case 3:
        return u"\\h現在、\\w5%day日の%hour時%minute分です。\\w8\\n%usernameのこれからの予定は"
               "・・・\\w8\\n\\n"_s +
               QString::number(talk_.app.clock.Now().time().hour() + 1) +
               u"時から%msと%vsすることになってます。"_s;
    case 4:
        return u"\\h生きたいように生きるのがいちばんですよ。"_s;
    case 5:
        return u"\\h\\s6んなもん知る訳ないだろっ！"_s;
    case 6:
        return u"\\h%mpなんかに出かけてみるのはどうでしょうか？"_s;
    case 7:
        return u"\\h%msと%vsする約束したこと覚えてないの？"_s;
    default:
        return u"\\hどんな機能にするか考え中です。"_s;
    }
}

QString MenuTalk::FortuneTalk() {
    return u"\\h%usernameは%amタイプだから、\\w5\\n\\n"_s +
           OneOf(talk_, {u"「%ms参り」に行くといいことがある%ev\\w8\\w8\\u･･･%ms1参り？",
                         u"%mpで%vsするのがオススメ。", u"%msに%vsされないよう気をつけて。",
                         u"・・・こんなこと恥ずかしくて言えません。",
                         u"%gdなんかを買いに行くのがいい%ev"});
}

QString MenuTalk::TodayTalk() {
    switch (talk_.Pick(6)) {
    case 1:
        return u"\\h今日は「%msの日」\\w5だよ～。\\w8\\w8\\uウソ言うなや。"_s;
    case 2:
        return u"\\h今日は「%gdの日」\\w5だよ～。\\w8\\w8\\u何分けかからんことを･･･"_s;
    case 3:
        return u"\\h今日は「%chの日」\\w5だよ～。\\w8\\w8\\u･･･勝手に記念日作るなよ。"_s;
    case 4:
        return u"\\h今日は「%jbの日」\\w5だよ～。\\w8\\w8\\uウソ付け！"_s;
    default: {
        QString kind;
        return u"\\h今日は「"_s + calendar_.DayMessage(talk_.app.clock.Now().date(), kind) +
               u"」\\w5だよ～。\\w8\\w8\\uマジですか。"_s;
    }
    }
}

QString MenuTalk::DismissTalk(const QString& item) {
    switch (talk_.Pick(5)) {
    case 1:
        return u"\\hあ、そうですか。"_s;
    case 2:
        return u"\\h\\s5用がないなら呼ばないでください。"_s;
    case 3:
        return u"\\h\\s4用なし、か。"_s;
    case 4:
        return u"\\h\\s6「"_s + item + u"」だとぉ！(怒)"_s;
    default:
        return u"\\h\\s7なんでもないのに呼んだんだ。"_s;
    }
}

} // namespace orvanel
