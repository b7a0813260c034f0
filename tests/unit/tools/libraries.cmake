# The builder's tests build descriptions with its library, from the fixtures beside them.
set(extra_libraries kalvora_databuild_lib)
target_compile_definitions(${target} PRIVATE
  KALVORA_FONT_DIR="${KALVORA_FONT_DIR}"
  KALVORA_GAMEDATA_FIXTURES="${dir}/fixtures")
# The icon builder takes art of any size from one pixel up.
add_test(NAME tools.icon_from_one_pixel_art
         COMMAND kalvora-databuild icon ${dir}/fixtures/tiny.art 0 1 4 ${CMAKE_CURRENT_BINARY_DIR}/icon.png)
