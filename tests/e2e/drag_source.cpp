// A drag source for the end-to-end tests, as a file manager or an editor would be one: a window
// "orvanel drag source" at the top left. A left press on it starts a real drag (XDND) of the
// files given with --file and the text of --text (or of the UTF-8 file --text-file); the test
// moves the pointer over the target and lets go. Prints the drop action.
#include <QApplication>
#include <QCommandLineParser>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption file(u"file"_s, u"A file to drag (repeatable)."_s, u"PATH"_s);
    const QCommandLineOption text(u"text"_s, u"A text to drag."_s, u"TEXT"_s);
    const QCommandLineOption textFile(u"text-file"_s, u"A file whose text to drag."_s, u"PATH"_s);
    parser.addOptions({file, text, textFile});
    parser.process(app);
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : parser.values(file))
        urls.append(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    if (!urls.isEmpty()) data->setUrls(urls);
    if (parser.isSet(text)) data->setText(parser.value(text));
    QFile source(parser.value(textFile));
    if (parser.isSet(textFile) && source.open(QIODevice::ReadOnly))
        data->setText(QString::fromUtf8(source.readAll()));

    QPushButton window(u"drag me"_s);
    window.setWindowTitle(u"orvanel drag source"_s);
    window.setGeometry(0, 0, 80, 80);
    QObject::connect(&window, &QPushButton::pressed, [&] {
        // On the heap, and the program still running: the target fetches the data once the
        // drop is over, and the platform answers from the drag for as long as it lives.
        auto* drag = new QDrag(&window);
        drag->setMimeData(data);
        std::printf("%d\n", int(drag->exec(Qt::CopyAction | Qt::LinkAction)));
        std::fflush(stdout);
        QTimer::singleShot(2000, &app, &QCoreApplication::quit);
    });
    window.show();
    return app.exec();
}
