// engine/at_sign_files.h — files delivered flat whose names stand for paths: a
// plain file "fonts@big@a.png" in the program's directory is moved to
// "fonts/big/a.png" there, the directories being created on the way.
//
// Only the program's own directory is looked at (never the current directory,
// which may be the user's home), and every target stays inside it: empty parts
// (leading, doubled or trailing "@") are dropped, a name with a "." or ".." part
// or without a last part is left alone, symbolic links are not followed, and an
// existing file is never overwritten. Failures leave the file where it was.
#pragma once

#include <filesystem>

void MoveAtSignFiles(const std::filesystem::path& programDirectory);
