// tools/game_description.h — the game description: the text file that names the
// game's options, sprites, fonts, objects and rooms (syntax in data/README.md,
// "Game description"), and the making of the GameData it describes.
//
// Sprite art files are found relative to the description's folder, font files
// relative to `fontDir` (absolute paths are taken as they are). Names must be
// defined before they are used, so references always resolve to earlier records.
// Instance ids are given in file order from kFirstInstanceId.
#pragma once

#include <string>

#include "engine/game_data.h"

constexpr int kFirstInstanceId = 100001;

// Throws DescriptionError ("FILE:LINE: message") for a mistake in the text, or
// std::runtime_error for a font file that cannot be rendered.
GameData BuildGameDescription(const std::string& path, const std::string& fontDir);
