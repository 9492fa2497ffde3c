#include "app/shell_talk.h"

#include "app/app_context.h"
#include "app/views.h"
#include "net/main_frame.h"
#include "platform/random.h"
#include "platform/text_file.h"
#include "script/scenario_files.h"
#include "script/script_player.h"
#include "script/word_source.h"
#include "talk/dictionary.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// The value of the last line whose key (the text before the first ":") is `key`.
std::optional<QString> DataValue(const QStringList& lines, const QString& key) {
    std::optional<QString> value;
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(u':');
        if (colon >= 0 && line.left(colon) == key) value = line.mid(colon + 1);
    }
    return value;
}

QStringList Entries(const std::optional<QString>& value) {
    if (!value || value->isEmpty()) return {};
    return value->split(u',');
}

} // namespace

QString GreetingCategory(int hour) {
    if (hour <= 3) return QStringLiteral("挨拶(深夜)");
    if (hour <= 6) return QStringLiteral("挨拶(早朝)");
    if (hour <= 10) return QStringLiteral("挨拶(朝)");
    if (hour <= 16) return QStringLiteral("挨拶(昼)");
    if (hour <= 18) return QStringLiteral("挨拶(夕方)");
    return QStringLiteral("挨拶(夜)");
}

BasicShellTalk::BasicShellTalk(AppContext& ctx, ScriptPlayer& player, TOMU_MainFrame& frame,
                               WordSource& words, Dictionary& dictionary, ScenarioFiles& scenario)
    : ctx_(ctx), player_(player), frame_(frame), words_(words), dictionary_(dictionary),
      scenario_(scenario) {}

QString BasicShellTalk::Pick(const QStringList& list) {
    return list.isEmpty() ? QString() : list.at(ctx_.random.Pick(int(list.size())) - 1);
}

QString BasicShellTalk::RandomScript() {
    const QString script = scenario_.PickExternalScript();
    if (!script.isEmpty()) return script;
    return QStringLiteral("\\h") + words_.GetWord(QStringLiteral("ひとこと"));
}

void BasicShellTalk::RandomTalk() {
    frame_.CancelWSF();
    frame_.SetMsgScope(0);
    player_.PlayScript(RandomScript());
}

QString BasicShellTalk::WindowRemark() {
    return RandomScript();
}

QString BasicShellTalk::GreetingScript() {
    return QStringLiteral("\\h") + words_.GetWord(GreetingCategory(ctx_.clock.Now().time().hour()));
}

QString BasicShellTalk::TodayDateText() {
    struct Era {
        const char16_t* name;
        int offset;
    };
    static constexpr Era kEras[] = {
        {u"平成", 1988}, {u"昭和", 1925}, {u"大正", 1911}, {u"明治", 1867}};
    const QDate today = ctx_.clock.Now().date();
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    const QString dayText = japanese.toString(today, QStringLiteral("M月d日、dddd"));
    const int k = ctx_.random.Pick(6);
    if (k <= 4) {
        const Era& era = kEras[k - 1];
        return QString::fromUtf16(era.name) + QString::number(today.year() - era.offset) + u'年' +
               dayText;
    }
    return QString::number(today.year()) + u'年' + dayText;
}

QString BasicShellTalk::DayMessage(const QDate& date, QString* kind) {
    const std::optional<QStringList> lines =
        ReadCp932Lines(ctx_.settings.FilePath(QStringLiteral("daymes.dat")));
    if (!lines) return QStringLiteral("記念日データファイルが見つかりません");
    const QStringList yearly = Entries(DataValue(*lines, date.toString(QStringLiteral("MMdd"))));
    const QStringList monthly =
        Entries(DataValue(*lines, date.toString(QStringLiteral("dd")) + QStringLiteral("00")));
    const auto answer = [&](const QStringList& names, const char16_t* how) {
        if (kind) *kind = QString::fromUtf16(how);
        return Pick(names);
    };
    if (yearly.isEmpty() && monthly.isEmpty()) {
        if (kind) *kind = QStringLiteral("久しぶり");
        return QStringLiteral("普通の日");
    }
    if (yearly.isEmpty()) return answer(monthly, u"１ヶ月ぶり");
    if (monthly.isEmpty()) return answer(yearly, u"１年ぶり");
    return ctx_.random.Next() <= 0.8 ? answer(yearly, u"１年ぶり") : answer(monthly, u"１ヶ月ぶり");
}

