// The panel on the right of the game screen and everything drawn on it:
//  - "gamebar.tga" (128 x 1024): the panel, drawn stretched over x 300..400,
//    y -300..300. It carries the wells behind the score, level and lives, the
//    menu and relax buttons, the sockets of the question and scene buttons
//    and the niche of the hammer; the game writes the texts over it.
//  - "heart.tga" (64 x 64): a life, drawn 30 x 30 units.
//  - "levelbar1.tga", "levelbar2.tga" (128 x 32): the level bar's frame and
//    its fill, drawn over x 304..396, y 5..28; the fill shows only in the
//    trough (texels x 7..121) and is revealed from the left.
//  - "scenebuttons.tga" (256 x 64): four 64-texel cells: night, morning, day
//    and a ring to draw over the chosen one; each drawn 30 x 30 units.
//  - "question.tga" (64 x 64): the question button and cursor.
//  - "molotok1.tga", "molotok2.tga" (128 x 256): the hammer button, idle and
//    charged, drawn over x 320..384, y -290..-162; both have the same
//    outline, so the charged one can be revealed bottom-up by the charge.
//  - "hammer_lum.jpg" (128 x 256): the hammer's glow on black, added on top
//    when the hammer is ready.
//  - "cursorhammer.tga" (64 x 64): the mouse cursor in hammer mode.
//  - "gradient.jpg" (256 x 256): a soft vertical gradient, white at the top to
//    half grey at the bottom, tinted by the game for fades and plates.
// docs/game-art.md gives every rectangle; keep the two in step.
//
// Sections: shared pieces; panel; heart; level bar; scene buttons; question
// button; hammer; gradient; the generator.
#include <algorithm>
#include <cmath>
#include <functional>

#include "game_art.h"

namespace datagen::gameart {
namespace {

// ---------------------------------------------------------------------------
// Shared pieces

// The gold of frames, light to deep (docs/art-direction.md).
void setGoldGradient(cairo_t* cr, double x0, double y0, double x1, double y1) {
    setLinearGradient(cr, x0, y0, x1, y1,
                      {{0, hex(0xFFF6CC)}, {0.3, hex(0xFFD45C)}, {0.7, hex(0xF39A2C)},
                       {1, hex(0xC0561A)}});
}

// A glossy capsule button in the style of the menu buttons: a warm dark
// outline, a gold inner line, a body lit from above and a gloss band.
void paintCapsuleButton(cairo_t* cr, double x, double y, double w, double h, Rgba base) {
    const double r = h / 2;
    roundedRectPath(cr, x, y, w, h, r);
    setSource(cr, hex(0x2A1206));
    cairo_fill(cr);
    roundedRectPath(cr, x + 1.5, y + 1.5, w - 3, h - 3, r - 1.5);
    setLinearGradient(cr, x, y, x, y + h,
                      {{0, shade(base, 0.35)}, {0.5, base}, {1, shade(base, -0.35)}});
    cairo_fill(cr);
    roundedRectPath(cr, x + 2.6, y + 2.6, w - 5.2, h - 5.2, r - 2.6);
    cairo_set_line_width(cr, 0.9);
    setGoldGradient(cr, x, y, x, y + h);
    cairo_stroke(cr);
    roundedRectPath(cr, x + 4, y + 3.2, w - 8, (h - 6) * 0.45, (h - 6) * 0.22);
    setLinearGradient(cr, x, y + 3, x, y + 3 + (h - 6) * 0.45,
                      {{0, hex(0xFFFFFF, 0.45)}, {1, hex(0xFFFFFF, 0.06)}});
    cairo_fill(cr);
}

// A recess cut into the wood: dark, with the shadow of its upper edge inside
// and a light lip along its lower edge.
void paintWell(cairo_t* cr, double x, double y, double w, double h, double r) {
    roundedRectPath(cr, x, y + 0.8, w, h, r);
    setSource(cr, hex(0xFFE2B0, 0.22));
    cairo_fill(cr);
    roundedRectPath(cr, x, y, w, h, r);
    setLinearGradient(cr, x, y, x, y + h,
                      {{0, hex(0x100804)}, {0.35, hex(0x1E110A)}, {1, hex(0x2A180E)}});
    cairo_fill(cr);
    cairo_save(cr);
    roundedRectPath(cr, x, y, w, h, r);
    cairo_clip(cr);
    roundedRectPath(cr, x - 2, y - 2.2, w + 4, h + 2, r);
    cairo_set_line_width(cr, 3);
    setSource(cr, hex(0x000000, 0.5));
    cairo_stroke(cr);
    cairo_restore(cr);
}

// ---------------------------------------------------------------------------
// Panel

constexpr int kPanelWidth = 128;
constexpr int kPanelHeight = 1024;
// The panel covers x 300..400, y -300..300 of the screen; drawing is done in
// panel units: u = x - 300 (0..100 rightwards), v = 300 - y (0..600 down).
constexpr double kPanelUnitsX = 100, kPanelUnitsY = 600;

double vOf(double y) { return 300 - y; }
double uOf(double x) { return x - 300; }

// Wood grain: stretched fractal noise, darker streaks along the panel.
void paintWoodGrain(Canvas& canvas) {
    shadeVisiblePixels(canvas, [](int x, int y, uint32_t& p) {
        const uint32_t a = p >> 24;
        const double warp = fractalNoise(x / 40.0, y / 300.0, 2, 71) * 6;
        const double grain = std::sin((x + warp) * 0.55 + fractalNoise(x / 9.0, y / 90.0, 3, 72) * 2.2);
        const double f = 1 + 0.07 * grain + 0.05 * fractalNoise(x / 20.0, y / 60.0, 3, 73);
        auto ch = [&](int shift) {
            return uint32_t(std::clamp(int(((p >> shift) & 0xFF) * f), 0, int(a))) << shift;
        };
        p = (a << 24) | ch(16) | ch(8) | ch(0);
    });
}

// A small gold ornament dividing the groups: a line with a diamond.
void paintDivider(cairo_t* cr, double v) {
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, 50 + side * 7, v);
        cairo_line_to(cr, 50 + side * 40, v);
    }
    cairo_set_line_width(cr, 1.6);
    setSource(cr, hex(0x120804, 0.6));
    cairo_save(cr);
    cairo_translate(cr, 0.3, 0.8);
    cairo_stroke_preserve(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, 50 + side * 7, v);
        cairo_line_to(cr, 50 + side * 40, v);
    }
    cairo_set_line_width(cr, 1.1);
    setLinearGradient(cr, 10, v, 90, v,
                      {{0, withAlpha(kGold, 0)}, {0.35, kGold}, {0.65, kGold},
                       {1, withAlpha(kGold, 0)}});
    cairo_stroke(cr);
    rhombusPath(cr, 50, v, 9, 6);
    setGoldGradient(cr, 45, v - 3, 55, v + 3);
    cairo_fill_preserve(cr);
    setSource(cr, hex(0x4A200C, 0.8));
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
}

