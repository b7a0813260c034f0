"""Writes the starting files (save/) and the expected files (expected/) of the
end-to-end scenarios from kalvora_bytes' definitions of the file formats. The
playback scripts (script.kvi) and the expected dialog lines are written by hand
beside them; this only computes bytes that are tedious to write by hand.

    python3 tests/e2e/authoring/make_scenarios.py
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kalvora_bytes import (UNDEFINED, clock_now, horizon_ini, ini_text, list_text, register_section,
                           typed_day)

E2E = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Every scenario's clock line: Monday 13 May 2024, 09:30:00 in Warsaw (CEST).
CLOCK = (2024, 5, 13, 9, 30, 0)
NOW = clock_now(CLOCK)  # date_current_datetime during the first 60 frames


def write(scenario, relative, data):
    path = os.path.join(E2E, scenario, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def record(ds1, ds2, ds3, ds4):
    return (ds1, ds2, ds3, ds4)


def register(name, records, carried=([], [], [], [])):
    """A register section from its records (text, text, date, date) and the
    carried-along lists ds5 to ds8."""
    columns = [[r[k] for r in records] for k in range(4)]
    return register_section(name, columns + [list(c) for c in carried])


# --- first runs of the three editors other than persons: one default record
# that also fills ds5 to ds8 ("" "" now now), only the editor's own section.
def first_runs():
    for scenario, section in (("first_run_cars", "L2"), ("first_run_sick_leave", "L3"),
                              ("first_run_licences", "L4")):
        default = register(section, [record("", "", NOW, NOW)], ([""], [""], [NOW], [NOW]))
        write(scenario, "expected/save/save.ini", ini_text([default]))


# --- persons editor: texts, both dates through every kind of answer, add, delete.
PERSONS_START = [
    record("P-01", "Jan Kowalski", typed_day(2024, 6, 1), typed_day(2024, 7, 1)),
    record("P-02", "Anna Nowak", typed_day(2024, 8, 1), typed_day(2024, 9, 1)),
]
CARS_OTHER = register("L2", [record("Fiat Panda", "KR 5555", typed_day(2024, 9, 1), typed_day(2024, 10, 1))],
                      (["a"], ["b"], [typed_day(2023, 1, 1)], [typed_day(2023, 1, 1)]))


def persons_editing():
    s = "persons_editing"
    start = register("L1", PERSONS_START, (["stare"], [], [], []))
    write(s, "save/save.ini", ini_text([start, CARS_OTHER]))
    final = register("L1", [
        # upper 31.02.2024 (now; the lower is not today and stays), lower
        # 0/05/2024 ignored, then lower 12/05/2024
        record("Ł-01", "Jan Kowalski", NOW, typed_day(2024, 5, 12)),
        # added; upper 12-5-24 while the lower is still today sets both, then
        # lower 12.05 stores no value
        record("", "", typed_day(2024, 5, 12), UNDEFINED),
        # added; lower 2024.05.12 first, so upper 15/05/2024 sets the upper only
        record("P-04", "Zofia Wójcik", typed_day(2024, 5, 15), typed_day(2024, 5, 12)),
    ], (["stare"], [], [], []))
    write(s, "expected/save/save.ini", ini_text([final, CARS_OTHER]))


def persons_escape_discards():
    s = "persons_escape_discards"
    start = ini_text([register("L1", PERSONS_START)])
    write(s, "save/save.ini", start)
    write(s, "expected/save/save.ini", start)


# --- cars editor: today offered in date prompts, no follow of the lower date,
# an answer without two separators stores no value, deletes, carried lists kept.
def cars_editing():
    s = "cars_editing"
    carried = ([""], [""], [typed_day(2023, 1, 1)], [typed_day(2023, 1, 1)])
    start = register("L2", [record("Skoda Octavia", "WX 12345", typed_day(2024, 6, 10),
                                   typed_day(2024, 11, 20))], carried)
    write(s, "save/save.ini", ini_text([start]))
    final = register("L2", [record("", "", typed_day(2024, 5, 12), NOW)], carried)
    write(s, "expected/save/save.ini", ini_text([final]))


def editor_scroll_five_records():
    s = "editor_scroll_five_records"
    records = [record("R%d" % i, "Osoba %d" % i, typed_day(2024, 6, 1 + i), typed_day(2024, 7, 1 + i))
               for i in range(5)]
    start = ini_text([register("L1", records)])
    write(s, "save/save.ini", start)
    write(s, "expected/save/save.ini", start)


def horizon():
    for s, written in (("horizon_cycle", 0), ("horizon_write_delay", 4)):
        write(s, "save/save2.ini", horizon_ini(4))
        write(s, "expected/save/save2.ini", horizon_ini(written))


if __name__ == "__main__":
    first_runs()
    persons_editing()
    persons_escape_discards()
    cars_editing()
    editor_scroll_five_records()
    horizon()
