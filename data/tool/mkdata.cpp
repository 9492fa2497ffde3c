// Builds the default program folder from the UTF-8 sources under data/:
//   data/folder/...      copied as they are; text files become CP932 with CR LF line ends
//   data/talk/NAME.txt   one word per line -> TalkEngine/NAME.ini ([NAME], PN, 1..PN)
// A word or line that CP932 cannot hold, or a word over 254 bytes, fails the build.
#include "platform/codec.h"
#include "platform/text_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

using namespace orvanel;

namespace {

bool IsText(const QString& path) {
    static const QStringList kText = {u"ini"_s, u"dat"_s, u"txt"_s, u"skn"_s, u"csv"_s};
    return kText.contains(QFileInfo(path).suffix().toLower());
}

int Fail(const QString& what) {
    std::fprintf(stderr, "orvanel-mkdata: %s\n", qPrintable(what));
    return 1;
}

// The CP932 bytes of `text`, or an error naming the first character CP932 cannot hold (one
// that would be written as "?"; look-alikes such as U+301C take their CP932 form).
std::optional<QByteArray> Encode(const QString& text, const QString& where, QString* error) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'?' || codec::ToCp932(QStringView(&c, 1)) != "?") continue;
        *error = u"%1: character U+%2 has no CP932 form"_s.arg(where).arg(c.unicode(), 4, 16,
                                                                          QChar(u'0'));
        return std::nullopt;
    }
    return codec::ToCp932(text);
}

QString ReadUtf8(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray data = f.readAll();
    if (data.startsWith("\xEF\xBB\xBF")) data.remove(0, 3);
    return QString::fromUtf8(data);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) return Fail(u"usage: orvanel-mkdata DATA_DIR OUT_DIR"_s);
    const QDir src(args[1]);
    const QDir out(args[2]);
    QDir().mkpath(out.path());
    QString error;

    const QDir folder(src.filePath(u"folder"_s));
    QDirIterator files(folder.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString to = out.filePath(folder.relativeFilePath(from));
        QByteArray bytes;
        if (IsText(from)) {
            QStringList lines = SplitLines(ReadUtf8(from));
            const auto enc = Encode(lines.join(u"\r\n"_s) + u"\r\n"_s, from, &error);
            if (!enc) return Fail(error);
            bytes = *enc;
        } else {
            QFile f(from);
            if (!f.open(QIODevice::ReadOnly)) return Fail(from + u": unreadable"_s);
            bytes = f.readAll();
        }
        if (!WriteFileAtomic(to, bytes)) return Fail(to + u": cannot write"_s);
    }

    const QDir talk(src.filePath(u"talk"_s));
    const QStringList lists = talk.entryList({u"*.txt"_s}, QDir::Files, QDir::Name);
    for (const QString& name : lists) {
        const QString category = QFileInfo(name).completeBaseName();
        QStringList words;
        for (const QString& line : SplitLines(ReadUtf8(talk.filePath(name))))
            if (!line.trimmed().isEmpty()) words.append(line.trimmed());
        QString ini = u'[' + category + u"]\r\nPN="_s + QString::number(words.size()) + u"\r\n"_s;
        for (qsizetype i = 0; i < words.size(); ++i) {
            const QString where = u"%1 line %2"_s.arg(name).arg(i + 1);
            const auto enc = Encode(words[i], where, &error);
            if (!enc) return Fail(error);
            if (enc->size() > 254) return Fail(where + u": over 254 bytes"_s);
            ini += QString::number(i + 1) + u'=' + words[i] + u"\r\n"_s;
        }
        const auto enc = Encode(ini, name, &error);
        if (!enc) return Fail(error);
        const QString to = out.filePath(u"TalkEngine/"_s + category + u".ini"_s);
        if (!WriteFileAtomic(to, *enc)) return Fail(to + u": cannot write"_s);
    }
    return 0;
}
