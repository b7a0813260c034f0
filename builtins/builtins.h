// builtins/builtins.h — registration of the built-in function library. Each
// family registers its functions by name into the function table; the whole
// library is registered once at start-up, before the application's symbols are
// resolved.
#pragma once

void RegisterListBuiltins();    // ds_list_* (lists.cpp)
void RegisterIniBuiltins();     // ini_* (ini_builtins.cpp)
void RegisterDateBuiltins();    // date_* (dates.cpp)
void RegisterStringBuiltins();  // string_*, string, real, is_undefined (strings.cpp)
void RegisterFileBuiltins();    // file_* (files.cpp)
void RegisterDialogBuiltins();  // show_message, show_question, get_string, get_*_filename (dialogs.cpp)
void RegisterDrawBuiltins();    // draw_*, string_width, window_set_caption (draw_builtins.cpp)

void RegisterAllBuiltins();
