#include <vector>

#include "app/app_symbols.h"
#include "runtime/value.h"

// --- Variables, resolved to slots at start-up ------------------------------------
SymbolEntry v_loc{"loc", -1};
SymbolEntry v_AT{"AT", -1};
SymbolEntry v_termin{"termin", -1};
SymbolEntry v_dni{"dni", -1};
SymbolEntry v_firm{"firm", -1};
SymbolEntry v_tit{"tit", -1};
SymbolEntry v_opi{"opi", -1};
SymbolEntry v_lista{"lista", -1};
SymbolEntry v_ds1{"ds1", -1};
SymbolEntry v_ds2{"ds2", -1};
SymbolEntry v_ds3{"ds3", -1};
SymbolEntry v_ds4{"ds4", -1};
SymbolEntry v_ds5{"ds5", -1};
SymbolEntry v_ds6{"ds6", -1};
SymbolEntry v_ds7{"ds7", -1};
SymbolEntry v_ds8{"ds8", -1};
SymbolEntry v_top{"top", -1};
SymbolEntry v_lp{"lp", -1};
SymbolEntry v_del{"del", -1};
SymbolEntry v_da{"da", -1};
SymbolEntry v_mo{"mo", -1};
SymbolEntry v_yr{"yr", -1};
SymbolEntry v_unsaved{"unsaved", -1};
SymbolEntry v_ds11{"ds11", -1};
SymbolEntry v_ds12{"ds12", -1};
SymbolEntry v_ds13{"ds13", -1};
SymbolEntry v_ds14{"ds14", -1};
SymbolEntry v_ds21{"ds21", -1};
SymbolEntry v_ds22{"ds22", -1};
SymbolEntry v_ds23{"ds23", -1};
SymbolEntry v_ds24{"ds24", -1};
SymbolEntry v_ds31{"ds31", -1};
SymbolEntry v_ds32{"ds32", -1};
SymbolEntry v_ds33{"ds33", -1};
SymbolEntry v_ds34{"ds34", -1};
SymbolEntry v_ds41{"ds41", -1};
SymbolEntry v_ds42{"ds42", -1};
SymbolEntry v_ds43{"ds43", -1};
SymbolEntry v_ds44{"ds44", -1};
SymbolEntry v_tab1{"tab1", -1};
SymbolEntry v_tab2{"tab2", -1};
SymbolEntry v_tab3{"tab3", -1};
SymbolEntry v_tab4{"tab4", -1};
SymbolEntry v_str{"str", -1};
SymbolEntry v_Init{"Init", -1};
SymbolEntry v_Write{"Write", -1};
SymbolEntry v_dateset{"dateset", -1};
SymbolEntry v_alarm{"alarm", -1};
SymbolEntry v_image_index{"image_index", -1};
SymbolEntry v_image_speed{"image_speed", -1};
SymbolEntry v_x{"x", -1};
SymbolEntry v_y{"y", -1};
SymbolEntry v_mouse_x{"mouse_x", -1};
SymbolEntry v_mouse_y{"mouse_y", -1};

// --- Built-in functions, resolved to function-table indices at start-up ---------
SymbolEntry f_string_pos{"string_pos", 0};
SymbolEntry f_string_count{"string_count", 0};
SymbolEntry f_date_create_datetime{"date_create_datetime", 0};
SymbolEntry f_string_copy{"string_copy", 0};
SymbolEntry f_string_delete{"string_delete", 0};
SymbolEntry f_date_valid_datetime{"date_valid_datetime", 0};
SymbolEntry f_real{"real", 0};
SymbolEntry f_date_current_datetime{"date_current_datetime", 0};
SymbolEntry f_string{"string", 0};
SymbolEntry f_ini_write_string{"ini_write_string", 0};
SymbolEntry f_ds_list_write{"ds_list_write", 0};
SymbolEntry f_ds_list_clear{"ds_list_clear", 0};
SymbolEntry f_ini_close{"ini_close", 0};
SymbolEntry f_room_goto{"room_goto", 0};
SymbolEntry f_parameter_count{"parameter_count", 0};
SymbolEntry f_parameter_string{"parameter_string", 0};
SymbolEntry f_file_exists{"file_exists", 0};
SymbolEntry f_file_copy{"file_copy", 0};
SymbolEntry f_get_save_filename{"get_save_filename", 0};
SymbolEntry f_show_question{"show_question", 0};
SymbolEntry f_get_open_filename{"get_open_filename", 0};
SymbolEntry f_file_delete{"file_delete", 0};
SymbolEntry f_show_message{"show_message", 0};
SymbolEntry f_draw_text{"draw_text", 0};
SymbolEntry f_ds_list_add{"ds_list_add", 0};
SymbolEntry f_ds_list_read{"ds_list_read", 0};
SymbolEntry f_ds_list_size{"ds_list_size", 0};
SymbolEntry f_ds_list_create{"ds_list_create", 0};
SymbolEntry f_ini_read_string{"ini_read_string", 0};
SymbolEntry f_ds_list_delete{"ds_list_delete", 0};
SymbolEntry f_ds_list_find_value{"ds_list_find_value", 0};
SymbolEntry f_date_date_string{"date_date_string", 0};
SymbolEntry f_get_string{"get_string", 0};
SymbolEntry f_ds_list_replace{"ds_list_replace", 0};
SymbolEntry f_draw_line{"draw_line", 0};
SymbolEntry f_is_undefined{"is_undefined", 0};
SymbolEntry f_date_inc_day{"date_inc_day", 0};
SymbolEntry f_date_compare_date{"date_compare_date", 0};
SymbolEntry f_file_text_open_write{"file_text_open_write", 0};
SymbolEntry f_file_text_close{"file_text_close", 0};
SymbolEntry f_file_text_write_string{"file_text_write_string", 0};
SymbolEntry f_ds_list_destroy{"ds_list_destroy", 0};
SymbolEntry f_date_get_year{"date_get_year", 0};
SymbolEntry f_date_get_month{"date_get_month", 0};
SymbolEntry f_date_get_day{"date_get_day", 0};
SymbolEntry f_string_width{"string_width", 0};

