// The application icon for the desktop, at the sizes a desktop asks for:
// three glossy balls of one colour in a diagonal line (a line about to
// vanish) and a fourth of another colour, on a rounded wooden tile. Written
// as PNG files into a hicolor icon theme folder ("NxN/apps/tessaly.png"),
// outside the data set: the installer places them, the game never reads
// them.
//
// Depends on paint.h only.
#include <cairo.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "datagen.h"
#include "paint.h"

namespace datagen {

namespace {

constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256, 512};

// Paints the icon into a size x size canvas; the design is laid out on a
// 64-unit grid and scaled.
void paintIcon(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double k = canvas.width() / 64.0;
    cairo_save(cr);
    cairo_scale(cr, k, k);
    paintGlossyPanel(cr, 2, 2, 60, 60, 11, hex(0x7A4A26), 2.5);
    // The board's pale floor, inset in the wood.
    roundedRectPath(cr, 7, 7, 50, 50, 7);
    setSource(cr, hex(0xF1E3C6));
    cairo_fill(cr);
    paintGlossyBall(cr, 18, 46, 8.6, hex(0xD8312C));
    paintGlossyBall(cr, 32, 32, 8.6, hex(0xD8312C));
    paintGlossyBall(cr, 46, 18, 8.6, hex(0xD8312C));
    paintGlossyBall(cr, 46, 46, 7.2, hex(0x2E7BD6));
    cairo_restore(cr);
}

}  // namespace

void writeIcons(const std::filesystem::path& themeDir) {
    for (const int size : kIconSizes) {
        Canvas canvas(size, size);
        paintIcon(canvas);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path folder = themeDir / name / "apps";
        std::filesystem::create_directories(folder);
        const std::string file = (folder / "tessaly.png").string();
        cairo_surface_flush(canvas.surface());
        if (cairo_surface_write_to_png(canvas.surface(), file.c_str()) != CAIRO_STATUS_SUCCESS)
            throw std::runtime_error("can't write " + file);
    }
}

}  // namespace datagen
