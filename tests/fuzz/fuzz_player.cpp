// The script player with its variables and commands: any text as a script, on a virtual clock.
#include "fuzz_rig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvanel::fuzz::EnsureApplication();
    orvanel::fuzz::PlayRig::Shared().Play(orvanel::fuzz::Text(data, size),
                                          orvanel::ScriptOrigin::Local);
    return 0;
}
