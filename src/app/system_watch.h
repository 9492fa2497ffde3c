#pragma once

#include <functional>

namespace orvanel {

class AppContext;
class SystemEvents;
class SystemSources;

// Hands the system's notices to the character's reactions. `wake` runs after every reaction,
// so that a remark starts at once and the balloons follow a moved window on the next tick.
// Before the machine sleeps, the sleep delay is let go once the suspend remark is on screen.
void WireSystemEvents(SystemSources& sources, SystemEvents& events, const AppContext& ctx,
                      std::function<void()> wake);

} // namespace orvanel
