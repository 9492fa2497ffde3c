#pragma once

#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QRect>

class QScreen;

namespace orvanel {

// The primary screen's resolution and work area, as the window system reports them to Qt
// (RandR, and the window manager's _NET_WORKAREA on X11). A work-area change that comes with
// a resolution change (the panels follow the new size) belongs to it and says so.
class ScreenWatch : public QObject {
    Q_OBJECT
public:
    // How long after a resolution change a work-area change still belongs to it.
    static constexpr int kFollowMs = 2000;

    explicit ScreenWatch(QObject* parent = nullptr);

Q_SIGNALS:
    void DisplayChanged();
    // `withDisplay`: it came along with a resolution change.
    void WorkAreaChanged(bool withDisplay);

private:
    void Follow(QScreen* screen);
    void Geometry(const QRect& geometry);
    void WorkArea(const QRect& workArea);

    QScreen* screen_ = nullptr;
    QRect geometry_;
    QRect workArea_;
    QElapsedTimer sinceDisplay_;
    QMetaObject::Connection geometryConnection_;
    QMetaObject::Connection workAreaConnection_;
};

} // namespace orvanel
