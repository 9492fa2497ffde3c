#pragma once

#include "core/geometry.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace orvanel {

// A colour value of the skin file, 0x00BBGGRR.
QColor ColorFromBgr(qint32 bgr);

// "left,top,width,height" in twips. Anything but four integers with a positive width and
// height gives nullopt, so that a malformed value falls back to the default area instead of
// placing the label somewhere nobody can read it.
std::optional<QRect> ParseMsgArea(const QString& value);

// The message label when the skin gives no usable MsgArea.
inline constexpr QRect kDefaultMsgArea{195, 225, 3900, 2025};

// Where the main balloon's elements go (twips, relative to the balloon window unless noted).
struct MainBalloonLayout {
    QRect message;       // lblMsg
    int inputWidth = 0;  // txtInput and txtSearch
    int panelWidth = 0;  // frameTeach and frameSearch
    int inputLeft = 0;   // txtInput inside frameTeach
    int learnOkLeft = 0; // lblLearnOK inside frameTeach
    int learnCancelLeft = 0;
    QPoint menu;     // frameMenu
    QPoint teach;    // frameTeach
    QPoint search;   // frameSearch
    QPoint progress; // Frame3
    QPoint select;   // frameSelect
};
MainBalloonLayout LayOutMainBalloon(const QString& msgArea);

// The fellow balloon's label: the MsgArea of balloon 1 or the default area.
QRect FellowMessageArea(const QString& msgArea);

} // namespace orvanel
