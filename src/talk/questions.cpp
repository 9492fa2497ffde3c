#include "talk/questions.h"

#include "core/app_context.h"
#include "core/version_info.h"
#include "core/views.h"
#include "platform/system_actions.h"
#include "script/play_state.h"
#include "script/script_player.h"
#include "script/word_source.h"
#include "talk/machine_talk.h"
#include "talk/talk_context.h"
#include "tools/trace_log.h"

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

QString Line(const char16_t* text) {
    return QStringView(text).toString();
}

const char16_t* const kPraiseYes[] = {u"\\hそりゃあどうも。", u"\\hそうでなくちゃ。",
                                      u"\\hありがとうございますぅ。"};
const char16_t* const kAgreed[] = {u"\\hさすが、%username。", u"\\hそうでなくちゃ。",
                                   u"\\hですよねぇ。"};
const char16_t* const kNoted[] = {u"\\hふむふむ。", u"\\hそっか。", u"\\hなーんだ。"};

} // namespace

std::pair<int, int> ChoicePanelPlace(ChoicePosition position) {
    switch (position) {
    case ChoicePosition::Top:
        return {120, 960};
    case ChoicePosition::Mid:
        return {120, 1080};
    case ChoicePosition::Btm:
        break;
    }
    return {120, 1440};
}

QString TopicName(ChoiceTopic topic) {
    static const char16_t* const kNames[] = {
        u"",         u"PRAISE", u"DELDUST",   u"ExitWin",      u"RecDel", u"ReqAcp",    u"ExpYesNo",
        u"Good/Bad", u"YesNo",  u"NewsEvent", u"GoSubSidiary", u"PsnDo",  u"MadeByChar"};
    return QString::fromUtf16(kNames[int(topic)]);
}

Questions::Questions(TalkContext& talk) : talk_(talk) {}

void Questions::PickAnswerWords(AnswerKind kind) {
    const auto pick = [&](std::initializer_list<const char16_t*> words) {
        return Line(words.begin()[talk_.Pick(int(words.size())) - 1]);
    };
    switch (kind) {
    case AnswerKind::ReqAcp:
        positive_ = pick({u"その通り", u"大賛成"});
        negative_ = pick({u"いや、別になんとも", u"別にいいんじゃない"});
        break;
    case AnswerKind::ExpYesNo:
        positive_ = pick({u"うん", u"もちろん", u"言うまでもなく"});
        negative_ = pick({u"いいや", u"そんなことはない。"});
        break;
    case AnswerKind::GoodBad:
        positive_ = pick({u"大いに結構", u"大賛成"});
        negative_ = pick({u"いや、別になんとも", u"別にいいんじゃない"});
        break;
    case AnswerKind::YesNo:
        positive_ = pick({u"うん", u"もちろん", u"言うまでもなく"});
        negative_ = pick({u"いいや", u"ぜんぜん"});
        break;
    }
}

void Questions::OfferChoice(const QString& positive, const QString& negative, ChoiceTopic topic,
                            ChoicePosition position) {
    MainBalloonView* balloon = talk_.views.mainBalloon;
    const auto [left, top] = ChoicePanelPlace(position);
    if (balloon) balloon->MoveChoicePanel(left, top);
    talk_.play.WaitThen(FinishAction::SelMsg);
    if (balloon) {
        balloon->SetChoiceWords(positive, negative);
        balloon->Show();
        // The user's window gets the activation back once both windows are in front.
        const quint64 previous = balloon->Activate();
        if (talk_.views.character) talk_.views.character->BringToForeground();
        balloon->Activate();
        balloon->RestoreActivation(previous);
    }
    topic_ = topic;
}

void Questions::Say(const QString& script) {
    talk_.player.PlayScript(script);
}

void Questions::SayOneOf(std::initializer_list<const char16_t*> lines) {
    Say(Line(lines.begin()[talk_.Pick(int(lines.size())) - 1]));
}