// The pause sign of the relax button.
void paintPauseIcon(cairo_t* cr, double cx, double cy) {
    for (double dx : {-4.2, 4.2}) {
        roundedRectPath(cr, cx + dx - 2.4 + 0.5, cy - 7.5 + 0.8, 4.8, 15, 1.6);
        setSource(cr, hex(0x0A2A28, 0.6));
        cairo_fill(cr);
        roundedRectPath(cr, cx + dx - 2.4, cy - 7.5, 4.8, 15, 1.6);
        setLinearGradient(cr, 0, cy - 7.5, 0, cy + 7.5,
                          {{0, hex(0xFFFFFF)}, {1, hex(0xDDF4EE)}});
        cairo_fill(cr);
    }
}

void paintPanel(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    cairo_save(cr);
    cairo_scale(cr, kPanelWidth / kPanelUnitsX, kPanelHeight / kPanelUnitsY);

    // Body: warm umber wood, lighter towards the middle.
    cairo_rectangle(cr, 0, 0, kPanelUnitsX, kPanelUnitsY);
    setLinearGradient(cr, 0, 0, kPanelUnitsX, 0,
                      {{0, hex(0x2E1A0E)}, {0.25, hex(0x4A2C18)}, {0.6, hex(0x56341C)},
                       {1, hex(0x3A2214)}});
    cairo_fill(cr);
    cairo_restore(cr);
    paintWoodGrain(canvas);
    addPaintTexture(canvas, 0.05, 60, 74);
    cairo_save(cr);
    cairo_scale(cr, kPanelWidth / kPanelUnitsX, kPanelHeight / kPanelUnitsY);

    // The gold trim down the left edge, next to the board, and a thin one at
    // the right edge.
    cairo_rectangle(cr, 0, 0, 1.2, kPanelUnitsY);
    setSource(cr, hex(0x120804));
    cairo_fill(cr);
    cairo_rectangle(cr, 1.2, 0, 3, kPanelUnitsY);
    setLinearGradient(cr, 1.2, 0, 4.2, 0,
                      {{0, hex(0xC0561A)}, {0.35, hex(0xFFE6A0)}, {0.7, hex(0xF39A2C)},
                       {1, hex(0x8A3A10)}});
    cairo_fill(cr);
    cairo_rectangle(cr, 4.2, 0, 3, kPanelUnitsY);
    setLinearGradient(cr, 4.2, 0, 7.2, 0, {{0, hex(0x000000, 0.45)}, {1, hex(0x000000, 0)}});
    cairo_fill(cr);
    cairo_rectangle(cr, kPanelUnitsX - 1.6, 0, 1.6, kPanelUnitsY);
    setLinearGradient(cr, kPanelUnitsX - 1.6, 0, kPanelUnitsX, 0,
                      {{0, hex(0xF39A2C, 0.8)}, {1, hex(0x5A2A0C)}});
    cairo_fill(cr);

    // Wells behind the numbers and the hearts.
    paintWell(cr, uOf(306), vOf(254), 88, 32, 8);   // score number at y 238
    paintWell(cr, uOf(306), vOf(165), 88, 32, 8);   // level number at y 149
    paintWell(cr, uOf(302), vOf(72), 94, 34, 8);    // hearts at y 55
    // A groove for the level bar (the bar draws its own frame into it).
    paintWell(cr, uOf(303), vOf(30), 94, 27, 12.5);

    paintDivider(cr, vOf(209));
    paintDivider(cr, vOf(117));

    // Menu button (300..390, -45..-15); the game writes "menu" on it.
    paintCapsuleButton(cr, uOf(302), vOf(-14), 88, 31, hex(0xC0561A));
    // The socket of the question button at (345, -64).
    cairo_arc(cr, uOf(345), vOf(-64) + 0.8, 16.5, 0, 2 * M_PI);
    setSource(cr, hex(0xFFE2B0, 0.2));
    cairo_fill(cr);
    cairo_arc(cr, uOf(345), vOf(-64), 16.5, 0, 2 * M_PI);
    setSource(cr, hex(0x140A04, 0.85));
    cairo_fill(cr);
    // Relax button (310..385, -113..-83) with its pause sign.
    paintCapsuleButton(cr, uOf(310), vOf(-83), 75, 30, hex(0x1F8A7E));
    paintPauseIcon(cr, uOf(347.5), vOf(-98));
    // The tray of the three scene buttons, centred at y -135.
    paintWell(cr, uOf(303), vOf(-118), 84, 34, 17);
    // The hammer niche (320..384, -290..-162): an arch, deep inside.
    {
        const double x = uOf(318), w = 68, top = vOf(-158), bottom = vOf(-294);
        cairo_new_path(cr);
        cairo_move_to(cr, x, bottom);
        cairo_line_to(cr, x, top + w / 2);
        cairo_arc(cr, x + w / 2, top + w / 2, w / 2, M_PI, 2 * M_PI);
        cairo_line_to(cr, x + w, bottom);
        cairo_close_path(cr);
        cairo_path_t* arch = cairo_copy_path(cr);
        setSource(cr, hex(0x2A1206));
        cairo_set_line_width(cr, 4.5);
        cairo_stroke_preserve(cr);
        setLinearGradient(cr, 0, top, 0, bottom,
                          {{0, hex(0x0E0703)}, {0.5, hex(0x1E120A)}, {1, hex(0x2E1C10)}});
        cairo_fill(cr);
        cairo_new_path(cr);
        cairo_append_path(cr, arch);
        cairo_set_line_width(cr, 1.8);
        setGoldGradient(cr, x, top, x + w, bottom);
        cairo_stroke(cr);
        cairo_path_destroy(arch);
        // A faint warm light pooled at the foot of the niche.
        cairo_save(cr);
        cairo_translate(cr, x + w / 2, bottom - 8);
        cairo_scale(cr, 1, 0.5);
        paintSoftGlow(cr, 0, 0, 30, hex(0xF39A2C, 0.25));
        cairo_restore(cr);
    }
    cairo_restore(cr);
    addGrain(canvas, 0.02, 75);
}

