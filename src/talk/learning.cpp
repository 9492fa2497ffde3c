#include "talk/learning.h"

#include "core/app_context.h"
#include "core/views.h"
#include "script/play_state.h"
#include "script/script_player.h"
#include "script/word_source.h"
#include "talk/dictionary.h"
#include "talk/talk_context.h"
#include "tools/trace_log.h"

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// Null: composed when drawn (22). Question 26 once ended in a "\w" without its digit, which the
// balloon showed as it stands; it waits like the others now.
const char16_t* const kQuestions[Learning::kQuestionCount] = {
    u"\\h%username～。\\w8\\n今度の休みにはどこ行きたい？\\w8$learn[場所]",
    u"\\h%usernameは、\\w5%msにはどんな職業がむいていると思う？\\w8$learn[職業]",
    u"\\h%msを動物にたとえるとズバリ何？\\w8$learn[動物]",
    u"\\h%username～。\\w8\\n%msに何してやりたい？\\w8$learn[動詞(単純)]",
    u"\\h%usernameが、\\w5いつか%vsしてやろうと思っている人は誰？\\w8$learn[人物]",
    u"\\h最近やってるあのおもしろいCMは、\\w5何のCM？\\w8$learn[商品]",
    u"\\h%usernameは、\\w5%msのどこに魅力を感じる？\\w8$learn[体]",
    u"\\h何かひとこと！$learn[ひとこと]",
    u"\\h%msの性格をひとことで言うと？\\w8$learn[状態]",
    u"\\h警察につかまらないとしたら%usernameは何をする？\\w8$learn[動詞(単純)]",
    u"\\h%gdといえば、\\w5どこの製品？\\w8$learn[会社]",
    u"\\h%usernameは%gdと%gdを混ぜると何になると思う？\\w8$learn[商品]",
    u"\\h%amと%amのキメラは何かなぁ？\\w8$learn[動物]",
    u"\\h%usernameはどんなゲームをするの？\\w8$learn[ゲーム]",
    u"\\h%usernameは%gmではどのキャラが好き？\\w8$learn[キャラ]",
    u"\\h%usernameはどんな雑誌をよく読むの～？\\w8$learn[雑誌]",
    u"\\h%msが定期購読していそうな雑誌は何？\\w8$learn[雑誌]",
    u"\\h%usernameおすすめのゲームは？\\w8$learn[ゲーム]",
    u"\\h%usernameのお気に入りの言葉はな～に？\\w8$learn[起動時]",
    u"\\h%usernameは、\\w5どんなソフトをよく使う？\\w8$learn[ソフト]",
    u"\\h%usernameは、\\w5どんなウイルスを知ってる？\\w8$learn[ウイルス]",
    nullptr,
    u"\\h%usernameは、\\w5%sfにどんな機能が付いていたら便利だと思う？\\w8$learn[機能]",
    u"\\h%vs名人といえば？\\w8$learn[人物]",
    u"\\h最近よくニュースでやっている事件は何？\\w8$learn[事件]",
    u"\\h%usernameの思い出に残っている事件は？\\w8$learn[事件]",
    u"\\hなんか%usernameの知ってるまめ知識を教えて～。\\w8$learn[まめ知識]",
    u"\\h%usernameは%mpに行ったら何をする？\\w8$learn[動詞(単純)]",
    u"\\h%usernameが%vsするとしたら、\\w5どこでする？\\w8$learn[場所]",
    u"\\h%username～。\\w8\\n別れの言葉を教えて～。\\w8$learn[終了時]",
    u"\\h%usernameオススメのホームページを教えて～。\\w8$learn[ホームページ]",
    u"\\h%usernameはどんなサイトによく行くの？\\w8$learn[HPタイプ]",
    u"\\h%gd関係のホームページのアドレス知ってる？\\w8$learn[アドレス]",
    u"\\h%usernameおすすめのまんがはな～に？\\w8$learn[マンガ]",
    u"\\h%usernameの好きな食べ物を教えて～。\\w8$learn[食べ物]",
    u"\\h%usernameは、\\w5%fdの材料知ってる？$learn[食材]",
    u"\\h%usernameが最近気になっているモノは何？\\w8$learn[商品]",
    u"\\h%msといえば？\\w8$learn[動詞(単純)]",
    u"\\h%mp名物といえば？\\w8$learn[商品]",
};

} // namespace

