// Small painted things that stand on the level map (trees, peaks, palms,
// crystals, ...), seen from above at a slight angle: each stands on its
// base point (x, y) in pixels and rises upwards, lit from the top left, with
// a soft shadow falling down and to the right. `size` is the thing's height
// in pixels; the map shrinks things a little towards the far (upper) edge.
//
// Used by map_art.cpp, which places them clear of the trail. Depends on
// paint.h.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "paint.h"

namespace datagen::levelmap {

enum class Scenery {
    RoundTree,   // a broad leafy crown on a short trunk; colour = crown
    Pine,        // a tall layered conifer; colour = needles
    SnowyPine,   // a conifer with snow on every layer
    Bush,        // a low round shrub; colour = leaves
    Rock,        // a rounded boulder; colour = stone
    SnowyRock,   // a boulder with a snow cap
    Peak,        // a mountain with a snow cap; colour = rock
    Palm,        // a leaning palm with a fan of fronds
    Reeds,       // a clump of cattails
    Mesa,        // a flat-topped banded rock tower; colour = rock
    Cactus,      // a round-armed cactus
    Crystal,     // a cluster of glowing crystals; colour = crystal
    CaveMouth,   // a dark cave opening in a rocky mound
    Lighthouse,  // a striped tower with a lit lamp
    Cottage,     // a small house with a red roof
    Waterfall,   // a rock face with a falling stream and a pool
    Mushroom,    // a red-capped toadstool
    FruitTree,   // an orchard tree with fruit; colour = crown
};

struct SceneryItem {
    Scenery kind;
    double x, y;   // base point, pixels
    double size;   // height, pixels
    Rgba color;
    uint32_t seed;
};

// The space a thing covers, for keeping it off the trail: a circle of
// `radius` around each of the points from its base up to `height` above it.
struct SceneryExtent {
    double radius, height;
};
SceneryExtent extentOf(Scenery kind, double size);

void paintScenery(Canvas& canvas, const SceneryItem& item);

// Ground decals drawn before the trail: flowers, fallen leaves, lily pads.
void paintFlowers(cairo_t* cr, double x, double y, double radius, uint32_t seed);
void paintFallenLeaves(cairo_t* cr, double x, double y, double radius, uint32_t seed);
void paintLilyPads(cairo_t* cr, double x, double y, double radius, uint32_t seed);

}  // namespace datagen::levelmap
