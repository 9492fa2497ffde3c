#include "talk/touch_reactions.h"

#include "core/app_context.h"
#include "script/script_player.h"
#include "script/word_source.h"
#include "talk/questions.h"
#include "talk/talk_context.h"

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// Faces of the skin's surface list.
constexpr int kNormal = 1;
constexpr int kEyesClosed = 2;
constexpr int kAnnoyed = 4;
constexpr int kAngry = 5;
constexpr int kFurious = 6;
// Quiet ticks an angry poke starts from, so that her face stays longer.
constexpr qint32 kAngryQuiet = -50;
constexpr qint32 kFuriousQuiet = -100;
// Stroke ticks after which she asks whether she is being praised.
constexpr qint32 kPraiseAfter = 38;

} // namespace

TouchReactions::TouchReactions(TalkContext& talk, Questions& questions)
    : talk_(talk), questions_(questions) {}

void TouchReactions::Say(const QString& line) {
    talk_.player.PlayScript(line, ScriptOrigin::Touch);
}

void TouchReactions::SayOneOf(std::initializer_list<const char16_t*> lines) {
    Say(QString::fromUtf16(lines.begin()[talk_.Pick(int(lines.size())) - 1]));
}

void TouchReactions::Threaten() {
    Say(talk_.words.GetWord(u"脅し"_s) + u"\\h"_s);
}

void TouchReactions::Pressed(TouchArea area) {
    switch (area) {
    case TouchArea::Eye:
        EyePoke();
        break;
    case TouchArea::Mouth:
        MouthPoke();
        break;
    case TouchArea::Body:
    case TouchArea::Head:
        BodyPoke();
        break;
    case TouchArea::Nose:
    case TouchArea::Cheek:
        break;
    }
}

void TouchReactions::Clicked(TouchArea area, bool ctrl) {
    if (area != TouchArea::Nose) return;
    // Ctrl on the nose is the debug window's command, not a poke, so the poke's line cannot
    // replace it.
    if (ctrl)
        Say(u"\\hデバッグウインドウ表示～。\\w8\\w8\\u表示～。"_s);
    else if (talk_.Next() < 0.5)
        Say(u"\\h鼻もつつかないでください。"_s);
}

void TouchReactions::Moved(TouchArea area, QPoint pos) {
    TouchState& t = talk_.app.touch;
    switch (area) {
    case TouchArea::Body:
        t.strokeTicks = 0;
        break;
    case TouchArea::Head:
        HeadStroke(pos);
        break;
    case TouchArea::Nose:
        if (talk_.Next() < 0.005)
            SayOneOf(
                {u"\\hへっくし。\\n\\nうﾞ～。", u"\\hくしゅん。", u"\\hなんかムズムズするです。"});
        break;
    case TouchArea::Cheek:
        if (pos == t.lastCheek) break;
        if (talk_.Next() < 0.02) Say(u"\\hふにふに～。"_s);
        t.lastCheek = pos;
        break;
    case TouchArea::Eye:
    case TouchArea::Mouth:
        break;
    }
}

void TouchReactions::DoubleClicked(TouchArea area) {
    if ((area == TouchArea::Body || area == TouchArea::Head) && openMenu) openMenu();
}

