// The skin file reader: any bytes as the skin file of a program folder holding the default
// skin's pictures; its names, balloons, colours, surfaces and fellow are read as at start-up.
#include "character/skin.h"
#include "core/outcome.h"
#include "fuzz_rig.h"

using namespace orvanel;

namespace {
struct NoMessages final : UserMessages {
    void ShowMessage(const QString&) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnsureApplication();
    static VirtualClock clock;
    static SystemRandom random(1);
    static IniStore ini; // kept: each new skin file must be seen through the change notices
    static LoggingSystemActions actions(nullptr);
    static TraceLog log(clock);
    AppContext ctx(clock, random, ini, fuzz::ScratchFolder(true), log, actions);
    ctx.profile.skinFile = QStringLiteral("fuzz.skn");
    if (!fuzz::WriteBytes(ctx.settings.AppFolder() + ctx.profile.skinFile, data, size))
        std::abort();
    LoadSkinInfo(ctx);
    CheckFellowPresent(ctx);
    NoMessages messages;
    (void)LoadSurfaceList(ctx, messages);
    for (int n = 0; n <= 8; ++n)
        (void)FullPicturePath(ctx, SurfacePath(ctx.skin, n));
    return 0;
}
