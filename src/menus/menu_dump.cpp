#include "menus/menu_dump.h"

#include "menus/menu_flow.h"
#include "menus/menu_runtime.h"

namespace tessaly::menus {

void dumpMenuState(base::JsonWriter& json) {
    const MenuState& m = g_menu;
    json.field("screen", m.current ? m.current->name : "");
    json.field("hidden", m.hidden);
    json.field("highlighted", m.highlighted);
    const bool onItem = m.current && m.highlighted >= 0 && m.highlighted < int(m.current->childCount);
    json.field("highlightedName", onItem ? m.current->children[m.highlighted]->name : "");
    json.field("hoveredWidget", m.hoveredWidget);
    json.field("selectedEntry", m.selectedEntry);
    json.field("fade", m.fade);
    json.field("fadingIn", m.fadingIn);
    json.field("fadingOut", m.fadingOut);
    json.field("textEntry", m.textEntry);
    json.field("edit", m.edit);
    json.field("message", m.message);
    json.field("shownTable", m.shownTable);
    json.field("backgroundView", m.backgroundView);
    json.field("items", m.boxCount);
    json.field("widgets", m.widgetCount);
    json.field("countStat", m.count.stat);
    json.beginArray("countShown");
    for (int stat = 0; stat < 4; ++stat) json.value(int64_t(shownStatValue(stat)));
    json.endArray();
}

}  // namespace tessaly::menus
