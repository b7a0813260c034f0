"""Writes the starting files (save/) and the expected files (expected/) of the
end-to-end scenarios from kalvora_bytes' definitions of the file formats. The
playback scripts (script.kvi) and the expected dialog lines are written by hand
beside them; this only computes bytes that are tedious to write by hand.

    python3 tests/e2e/authoring/make_scenarios.py
"""
import hashlib
import os
import sys
from datetime import datetime, timedelta

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kalvora_bytes import (UNDEFINED, WARSAW, clock_now, date_value, horizon_ini, ini_text, list_text,
                           register_section, typed_day)

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
        # upper 31.02.2024 and lower 0/05/2024 not understood (kept), then
        # lower 12/05/2024
        record("Ł-01", "Jan Kowalski", typed_day(2024, 6, 1), typed_day(2024, 5, 12)),
        # added; upper 12-5-24 while the lower is still today sets both, then
        # lower 12.05 is not understood (kept)
        record("", "", typed_day(2024, 5, 12), typed_day(2024, 5, 12)),
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
# "-" clears a date, deletes, carried lists kept.
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


# --- where scrolling starts: an editor of three records opens unscrolled, one
# of four scrolled; the view of four rows (of the default 7 days) unscrolled.
def scroll_boundaries():
    s = "scroll_boundaries"
    persons = [record("P-%d" % i, "Osoba %d" % i, typed_day(2024, 5, 14) if i == 0 else typed_day(2024, 9, 1),
                      typed_day(2024, 9, 1)) for i in range(3)]
    cars = [record("Auto %d" % i, "WA %d" % i, typed_day(2024, 5, 15 + i) if i < 3 else typed_day(2024, 12, 1),
                   typed_day(2024, 12, 1)) for i in range(4)]
    start = ini_text([register("L1", persons), register("L2", cars)])
    write(s, "save/save.ini", start)
    write(s, "expected/save/save.ini", start)


def horizon():
    for s, written in (("horizon_cycle", 0), ("horizon_write_delay", 4)):
        write(s, "save/save2.ini", horizon_ini(4))
        write(s, "expected/save/save2.ini", horizon_ini(written))



def table(rows):
    """An exported table: the header, then one line per row, CR LF line ends."""
    lines = ["Identyfikator\tNazwa/Osoba\tTermin Badania\tPrzeglad/Uprawnienia"] + ["\t".join(r) for r in rows]
    return "".join(line + "\r\n" for line in lines)


def empty_keys_1_to_4(name):
    return (name, [(str(k), list_text([])) for k in range(1, 5)])


def lf_file(sections):
    """A hand-written copy of an INI: LF line ends, a comment, no quotes lost."""
    return ("# baza terminów\n" + ini_text(sections).decode("utf-8").replace("\r\n", "\n")).encode("utf-8")


# --- the view with the default horizon (no save2.ini: 7 days, so the horizon
# day is Monday 20 May): boundary, overdue, a record shown once, an edit kept
# until refresh, export before and after, save back.
def view_selection_and_export():
    s = "view_selection_and_export"
    persons = [
        record("P-01", "Jan Kowalski", typed_day(2024, 5, 19), typed_day(2024, 8, 1)),  # day before the horizon
        record("P-02", "Anna Nowak", typed_day(2024, 5, 20), typed_day(2024, 6, 30)),  # on the horizon day
        record("P-03", "Ewa Zięba", typed_day(2024, 6, 15), typed_day(2024, 5, 12)),  # next month / yesterday
        record("P-04", "Piotr Łęcki", typed_day(2024, 1, 10), typed_day(2024, 2, 1)),  # both overdue
    ]
    cars = [
        record("Skoda Octavia", "WX 12345", typed_day(2024, 7, 1), typed_day(2024, 5, 14)),
        record("Fiat Panda", "KR 5555", typed_day(2024, 9, 1), typed_day(2024, 10, 1)),
    ]
    licence = record("Office", "Pro", typed_day(2024, 6, 15), typed_day(2024, 5, 13))
    p_carried = (["k5"], [], [], [typed_day(2023, 1, 1)])
    c_carried = (["a"], ["b"], [typed_day(2023, 1, 1)], [typed_day(2023, 1, 2)])
    l_carried = ([""], [""], [typed_day(2024, 1, 2)], [typed_day(2024, 1, 2)])
    start = [register("L1", persons, p_carried), register("L2", cars, c_carried),
             register("L4", [licence], l_carried)]
    write(s, "save/save.ini", ini_text(start))
    edited_cars = [cars[0][:2] + (typed_day(2024, 7, 2), cars[0][3]), cars[1]]
    edited_licence = licence[:3] + (typed_day(2024, 6, 30),)
    final = [register("L1", persons, p_carried), register("L2", edited_cars, c_carried),
             register("L4", [edited_licence], l_carried), empty_keys_1_to_4("L3")]
    write(s, "expected/save/save.ini", ini_text(final))
    rows = [
        ("Jan Kowalski", "P-01", "19.05.2024", "01.08.2024"),
        ("Ewa Zięba", "P-03", "15.06.2024", "12.05.2024"),
        ("Piotr Łęcki", "P-04", "10.01.2024", "01.02.2024"),
        ("Skoda Octavia", "WX 12345", "02.07.2024", "14.05.2024"),
    ]
    write(s, "expected/work/przed.csv", table(rows + [("Pro", "Office", "15.06.2024", "30.06.2024")]))
    write(s, "expected/work/po.csv", table(rows))


