#pragma once

#include <QDate>
#include <QString>

namespace orvanel {

struct TalkContext;

struct FlowerRecord {
    QString name;
    QString language; // the flower's meaning
};

// The talk of the clock and the calendar: greetings by the hour, the time signal, today's
// date (now and then in an old era), anniversaries from "daymes.dat" and the birth flower
// from "flower.dat". The data files are read afresh at every call.
class CalendarTalk {
public:
    explicit CalendarTalk(TalkContext& talk);

    // "\h" + a greeting of the current hour.
    QString GreetingScript();
    // The greeting category of an hour 0..23.
    static QString GreetingCategory(int hour);
    // The time signal of an hour 0..23 (the main timer's), without a scope tag; "" for any
    // other number.
    static QString HourlyTalk(int hour);
    // Today as "平成38年1月1日、木曜日" or "2026年1月1日、木曜日".
    QString TodayDateText();
    // The anniversary of `date`; `kind` tells how often such a day comes ("１年ぶり",
    // "１ヶ月ぶり", "久しぶり"), and is left alone when the file is missing.
    QString DayMessage(const QDate& date, QString& kind);
    // Today's birth flower and its meaning.
    FlowerRecord FlowerOfDay();

private:
    TalkContext& talk_;
};

// The full Japanese weekday name ("月曜日") of a date.
QString JapaneseWeekday(const QDate& date);

} // namespace orvanel
