set(extra_libraries kalvora_calendar)
