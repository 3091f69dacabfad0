#include "menus/menu_dump.h"

#include "menus/help_demo.h"
#include "menus/level_map.h"
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

    const LevelMap& map = g_levelMap;
    json.beginObject("map");
    json.field("pathPoints", map.path.count);
    json.field("previewLevel", map.previewLevel);
    json.field("previewLoaded", map.previewLoaded);
    json.beginArray("markX");
    for (const base::Vec2 p : map.marks) json.value(double(p.x));
    json.endArray();
    json.beginArray("markY");
    for (const base::Vec2 p : map.marks) json.value(double(p.y));
    json.endArray();
    json.endObject();

    const HelpDemo& h = g_helpDemo;
    json.beginObject("help");
    json.field("active", h.active);
    json.field("demo", h.demo);
    json.field("colourOffset", h.colourOffset);
    json.field("phase", h.phase);
    json.field("clockMs", h.clockMs);
    json.field("popping", helpBoardPopping());
    json.endObject();
}

}  // namespace tessaly::menus
