#pragma once

#include "character/region_data.h"
#include "core/outcome.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

namespace orvanel {

// A frameless window cut to the outline of its picture: the character window, the fellow and
// both balloons. Implemented by the Qt windows; tests record the calls.
class ShapedWindow {
public:
    virtual ~ShapedWindow() = default;
    // The displayed picture, its top-left corner at `offset` in window pixels.
    virtual void ShowPicture(const QImage& picture, QPoint offset) = 0;
    // Sizes the window to its picture, in pixels.
    virtual void ResizeWindow(QSize size) = 0;
    // No mouse or keyboard input while disabled.
    virtual void SetInputEnabled(bool enabled) = 0;
    // Cuts the window to `shape` (shape.ToQRegion() for QWidget::setMask); an empty shape
    // leaves the whole rectangle. False when the window cannot take it.
    virtual bool ApplyShape(const RegionData& shape) = 0;
};

// The progress window shown while an outline is built ("Form9"). Opening it unloads the splash
// window and writes its trace lines; closing it writes "Unload RegionCreateForm".
class RegionProgress {
public:
    virtual ~RegionProgress() = default;
    virtual void Open() = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void SetMaximum(int maximum) = 0;
    virtual void SetValue(int value) = 0;
    virtual void Close() = 0;
};

} // namespace orvanel