void Questions::AnswerChosen(int choice) {
    talk_.app.flags.balloonHold = false;
    if (talk_.views.mainBalloon)
        talk_.views.mainBalloon->SetPanelVisible(BalloonPanel::Select, false);
    const bool yes = choice == 0;
    const ChoiceTopic t = topic_;
    const auto agreedOrNoted = [&] {
        if (yes) {
            Say(Line(kAgreed[talk_.Pick(3) - 1]));
            talk_.ShowSurface(3, true);
        } else {
            Say(Line(kNoted[talk_.Pick(3) - 1]));
        }
    };
    if (t == ChoiceTopic::Praise) {
        if (yes) {
            Say(Line(kPraiseYes[talk_.Pick(3) - 1]));
            talk_.ShowSurface(3, true);
        } else {
            SayOneOf({u"\\hなーんだ。", u"\\h・・・・・・", u"\\hちっ。"});
            talk_.ShowSurface(4, true);
        }
    } else if (t == ChoiceTopic::DelDust) {
        if (yes) {
            Say(u"\\hそーれ。"_s);
            EmptyRecycleBin(talk_);
            talk_.ShowSurface(3, true);
        } else {
            SayOneOf(
                {u"\\hなーんだ。", u"\\h・・・・・・", u"\\hせっかく気を利かせてやったのに。"});
            talk_.ShowSurface(4, true);
        }
    } else if (t == ChoiceTopic::ExitWin) {
        if (yes) {
            ShutdownWindows(talk_);
        } else {
            SayOneOf({u"\\hなーんだ。拍子抜け。", u"\\hいつでもどうぞ～",
                      u"\\hまだそんな時間じゃないもんね。"});
            talk_.ShowSurface(3, true);
        }
    } else if (t == ChoiceTopic::RecDel) {
        if (yes) {
            ShowTextNow(talk_, u"ファイルをクリアしています･･･"_s);
            if (talk_.app.actions.ClearRecentDocuments()) {
                Say(u"\\h証拠隠滅、\\w5完了しました！"_s);
            } else {
                talk_.app.log.LogLine(u"ClearRecentDocuments failed"_s);
                Say(u"\\h失敗しました～。"_s);
            }
        } else {
            switch (talk_.Pick(3)) {
            case 1:
                Say(u"\\h別にいいじゃん。あんまり使わないし。"_s);
                talk_.ShowSurface(4, true);
                break;
            case 2:
                Say(u"\\hいつでもどうぞ～"_s);
                talk_.ShowSurface(3, true);
                break;
            default:
                Say(u"\\hプライバシーには気をつけてね～。"_s);
                talk_.ShowSurface(3, true);
                break;
            }
        }
    } else if (t == ChoiceTopic::ReqAcp) {
        if (yes) {
            switch (talk_.Pick(5)) {
            case 1:
                Say(u"\\hやはりそうですよね。"_s);
                break;
            case 2:
                Say(u"\\hそうでなくちゃ。"_s);
                break;
            case 3:
            case 4:
                Say(u"\\hですよねぇ。"_s);
                break;
            default:
                break; // a nod without words
            }
            talk_.ShowSurface(3, true);
        } else {
            SayOneOf({u"\\hふむふむ。", u"\\hそういう意見もあるのか。", u"\\hちっ。"});
            talk_.ShowSurface(4, true);
        }
    } else if (t == ChoiceTopic::ExpYesNo || t == ChoiceTopic::GoodBad || t == ChoiceTopic::YesNo) {
        agreedOrNoted();
    } else if (t == ChoiceTopic::NewsEvent) {
        Say(yes ? u"\\h%rs[Select_NewsEvent_Yes]"_s : u"\\h%rs[Select_NewsEvent_No]"_s);
    } else if (t == ChoiceTopic::GoSubsidiary) {
        Say(yes ? u"\\h%rs[Select_GoSubSidiary_Yes]"_s : u"\\h%rs[Select_GoSubSidiary_No]"_s);
    } else if (t == ChoiceTopic::PsnDo) {
        if (yes)
            SayOneOf({u"\\hほんとにそう思ってる？", u"\\h他人が口出しするようなことじゃないしね。",
                      u"\\hやっぱり%usernameもそう思う？"});
        else
            SayOneOf({u"\\hモノには向き、\\w5不向きってものがあるからね。",
                      u"\\h見て見ぬフリですか･･･。\\w5"});
    } else if (t == ChoiceTopic::MadeByChar) {
        // The fourth line was written but never drawn; it is drawn like the others here.
        if (yes)
            SayOneOf({u"\\hほんとにそう思ってる？", u"\\h手作りで生産追いつくのかな･･･？\\w5",
                      u"\\hやっぱり%usernameもそう思う？",
                      u"\\h%ch1に%gd1作らせたら、\\w5右に出るものはいないからね。"});
        else
            SayOneOf(
                {u"\\h不良品、\\w5多そうだよね。", u"\\h%ch1と%gd1って微妙な取り合わせだよね。"});
    }
}

void ShutdownWindows(TalkContext& talk) {
    AppContext& app = talk.app;
    talk.player.PlayScript(u"\\h今回の起動時間は、"_s +
                           UptimeText(app.flags.startTick, app.clock.TickCount()) +
                           u"でした。\r\n\r\n"_s + talk.words.GetWord(u"終了時"_s));
    app.flags.balloonHold = true;
    if (talk.views.character) talk.views.character->SetEnabled(false);
    app.actions.PowerOff();
}

} // namespace orvanel
