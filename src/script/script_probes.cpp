#include "script/script_probes.h"

#include "platform/machine_probes.h"

namespace orvanel {

quint64 SystemScriptProbes::FreeMemoryBytes() const {
    return machine_.Memory().availableBytes;
}

quint64 SystemScriptProbes::SystemUptimeMs() const {
    return machine_.UptimeMs();
}

} // namespace orvanel
