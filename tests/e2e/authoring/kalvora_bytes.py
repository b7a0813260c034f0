"""Byte forms of Kalvora's files, written from their definitions, for authoring
end-to-end scenarios: the expected save.ini, save2.ini and exported tables of a
scenario are computed here, never copied from what the program wrote.

Run only while authoring (python3 tests/e2e/authoring/make_scenarios.py); the
tests themselves compare the committed files.

- A date value is (t + 0.5) / 86400 + 25569, t the whole seconds since 1970 UTC
  of a wall-clock time in Europe/Warsaw (the time zone the runner sets).
- The playback clock starts at the script's `clock` line at frame 1 and moves
  1/60 s per frame, whole seconds only: frame f reads start + (f - 1) // 60.
- A list's text form: version 303 and the count as 32-bit little-endian
  integers, then each value as its kind (32-bit) and payload: a string as a
  32-bit byte length and its UTF-8 bytes, a number as an IEEE-754 double,
  undefined as nothing; all bytes in upper-case hexadecimal.
- The INI writer: per section "[name]" CR LF, then per key `key="value"` CR LF.
"""
import struct
from datetime import datetime
from zoneinfo import ZoneInfo

WARSAW = ZoneInfo("Europe/Warsaw")


class _Undefined:
    def __repr__(self):
        return "UNDEFINED"


UNDEFINED = _Undefined()


def epoch(year, month, day, hour=0, minute=0, second=0):
    return int(datetime(year, month, day, hour, minute, second, tzinfo=WARSAW).timestamp())


def date_value(t):
    return (t + 0.5) / 86400 + 25569


def typed_day(year, month, day):
    """A date the user typed: that day at 08:00:00 local time."""
    return date_value(epoch(year, month, day, 8))


def clock_now(clock, frame=1):
    """date_current_datetime at `frame` of a script whose clock line is `clock`
    (year, month, day, hour, minute, second)."""
    return date_value(epoch(*clock) + (frame - 1) // 60)


def _int32(n):
    return struct.pack("<i", n)


def value_bytes(value):
    if value is UNDEFINED:
        return _int32(5)
    if isinstance(value, (str, bytes)):  # bytes: a text that is not UTF-8, as a hand-edited file may hold
        data = value.encode("utf-8") if isinstance(value, str) else value
        return _int32(1) + _int32(len(data)) + data
    return _int32(0) + struct.pack("<d", float(value))


def list_text(values):
    stream = _int32(303) + _int32(len(values)) + b"".join(value_bytes(v) for v in values)
    return stream.hex().upper()


def ini_text(sections):
    """sections: [(name, [(key, value), ...]), ...] in file order."""
    out = b""
    for name, entries in sections:
        out += b"[" + name.encode() + b"]\r\n"
        for key, value in entries:
            out += key.encode() + b'="' + value.encode() + b'"\r\n'
    return out


def register_section(name, lists):
    """A register's section as an editor saves it: keys "1" to "8", list k under key k."""
    assert len(lists) == 8
    return (name, [(str(k + 1), list_text(values)) for k, values in enumerate(lists)])


def horizon_ini(index):
    return ini_text([("Termin", [("1", "%f" % index)])])