# --- a stored index 4: 93 days, so the horizon day is 14 August.
def view_three_month_horizon():
    s = "view_three_month_horizon"
    sick = [record("Maria Lis", "grypa", typed_day(2024, 8, 13), typed_day(2024, 12, 1)),
            record("Adam Kot", "angina", typed_day(2024, 8, 14), typed_day(2024, 12, 1))]
    start = ini_text([register("L3", sick)])
    write(s, "save/save.ini", start)
    write(s, "save/save2.ini", horizon_ini(4))
    write(s, "expected/save/save.ini", start)
    write(s, "expected/save/save2.ini", horizon_ini(4))
    write(s, "expected/work/tabela.csv", table([("grypa", "Maria Lis", "01.09.2024", "01.12.2024")]))


# --- a hand-edited horizon of 10: ten days, the horizon day is 23 May.
def view_hand_edited_horizon():
    s = "view_hand_edited_horizon"
    licences = [record("Antywirus", "Pro", typed_day(2024, 5, 22), typed_day(2024, 12, 1)),
                record("Edytor", "Trial", typed_day(2024, 5, 23), typed_day(2024, 12, 1))]
    start = ini_text([register("L4", licences)])
    write(s, "save/save.ini", start)
    write(s, "save/save2.ini", horizon_ini(10))
    write(s, "expected/save/save.ini", start)
    write(s, "expected/work/tabela.csv", table([("Pro", "Antywirus", "22.05.2024", "01.12.2024")]))


def view_nothing_due():
    s = "view_nothing_due"
    sections = [register("L1", [record("P-01", "Jan Kowalski", typed_day(2024, 9, 1), typed_day(2024, 10, 1))])]
    write(s, "save/save.ini", lf_file(sections))
    write(s, "expected/save/save.ini", ini_text(sections))


# --- reminder mode.
DUE_PERSON = [record("P-01", "Jan Kowalski", typed_day(2024, 5, 12), typed_day(2024, 9, 1))]


def reminder():
    not_due = [register("L1", [record("P-01", "Jan Kowalski", typed_day(2024, 9, 1), typed_day(2024, 10, 1))])]
    write("reminder_nothing_due", "save/save.ini", lf_file(not_due))
    write("reminder_nothing_due", "expected/save/save.ini", lf_file(not_due))

    due = [register("L1", DUE_PERSON, (["x"], [], [], []))]
    s = "reminder_due_saves_and_exits"
    write(s, "save/save.ini", lf_file(due))
    write(s, "expected/save/save.ini", ini_text(due + [empty_keys_1_to_4("L2"), empty_keys_1_to_4("L3"),
                                                      empty_keys_1_to_4("L4")]))
    for s in ("reminder_after_other_parameter", "reminder_lowercase_min"):
        write(s, "save/save.ini", lf_file(due))
        write(s, "expected/save/save.ini", lf_file(due))

    # one Kalvora per save area: the reminder's date edit, then a person added by
    # a later start; on a save area of its own, the person alone.
    s = "one_instance_per_save_area"
    added = record("P-02", "", NOW, NOW)
    corrected = DUE_PERSON[0][:2] + (typed_day(2024, 6, 1), DUE_PERSON[0][3])
    write(s, "save/save.ini", lf_file(due))
    write(s, "expected/save.ini", ini_text([register("L1", [corrected, added], (["x"], [], [], []))] +
                                           [empty_keys_1_to_4(name) for name in ("L2", "L3", "L4")]))
    write(s, "expected/save.ini-alone", ini_text([register("L1", DUE_PERSON + [added], (["x"], [], [], []))]))


