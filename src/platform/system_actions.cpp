#include "platform/system_actions.h"

namespace orvanel {

bool SystemActionsLogOnly() {
    return qEnvironmentVariable("ORVANEL_SYSTEM_ACTIONS")
               .compare(QStringLiteral("log"), Qt::CaseInsensitive) == 0;
}

} // namespace orvanel
