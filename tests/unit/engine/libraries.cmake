# The game-data loader's tests write their files with the builder's library.
set(extra_libraries kalvora_databuild_lib)
