// A drag source for the end-to-end tests, as a file manager or an editor would be one: a small
// window titled "orvanel drag source" at the top left of the screen. A left press on it starts
// a real drag (XDND) of the files given with --file and the text given with --text (or read
// from --text-file); the test
// then moves the pointer over the target and lets go. Prints the drop action, and ends once the
// target has had time to fetch the data.
#include <QApplication>
#include <QCommandLineParser>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

class Source final : public QWidget {
public:
    Source(QList<QUrl> urls, QString text, bool hasText)
        : urls_(std::move(urls)), text_(std::move(text)), hasText_(hasText) {}

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        if (!urls_.isEmpty()) data->setUrls(urls_);
        if (hasText_) data->setText(text_);
        // On the heap: the target asks for the data once the drop is over, and the platform
        // answers from the drag as long as it lives.
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::LinkAction);
        std::printf("%d\n", int(action));
        std::fflush(stdout);
        // The target fetches the data after the drop: the source must still be there.
        QTimer::singleShot(2000, qApp, &QCoreApplication::quit);
    }

private:
    QList<QUrl> urls_;
    QString text_;
    bool hasText_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption file(u"file"_s, u"A file to drag (repeatable)."_s, u"PATH"_s);
    const QCommandLineOption text(u"text"_s, u"A text to drag."_s, u"TEXT"_s);
    const QCommandLineOption textFile(u"text-file"_s, u"Drag the UTF-8 text of a file."_s,
                                      u"PATH"_s);
    parser.addOptions({file, text, textFile});
    parser.process(app);
    QList<QUrl> urls;
    for (const QString& path : parser.values(file))
        urls.append(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    QString dragged = parser.value(text);
    if (parser.isSet(textFile)) {
        QFile f(parser.value(textFile));
        if (!f.open(QIODevice::ReadOnly)) return 2;
        dragged = QString::fromUtf8(f.readAll());
    }
    Source window(urls, dragged, parser.isSet(text) || parser.isSet(textFile));
    window.setWindowTitle(u"orvanel drag source"_s);
    window.setGeometry(0, 0, 80, 80);
    window.show();
    return app.exec();
}
