#include "talk/talk_templates.h"

namespace orvanel {
namespace {

// The templates that stand as they are; the interpreter fills their variables when they are
// played. Null: the template is composed when it is drawn (RandomTalk).
const char16_t* const kTemplates[kTemplateCount] = {
    /* 1 */ nullptr,
    /* 2 */ u"\\h%msは\\w5%ms%en",
    /* 3 */ nullptr,
    /* 4 */
    u"\\h%dp、\\w5%msが%vsしているのを見かけたんだけど、\\w5あれって%vsしたかったんだと思う%"
    u"ev\\w8\\w8\\u･･･はぁ？",
    /* 5 */ u"\\h%dp、\\w5%msが%vsしながら%vsしてたよ。",
    /* 6 */ u"\\h%msが%msの%bdを欲しがっている%ev",
    /* 7 */ nullptr,
    /* 8 */ nullptr,
    /* 9 */ u"\\h%vsをしている%msには要注意!",
    /* 10 */ u"\\h%msは、\\w5%mpで%vsすることにハマっている%ev",
    /* 11 */ u"\\h%msは、\\w5自分では%vs出来ないから、\\w5代わりに%msに%vsさせる%ev",
    /* 12 */ u"\\h%msが%msと一緒にいると%vsを始める時がある%ev",
    /* 13 */ u"\\h%msは%vsをしていると、\\w5%bdがうずく%ev",
    /* 14 */ u"\\h%msの%bdは%vsするために強化してある%ev",
    /* 15 */ u"\\h%msは%amの%bdを見ると、\\w5無性に%vsしたくなる%ev",
    /* 16 */
    u"\\h%msが%mcの%gdを買い占めてるんだって。\\w8\\n%"
    u"vsするつもりなのかなぁ。\\w8\\nそんなことすると%msが%vsしちゃうと思うんだけど。\\w8",
    /* 17 */
    u"\\h「%jb \\w5%ms」がアニメ化だって。\\w8\\nこれだから%mcの考えることはわからん。\\w8",
    /* 18 */ nullptr,
    /* 19 */ u"\\h%msのペットの%amは時々%msと%vsする芸で有名%en",
    /* 20 */ u"\\h%mcが%mcと協力して新しい%gdを作る%ev",
    /* 21 */ u"\\h%mcが%mcの%gdに対抗して%gdを開発中%en",
    /* 22 */ u"\\h%mcは%gdのＣＭに%msを起用する%ev",
    /* 23 */ nullptr,
    /* 24 */ nullptr,
    /* 25 */ u"%usernameの%vsする所を一度でいいから見てみたいなぁ。\\w8",
    /* 26 */ nullptr,
    /* 27 */ nullptr,
    /* 28 */ u"\\h%selfcallは%jbになってまで%vsしたくはないなぁ。\\w8\\n\\n%usernameはどう？\\w5",
    /* 29 */ u"\\h%msの%fmは、\\w5最近%jbになった%ev",
    /* 30 */ nullptr,
    /* 31 */
    u"\\h%amの%bdってどんな仕組みになってるか知ってる？\\w5\\n%"
    u"msがよく知ってるらしいんだけど。\\w8",
    /* 32 */ nullptr,
    /* 33 */
    u"\\h誰か%selfcallの%bdを描いてくれる人はいないかなぁ？\\w5\\n\\n%"
    u"usernameの友達には絵の上手い人はいない？\\w5",
    /* 34 */ nullptr,
    /* 35 */ nullptr,
    /* 36 */ nullptr,
    /* 37 */ nullptr,
    /* 38 */ u"\\hこんなんでました～。\\w8\\n「%mx」",
    /* 39 */ u"\\h%msは、\\w5昨年の「%vs王」%en\\w5確か決勝戦で%msと対戦した%ev",
    /* 40 */ u"\\h「%mx」って、\\w5%msが%vsすることと同義%en",
    /* 41 */ u"\\h%dp、\\w5%msは%jb見習いだった%ev",
    /* 42 */ nullptr,
    /* 43 */ u"\\h%usernameは、\\w5今度%selfcallと%vsしてくれる%ev",
    /* 44 */ u"\\hこのままいくと、\\w5いつの日か%gdが無料で手に入る時がくる%ev",
    /* 45 */ u"\\h%msは、\\w5%mpの住人%en",
    /* 46 */ u"\\h%mpで%gdが投げ売りされてた%ev",
    /* 47 */
    u"\\h今度、\\w5%mcが%gmの映画を作るんだけど、\\w5\\nエキストラの%jbとして、\\w5%msが出演する%"
    u"ev",
    /* 48 */ u"\\h%msの趣味は%gdをあつめること%en",
    /* 49 */ nullptr,
    /* 50 */ u"\\h今度の%gmでは%chが%vsする%ev",
    /* 51 */ u"\\h「%mx」って言葉を最初に言ったのは%ms%en",
    /* 52 */ nullptr,
    /* 53 */ u"\\h%dp、\\w5%msが\\n「%sf」は「%sf」のパクリだって言って騒いでたよ。\\w8",
    /* 54 */ u"\\h%gmの発売日、\\w5%mpにたくさん人が集まったんだけど、\\w5その中には%msもいた%ev",
    /* 55 */ nullptr,
    /* 56 */ nullptr,
    /* 57 */ nullptr,
    /* 58 */ nullptr,
    /* 59 */ u"\\h%msは%mc専属の%jb%en",
    /* 60 */ u"\\h%mpに住むためには%msの許可がいる%ev",
    /* 61 */
    u"\\h%selfcallは%sfに「%fn機能」をつけると便利だと思うんだけど、\\w5\\n\\n%"
    u"usernameはどう思う？\\w5",
    /* 62 */ u"\\h「%cm」は、\\w5%msがモデルになってる%ev",
    /* 63 */
    u"\\h%dp、\\w5%msが「%cm」\\w5を立ち読みしてたよ。\\w8\\nおそらくあれは、\\w5%vsする前触れ%en",
    /* 64 */ u"\\h%msはすべての%jbの敵%en",
    /* 65 */ u"\\h%msは%gpの一員%en",
    /* 66 */ u"\\h%dp、\\w5%msが\\n『%tp』って得意げに言ってた%ev",
    /* 67 */ nullptr,
    /* 68 */
    u"\\h%gdをシリーズ化してみるのはどうかな？\\w5\\n%fn%gd1とか、\\w5%fn%"
    u"gd1とかいいと思うんだけど。\\w8\\n\\n%qt",
    /* 69 */ u"\\h%msは、\\w5今の職に就くまでは%jbだった%ev",
    /* 70 */ u"\\h%msと%msは%jb仲間%en",
    /* 71 */ nullptr,
    /* 72 */
    u"\\h%msが\\n「%msは用済み、\\w5%ms1は用済み、\\w5%ms1は用済み\\w8・・・%"
    u"msも用済み。\\w8」\\nって言ってた%ev",
    /* 73 */ u"\\h%msが%msに%vsされそうになった時、\\w5%msは%mpで%vsしてた%ev",
    /* 74 */ u"\\h「%jbになりたかったら%vsができないといけない。\\w8」\\nって%msが言ってた%ev",
    /* 75 */ u"\\h%mpにて未確認%vs物体を補足！\\nただちに%vsせよ！",
    /* 76 */ u"\\h%msを倒さぬ限り、\\w5我々に未来はない。\\w8",
    /* 77 */ nullptr,
    /* 78 */ u"\\h%msが%vsすると、\\w5条件反射で%msが%vsしちゃう%ev",
    /* 79 */ u"\\h%msに%gdについて語らせたら凄いことになる%ev",
    /* 80 */
    u"\\h%mpで%msから買った%gdの使い方が分かんないよ～。\\w8\\n\\n%username、\\w5助けて～。\\w8",
    /* 81 */ u"\\h%gmと%gmの共通点って意外に多い%ev",
    /* 82 */ u"\\h%gdって%mcが%gdの製造過程で出た廃棄物から作ってる%ev",
    /* 83 */ nullptr,
    /* 84 */ nullptr,
    /* 85 */ nullptr,
    /* 86 */ u"\\h%msは%gpの弱みを握っている%ev",
    /* 87 */ u"\\h%gdを%mpで買うと、\\w5ときどき%gdがまざってるときがある%ev",
    /* 88 */ u"\\h%mcと%mcは裏ルートでつながっている%ev",
    /* 89 */ nullptr,
    /* 90 */ u"\\h%msに特技を聞くと「%vs！」\\w5って答えが返ってくる%ev",
    /* 91 */ u"\\h%am愛護協会は%gpの仮の姿%en",
    /* 92 */ u"\\h%hpって%ht%en",
    /* 93 */ nullptr,
    /* 94 */ nullptr,
    /* 95 */ u"\\h%hpのアドレスって %ad \\w5でいいんだっけ？\\w5",
    /* 96 */ u"\\h%msが%vsするのって%lw違反%en",
    /* 97 */ nullptr,
    /* 98 */ u"\\h%vsなんて%pn宣告されてもしたくはないよね。\\w8",
    /* 99 */ u"\\h%lwはまたとない悪法である！",
    /* 100 */ u"\\h%lwの原案作成には%msもかかわっていた%ev",
    /* 101 */ u"\\h%dp、\\w5%msが%crを犯して逮捕されたことは、\\w5一般に%icとして知られている%ev",
    /* 102 */ u"\\h%msは%vsしたんだから%pnも仕方ない%ev",
    /* 103 */ u"\\h%msは%crを犯して%dn逃走中%en",
    /* 104 */ u"\\h%dp、\\w5%chが避妊に失敗した%ev",
    /* 105 */ u"\\h最近%msを見かけないのは\\n「%amでもできる%vsマニュアル」\\w5を執筆中だから%en",
    /* 106 */ nullptr,
    /* 107 */
    u"\\h%dp、\\w5%msが\\n\\w5「%lwは廃止したほうが良い%ev」\\w5って言ってたけど、\\w5%"
    u"usernameはどう思う？\\w5",
    /* 108 */ u"\\hあんまり%chをからかうと、\\w5%mgを使ってくるから、\\w5気をつけたほうがいい%ev",
    /* 109 */ nullptr,
    /* 110 */ nullptr,
    /* 111 */ u"\\h%usernameは%st%en",
    /* 112 */ nullptr,
    /* 113 */ u"\\h催眠術を使って%msに%vsさせることが今年のトレンド。\\w8",
    /* 114 */ nullptr,
    /* 115 */ u"\\h%msは「%fn商法」でガッポリ儲けている%ev",
    /* 116 */ nullptr,
    /* 117 */ u"\\h%msが、\\w5「%vs性%vs症」って診断された%ev",
    /* 118 */ nullptr,
};

} // namespace

QString PlainTemplate(int k) {
    if (k < 1 || k > kTemplateCount || !kTemplates[k - 1]) return {};
    return QStringView(kTemplates[k - 1]).toString();
}

} // namespace orvanel