// ---------------------------------------------------------------------------
// Heart

void paintHeart(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    Canvas shape(64, 64);
    heartPath(shape.cr(), 32, 33, 56);
    setSource(shape.cr(), hex(0x000000));
    cairo_fill(shape.cr());
    paintDropShadow(canvas, shape, 1.5, 2.2, 3, hex(0x1A0E05, 0.5));
    heartPath(cr, 32, 33, 56);
    setRadialGradient(cr, 22, 20, 2, 32, 34, 34,
                      {{0, hex(0xFF8A8A)}, {0.35, hex(0xE8283A)}, {0.8, hex(0xA8101E)},
                       {1, hex(0x6A0810)}});
    cairo_fill_preserve(cr);
    setSource(cr, hex(0x4A0408, 0.6));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    // Bounce light low on the right, then the glaze.
    cairo_save(cr);
    heartPath(cr, 32, 33, 56);
    cairo_clip(cr);
    paintSoftGlow(cr, 44, 46, 14, hex(0xFFB0A0, 0.35));
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, 20, 18);
    cairo_rotate(cr, radians(-35));
    cairo_scale(cr, 1, 0.55);
    setRadialGradient(cr, 0, 0, 0, 0, 0, 10,
                      {{0, hex(0xFFFFFF, 0.95)}, {0.6, hex(0xFFFFFF, 0.55)}, {1, hex(0xFFFFFF, 0)}});
    cairo_arc(cr, 0, 0, 10, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
    paintSoftGlow(cr, 42, 17, 4, hex(0xFFFFFF, 0.7));
}