# --- back up, then restore: save.ini becomes a byte copy of the chosen file
# (a hand-written one, so that a rewrite could not pass for a copy).
def backup_restore():
    original = lf_file([register("L1", [record("P-01", "Jan Kowalski", typed_day(2024, 9, 1),
                                                   typed_day(2024, 10, 1))])])
    def edited_to(identifier):
        return ini_text([register("L1", [record(identifier, "Jan Kowalski", typed_day(2024, 9, 1),
                                                typed_day(2024, 10, 1))])])
    edited = edited_to("P-99")
    write("backup_and_restore", "save/save.ini", original)
    write("backup_and_restore", "expected/work/kopia.vtab", original)
    write("backup_and_restore", "expected/save/save.ini", original)
    # each restore keeps the database it replaces, under the next free name
    write("backup_and_restore", "expected/save/save.ini.przed-przywroceniem.vtab", edited)
    write("backup_and_restore", "expected/save/save.ini.przed-przywroceniem-2.vtab", edited_to("P-77"))
    write("restore_declined", "save/save.ini", original)
    write("restore_declined", "expected/work/kopia.vtab", original)
    write("restore_declined", "expected/save/save.ini", edited)
    # files that hold no register are refused; the editor then works on save.ini
    write("restore_refuses_non_database", "save/save.ini", original)
    write("restore_refuses_non_database", "work/arkusz.vtab", table([("Jan Kowalski", "P-01", "01.09.2024", "")]))
    write("restore_refuses_non_database", "work/pusty.vtab", b"")
    write("restore_refuses_non_database", "expected/save/save.ini", edited_to("P-05"))


# --- before any database, a backup says so; names typed with dates in them
# still get their extensions.
def backup_and_export_names():
    s = "backup_and_export_names"
    database = ini_text([register("L1", [record("", "", NOW, NOW)])])
    write(s, "expected/save/save.ini", database)
    write(s, "expected/work/kopia 13.05.2024.vtab", database)
    write(s, "expected/work/raport 13.05.2024.csv", table([("", "", "13.05.2024", "13.05.2024")]))


# --- a save.ini edited by hand: byte-order mark, LF line ends, comments,
# lower-case hexadecimal, an unquoted value, spaces around "=", short lists.
def hand_edited_database():
    s = "hand_edited_database"
    ids = list_text(["P-01", "P-02"]).lower()
    names = list_text(["Jan Kowalski", "Ewa Zięba"]).lower()
    first = list_text([typed_day(2024, 6, 1), typed_day(2024, 6, 2)]).lower()
    second = list_text([typed_day(2024, 7, 1)]).lower()  # one date for two records
    car = list_text(["Fiat Panda"]).lower()
    car_first = list_text([typed_day(2024, 5, 12)]).lower()
    text = ("\ufeff; Kalvora: baza poprawiana ręcznie\n"
            "# osoby\n"
            "[L1]\n"
            '1 = "%s"\n'
            "2=%s\n"
            '3="%s" ; dwie daty badań\n'
            '4="%s"\n'
            "[L2]\n"
            "; tylko samochód i data badania\n"
            '1="%s"\n'
            '3="%s"\n') % (ids, names, first, second, car, car_first)
    write(s, "save/save.ini", text.encode("utf-8"))
    persons = register("L1", [record("P-01", "Jan Kowalski", typed_day(2024, 6, 1), typed_day(2024, 7, 1)),
                              record("P-02a", "Ewa Zięba", typed_day(2024, 6, 2), typed_day(2024, 6, 1))])
    # L2 keeps its keys in file order; the view's save back adds the missing
    # keys 2 and 4 after them
    cars = ("L2", [("1", list_text(["Fiat Panda"])), ("3", list_text([typed_day(2024, 5, 12)])),
                   ("2", list_text([])), ("4", list_text([typed_day(2024, 6, 20)]))])
    write(s, "expected/save/save.ini",
          ini_text([persons, cars, empty_keys_1_to_4("L3"), empty_keys_1_to_4("L4")]))
    write(s, "expected/work/tabela.csv", table([("Fiat Panda", "", "12.05.2024", "20.06.2024")]))


