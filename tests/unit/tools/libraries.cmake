# The builder's tests build descriptions with its library, from the fixtures beside them.
set(extra_libraries kalvora_databuild_lib)
target_compile_definitions(${target} PRIVATE
  KALVORA_FONT_DIR="${KALVORA_FONT_DIR}"
  KALVORA_GAMEDATA_FIXTURES="${dir}/fixtures")