// ---------------------------------------------------------------------------
// Level bar

constexpr int kBarWidth = 128, kBarHeight = 32;
// The trough inside the frame, where the fill shows (texels).
constexpr double kTroughX0 = 7, kTroughX1 = 121, kTroughY0 = 7, kTroughY1 = 25;

void troughPath(cairo_t* cr) {
    roundedRectPath(cr, kTroughX0, kTroughY0, kTroughX1 - kTroughX0, kTroughY1 - kTroughY0,
                    (kTroughY1 - kTroughY0) / 2);
}

void paintBarFrame(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    roundedRectPath(cr, 1, 1, kBarWidth - 2, kBarHeight - 2, (kBarHeight - 2) / 2.0);
    setSource(cr, hex(0x2A1206));
    cairo_fill(cr);
    roundedRectPath(cr, 2.5, 2.5, kBarWidth - 5, kBarHeight - 5, (kBarHeight - 5) / 2.0);
    setGoldGradient(cr, 0, 2.5, 0, kBarHeight - 2.5);
    cairo_fill(cr);
    roundedRectPath(cr, 3.2, 3.2, kBarWidth - 6.4, 8, 4);
    setSource(cr, hex(0xFFFFFF, 0.35));
    cairo_fill(cr);
    // The trough: dark, the upper rim's shadow inside it.
    troughPath(cr);
    setSource(cr, hex(0x4A200C));
    cairo_set_line_width(cr, 2);
    cairo_stroke_preserve(cr);
    setLinearGradient(cr, 0, kTroughY0, 0, kTroughY1,
                      {{0, hex(0x0C0603)}, {0.5, hex(0x1E120A)}, {1, hex(0x2E1C10)}});
    cairo_fill(cr);
    // Quarter marks.
    for (int i = 1; i < 4; ++i) {
        const double x = kTroughX0 + (kTroughX1 - kTroughX0) * i / 4;
        cairo_move_to(cr, x, kTroughY1 - 4);
        cairo_line_to(cr, x, kTroughY1 - 1.5);
        setSource(cr, hex(0xFFD45C, 0.35));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

void paintBarFill(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    cairo_save(cr);
    troughPath(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, kBarWidth, kBarHeight);
    setLinearGradient(cr, 0, kTroughY0, 0, kTroughY1,
                      {{0, hex(0xFFE48A)}, {0.3, hex(0xF2A640)}, {0.7, hex(0xE58A2C)},
                       {1, hex(0xB4501A)}});
    cairo_fill(cr);
    // Soft diagonal stripes, as on the loading bar.
    for (double x = -20; x < kBarWidth + 20; x += 12) {
        cairo_move_to(cr, x, kTroughY1);
        cairo_line_to(cr, x + 6, kTroughY1);
        cairo_line_to(cr, x + 6 + 10, kTroughY0);
        cairo_line_to(cr, x + 10, kTroughY0);
        cairo_close_path(cr);
    }
    setSource(cr, hex(0xFFF0C0, 0.16));
    cairo_fill(cr);
    // Gloss on the upper half and a darker lower lip.
    roundedRectPath(cr, kTroughX0 + 3, kTroughY0 + 1.5, kTroughX1 - kTroughX0 - 6, 6, 3);
    setLinearGradient(cr, 0, kTroughY0 + 1.5, 0, kTroughY0 + 7.5,
                      {{0, hex(0xFFFFFF, 0.75)}, {1, hex(0xFFFFFF, 0.1)}});
    cairo_fill(cr);
    cairo_restore(cr);
}

// ---------------------------------------------------------------------------
// Scene buttons: night, morning, day and the ring of the chosen one.

// The buttons stand 25 units apart but are 30 wide, so each disc is kept
// well inside its cell (24 of 32 texels, rim included) to leave a gap.
constexpr double kButtonRadius = 21.5;

void paintSceneDisc(cairo_t* cr, double cx, double cy, int scene) {
    const double r = kButtonRadius;
    cairo_save(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_clip(cr);
    if (scene == 0) {
        setLinearGradient(cr, 0, cy - r, 0, cy + r,
                          {{0, hex(0x141C44)}, {0.6, hex(0x2C3A6B)}, {1, hex(0x5A4C84)}});
        cairo_paint(cr);
        for (const auto& [sx, sy, ss] : {std::tuple{-14.0, -12.0, 3.2}, std::tuple{-4.0, -18.0, 2.2},
                                         std::tuple{-16.0, 2.0, 2.0}, std::tuple{4.0, -4.0, 1.6}}) {
            paintSoftGlow(cr, cx + sx, cy + sy, ss * 1.6, hex(0xFFF6CC, 0.7));
            starPath(cr, cx + sx, cy + sy, ss, ss * 0.3, 4, 0);
            setSource(cr, hex(0xFFFFFF));
            cairo_fill(cr);
        }
        // The moon.
        paintSoftGlow(cr, cx + 8, cy - 8, 18, hex(0xFFF0C0, 0.35));
        cairo_arc(cr, cx + 8, cy - 8, 10, 0, 2 * M_PI);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, cx + 13, cy - 12, 8.5, 2 * M_PI, 0);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        setLinearGradient(cr, cx, cy - 18, cx + 16, cy, {{0, hex(0xFFF8E0)}, {1, hex(0xF2D48A)}});
        cairo_fill(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_move_to(cr, cx - r, cy + 14);
        cairo_curve_to(cr, cx - 10, cy + 6, cx + 6, cy + 16, cx + r, cy + 10);
        cairo_line_to(cr, cx + r, cy + r);
        cairo_line_to(cr, cx - r, cy + r);
        cairo_close_path(cr);
        setSource(cr, hex(0x141A30));
        cairo_fill(cr);
    } else if (scene == 1) {
        setLinearGradient(cr, 0, cy - r, 0, cy + r,
                          {{0, hex(0x6A5C94)}, {0.4, hex(0xD98F86)}, {0.75, hex(0xF6C88E)},
                           {1, hex(0xFFE9B8)}});
        cairo_paint(cr);
        // The sun rising: half a disc on the horizon with short rays.
        for (int i = 0; i < 7; ++i) {
            const double a = radians(-180 + 15 + i * 25);
            cairo_move_to(cr, cx + std::cos(a) * 14, cy + 8 + std::sin(a) * 14);
            cairo_line_to(cr, cx + std::cos(a) * 20, cy + 8 + std::sin(a) * 20);
        }
        cairo_set_line_width(cr, 2.2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        setSource(cr, hex(0xFFF2C0, 0.9));
        cairo_stroke(cr);
        paintSoftGlow(cr, cx, cy + 8, 22, hex(0xFFE9B8, 0.6));
        cairo_arc(cr, cx, cy + 8, 11, M_PI, 2 * M_PI);
        cairo_close_path(cr);
        setLinearGradient(cr, 0, cy - 3, 0, cy + 8, {{0, hex(0xFFF6CC)}, {1, hex(0xFFB84C)}});
        cairo_fill(cr);
        cairo_move_to(cr, cx - r, cy + 8);
        cairo_curve_to(cr, cx - 8, cy + 4, cx + 8, cy + 12, cx + r, cy + 7);
        cairo_line_to(cr, cx + r, cy + r);
        cairo_line_to(cr, cx - r, cy + r);
        cairo_close_path(cr);
        setLinearGradient(cr, 0, cy + 6, 0, cy + r, {{0, hex(0xB79AB4)}, {1, hex(0x7F6A8A)}});
        cairo_fill(cr);
    } else {
        setLinearGradient(cr, 0, cy - r, 0, cy + r,
                          {{0, hex(0x3A8AD8)}, {0.7, hex(0x8CC8F0)}, {1, hex(0xCDEBFA)}});
        cairo_paint(cr);
        // The sun high up with its rays, a cloud, a green hill.
        const double sx = cx - 4, sy = cy - 6;
        for (int i = 0; i < 10; ++i) {
            const double a = radians(i * 36);
            cairo_move_to(cr, sx + std::cos(a) * 12, sy + std::sin(a) * 12);
            cairo_line_to(cr, sx + std::cos(a) * 17.5, sy + std::sin(a) * 17.5);
        }
        cairo_set_line_width(cr, 2.4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        setSource(cr, hex(0xFFF0A0));
        cairo_stroke(cr);
        cairo_arc(cr, sx, sy, 9.5, 0, 2 * M_PI);
        setRadialGradient(cr, sx - 3, sy - 3, 0, sx, sy, 9.5,
                          {{0, hex(0xFFFCE0)}, {0.6, hex(0xFFD45C)}, {1, hex(0xF39A2C)}});
        cairo_fill(cr);
        for (const auto& [ox, oy, rr] : {std::tuple{8.0, 4.0, 5.5}, std::tuple{14.0, 1.0, 6.5},
                                         std::tuple{20.0, 5.0, 4.5}}) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx + ox, cy + oy, rr, 0, 2 * M_PI);
        }
        setSource(cr, hex(0xFFFFFF, 0.95));
        cairo_fill(cr);
        cairo_move_to(cr, cx - r, cy + 12);
        cairo_curve_to(cr, cx - 8, cy + 6, cx + 8, cy + 14, cx + r, cy + 12);
        cairo_line_to(cr, cx + r, cy + r);
        cairo_line_to(cr, cx - r, cy + r);
        cairo_close_path(cr);
        setLinearGradient(cr, 0, cy + 8, 0, cy + r, {{0, hex(0x7FB856)}, {1, hex(0x3E7A34)}});
        cairo_fill(cr);
    }
    // Glass: dark rim inside, a gloss cap on top.
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    setRadialGradient(cr, cx - 6, cy - 8, r * 0.4, cx, cy, r,
                      {{0, hex(0x000000, 0)}, {0.75, hex(0x000000, 0.05)}, {1, hex(0x000000, 0.45)}});
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, cx - 3, cy - r * 0.48);
    cairo_scale(cr, 1, 0.52);
    cairo_arc(cr, 0, 0, r * 0.72, 0, 2 * M_PI);
    setLinearGradient(cr, 0, -r * 0.72, 0, r * 0.72,
                      {{0, hex(0xFFFFFF, 0.6)}, {1, hex(0xFFFFFF, 0.04)}});
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_restore(cr);
    // Gold rim with a warm dark outline.
    cairo_arc(cr, cx, cy, r + 1.2, 0, 2 * M_PI);
    cairo_set_line_width(cr, 4.4);
    setSource(cr, hex(0x2A1206));
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, r + 1.2, 0, 2 * M_PI);
    cairo_set_line_width(cr, 2.4);
    setGoldGradient(cr, cx - r, cy - r, cx + r, cy + r);
    cairo_stroke(cr);
}

void paintSceneButtons(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    for (int scene = 0; scene < 3; ++scene) paintSceneDisc(cr, 32 + 64 * scene, 32, scene);
    // Cell 3: the ring of the chosen scene, a glowing gold band.
    Canvas halo(64, 64);
    cairo_arc(halo.cr(), 32, 32, kButtonRadius + 1.5, 0, 2 * M_PI);
    cairo_set_line_width(halo.cr(), 6);
    setSource(halo.cr(), hex(0xFFD45C));
    cairo_stroke(halo.cr());
    blur(halo, 3);
    canvas.paintCanvas(halo, 192, 0);
    cairo_arc(cr, 224, 32, kButtonRadius + 1.2, 0, 2 * M_PI);
    cairo_set_line_width(cr, 2.6);
    setSource(cr, hex(0xFFF6CC));
    cairo_stroke(cr);
}

// ---------------------------------------------------------------------------
// Question button

void paintQuestion(Canvas& canvas, const Options& options) {
    cairo_t* cr = canvas.cr();
    Canvas shape(64, 64);
    cairo_arc(shape.cr(), 32, 32, 28, 0, 2 * M_PI);
    setSource(shape.cr(), hex(0x000000));
    cairo_fill(shape.cr());
    paintDropShadow(canvas, shape, 1.2, 1.8, 3, hex(0x1A0E05, 0.5));
    paintGlossyBall(cr, 32, 32, 27, hex(0x2A7FC8));
    cairo_arc(cr, 32, 32, 28, 0, 2 * M_PI);
    cairo_set_line_width(cr, 2.6);
    setGoldGradient(cr, 8, 8, 56, 56);
    cairo_stroke(cr);
    // The "?" in heavy lettering with a warm dark outline.
    cairo_set_font_face(cr, fontFace(options.fontPath, "DejaVuSans-Bold.ttf"));
    cairo_set_font_size(cr, 40);
    cairo_text_extents_t e;
    cairo_text_extents(cr, "?", &e);
    cairo_new_path(cr);
    cairo_move_to(cr, 32 - e.width / 2 - e.x_bearing, 33 - e.height / 2 - e.y_bearing);
    cairo_text_path(cr, "?");
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 4);
    setSource(cr, hex(0x0A2240, 0.8));
    cairo_stroke_preserve(cr);
    setLinearGradient(cr, 0, 33 - e.height / 2, 0, 33 + e.height / 2,
                      {{0, hex(0xFFFFFF)}, {1, hex(0xE4F0FF)}});
    cairo_fill(cr);
    paintSpecular(cr, 32, 32, 27, 0.35);
}