void TouchReactions::EyePoke() {
    if (talk_.app.flags.exitRequest) return;
    TouchState& t = talk_.app.touch;
    t.eyeQuietTicks = 0;
    const qint32 count = ++t.eyeCount;
    t.eyeTouched = true;
    if (count <= 9) {
        SayOneOf({u"\\h目はつつかないでください。", u"\\h目はつつくなって。",
                  u"\\h目潰しのつもりですか？", u"\\h目を閉じることがそんなにおもしろいですか？",
                  u"\\hやめてください。"});
        talk_.ShowSurface(kEyesClosed, false);
    } else if (count <= 11) {
        Say(u"\\hもう一度言わないと分かりませんか？"_s);
        talk_.ShowSurface(kAnnoyed, false);
    } else if (count <= 14) {
        SayOneOf({u"\\hだ～か～ら～～、つつくなって(怒)", u"\\hぶっ飛ばすよ。", u"\\h死にたい？",
                  u"\\hなめてんの？%selfcallのこと", u"\\hキレますよ・・・"});
        t.eyeQuietTicks = kAngryQuiet;
        talk_.ShowSurface(kAngry, true);
    } else if (count == 15) {
        Say(u"\\h・\\w5・\\w5・"_s);
        talk_.ShowSurface(kAngry, true);
        t.eyeQuietTicks = kFuriousQuiet;
    } else {
        if (talk_.Next() <= 0.1) {
            // She gives up.
            talk_.ShowSurface(kNormal, false);
            if (randomTalk) randomTalk();
            t.eyeCount = 0;
        } else {
            talk_.ShowSurface(kFurious, true);
            Threaten();
        }
        t.eyeQuietTicks = kFuriousQuiet;
    }
}

void TouchReactions::MouthPoke() {
    if (talk_.app.flags.exitRequest) return;
    TouchState& t = talk_.app.touch;
    t.mouthQuietTicks = 0;
    const qint32 count = ++t.mouthCount;
    t.mouthTouched = true;
    switch (count) {
    case 1:
        Say(u"\\h口はつつかないでください。"_s);
        break;
    case 2:
        Say(u"\\h・\\w5・\\w5・"_s);
        break;
    case 3:
        Say(u"\\h・\\w5・\\w5・\\w5・\\w5・\\w5・"_s);
        break;
    case 5:
        Say(u"\\hそんなに噛み付いて欲しいですか？"_s);
        talk_.ShowSurface(kAnnoyed, true);
        t.mouthQuietTicks = kAngryQuiet;
        break;
    case 10:
        Say(u"\\h人の言ってること聞いてます？"_s);
        break;
    default:
        break;
    }
    if (count < 16) return;
    if (talk_.Next() > 0.7) {
        Threaten();
    } else {
        if (randomTalk) randomTalk();
        t.mouthCount = 0;
    }
    talk_.ShowSurface(kAngry, true);
}

// Not blocked while she is quitting: a click makes her talk, whatever else goes on.
void TouchReactions::BodyPoke() {
    TouchState& t = talk_.app.touch;
    talk_.ShowSurface(kNormal, false);
    const qint32 count = ++t.bodyCount;
    t.bodyTouched = true;
    t.bodyQuietTicks = 0;
    if (count <= 14) {
        if (randomTalk) randomTalk();
    } else if (count == 15) {
        SayOneOf({u"\\h%selfcallは面白いことをしゃべるだけのソフトじゃないよ。",
                  u"\\hたまには何か他の事をしたらどうです？",
                  u"\\hそんなに連続でつつかないでくれませんか？",
                  u"\\hそんなに%selfcallの言ってることがおかしいですか？",
                  u"\\hそんなにつつくなって。"});
        talk_.ShowSurface(kAnnoyed, true);
        t.bodyQuietTicks = kAngryQuiet;
    } else if (count == 16) {
        Say(u"\\h・・・・・・"_s);
    } else {
        talk_.ShowSurface(kAngry, true);
        if (talk_.Next() > 0.7)
            Threaten();
        else
            t.bodyCount = 0;
    }
}

// Holding the mouse still is not stroking; the main timer counts the ticks in which it moved.
void TouchReactions::HeadStroke(QPoint pos) {
    TouchState& t = talk_.app.touch;
    if (pos == t.lastHead) return;
    t.stroking = true;
    if (t.strokeTicks > kPraiseAfter) {
        Say(u"\\hん～？\\w5褒められてる？"_s);
        questions_.OfferChoice(u"うん"_s, u"いや"_s, ChoiceTopic::Praise, ChoicePosition::Top);
        talk_.ShowSurface(kEyesClosed, true);
        t.stroking = false;
        t.strokeTicks = 0;
    }
    t.lastHead = pos;
}

} // namespace orvanel
