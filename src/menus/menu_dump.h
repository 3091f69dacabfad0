// The "menu" section of the state dump: the current screen, the fades, the
// highlighted item, the widgets' focus, text entry, the shown tables and the
// levelcomplete count.
#pragma once

#include "base/state_dump.h"

namespace tessaly::menus {

void dumpMenuState(base::JsonWriter& json);

}  // namespace tessaly::menus
