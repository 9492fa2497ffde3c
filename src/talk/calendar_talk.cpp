#include "talk/calendar_talk.h"

#include "core/app_context.h"
#include "platform/text_file.h"
#include "script/word_source.h"
#include "talk/talk_context.h"

#include <QFileInfo>
#include <QStringList>

#include <optional>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// The value of the last line whose key (the text before the first ":") is `key`; nullopt when
// no line has it.
std::optional<QString> ValueOf(const QStringList& lines, const QString& key) {
    std::optional<QString> value;
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0) continue;
        if (QStringView(line).left(colon).trimmed() == key) value = line.mid(colon + 1);
    }
    return value;
}

QStringList Entries(const std::optional<QString>& value) {
    if (!value) return {};
    QStringList entries = value->split(u',');
    entries.removeIf([](const QString& e) { return e.trimmed().isEmpty(); });
    return entries;
}

QString Mmdd(const QDate& date) {
    return u"%1%2"_s.arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

} // namespace

QString JapaneseWeekday(const QDate& date) {
    static const char16_t* const kNames[] = {u"月曜日", u"火曜日", u"水曜日", u"木曜日",
                                             u"金曜日", u"土曜日", u"日曜日"};
    const int day = date.dayOfWeek();
    return day >= 1 && day <= 7 ? QStringView(kNames[day - 1]).toString() : QString();
}

CalendarTalk::CalendarTalk(TalkContext& talk) : talk_(talk) {}

QString CalendarTalk::GreetingCategory(int hour) {
    if (hour <= 3) return u"挨拶(深夜)"_s;
    if (hour <= 6) return u"挨拶(早朝)"_s;
    if (hour <= 10) return u"挨拶(朝)"_s;
    if (hour <= 16) return u"挨拶(昼)"_s;
    if (hour <= 18) return u"挨拶(夕方)"_s;
    return u"挨拶(夜)"_s;
}

QString CalendarTalk::GreetingScript() {
    const int hour = talk_.app.clock.Now().time().hour();
    return u"\\h"_s + talk_.words.GetWord(GreetingCategory(hour));
}

QString CalendarTalk::HourlyTalk(int hour) {
    static const char16_t* const kTexts[24] = {
        u"今から%year年、\\w5%month月%day日ですよ～。\\w8",
        u"1時だよ～。\\w8",
        u"もう2時です。\\w8\\nそろそろ寝る時間じゃないですか？\\w5",
        u"3時にゃ～。\\w8\\n%usernameは頭ギンギンっすか？\\w5",
        u"4時です。\\w8\\n%usernameは今から寝るんですか？\\w5",
        u"5時です。\\w8\\n今から寝るのか起きたのか、\\w5%usernameはどっち？\\w5",
        u"6時だよ～。\\w8\\n%username、\\w5おはよう。\\w8",
        u"7時だよ～。\\w8\\n",
        u"8時だよ～。\\w8\\n",
        u"9時だよ～。\\w8\\n",
        u"10時だよ～。\\w8\\n",
        u"11時だよ～。\\w8\\n",
        u"12時だよ～。\\w8\\n常識からすると昼飯の時間っす。\\w8",
        u"1時だよ～。\\w8\\n",
        u"2時だよ～。\\w8\\n",
        u"あ、\\w53時だ。\\w8\\nおやつの時間だよ～。\\w8%usernameもひと休みしたら？\\w5",
        u"4時だよ～。\\w8\\n",
        u"5時だよ～。\\w8\\n",
        u"6時だよ～。\\w8\\n%msはもう寝る時間なんだってよ～。\\w8",
        u"7時だよ～。\\w8\\n",
        u"8時だよ～。\\w8\\n",
        u"9時だよ～。\\w8\\n",
        u"あﾞ、\\w510時だ。\\w8\\n",
        u"11時です。\\w8テレホタイム開始！",
    };
    if (hour < 0 || hour > 23) return {};
    return QString::fromUtf16(kTexts[hour]);
}

QString CalendarTalk::TodayDateText() {
    struct Era {
        const char16_t* name;
        int offset;
    };
    static constexpr Era kEras[] = {
        {u"平成", 1988}, {u"昭和", 1925}, {u"大正", 1911}, {u"明治", 1867}};
    const QDate today = talk_.app.clock.Now().date();
    const QString monthDay =
        u"%1月%2日、"_s.arg(today.month()).arg(today.day()) + JapaneseWeekday(today);
    const int k = talk_.Pick(6);
    if (k <= 4) {
        const Era& era = kEras[k - 1];
        return QStringView(era.name).toString() + QString::number(today.year() - era.offset) +
               u'年' + monthDay;
    }
    return QString::number(today.year()) + u'年' + monthDay;
}

QString CalendarTalk::DayMessage(const QDate& date, QString& kind) {
    const QString path = talk_.app.settings.FilePath(u"daymes.dat"_s);
    const std::optional<QStringList> lines =
        QFileInfo(path).isFile() ? ReadCp932Lines(path) : std::nullopt;
    if (!lines) return u"記念日データファイルが見つかりません"_s;
    const QStringList yearly = Entries(ValueOf(*lines, Mmdd(date)));
    const QStringList monthly =
        Entries(ValueOf(*lines, u"%1"_s.arg(date.day(), 2, 10, QLatin1Char('0')) + u"00"_s));
    const auto any = [&](const QStringList& names) {
        return names.at(talk_.Pick(int(names.size())) - 1);
    };
    if (yearly.isEmpty() && monthly.isEmpty()) {
        kind = u"久しぶり"_s;
        return u"普通の日"_s;
    }
    if (yearly.isEmpty() || (!monthly.isEmpty() && talk_.Next() > 0.8)) {
        kind = u"１ヶ月ぶり"_s;
        return any(monthly);
    }
    kind = u"１年ぶり"_s;
    return any(yearly);
}

FlowerRecord CalendarTalk::FlowerOfDay() {
    const QString path = talk_.app.settings.FilePath(u"flower.dat"_s);
    const std::optional<QStringList> lines =
        QFileInfo(path).isFile() ? ReadCp932Lines(path) : std::nullopt;
    if (!lines) return {u"花言葉データファイルが見つかりません"_s, QString()};
    const QStringList entries = Entries(ValueOf(*lines, Mmdd(talk_.app.clock.Now().date())));
    if (entries.isEmpty()) return {u"現在調査中"_s, u"現在調査中"_s};
    const QString entry = entries.at(talk_.Pick(int(entries.size())) - 1);
    const qsizetype colon = entry.indexOf(u':');
    // An entry without a meaning is a name alone.
    if (colon < 0) return {entry, QString()};
    return {entry.left(colon), entry.mid(colon + 1)};
}

} // namespace orvanel