# --- the licences editor: "+" acts only under the last record; a second "X"
# within five frames moves the pending delete to the newer record; a date prompt
# confirmed as offered (today) stores today at 08:00.
def licences_pending_delete():
    s = "licences_pending_delete"
    licences = [record("A", "Pro", typed_day(2024, 6, 1), typed_day(2024, 7, 1)),
                record("B", "Trial", typed_day(2024, 6, 2), typed_day(2024, 7, 2)),
                record("C", "Pro", typed_day(2024, 6, 3), typed_day(2024, 7, 3))]
    carried = ([""], [""], [typed_day(2024, 1, 2)], [typed_day(2024, 1, 2)])
    write(s, "save/save.ini", ini_text([register("L4", licences, carried)]))
    final = [record("A", "Pro", typed_day(2024, 5, 13), typed_day(2024, 5, 12)), licences[2]]
    write(s, "expected/save/save.ini", ini_text([register("L4", final, carried)]))


# --- the view's only row edited beyond the horizon and refreshed away: the
# footer stays where it was, and its save button still saves.
def view_refresh_to_empty():
    s = "view_refresh_to_empty"
    write(s, "save/save.ini", ini_text([register("L1", DUE_PERSON)]))
    final = [record("P-01", "Jan Kowalski", typed_day(2024, 8, 1), typed_day(2024, 9, 1))]
    write(s, "expected/save/save.ini", ini_text([register("L1", final), empty_keys_1_to_4("L2"),
                                                 empty_keys_1_to_4("L3"), empty_keys_1_to_4("L4")]))


# --- a week that crosses the change to summer time (31 March 2024): from
# Thursday 28 March the horizon day is Thursday 4 April.
def view_across_daylight_saving():
    s = "view_across_daylight_saving"
    cars = [record("Audi A4", "WE 1111", typed_day(2024, 4, 3), typed_day(2024, 9, 1)),
            record("BMW 320", "WE 2222", typed_day(2024, 4, 4), typed_day(2024, 9, 1)),
            record("Opel Astra", "WE 3333", typed_day(2024, 3, 31), typed_day(2024, 9, 1))]
    start = ini_text([register("L2", cars)])
    write(s, "save/save.ini", start)
    write(s, "expected/save/save.ini", start)
    write(s, "expected/work/tabela.csv", table([("Audi A4", "WE 1111", "03.04.2024", "01.09.2024"),
                                                ("Opel Astra", "WE 3333", "31.03.2024", "01.09.2024")]))


# --- the qualifications date follows the examination date only while it falls
# on today: a default record made at 23:59:57 is yesterday's after midnight.
def persons_after_midnight():
    s = "persons_after_midnight"
    made = clock_now((2024, 5, 13, 23, 59, 57), frame=4)
    final = register("L1", [record("", "", typed_day(2024, 5, 20), made)])
    write(s, "expected/save/save.ini", ini_text([final]))


