#pragma once

#include <QString>

#include <array>

namespace orvanel {

// What the current skin file says, as the rest of the program reads it. Filled by the
// character layer (LoadSurfaceList, LoadSkinInfo, CheckFellowPresent) at start-up and on a
// skin change; the blink hold and skin change request flags live in RunFlags.
struct SkinState {
    QString name;   // [Info] Name, "不明" when empty
    QString author; // [Info] Author, "不明" when empty
    QString url;    // [Info] URL, "不明" when empty

    // Surface paths 1..7 relative to the program folder, written with "\" as in the skin file.
    std::array<QString, 7> surfaces;

    bool fellowPresent = false; // [Skin] Surface10 is given
    QString fellowPicture;      // folder prefix + Surface10

    struct Balloon {
        QString picture; // relative to the program folder
        qint32 top = 0;  // offsets in twips, added to the computed position
        qint32 left = 0;
        qint32 backColor = 0xFFFFFF; // 0x00BBGGRR
        qint32 foreColor = 0xD4D0C8;
        QString msgArea; // "left,top,width,height" in twips; empty gives the default area
    };
    std::array<Balloon, 2> balloons; // 0 main character, 1 fellow

    QString hSelfName = QStringLiteral("わたし"); // %selfcall
    QString hCallName;                            // %selfname
    QString fCallName;                            // %keroname
};

} // namespace orvanel
