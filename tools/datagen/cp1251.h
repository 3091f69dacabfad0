// The game's character set for the data generator: Windows-1251 (ASCII
// below 0x80, Cyrillic and typographic marks above). The font generator
// draws a glyph for every printable code, and the text packer turns the
// UTF-8 sources in assets/texts/ into these bytes. The tables are the
// engine's own (base/code_page.h), so both sides read the bytes alike.
#pragma once

#include "base/code_page.h"

namespace datagen {

using tessaly::base::cp1251ToUnicode;
using tessaly::base::kCp1251High;
using tessaly::base::unicodeToCp1251;

}  // namespace datagen
