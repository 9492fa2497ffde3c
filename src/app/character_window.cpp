#include "app/character_window.h"

#include "app/character_drag.h"

#include <QCloseEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

#include <utility>

using namespace Qt::StringLiterals;

namespace orvanel {

CharacterWindow::CharacterWindow(QWidget* parent)
    : ShapedPictureWindow(parent),
      drag_(new CharacterDrag(
          *this, [this] { Q_EMIT Dragged(); }, [this] { Q_EMIT DragFinished(); })) {
    setObjectName(u"frmKanami"_s);
    setWindowTitle(u"Orvanel"_s);
    setMouseTracking(true);
    setAcceptDrops(true);
}

void CharacterWindow::PlaceHitAreas(const HitAreas& areas) {
    for (int i = 0; i < kHitAreaCount; ++i)
        areas_[size_t(i)] = areas.Pixels(HitArea(i));
    if (frames_) update();
}

void CharacterWindow::MoveHitAreasAway() {
    for (QRect& area : areas_)
        area.moveTo(-area.width() - 10000, -area.height() - 10000);
    update();
}

void CharacterWindow::SetHitAreaFrames(bool on) {
    frames_ = on;
    update();
}

QRect CharacterWindow::AreaRect(Area area) const {
    if (area == Area::Body) return rect();
    return areas_[size_t(int(area) - 1)].translated(PictureOffset());
}

CharacterWindow::Area CharacterWindow::AreaAt(QPoint pos) const {
    static constexpr Area kOrder[] = {Area::EyeL,   Area::EyeR,   Area::Nose, Area::Mouth,
                                      Area::CheekL, Area::CheekR, Area::Head};
    for (Area a : kOrder)
        if (AreaRect(a).contains(pos)) return a;
    return Area::Body;
}

void CharacterWindow::mousePressEvent(QMouseEvent* event) {
    const Area area = AreaAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        drag_->Press(event->globalPosition().toPoint(), event->position().toPoint());
        clickArea_ = area;
    }
    Q_EMIT Pressed(area, event->button(), event->modifiers());
}

void CharacterWindow::mouseReleaseEvent(QMouseEvent* event) {
    const bool left = event->button() == Qt::LeftButton;
    const bool dragged = left && drag_->Dragging();
    const std::optional<Area> pressed =
        left ? std::exchange(clickArea_, std::nullopt) : std::nullopt;
    if (left) drag_->Release();
    if (dragged) return;
    const Area area = AreaAt(event->position().toPoint());
    Q_EMIT Released(area, event->button(), event->modifiers(), event->globalPosition().toPoint());
    if (pressed == area) Q_EMIT Clicked(area, event->modifiers());
}

void CharacterWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (drag_->Move(global, event->buttons().testFlag(Qt::LeftButton))) return;
    Q_EMIT Moved(AreaAt(event->position().toPoint()), event->position().toPoint(),
                 event->buttons());
}

void CharacterWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    drag_->Press(event->globalPosition().toPoint(), event->position().toPoint());
    // The release that ends a double click is no click of its own.
    clickArea_.reset();
    Q_EMIT DoubleClicked(AreaAt(event->position().toPoint()));
}

void CharacterWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText()) event->acceptProposedAction();
}

void CharacterWindow::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void CharacterWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    QStringList files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files.append(url.toLocalFile());
    event->acceptProposedAction();
    Q_EMIT Dropped(files, data->text(), data->hasText());
}

void CharacterWindow::closeEvent(QCloseEvent* event) {
    // Closing her closes the program, through its shutdown sequence.
    event->ignore();
    Q_EMIT CloseRequested();
}

void CharacterWindow::paintEvent(QPaintEvent* event) {
    ShapedPictureWindow::paintEvent(event);
    if (!frames_) return;
    QPainter painter(this);
    painter.setPen(QPen(Qt::red, 1));
    for (const QRect& area : areas_)
        painter.drawRect(area.translated(PictureOffset()).adjusted(0, 0, -1, -1));
}

} // namespace orvanel
