#pragma once

#include "character/hit_areas.h"
#include "character/region_shaper.h"

#include <QImage>

namespace orvanel {

class AppContext;

// What the skin reload needs of the other parts of the program.
class SkinReloadSteps {
public:
    virtual ~SkinReloadSteps() = default;
    // Moves the seven hit areas of the character window.
    virtual void PlaceHitAreas(const HitAreas& areas) = 0;
    // External scripts, scenario and ID-relation files, in that order.
    virtual void ReloadScriptFiles() = 0;
    // Creates, shapes and places the fellow, or removes it (LoadFellow).
    [[nodiscard]] virtual Outcome ReloadFellow() = 0;
    // The main character's balloon window, reshaped from balloon picture 0.
    virtual ShapedWindow& MainBalloon() = 0;
    // Colours and message area of the main balloon (PlaceMainMessageArea).
    virtual void PlaceMainMessageArea() = 0;
};

// The main character's pictures and outlines on the character window: the surfaces, the
// blink pair kept in memory, the shape caches and the skin reload.
class CharacterSurfaces {
public:
    // The displayed picture stands one pixel up and left of the window origin (-10 twips).
    static constexpr QPoint kPictureOffset{-1, -1};

    CharacterSurfaces(AppContext& ctx, ShapedWindow& window, RegionProgress& progress,
                      UserMessages& messages);

    // Surfaces 1 and 2 into the holders that showing surface 1 and blinking use.
    void LoadBlinkPictures();
    const QImage& OpenEyes() const { return image1_; }   // Image1, surface 1
    const QImage& ClosedEyes() const { return image2_; } // Image2, surface 2

    // Builds the outline cache of surface n unless a valid, readable one exists; the surface
    // just built stays on screen. A missing picture shows "ファイルが見つかりません。" and
    // ends the program.
    [[nodiscard]] Outcome EnsureRegionCache(int n);
    // EnsureRegionCache for surfaces 1 to 7.
    [[nodiscard]] Outcome PrepareSurfaceShapes();

    // Shows surface n with its outline and sets the blink hold flag to `hold`. Numbers
    // outside 1..7 are ignored. A missing picture shows "<full path>が見つかりません。" and
    // ends the program; a picture that cannot be decoded leaves the window as it was.
    [[nodiscard]] Outcome ShowSurface(int n, bool hold);

    // The reload after a skin change: profile, surface list, skin information, hit areas,
    // the blink pair, a 500 ms wait, script files, shape caches, surface 1, the fellow and
    // the main balloon. Clears the skin change request flag when it ends. A call made while
    // a reload runs (from inside its wait) returns at once.
    [[nodiscard]] Outcome ReloadSkin(SkinReloadSteps& steps);

    RegionShaper& Shaper() { return shaper_; }

private:
    [[nodiscard]] Outcome RunReload(SkinReloadSteps& steps);

    AppContext& ctx_;
    ShapedWindow& window_;
    RegionShaper shaper_;
    QImage picture1_; // the work picture every surface is loaded into
    QImage image1_;
    QImage image2_;
    bool reloading_ = false;
};

} // namespace orvanel
