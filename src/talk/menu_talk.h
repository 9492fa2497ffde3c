#pragma once

#include <QString>

namespace orvanel {

class CalendarTalk;
struct TalkContext;

// The talks of the balloon menu's items: a maxim, the schedule, the animal fortune, the day's
// anniversary and the answers to "never mind". Each call makes a fresh script.
class MenuTalk {
public:
    MenuTalk(TalkContext& talk, CalendarTalk& calendar);

    // "何か格言": now and then a question for a new maxim, else a maxim or a made-up one.
    QString MaximTalk();
    // "スケジュール"
    QString ScheduleTalk();
    // "動物占い"
    QString FortuneTalk();
    // "今日は何の日？"
    QString TodayTalk();
    // "あとにする", "なんでもない", "また今度" (and "やっぱりいい"): `item` is the caption.
    QString DismissTalk(const QString& item);

private:
    TalkContext& talk_;
    CalendarTalk& calendar_;
};

// One of the five tips about the program, without a scope tag.
QString TipTalk(TalkContext& talk);

} // namespace orvanel
