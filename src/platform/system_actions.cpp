#include "platform/system_actions.h"

using namespace Qt::StringLiterals;

namespace orvanel {

bool SystemActionsLogOnly() {
    return qEnvironmentVariable("ORVANEL_SYSTEM_ACTIONS").compare(u"log"_s, Qt::CaseInsensitive) ==
           0;
}

} // namespace orvanel
