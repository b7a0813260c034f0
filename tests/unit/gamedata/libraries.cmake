# The game-data tests write files with the builder's library, read the data.win
# of the build and the fixtures beside them, and the committed fuzzing seeds.
list(APPEND extra_libraries kalvora_databuild_lib)
add_dependencies(${target} kalvora_data)
target_compile_definitions(${target} PRIVATE
  KALVORA_DATA_WIN="${CMAKE_BINARY_DIR}/data.win"
  KALVORA_FONT_DIR="${KALVORA_FONT_DIR}"
  KALVORA_GAMEDATA_FIXTURES="${dir}/fixtures"
  KALVORA_FUZZ_CORPUS="${PROJECT_SOURCE_DIR}/tests/fuzz/corpus")
