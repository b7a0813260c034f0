set(extra_libraries kalvora_platform)