# --- typed dates that do not give a calendar date leave every date as it was;
# 12.05.1999 is 1999; "-" clears the view's licences row's second date.
def typed_dates_kept():
    s = "typed_dates_kept"
    carried = ([""], [""], [typed_day(2024, 1, 2)], [typed_day(2024, 1, 2)])
    starts = [("L1", record("P-01", "Jan Kowalski", typed_day(2024, 5, 15), typed_day(2024, 7, 1)), ([], [], [], [])),
              ("L2", record("Fiat Panda", "KR 5555", typed_day(2024, 5, 16), typed_day(2024, 9, 1)), carried),
              ("L3", record("Maria Lis", "grypa", typed_day(2024, 5, 17), typed_day(2024, 12, 1)), carried),
              ("L4", record("Office", "Pro", typed_day(2024, 5, 18), typed_day(2024, 6, 1)), carried)]
    write(s, "save/save.ini", ini_text([register(name, [r], c) for name, r, c in starts]))
    year_1999 = typed_day(1999, 5, 12)
    second = {"L1": typed_day(2024, 7, 1), "L2": year_1999, "L3": typed_day(2024, 12, 1), "L4": UNDEFINED}
    final = [register(name, [r[:2] + (year_1999, second[name])], c) for name, r, c in starts]
    write(s, "expected/save/save.ini", ini_text(final))



# --- dates offered day first whatever the locale: every confirmed date keeps
# its day; the car's second date becomes today at 08:00 (offered today).
def offered_dates():
    s = "offered_dates_month_first"
    persons = register("L1", [record("P-01", "Jan Kowalski", typed_day(2026, 12, 10), typed_day(2024, 1, 5)),
                              record("P-02", "Anna Nowak", typed_day(2024, 5, 13), typed_day(2025, 2, 1))])
    carried = ([""], [""], [typed_day(2024, 1, 2)], [typed_day(2024, 1, 2)])
    car = record("Fiat Panda", "KR 5555", typed_day(2024, 9, 1), typed_day(2024, 10, 1))
    write(s, "save/save.ini", ini_text([persons, register("L2", [car], carried)]))
    cars = register("L2", [car[:3] + (typed_day(2024, 5, 13),)], carried)
    write(s, "expected/save/save.ini", ini_text([persons, cars, empty_keys_1_to_4("L3"), empty_keys_1_to_4("L4")]))



# --- unsaved changes: Escape and closing the window ask only when a screen
# holds changes; the end of a script saves nothing.
def unsaved_changes():
    start = ini_text([register("L1", PERSONS_START)])
    due_car = register("L2", [record("Fiat Panda", "KR 5555", typed_day(2024, 5, 15), typed_day(2024, 10, 1))])
    with_due_car = ini_text([register("L1", PERSONS_START), due_car])
    write("unsaved_escape", "save/save.ini", with_due_car)
    write("unsaved_escape", "expected/save/save.ini", with_due_car)
    due = ini_text([register("L1", DUE_PERSON)])
    write("close_declined_discards", "save/save.ini", due)
    write("close_declined_discards", "expected/save/save.ini", due)
    hand_written = lf_file([register("L1", PERSONS_START)])
    write("close_without_changes", "save/save.ini", hand_written)
    write("close_without_changes", "expected/save/save.ini", hand_written)

    write("close_asks_and_saves", "save/save.ini", start)
    added = clock_now(CLOCK, frame=13)
    edited = [("P-01a",) + PERSONS_START[0][1:], PERSONS_START[1], record("", "", added, added)]
    write("close_asks_and_saves", "expected/save/save.ini", ini_text([register("L1", edited)]))

    carried = ([""], [""], [typed_day(2024, 1, 2)], [typed_day(2024, 1, 2)])
    car = record("Fiat Panda", "KR 5555", typed_day(2024, 9, 1), typed_day(2024, 10, 1))
    write("close_during_prompt", "save/save.ini", ini_text([register("L2", [car], carried)]))
    write("close_during_prompt", "expected/save/save.ini",
          ini_text([register("L2", [car[:2] + (typed_day(2024, 6, 20), car[3])], carried)]))

    s = "reminder_close_asks"
    write(s, "save/save.ini", ini_text([register("L1", DUE_PERSON)]))
    final = [DUE_PERSON[0][:3] + (typed_day(2024, 10, 1),)]
    write(s, "expected/save/save.ini", ini_text([register("L1", final), empty_keys_1_to_4("L2"),
                                                 empty_keys_1_to_4("L3"), empty_keys_1_to_4("L4")]))


# --- the reliability case of a file-size limit: a register of 400 persons, all
# overdue, whose save and whose exported table are both larger than the limit.
def file_size_limit():
    persons = [record("P-%03d" % i, "Pracownik %03d" % i, typed_day(2024, 5, 12), typed_day(2024, 9, 1))
               for i in range(1, 401)]
    write("../reliability/hostile/file_size_limit", "save/save.ini", ini_text([register("L1", persons)]))


