// The floor the measurements are read against: the least a Qt program can be that shows one
// picture in a frameless window cut to its outline at the bottom of the screen. Prints
// "Shown" once the window has been painted, then idles until killed.
#include <QApplication>
#include <QBitmap>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

class Picture : public QLabel {
protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!told_) {
            told_ = true;
            // After the paint has reached the server, as her "Boot Complete" follows hers.
            QTimer::singleShot(0, [] {
                std::puts("Shown");
                std::fflush(stdout);
            });
        }
    }

private:
    bool told_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: orvanel-bare-window PICTURE\n", stderr);
        return 2;
    }
    const QPixmap picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    Picture window;
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
    window.setWindowTitle(u"orvanel bare window"_s);
    window.setPixmap(picture);
    window.resize(picture.size());
    window.setMask(picture.mask());
    const QRect area = window.screen()->availableGeometry();
    window.move(area.right() - picture.width(), area.bottom() + 1 - picture.height());
    window.show();
    return app.exec();
}
