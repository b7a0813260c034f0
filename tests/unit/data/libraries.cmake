# The data tests read the data.win of the build and the committed fuzzing seeds.
set(extra_libraries kalvora_databuild_lib)
add_dependencies(${target} kalvora_data)
target_compile_definitions(${target} PRIVATE
  KALVORA_DATA_WIN="${CMAKE_BINARY_DIR}/data.win"
  KALVORA_FUZZ_CORPUS="${PROJECT_SOURCE_DIR}/tests/fuzz/corpus")
