#!/usr/bin/python3
"""Prints the events of an iCalendar file as parsed by python3-icalendar, one
line each, tab-separated: UID, first day and the day after (YYYYMMDD), category,
the alarm's trigger in days, its action, then the summary and the alarm's
description with backslash, line feed and tab escaped as \\\\, \\n and \\t. The
same lines as calendar_events.cpp prints from libical's parse, so that the file
is checked by two independent parsers.

    calendar-events.py FILE.ics
"""
import sys

from icalendar import Calendar


def escaped(text):
    return str(text).replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")


def event_line(event):
    alarms = [c for c in event.subcomponents if c.name == "VALARM"]
    if len(alarms) != 1:
        raise SystemExit("%s: %d alarms" % (event["UID"], len(alarms)))
    alarm = alarms[0]
    trigger = alarm.decoded("TRIGGER")
    if trigger.seconds or trigger.microseconds:
        raise SystemExit("%s: the alarm is not a whole number of days" % event["UID"])
    categories = event["CATEGORIES"].cats
    return "\t".join([str(event["UID"]), event.decoded("DTSTART").strftime("%Y%m%d"),
                      event.decoded("DTEND").strftime("%Y%m%d"), ",".join(categories), str(trigger.days),
                      str(alarm["ACTION"]), escaped(event["SUMMARY"]), escaped(alarm["DESCRIPTION"])])


with open(sys.argv[1], "rb") as f:
    calendar = Calendar.from_ical(f.read())
for event in calendar.walk("VEVENT"):
    print(event_line(event))
