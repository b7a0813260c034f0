#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_symbols.h"

namespace {
using Names = std::vector<std::string>;

Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  return names;
}

Names NamesOf(SymbolEntry** entries) {
  Names names;
  for (SymbolEntry** entry = entries; *entry; ++entry) names.push_back((*entry)->name);
  return Sorted(names);
}

Names Words(const std::string& text) {
  std::istringstream in(text);
  return Sorted(Names(std::istream_iterator<std::string>(in), {}));
}

// Each name once and no padding entry. Beyond the original program's names:
// `unsaved` (changes not yet saved), ds_list_destroy (a left screen frees its
// lists), the date_get_* calls (the calendar file) and string_width (cutting a
// record's text to its box).
TEST(LinkRecord, ListsEachNameTheCompiledCodeUsesOnceWithNoPadding) {
  const LinkRecord& link = *KalvoraLinkRecord();
  EXPECT_EQ(NamesOf(link.variableRefs),
            Words("unsaved loc AT termin dni firm tit opi lista ds1 ds2 ds3 ds4 ds5 ds6 ds7 ds8 top lp del da mo yr "
                  "ds11 ds12 ds13 ds14 ds21 ds22 ds23 ds24 ds31 ds32 ds33 ds34 ds41 ds42 ds43 ds44 tab1 tab2 tab3 "
                  "tab4 str Init Write dateset alarm image_index image_speed x y mouse_x mouse_y"));
  EXPECT_EQ(NamesOf(link.functionRefs),
            Words("string_pos string_count date_create_datetime string_copy string_delete date_valid_datetime real "
                  "date_current_datetime string ini_write_string ds_list_write ds_list_clear ini_close room_goto "
                  "parameter_count parameter_string file_exists file_copy get_save_filename show_question "
                  "get_open_filename file_delete show_message draw_text ds_list_add ds_list_read ds_list_size "
                  "ds_list_create ini_read_string ds_list_delete ds_list_find_value date_date_string get_string "
                  "ds_list_replace draw_line is_undefined date_inc_day date_compare_date file_text_open_write "
                  "file_text_close file_text_write_string ds_list_destroy date_get_year date_get_month date_get_day "
                  "string_width"));
}
}  // namespace
