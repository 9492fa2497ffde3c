#include "app/shell_scripts.h"

#include "app/shell_talk.h"
#include "script/word_source.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

const QString kBootCategory = u"起動時"_s;

QString JapaneseDate(const QDate& date, const QString& format) {
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(date, format);
}

} // namespace

QString StartupTalkScript(int k, const QDateTime& now, ShellTalk& talk, WordSource& words) {
    switch (k) {
    case 1:
        return u"\\h"_s + words.GetWord(kBootCategory);
    case 2:
        return u"\\h"_s + talk.TodayDateText() +
               u"です。\\w5\\n\\n今日は%gdの日%en\\w8\\w8\\u･･･ウソ言うなや。"_s;
    case 3:
        return u"\\h"_s + JapaneseDate(now.date(), u"M月d日"_s) + u' ' +
               now.time().toString(u"H時m分"_s) +
               u"です。\\w8\\n%usernameのこれからの予定は・・・\\w8"_s + u"\r\n\r\n"_s +
               QString::number(now.time().hour() + 1) +
               u"時から%msと%vsすることになってます。\\w8\\w8\\u･･･%vs1？\\w8\\w8\\w8\\h\\c･･･何？\\w8何か変なこと言った？"_s;
    case 4: {
        const QString date = talk.TodayDateText();
        const QString day = talk.DayMessage(now.date(), nullptr);
        return u"\\h"_s + date + u"です。\\w8\\n\\n今日は「"_s + day +
               u"」%en\\w8\\w8\\uマジか。\\w8\\w8\\c急いで%vsせな･･･\\w8\\w8\\h\\c･･･%vs1？\\w8\\w8\\c何で？\\w8\\w8\\u\\c･･･%msとの約束や。"_s;
    }
    case 5: {
        const QString date = talk.TodayDateText();
        const ShellTalk::Flower f = talk.FlowerOfDay();
        return u"\\h"_s + date + u"です。\\w5\\n\\n今日の誕生花は「"_s + f.name +
               u"」で、\\w5\\n花言葉は「"_s + f.meaning + u"」です。\\w8\\w8\\u"_s + f.meaning +
               u"･･･\\w8\\w8\\n\\c･･･おもしろ言葉やね。"_s;
    }
    case 6: {
        QString kind;
        const QString day = talk.DayMessage(now.date(), &kind);
        return u"\\h今日は"_s + JapaneseDate(now.date(), u"yyyy年M月d日、dddd"_s) +
               u"\\w5\\n\\n「"_s + day + u"」\\w5です。\\w8\\w8\\w8\\u"_s + day +
               u"か･･･\\w8\\n\\n"_s + kind +
               u"だな。\\w8\\w8\\w8\\h\\c･･･まぁ、\\w5そういうことになるね。"_s;
    }
    case 7: {
        const QString date = talk.TodayDateText();
        const ShellTalk::Flower f = talk.FlowerOfDay();
        return u"\\h"_s + date + u"です。\\n\\n\\w8今日の誕生花は「"_s + f.name +
               u"」で、\\w5\\n花言葉は「"_s + f.meaning + u"」です。\\w8\\w8\\u"_s + f.name +
               u"で「"_s + f.meaning + u"」？\\w8\\w8\\h\\s4\\c･･･ホントだよ。"_s;
    }
    default:
        return talk.GreetingScript();
    }
}

QString FirstStartScript() {
    return u"\\hん？\\w8\\w8\\c初回起動かな？\\w8\\w8\\w8\\cどうも。\\w8\\w8\\cTOMU二代目暫定キャラクター見習い補佐代理の奏(かなみ)です。\\w8\\n\\nぼちぼちの出来ですが、どうかよろしくお願い致します。\\w8\\w8\\w8\\cまずはユーザーさんの名前を教えてほしいなぁ～。\\w8(強制)"_s;
}

QString UpdateTalkScript(const QString& version, const QString& phase, const QString& notes) {
    return u"\\h更新完了しました。\\w8\\w8\\cVersion"_s + version + u" \\w5Phase"_s + phase +
           u"に更新されました。\\w8\\n\\n更新された内容は･･･\\w8\\w8\\n"_s + notes +
           u"\\w8\\n\\nです。"_s;
}

QString FarewellScript(const QString& uptime, const QString& farewellWord) {
    return u"\\h今回の起動時間は、"_s + uptime + u"でした。\\w5\\n\\n"_s + farewellWord +
           u"\\w8\\w8\\u"_s + farewellWord;
}

QString RestoreGreeting(int k, bool fromIcon, WordSource& words) {
    switch (k) {
    case 1:
        return u"\\hふぅ。\\w8\\u狭いところに閉じ込めやがって。"_s;
    case 2:
        return fromIcon ? u"\\h\\s0復活！\\w8\\u･･･\\w5ゾンビ？"_s
                        : u"\\h復活！\\w8\\u･･･\\w5ゾンビ？"_s;
    default:
        return u"\\h"_s + words.GetWord(kBootCategory);
    }
}

QString FellowPokeScript(int k) {
    switch (k) {
    case 1:
        return u"\\h\\_e\\u突くなら%selfnameをつきや･･･"_s;
    case 2:
        return u"\\h\\_e\\uだ～か～ら～。"_s;
    default:
        return u"\\h\\_e\\uすみっこに居させてくれよ･･･\\w8\\w8\\nほっといていいから。"_s;
    }
}

} // namespace orvanel