# --- the terminal listing (-list-due) against the view's export: all four
# registers, a 31-day horizon (index 2: the horizon day is 13 June), dates
# missing, identical records, Polish and other non-ASCII letters.
def list_due_matches_export():
    s = "list_due_matches_export"
    persons = [record("P-001", "Jan Kowalski", typed_day(2024, 6, 12), typed_day(2024, 9, 1)),
               record("P-002", "Anna Nowak", typed_day(2024, 6, 13), typed_day(2024, 7, 1)),  # on the horizon day
               record("P-003", "Zofia Żółć-Ęą", UNDEFINED, typed_day(2024, 5, 1)),
               record("P-001", "Jan Kowalski", typed_day(2024, 5, 20), UNDEFINED)]
    cars = [record("Škoda Fabia", "WX 1234", typed_day(2024, 12, 1), typed_day(2024, 6, 1)),
            record("Fiat", "KR 1", typed_day(2024, 10, 1), typed_day(2024, 11, 1))]
    sick = [record("Marek Łuk", "grypa", typed_day(2024, 5, 15), UNDEFINED)]
    licences = [record("Office", "Pro", typed_day(2024, 5, 13), typed_day(2025, 1, 1))]
    write(s, "save/save.ini", ini_text([register("L1", persons), register("L2", cars), register("L3", sick),
                                       register("L4", licences)]))
    write(s, "save/save2.ini", horizon_ini(2))
    write(s, "expected/work/terminy.csv", table([
        ("Jan Kowalski", "P-001", "12.06.2024", "01.09.2024"),
        ("Zofia Żółć-Ęą", "P-003", "", "01.05.2024"),
        ("Jan Kowalski", "P-001", "20.05.2024", ""),
        ("Škoda Fabia", "WX 1234", "01.12.2024", "01.06.2024"),
        ("grypa", "Marek Łuk", "15.05.2024", ""),
        ("Pro", "Office", "13.05.2024", "01.01.2025"),
    ]))


# --- the listing keeps a row on one line: a tab, a line break or another
# control character (ESC, C1 CSI) inside a text is a space.
def list_due_texts():
    s = "list_due_texts"
    persons = [record("P-\t1", "Jan\r\nKowalski\x1b[31m", typed_day(2024, 5, 12), UNDEFINED),
               record("P-2", "Ewa\u009b2J Nowak\n", typed_day(2024, 5, 14), UNDEFINED)]
    write(s, "save/save.ini", ini_text([register("L1", persons)]))
    write(s, "expected/listing", "Identyfikator\tNazwa/Osoba\tTermin Badania\tPrzeglad/Uprawnienia\n"
                                 "Jan  Kowalski [31m\tP- 1\t12.05.2024\t\n"
                                 "Ewa 2J Nowak \tP-2\t14.05.2024\t\n")


# --- the calendar file (-export-ics): all four registers with missing dates, a
# date before 1970 (no calendar day), identical records, texts with Polish and
# other non-Latin letters, commas, semicolons, line breaks and a control
# character; a 14-day horizon (index 1). Then the persons editor moves a date
# (its event keeps its UID) and renames a record (its events get new UIDs).
CALENDAR_CATEGORIES = {"L1": "Osoby", "L2": "Auta", "L3": "Chorobowe", "L4": "Licencje"}
CALENDAR_LABELS = {"L1": ("Badania", "Uprawnienia"), "L2": ("Badania", "Przegląd"),
                   "L3": ("Chorobowe", "Termin"), "L4": ("Termin", "Termin")}


def calendar_uid(section, field, first, second, occurrence):
    parts = [p if isinstance(p, bytes) else p.encode() for p in (section, str(field), first, second, str(occurrence))]
    identity = b"".join(b"%d:%s" % (len(part), part) for part in parts)
    return "%s-%s-%d@kalvora" % (hashlib.sha256(identity).hexdigest()[:32], section, field)


