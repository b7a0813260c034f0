// app/app_symbols.h — the application's side of the link record: the variable
// and built-in symbol entries that start-up resolves, the string constants, and
// the compiled functions of the code table.
//
// Compiled code reads a symbol's slot every time it uses it and never names a
// variable or built-in by text at run time. String constants are created once at
// program start (SetStringConst on the literal) and released at exit; handlers
// copy them with reference sharing.
#pragma once

#include "runtime/compiled.h"
#include "runtime/link.h"

// --- Variables -----------------------------------------------------------------
// Built-in variables.
extern SymbolEntry v_alarm, v_image_index, v_image_speed, v_x, v_y, v_mouse_x, v_mouse_y;
// Globals.
extern SymbolEntry v_loc, v_AT;
// The menu buttons.
extern SymbolEntry v_termin, v_dni;
// The register descriptors set by Init.
extern SymbolEntry v_firm, v_tit, v_opi, v_lista;
// The lists of a screen and its bookkeeping.
extern SymbolEntry v_ds1, v_ds2, v_ds3, v_ds4, v_ds5, v_ds6, v_ds7, v_ds8;
extern SymbolEntry v_top, v_lp, v_del, v_da, v_mo, v_yr, v_unsaved;
// The upcoming-deadlines view's source lists, their tables and the save-back text.
extern SymbolEntry v_ds11, v_ds12, v_ds13, v_ds14, v_ds21, v_ds22, v_ds23, v_ds24;
extern SymbolEntry v_ds31, v_ds32, v_ds33, v_ds34, v_ds41, v_ds42, v_ds43, v_ds44;
extern SymbolEntry v_tab1, v_tab2, v_tab3, v_tab4, v_str;
// The method values of the global-script functions.
extern SymbolEntry v_Init, v_Write, v_dateset;

// --- Built-in functions --------------------------------------------------------
extern SymbolEntry f_string_pos, f_string_count, f_date_create_datetime, f_string_copy, f_string_delete,
    f_date_valid_datetime, f_real, f_date_current_datetime, f_string, f_ini_write_string, f_ds_list_write,
    f_ds_list_clear, f_ini_close, f_room_goto, f_parameter_count, f_parameter_string, f_file_exists, f_file_copy,
    f_get_save_filename, f_show_question, f_get_open_filename, f_file_delete, f_show_message, f_draw_text,
    f_ds_list_add, f_ds_list_read, f_ds_list_size, f_ds_list_create, f_ini_read_string, f_ds_list_delete,
    f_ds_list_find_value, f_date_date_string, f_get_string, f_ds_list_replace, f_draw_line, f_is_undefined,
    f_date_inc_day, f_date_compare_date, f_file_text_open_write, f_file_text_close, f_file_text_write_string,
    f_ds_list_destroy, f_date_get_year, f_date_get_month, f_date_get_day, f_string_width;

// --- String constants ----------------------------------------------------------
// A literal of the application: its RValue exists between CreateStringConstants
// and ReleaseStringConstants.
class StringConstant {
 public:
  explicit StringConstant(const char* text);
  StringConstant(const StringConstant&) = delete;
  StringConstant& operator=(const StringConstant&) = delete;
  operator const RValue&() const { return value_; }  // NOLINT: used wherever a value is
  const char* Text() const { return text_; }

 private:
  friend void CreateStringConstants();
  friend void ReleaseStringConstants();
  const char* text_;
  RValue value_;
};

void CreateStringConstants();
void ReleaseStringConstants();

// --- Compiled functions ----------------------------------------------------------
RValue* ksl_GlobalScript_dateset(CInstance* self, CInstance* other, RValue* result);
RValue* ksl_Script_dateset(CInstance* self, CInstance* other, RValue* result, int argc, RValue** argv);
RValue* ksl_GlobalScript_Init(CInstance* self, CInstance* other, RValue* result);
RValue* ksl_Script_Init(CInstance* self, CInstance* other, RValue* result, int argc, RValue** argv);
RValue* ksl_GlobalScript_Write(CInstance* self, CInstance* other, RValue* result);
RValue* ksl_Script_Write(CInstance* self, CInstance* other, RValue* result, int argc, RValue** argv);

#define KSL_EVENT(object, event) void ksl_Object_##object##_##event(CInstance* self, CInstance* other)
KSL_EVENT(MenuIcon, Create_0);
KSL_EVENT(MenuIcon, Alarm_0);
KSL_EVENT(MenuIcon, Mouse_7);
KSL_EVENT(MenuIcon, Draw_0);
KSL_EVENT(MenuIcon, PreCreate_0);
#define KSL_EDITOR_EVENTS(object) \
  KSL_EVENT(object, Create_0);    \
  KSL_EVENT(object, Alarm_1);     \
  KSL_EVENT(object, Alarm_2);     \
  KSL_EVENT(object, Alarm_3);     \
  KSL_EVENT(object, Mouse_60);    \
  KSL_EVENT(object, Mouse_61);    \
  KSL_EVENT(object, Mouse_56);    \
  KSL_EVENT(object, Draw_0);      \
  KSL_EVENT(object, KeyPress_27)
KSL_EDITOR_EVENTS(oCars);
KSL_EDITOR_EVENTS(oCovid);
KSL_EDITOR_EVENTS(oLicense);
KSL_EDITOR_EVENTS(oPers);
KSL_EVENT(oClose, Create_0);
KSL_EVENT(oClose, Alarm_1);
KSL_EVENT(oClose, Alarm_2);
KSL_EVENT(oClose, Alarm_3);
KSL_EVENT(oClose, Alarm_4);
KSL_EVENT(oClose, Alarm_5);
KSL_EVENT(oClose, Mouse_60);
KSL_EVENT(oClose, Mouse_61);
KSL_EVENT(oClose, Mouse_56);
KSL_EVENT(oClose, Draw_0);
KSL_EVENT(oClose, KeyPress_27);

// The record the runtime asks for at start-up.
LinkRecord* KalvoraLinkRecord();