ShellTalk::Flower BasicShellTalk::FlowerOfDay() {
    const std::optional<QStringList> lines =
        ReadCp932Lines(ctx_.settings.FilePath(QStringLiteral("flower.dat")));
    if (!lines) return {QStringLiteral("花言葉データファイルが見つかりません"), {}};
    const std::optional<QString> value =
        DataValue(*lines, ctx_.clock.Now().date().toString(QStringLiteral("MMdd")));
    if (!value) return {QStringLiteral("現在調査中"), QStringLiteral("現在調査中")};
    const QString entry = Pick(value->split(u','));
    const qsizetype colon = entry.indexOf(u':');
    if (colon < 0) return {entry, {}};
    return {entry.left(colon), entry.mid(colon + 1)};
}

void BasicShellTalk::AnswerChosen(int) {
    // No question is pending until the talk engine asks one: the click only closes the panel.
    ctx_.flags.balloonHold = false;
    if (balloon_) balloon_->SetPanelVisible(BalloonPanel::Select, false);
}

void BasicShellTalk::StartLearning(const QString& category) {
    category_ = category;
    if (balloon_) {
        balloon_->SetTeachPrompt(CategoryPrompt(CategoryIndex(category)));
        balloon_->SetTeachExample(QStringLiteral("例 ： ") + dictionary_.GetRandomWord(category));
    }
    frame_.ForeMenu(QStringLiteral("Teach"));
    if (balloon_) balloon_->FocusInput();
    ctx_.flags.balloonHold = true;
}

void BasicShellTalk::LearnWord(const QString& word) {
    const qint32 n = dictionary_.WordCount(category_);
    bool known = false;
    for (qint32 i = 1; i <= n && !known; ++i)
        known = dictionary_.ReadTalk(category_, i) == word;
    QString script;
    if (known) {
        switch (ctx_.random.Pick(5)) {
        case 1:
            script = u"\\h"_s + word + u"はもう知ってるよ～。\\w8"_s;
            break;
        case 2:
            script = u"\\h"_s + word + u"はもう知ってるってば。\\w8\\n\\n%username"_s +
                     u"はそんなに"_s + word + u"が好きなの？\\w5"_s;
            break;
        case 3:
            script = u"\\h"_s + word + u"なんて聞き飽きたわ！"_s;
            break;
        case 4:
            script = u"\\h%selfcall 、\\w5"_s + word + u"って言葉もう知ってるよ。\\w8"_s;
            break;
        default:
            script = u"\\h"_s + word + u"かぁ、\\w5なんか前に聞いたことあるなぁ。\\w8"_s;
            break;
        }
    } else {
        ctx_.flags.balloonHold = false;
        dictionary_.AppendWord(category_, word);
        switch (ctx_.random.Pick(5)) {
        case 1:
            script = u"\\hふむふむ。\\w8べんきょうになるっす。\\w8"_s + word + u"かぁ。\\w8"_s;
            break;
        case 2:
            script = u"\\h"_s + word + u"を知ってるなんて、\\w5%usernameは物知りだなぁ。\\w8"_s;
            break;
        case 3:
            script = u"\\h"_s + word + u"～。\\w8"_s;
            break;
        case 4:
            script = u"\\h"_s + word + u"って"_s + words_.GetWord(category_) + u"の仲間%en"_s;
            break;
        default:
            script = u"\\h"_s + word + u"とは斬新な。\\w8"_s;
            break;
        }
    }
    player_.PlayScript(script);
    if (balloon_) {
        balloon_->SetPanelVisible(BalloonPanel::Teach, false);
        balloon_->SetInputText({});
    }
}

void BasicShellTalk::NagTalk() {
    player_.PlayScript(QStringLiteral("\\h\\s4質問にはちゃんと答えてよぉ～。"));
}

} // namespace orvanel