QString JoinState(const QString& state, const QString& rest) {
    return state.endsWith(u'い') ? state + rest : state + u'な' + rest;
}

Learning::Learning(TalkContext& talk) : talk_(talk) {}

QString Learning::LearningQuestion() {
    ++talk_.app.flags.talkCount;
    return Question(talk_.Pick(kQuestionCount));
}

QString Learning::Question(int k) {
    if (k < 1 || k > kQuestionCount) return {};
    if (k == 22)
        return u"\\h"_s +
               JoinState(talk_.words.GetWord(u"状態"_s), u"%jbといえば誰？\\w8$learn[人物]"_s);
    return QStringView(kQuestions[k - 1]).toString();
}

void Learning::StartLearning(const QString& category) {
    // Only the 61 categories: a script from elsewhere must not make up dictionary files.
    const int index = CategoryIndex(category);
    if (index < 0) {
        talk_.app.log.LogLine(u"Learning refused: "_s + category);
        return;
    }
    category_ = category;
    MainBalloonView* balloon = talk_.views.mainBalloon;
    if (balloon) {
        balloon->SetTeachPrompt(CategoryPrompt(index));
        balloon->SetTeachExample(u"例 ： "_s + talk_.dictionary.GetRandomWord(category));
    }
    talk_.play.ForeMenu(BalloonPanel::Teach);
    if (balloon) balloon->FocusInput();
    talk_.app.flags.balloonHold = true;
}

void Learning::LearnWord(const QString& word) {
    if (category_.isEmpty() || word.isEmpty()) return;
    const QString& x = category_;
    const QString& w = word;
    const qint32 n = talk_.dictionary.WordCount(x);
    bool known = false;
    for (qint32 i = 1; i <= n && !known; ++i)
        known = talk_.dictionary.ReadTalk(x, i) == w;
    QString reply;
    if (known) {
        switch (talk_.Pick(5)) {
        case 1:
            reply = u"\\h"_s + w + u"はもう知ってるよ～。\\w8"_s;
            break;
        case 2:
            reply = u"\\h"_s + w + u"はもう知ってるってば。\\w8\\n\\n%username"_s +
                    u"はそんなに"_s + w + u"が好きなの？\\w5"_s;
            break;
        case 3:
            reply = u"\\h"_s + w + u"なんて聞き飽きたわ！"_s;
            break;
        case 4:
            reply = u"\\h%selfcall 、\\w5"_s + w + u"って言葉もう知ってるよ。\\w8"_s;
            break;
        default:
            reply = u"\\h"_s + w + u"かぁ、\\w5なんか前に聞いたことあるなぁ。\\w8"_s;
            break;
        }
    } else {
        talk_.app.flags.balloonHold = false;
        if (!talk_.dictionary.AppendWord(x, w)) {
            // A word that did not reach the dictionary is not praised as learned.
            talk_.app.log.LogLine(u"Learning: "_s + x + u" not written"_s);
            reply = u"\\h覚えられなかった～。"_s;
        } else {
            switch (talk_.Pick(5)) {
            case 1:
                reply = u"\\hふむふむ。\\w8べんきょうになるっす。\\w8"_s + w + u"かぁ。\\w8"_s;
                break;
            case 2:
                reply = u"\\h"_s + w + u"を知ってるなんて、\\w5%usernameは物知りだなぁ。\\w8"_s;
                break;
            case 3:
                reply = u"\\h"_s + w + u"～。\\w8"_s;
                break;
            case 4:
                reply = u"\\h"_s + w + u"って"_s + talk_.words.GetWord(x) + u"の仲間%en"_s;
                break;
            default:
                reply = u"\\h"_s + w + u"とは斬新な。\\w8"_s;
                break;
            }
        }
    }
    talk_.player.PlayScript(reply);
    if (MainBalloonView* balloon = talk_.views.mainBalloon) {
        balloon->SetPanelVisible(BalloonPanel::Teach, false);
        balloon->SetInputText(QString());
    }
}

QString Learning::InputMode() const {
    const MainBalloonView* balloon = talk_.views.mainBalloon;
    const bool open = balloon && balloon->IsPanelVisible(BalloonPanel::Teach);
    return open && !category_.isEmpty() ? u"Learn"_s : QString();
}

void Learning::NagTalk() {
    talk_.player.PlayScript(u"\\h\\s4質問にはちゃんと答えてよぉ～。"_s);
    talk_.app.flags.balloonHold = false;
}

} // namespace orvanel