def shown_text(text):
    """A text as the calendar shows it: bytes that are not UTF-8 as U+FFFD, a
    control character other than tab and line feed as a space."""
    if isinstance(text, bytes):
        text = text.decode("utf-8", errors="replace")
    return "".join(" " if (ord(c) < 0x20 and c not in "\t\n") or c == "\x7f" else c for c in text)


def calendar_events(sections, alarm_days):
    """The expected events, one line each, as tests/e2e/calendar-events prints
    them: UID, first day, day after, category, alarm in days, its action, then
    the summary and the alarm's description (escaped)."""
    def escaped(text):
        return text.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")

    lines = []
    for section, records in sections:
        seen = {}
        for first, second, *dates in records:
            occurrence = seen.get((first, second), 0)
            seen[(first, second)] = occurrence + 1
            for field, label, date in zip((3, 4), CALENDAR_LABELS[section], dates):
                if date is UNDEFINED or date < date_value(0):
                    continue
                day = datetime.fromtimestamp(int((date - 25569) * 86400), WARSAW).date()
                texts = ", ".join(shown_text(t) for t in (first, second) if t)
                summary = label + ": " + texts if texts else label
                lines.append("\t".join([calendar_uid(section, field, first, second, occurrence),
                                        day.strftime("%Y%m%d"), (day + timedelta(days=1)).strftime("%Y%m%d"),
                                        CALENDAR_CATEGORIES[section], str(-alarm_days), "DISPLAY",
                                        escaped(summary), escaped(summary)]))
    return "".join(line + "\n" for line in lines)


def calendar_export():
    s = "calendar_export"
    persons = [record("P-001", "Jan Kowalski", typed_day(2024, 6, 12), typed_day(2024, 9, 1)),
               record("P-002", "Zażółć, gęślą; jaźń", typed_day(2024, 5, 20), UNDEFINED),
               record("P-001", "Jan Kowalski", UNDEFINED, typed_day(2025, 1, 15)),
               record("", "", typed_day(2024, 7, 1), typed_day(2024, 7, 2))]
    cars = [record("Škoda\nFabia", "WX 1234", typed_day(2024, 12, 1), typed_day(2024, 6, 1)),
            record("Ford; Focus", "KR\\5\x01X", 0.0, typed_day(2024, 10, 1))]
    sick = [record("Марк Łuk", "грипп, 2 дни", typed_day(2024, 5, 15), UNDEFINED)]
    licences = [record("Office", "Pro", typed_day(2024, 5, 13), typed_day(2025, 1, 1)),
                record("Office", "Pro", typed_day(2024, 5, 13), typed_day(2025, 1, 1)),
                record("漢字 licencja", "Trial", UNDEFINED, typed_day(2024, 11, 30)),
                record("Licencja wieloletnia na oprogramowanie księgowe dla całego biura – 25 stanowisk",
                       "wsparcie 24/7; odnawiana co roku, faktura w styczniu", typed_day(2024, 12, 31), UNDEFINED),
                record(b"Plik z Windows: Zak\xb3ad", "Pro", UNDEFINED, typed_day(2024, 8, 1))]
    others = [("L2", cars), ("L3", sick), ("L4", licences)]
    write(s, "save/save.ini", ini_text([register(name, records) for name, records in [("L1", persons)] + others]))
    write(s, "save/save2.ini", horizon_ini(1))
    write(s, "expected/events-before", calendar_events([("L1", persons)] + others, 14))
    edited = [persons[0][:2] + (typed_day(2024, 6, 20), persons[0][3]), ("P-012",) + persons[1][1:]] + persons[2:]
    write(s, "expected/events-after", calendar_events([("L1", edited)] + others, 14))


if __name__ == "__main__":
    first_runs()
    persons_editing()
    persons_escape_discards()
    cars_editing()
    editor_scroll_five_records()
    scroll_boundaries()
    horizon()
    view_selection_and_export()
    view_three_month_horizon()
    view_hand_edited_horizon()
    view_nothing_due()
    reminder()
    backup_restore()
    backup_and_export_names()
    hand_edited_database()
    licences_pending_delete()
    view_refresh_to_empty()
    view_across_daylight_saving()
    persons_after_midnight()
    typed_dates_kept()
    offered_dates()
    unsaved_changes()
    file_size_limit()
    list_due_matches_export()
    list_due_texts()
    calendar_export()
