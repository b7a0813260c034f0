// builtins/strings.h — character stepping over UTF-8 texts and the string
// built-ins (string_pos, string_count, string_copy, string_delete, string, real,
// is_undefined).
//
// Texts are NUL-terminated UTF-8 bytes; positions and counts are in characters,
// counted from 1. A character starting at byte b takes 1 byte when b < 0x80,
// 4 bytes when b is 11110xxx, otherwise 2 bytes when bit 5 of b is clear and 3
// when it is set; a continuation byte met first is stepped by the same rule. A
// NUL ends the text, also inside a character, so stepping never leaves the text
// however malformed it is. The character length of a text is its number of bytes
// that are not continuation bytes (10xxxxxx); for well-formed text it equals the
// number of steps.
#pragma once

#include <cstddef>

// The start of the character after the one at `text` (which must not be the
// terminating NUL); the NUL itself when the text ends inside the character.
const char* NextCharacter(const char* text);

// The character length of the `byteLength` bytes at `text`: the bytes that are
// not continuation bytes. Reads no byte outside them.
size_t CharacterLength(const char* text, size_t byteLength);
