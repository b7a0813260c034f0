set(extra_libraries kalvora_app)
