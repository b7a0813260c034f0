// tools/builtin_font_source.h — writes a Font as C++ source that defines
// `const Font& BuiltinFont()` (graphics/font.h), so that the built-in font's
// glyphs are compiled into the program.
#pragma once

#include <string>

#include "graphics/font.h"

std::string BuiltinFontSource(const Font& font);