// ---------------------------------------------------------------------------
// Hammer. Drawn in the 128 x 256 texels of the button; the cursor reuses
// the drawing, turned and scaled down.

constexpr int kHammerWidth = 128, kHammerHeight = 256;

void paintHammerShape(cairo_t* cr, bool charged) {
    cairo_save(cr);
    // A slight lean to the right gives it life.
    cairo_translate(cr, 64, 140);
    cairo_rotate(cr, radians(8));
    cairo_translate(cr, -64, -140);

    // Handle: warm polished wood with a leather grip.
    const double hx = 64, top = 78, bottom = 236, w = 19;
    roundedRectPath(cr, hx - w / 2, top, w, bottom - top, w / 2);
    setSource(cr, hex(0x2A1206));
    cairo_set_line_width(cr, 3.4);
    cairo_stroke_preserve(cr);
    setLinearGradient(cr, hx - w / 2, 0, hx + w / 2, 0,
                      {{0, hex(0x6A3A18)}, {0.3, hex(0xD89A5A)}, {0.55, hex(0xA8642C)},
                       {1, hex(0x4A2410)}});
    cairo_fill(cr);
    for (int i = 0; i < 6; ++i) {
        const double y = 170 + i * 10;
        cairo_move_to(cr, hx - w / 2, y + 5);
        cairo_line_to(cr, hx + w / 2, y);
        cairo_line_to(cr, hx + w / 2, y + 7);
        cairo_line_to(cr, hx - w / 2, y + 12);
        cairo_close_path(cr);
    }
    cairo_save(cr);
    roundedRectPath(cr, hx - w / 2, 168, w, 64, 5);
    cairo_clip(cr);
    setLinearGradient(cr, hx - w / 2, 0, hx + w / 2, 0,
                      {{0, hex(0x3A160A)}, {0.35, hex(0x9A3A24)}, {1, hex(0x2A0E06)}});
    cairo_fill(cr);
    cairo_restore(cr);

    // Head: a steel block with flared striking faces and a gold band where
    // the handle goes through.
    const double l = 14, r = 114, ht = 30, hb = 84;
    cairo_new_path(cr);
    cairo_move_to(cr, l, ht - 3);
    cairo_line_to(cr, l + 12, ht + 4);
    cairo_line_to(cr, r - 12, ht + 4);
    cairo_line_to(cr, r, ht - 3);
    cairo_line_to(cr, r, hb + 3);
    cairo_line_to(cr, r - 12, hb - 4);
    cairo_line_to(cr, l + 12, hb - 4);
    cairo_line_to(cr, l, hb + 3);
    cairo_close_path(cr);
    setSource(cr, hex(0x141820));
    cairo_set_line_width(cr, 3.4);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    setLinearGradient(cr, 0, ht - 3, 0, hb + 3,
                      {{0, hex(0xF4F6FA)}, {0.22, hex(0xC4CCD8)}, {0.5, hex(0x8A94A4)},
                       {0.78, hex(0x5A6272)}, {1, hex(0x343A46)}});
    cairo_fill(cr);
    // The two striking faces, a little lighter.
    for (double x : {l, r - 5.0}) {
        cairo_rectangle(cr, x, ht - 2, 5, hb - ht + 4);
        setLinearGradient(cr, 0, ht, 0, hb,
                          {{0, hex(0xFFFFFF, 0.7)}, {0.5, hex(0xFFFFFF, 0.2)}, {1, hex(0x000000, 0.2)}});
        cairo_fill(cr);
    }
    // Band.
    cairo_rectangle(cr, hx - 15, ht + 3, 30, hb - ht - 6);
    setGoldGradient(cr, hx - 15, 0, hx + 15, 0);
    cairo_fill_preserve(cr);
    setSource(cr, hex(0x4A200C, 0.8));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // Sheen along the top of the head.
    cairo_rectangle(cr, l + 8, ht + 6, r - l - 16, 7);
    setLinearGradient(cr, 0, ht + 6, 0, ht + 13,
                      {{0, hex(0xFFFFFF, 0.55)}, {1, hex(0xFFFFFF, 0)}});
    cairo_fill(cr);
    if (charged) {
        // A glint on the steel.
        paintSoftGlow(cr, 34, 40, 12, hex(0xFFFFFF, 0.8));
        starPath(cr, 34, 40, 13, 2.6, 4, 0);
        setSource(cr, hex(0xFFFFFF));
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

// The idle hammer: the same drawing, greyed and dimmed, so the button reads
// as "not ready" and the charged one can be revealed over it.
void dimToIdle(Canvas& canvas) {
    shadeVisiblePixels(canvas, [](int, int, uint32_t& p) {
        const uint32_t a = p >> 24;
        const double r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        const double grey = 0.3 * r + 0.59 * g + 0.11 * b;
        auto ch = [&](double c, double tint) {
            return uint32_t(std::clamp((grey * 0.8 + c * 0.2) * 0.55 * tint, 0.0, double(a)));
        };
        p = (a << 24) | (ch(r, 1.05) << 16) | (ch(g, 1.0) << 8) | ch(b, 0.92);
    });
}

void paintHammerButton(Canvas& canvas, bool charged) {
    Canvas shape(kHammerWidth, kHammerHeight);
    paintHammerShape(shape.cr(), charged);
    if (!charged) dimToIdle(shape);
    paintDropShadow(canvas, shape, 3, 4, 4, hex(0x000000, 0.55));
    canvas.paintCanvas(shape);
}

void paintHammerGlow(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    cairo_rectangle(cr, 0, 0, kHammerWidth, kHammerHeight);
    setSource(cr, hex(0x000000));
    cairo_fill(cr);
    Canvas shape(kHammerWidth, kHammerHeight);
    paintHammerShape(shape.cr(), true);
    Canvas glow(kHammerWidth, kHammerHeight);
    setSource(glow.cr(), hex(0xF39A2C));
    cairo_mask_surface(glow.cr(), shape.surface(), 0, 0);
    blur(glow, 14);
    // A halo round the hammer, dimmer over the hammer itself so that the
    // added light doesn't wash out its drawing.
    cairo_set_operator(glow.cr(), CAIRO_OPERATOR_DEST_OUT);
    cairo_set_source_rgba(glow.cr(), 0, 0, 0, 0.85);
    cairo_mask_surface(glow.cr(), shape.surface(), 0, 0);
    canvas.paintCanvas(glow);
    canvas.paintCanvas(glow, 0, 0, 0.5);
    paintSoftGlow(cr, 64, 58, 60, hex(0xFFD45C, 0.18));
    // The glow is added onto the panel: fade it to black towards every edge
    // so no rectangle shows.
    cairo_surface_flush(canvas.surface());
    uint8_t* data = cairo_image_surface_get_data(canvas.surface());
    const int stride = cairo_image_surface_get_stride(canvas.surface());
    constexpr double kFade = 16;  // texels
    for (int y = 0; y < kHammerHeight; ++y) {
        for (int x = 0; x < kHammerWidth; ++x) {
            const double edge = std::min({x + 0.5, y + 0.5, kHammerWidth - x - 0.5,
                                          kHammerHeight - y - 0.5});
            const double t = std::clamp((edge - 5) / kFade, 0.0, 1.0);
            const double f = t * t * (3 - 2 * t);
            uint32_t* p = reinterpret_cast<uint32_t*>(data + y * stride) + x;
            auto ch = [&](int shift) { return uint32_t(((*p >> shift) & 0xFF) * f) << shift; };
            *p = 0xFF000000u | ch(16) | ch(8) | ch(0);
        }
    }
    cairo_surface_mark_dirty(canvas.surface());
}

// The cursor: the hammer at a quarter of the button's size, turned with its
// head to the upper left; the middle of its lower striking face, the hot
// spot, is at texel (9, 25) (docs/game-art.md).
constexpr double kCursorScale = 0.27, kCursorTurn = -48;

void paintHammerCursor(Canvas& canvas) {
    Canvas shape(64, 64);
    cairo_t* cr = shape.cr();
    cairo_translate(cr, 32, 32);
    cairo_rotate(cr, radians(kCursorTurn));
    cairo_scale(cr, kCursorScale, kCursorScale);
    cairo_translate(cr, -64, -132);  // the middle of the hammer's drawing
    paintHammerShape(cr, true);
    paintDropShadow(canvas, shape, 1.5, 2, 2, hex(0x000000, 0.55));
    canvas.paintCanvas(shape);
}

// ---------------------------------------------------------------------------
// Gradient

void paintGradient(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double h = canvas.height();
    cairo_rectangle(cr, 0, 0, canvas.width(), h);
    setLinearGradient(cr, 0, 0, 0, h,
                      {{0, hex(0xFFFFFF)}, {0.25, hex(0xF0F0F0)}, {0.5, hex(0xD0D0D0)},
                       {0.75, hex(0xA8A8A8)}, {1, hex(0x808080)}});
    cairo_fill(cr);
    addGrain(canvas, 0.012, 76);
}

// ---------------------------------------------------------------------------
// The generator

}  // namespace

void generatePanelArt(Output& out) {
    {
        Canvas canvas(kPanelWidth, kPanelHeight);
        paintPanel(canvas);
        packTga(out, "gamebar.tga", canvas);
    }
    {
        Canvas canvas(64, 64);
        paintHeart(canvas);
        packTga(out, "heart.tga", canvas);
    }
    {
        Canvas frame(kBarWidth, kBarHeight), fill(kBarWidth, kBarHeight);
        paintBarFrame(frame);
        paintBarFill(fill);
        packTga(out, "levelbar1.tga", frame);
        packTga(out, "levelbar2.tga", fill);
    }
    {
        Canvas canvas(256, 64);
        paintSceneButtons(canvas);
        packTga(out, "scenebuttons.tga", canvas);
    }
    {
        Canvas canvas(64, 64);
        paintQuestion(canvas, out.options());
        packTga(out, "question.tga", canvas);
    }
    for (bool charged : {false, true}) {
        Canvas canvas(kHammerWidth, kHammerHeight);
        paintHammerButton(canvas, charged);
        packTga(out, charged ? "molotok2.tga" : "molotok1.tga", canvas);
    }
    {
        Canvas canvas(kHammerWidth, kHammerHeight);
        paintHammerGlow(canvas);
        packJpeg(out, "hammer_lum.jpg", canvas);
    }
    {
        Canvas canvas(64, 64);
        paintHammerCursor(canvas);
        packTga(out, "cursorhammer.tga", canvas);
    }
    {
        Canvas canvas(256, 256);
        paintGradient(canvas);
        packJpeg(out, "gradient.jpg", canvas);
    }
}

}  // namespace datagen::gameart

