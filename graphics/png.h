// graphics/png.h — PNG files to and from Image: screenshots of frames, art of the
// game data. I/O failures return false with a reason; nothing throws.
#pragma once

#include <string>

#include "graphics/image.h"

bool WritePng(const std::string& path, const Image& image, std::string* error = nullptr);
bool ReadPng(const std::string& path, Image& image, std::string* error = nullptr);
