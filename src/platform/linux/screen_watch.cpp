#include "platform/linux/screen_watch.h"

#include <QGuiApplication>
#include <QScreen>

namespace orvanel {

ScreenWatch::ScreenWatch(QObject* parent) : QObject(parent) {
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, [this](QScreen* screen) {
        const QRect before = geometry_;
        Follow(screen);
        if (screen && screen->geometry().size() != before.size()) {
            sinceDisplay_.start();
            Q_EMIT DisplayChanged();
        }
    });
    Follow(QGuiApplication::primaryScreen());
}

void ScreenWatch::Follow(QScreen* screen) {
    disconnect(geometryConnection_);
    disconnect(workAreaConnection_);
    screen_ = screen;
    if (!screen) return;
    geometry_ = screen->geometry();
    workArea_ = screen->availableGeometry();
    geometryConnection_ = connect(screen, &QScreen::geometryChanged, this, &ScreenWatch::Geometry);
    workAreaConnection_ =
        connect(screen, &QScreen::availableGeometryChanged, this, &ScreenWatch::WorkArea);
}

void ScreenWatch::Geometry(const QRect& geometry) {
    const bool sameSize = geometry.size() == geometry_.size();
    geometry_ = geometry;
    if (sameSize) return; // moved in the virtual desktop, same resolution
    sinceDisplay_.start();
    Q_EMIT DisplayChanged();
}

void ScreenWatch::WorkArea(const QRect& workArea) {
    if (workArea == workArea_) return;
    workArea_ = workArea;
    Q_EMIT WorkAreaChanged(sinceDisplay_.isValid() && sinceDisplay_.elapsed() < kFollowMs);
}

} // namespace orvanel