namespace {
SymbolEntry* g_variableRefs[] = {
    &v_loc,  &v_AT,   &v_termin,  &v_dni,     &v_firm, &v_tit,   &v_opi,     &v_lista, &v_ds1,         &v_ds2,
    &v_ds3,  &v_ds4,  &v_ds5,     &v_ds6,     &v_ds7,  &v_ds8,   &v_top,     &v_lp,    &v_del,         &v_da,
    &v_mo,   &v_yr,   &v_unsaved, &v_ds11,    &v_ds12, &v_ds13,  &v_ds14,    &v_ds21,  &v_ds22,        &v_ds23,
    &v_ds24, &v_ds31, &v_ds32,    &v_ds33,    &v_ds34, &v_ds41,  &v_ds42,    &v_ds43,  &v_ds44,        &v_tab1,
    &v_tab2, &v_tab3, &v_tab4,    &v_str,     &v_Init, &v_Write, &v_dateset, &v_alarm, &v_image_index, &v_image_speed,
    &v_x,    &v_y,    &v_mouse_x, &v_mouse_y, nullptr};

SymbolEntry* g_functionRefs[] = {&f_string_pos,
                                 &f_string_count,
                                 &f_date_create_datetime,
                                 &f_string_copy,
                                 &f_string_delete,
                                 &f_date_valid_datetime,
                                 &f_real,
                                 &f_date_current_datetime,
                                 &f_string,
                                 &f_ini_write_string,
                                 &f_ds_list_write,
                                 &f_ds_list_clear,
                                 &f_ini_close,
                                 &f_room_goto,
                                 &f_parameter_count,
                                 &f_parameter_string,
                                 &f_file_exists,
                                 &f_file_copy,
                                 &f_get_save_filename,
                                 &f_show_question,
                                 &f_get_open_filename,
                                 &f_file_delete,
                                 &f_show_message,
                                 &f_draw_text,
                                 &f_ds_list_add,
                                 &f_ds_list_read,
                                 &f_ds_list_size,
                                 &f_ds_list_create,
                                 &f_ini_read_string,
                                 &f_ds_list_delete,
                                 &f_ds_list_find_value,
                                 &f_date_date_string,
                                 &f_get_string,
                                 &f_ds_list_replace,
                                 &f_draw_line,
                                 &f_is_undefined,
                                 &f_date_inc_day,
                                 &f_date_compare_date,
                                 &f_file_text_open_write,
                                 &f_file_text_close,
                                 &f_file_text_write_string,
                                 &f_ds_list_destroy,
                                 &f_date_get_year,
                                 &f_date_get_month,
                                 &f_date_get_day,
                                 &f_string_width,
                                 nullptr};

// One id record per code-table row: 100000 + the row.
FunctionRef g_functionIds[] = {
    {"ksl_GlobalScript_dateset", 100000},        {"ksl_Script_dateset", 100001},
    {"ksl_GlobalScript_Init", 100002},           {"ksl_Script_Init", 100003},
    {"ksl_GlobalScript_Write", 100004},          {"ksl_Script_Write", 100005},
    {"ksl_Object_MenuIcon_Create_0", 100006},    {"ksl_Object_MenuIcon_Alarm_0", 100007},
    {"ksl_Object_MenuIcon_Mouse_7", 100008},     {"ksl_Object_MenuIcon_Draw_0", 100009},
    {"ksl_Object_MenuIcon_PreCreate_0", 100010}, {"ksl_Object_oCars_Create_0", 100011},
    {"ksl_Object_oCars_Alarm_1", 100012},        {"ksl_Object_oCars_Alarm_2", 100013},
    {"ksl_Object_oCars_Alarm_3", 100014},        {"ksl_Object_oCars_Mouse_60", 100015},
    {"ksl_Object_oCars_Mouse_61", 100016},       {"ksl_Object_oCars_Mouse_56", 100017},
    {"ksl_Object_oCars_Draw_0", 100018},         {"ksl_Object_oCars_KeyPress_27", 100019},
    {"ksl_Object_oClose_Create_0", 100020},      {"ksl_Object_oClose_Alarm_1", 100021},
    {"ksl_Object_oClose_Alarm_2", 100022},       {"ksl_Object_oClose_Alarm_3", 100023},
    {"ksl_Object_oClose_Alarm_4", 100024},       {"ksl_Object_oClose_Alarm_5", 100025},
    {"ksl_Object_oClose_Mouse_60", 100026},      {"ksl_Object_oClose_Mouse_61", 100027},
    {"ksl_Object_oClose_Mouse_56", 100028},      {"ksl_Object_oClose_Draw_0", 100029},
    {"ksl_Object_oClose_KeyPress_27", 100030},   {"ksl_Object_oCovid_Create_0", 100031},
    {"ksl_Object_oCovid_Alarm_1", 100032},       {"ksl_Object_oCovid_Alarm_2", 100033},
    {"ksl_Object_oCovid_Alarm_3", 100034},       {"ksl_Object_oCovid_Mouse_60", 100035},
    {"ksl_Object_oCovid_Mouse_61", 100036},      {"ksl_Object_oCovid_Mouse_56", 100037},
    {"ksl_Object_oCovid_Draw_0", 100038},        {"ksl_Object_oCovid_KeyPress_27", 100039},
    {"ksl_Object_oLicense_Create_0", 100040},    {"ksl_Object_oLicense_Alarm_1", 100041},
    {"ksl_Object_oLicense_Alarm_2", 100042},     {"ksl_Object_oLicense_Alarm_3", 100043},
    {"ksl_Object_oLicense_Mouse_60", 100044},    {"ksl_Object_oLicense_Mouse_61", 100045},
    {"ksl_Object_oLicense_Mouse_56", 100046},    {"ksl_Object_oLicense_Draw_0", 100047},
    {"ksl_Object_oLicense_KeyPress_27", 100048}, {"ksl_Object_oPers_Create_0", 100049},
    {"ksl_Object_oPers_Alarm_1", 100050},        {"ksl_Object_oPers_Alarm_2", 100051},
    {"ksl_Object_oPers_Alarm_3", 100052},        {"ksl_Object_oPers_Mouse_60", 100053},
    {"ksl_Object_oPers_Mouse_61", 100054},       {"ksl_Object_oPers_Mouse_56", 100055},
    {"ksl_Object_oPers_Draw_0", 100056},         {"ksl_Object_oPers_KeyPress_27", 100057},
};

#define SCRIPT_ROW(row, name, kind) \
  { #name, {.kind = name }, &g_functionIds[row] }
#define EVENT_ROW(row, name) \
  { #name, {.event = name }, &g_functionIds[row] }

// Rows 0 to 5 are the scripts; then the events of MenuIcon, oCars, oClose, oCovid,
// oLicense and oPers. The game data binds events to code by row.
CodeTableEntry g_codeTable[] = {
    SCRIPT_ROW(0, ksl_GlobalScript_dateset, globalScript),
    SCRIPT_ROW(1, ksl_Script_dateset, script),
    SCRIPT_ROW(2, ksl_GlobalScript_Init, globalScript),
    SCRIPT_ROW(3, ksl_Script_Init, script),
    SCRIPT_ROW(4, ksl_GlobalScript_Write, globalScript),
    SCRIPT_ROW(5, ksl_Script_Write, script),
    EVENT_ROW(6, ksl_Object_MenuIcon_Create_0),
    EVENT_ROW(7, ksl_Object_MenuIcon_Alarm_0),
    EVENT_ROW(8, ksl_Object_MenuIcon_Mouse_7),
    EVENT_ROW(9, ksl_Object_MenuIcon_Draw_0),
    EVENT_ROW(10, ksl_Object_MenuIcon_PreCreate_0),
    EVENT_ROW(11, ksl_Object_oCars_Create_0),
    EVENT_ROW(12, ksl_Object_oCars_Alarm_1),
    EVENT_ROW(13, ksl_Object_oCars_Alarm_2),
    EVENT_ROW(14, ksl_Object_oCars_Alarm_3),
    EVENT_ROW(15, ksl_Object_oCars_Mouse_60),
    EVENT_ROW(16, ksl_Object_oCars_Mouse_61),
    EVENT_ROW(17, ksl_Object_oCars_Mouse_56),
    EVENT_ROW(18, ksl_Object_oCars_Draw_0),
    EVENT_ROW(19, ksl_Object_oCars_KeyPress_27),
    EVENT_ROW(20, ksl_Object_oClose_Create_0),
    EVENT_ROW(21, ksl_Object_oClose_Alarm_1),
    EVENT_ROW(22, ksl_Object_oClose_Alarm_2),
    EVENT_ROW(23, ksl_Object_oClose_Alarm_3),
    EVENT_ROW(24, ksl_Object_oClose_Alarm_4),
    EVENT_ROW(25, ksl_Object_oClose_Alarm_5),
    EVENT_ROW(26, ksl_Object_oClose_Mouse_60),
    EVENT_ROW(27, ksl_Object_oClose_Mouse_61),
    EVENT_ROW(28, ksl_Object_oClose_Mouse_56),
    EVENT_ROW(29, ksl_Object_oClose_Draw_0),
    EVENT_ROW(30, ksl_Object_oClose_KeyPress_27),
    EVENT_ROW(31, ksl_Object_oCovid_Create_0),
    EVENT_ROW(32, ksl_Object_oCovid_Alarm_1),
    EVENT_ROW(33, ksl_Object_oCovid_Alarm_2),
    EVENT_ROW(34, ksl_Object_oCovid_Alarm_3),
    EVENT_ROW(35, ksl_Object_oCovid_Mouse_60),
    EVENT_ROW(36, ksl_Object_oCovid_Mouse_61),
    EVENT_ROW(37, ksl_Object_oCovid_Mouse_56),
    EVENT_ROW(38, ksl_Object_oCovid_Draw_0),
    EVENT_ROW(39, ksl_Object_oCovid_KeyPress_27),
    EVENT_ROW(40, ksl_Object_oLicense_Create_0),
    EVENT_ROW(41, ksl_Object_oLicense_Alarm_1),
    EVENT_ROW(42, ksl_Object_oLicense_Alarm_2),
    EVENT_ROW(43, ksl_Object_oLicense_Alarm_3),
    EVENT_ROW(44, ksl_Object_oLicense_Mouse_60),
    EVENT_ROW(45, ksl_Object_oLicense_Mouse_61),
    EVENT_ROW(46, ksl_Object_oLicense_Mouse_56),
    EVENT_ROW(47, ksl_Object_oLicense_Draw_0),
    EVENT_ROW(48, ksl_Object_oLicense_KeyPress_27),
    EVENT_ROW(49, ksl_Object_oPers_Create_0),
    EVENT_ROW(50, ksl_Object_oPers_Alarm_1),
    EVENT_ROW(51, ksl_Object_oPers_Alarm_2),
    EVENT_ROW(52, ksl_Object_oPers_Alarm_3),
    EVENT_ROW(53, ksl_Object_oPers_Mouse_60),
    EVENT_ROW(54, ksl_Object_oPers_Mouse_61),
    EVENT_ROW(55, ksl_Object_oPers_Mouse_56),
    EVENT_ROW(56, ksl_Object_oPers_Draw_0),
    EVENT_ROW(57, ksl_Object_oPers_KeyPress_27),
};
#undef SCRIPT_ROW
#undef EVENT_ROW

constexpr uint32_t kEmbeddedGameDataSize = 166508;
constexpr uint32_t kNameTableSize = 47;

LinkRecord g_linkRecord{nullptr,
                        kEmbeddedGameDataSize,
                        kNameTableSize,
                        kNameTableSize,
                        uint32_t(sizeof(g_codeTable) / sizeof(g_codeTable[0])),
                        g_variableRefs,
                        g_functionRefs,
                        g_codeTable,
                        &g_frameChainHead};

std::vector<StringConstant*>& StringConstants() {
  static std::vector<StringConstant*> constants;
  return constants;
}
}  // namespace

LinkRecord* KalvoraLinkRecord() { return &g_linkRecord; }

StringConstant::StringConstant(const char* text) : text_(text) { StringConstants().push_back(this); }

void CreateStringConstants() {
  for (StringConstant* constant : StringConstants()) SetStringConst(constant->value_, constant->text_);
}

void ReleaseStringConstants() {
  for (StringConstant* constant : StringConstants()) ReleaseValue(constant->value_);
}
