#pragma once

#include "balloon/shaped_picture_window.h"
#include "character/hit_areas.h"

#include <array>
#include <optional>

namespace orvanel {

class CharacterDrag;

// frmKanami: the main character's window, cut to the outline of the surface it shows, with
// the seven hit areas of the face over the picture. It reports what the mouse does on the
// body and on each area, and what is dropped on her; dragging it with the left button moves
// it along the bottom edge.
class CharacterWindow : public ShapedPictureWindow {
    Q_OBJECT
public:
    enum class Area { Body, Head, EyeL, EyeR, Nose, Mouth, CheekL, CheekR };
    Q_ENUM(Area)

    explicit CharacterWindow(QWidget* parent = nullptr);

    // Moves the hit areas (twips of the displayed picture).
    void PlaceHitAreas(const HitAreas& areas);
    // Moves the hit areas off the window: no touch finds them until they are placed again.
    void MoveHitAreasAway();
    // Draws a border around each hit area, or none.
    void SetHitAreaFrames(bool on);
    bool HitAreaFrames() const { return frames_; }
    // The area under a point of the window: the smaller areas of the face before the head,
    // the body where no area is.
    Area AreaAt(QPoint pos) const;
    // Where an area lies in the window, in pixels.
    QRect AreaRect(Area area) const;

    CharacterDrag& Drag() const { return *drag_; }

Q_SIGNALS:
    void Pressed(orvanel::CharacterWindow::Area area, Qt::MouseButton button,
                 Qt::KeyboardModifiers modifiers);
    void Released(orvanel::CharacterWindow::Area area, Qt::MouseButton button,
                  Qt::KeyboardModifiers modifiers, QPoint global);
    void Moved(orvanel::CharacterWindow::Area area, QPoint pos, Qt::MouseButtons buttons);
    // The left button went down and up over the same area, not as the end of a double click
    // or a drag.
    void Clicked(orvanel::CharacterWindow::Area area, Qt::KeyboardModifiers modifiers);
    void DoubleClicked(orvanel::CharacterWindow::Area area);
    // Local files and folders, and a text (when `hasText`), dropped on her.
    void Dropped(const QStringList& files, const QString& text, bool hasText);
    // The window moved by a drag; the drag has ended (the characters stand on the bottom
    // edge again).
    void Dragged();
    void DragFinished();
    // The window system asked the window to close (the window stays until the program ends).
    void CloseRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QRect, kHitAreaCount> areas_{}; // picture pixels
    CharacterDrag* drag_;
    std::optional<Area> clickArea_; // where a press that may become a click went down
    bool frames_ = false;
};

} // namespace orvanel
