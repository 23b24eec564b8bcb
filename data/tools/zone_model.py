"""How the programs turn UTC into a zone's local time, written again in Python.

The generator uses this to choose rules and change moments that the programs
will evaluate correctly. Two paths exist, as in the programs:
  * recurring week-of-month rules (and zones without a rule) go to the
    platform's SystemTimeToTzSpecificLocalTime; the model follows Wine's
    implementation of that call, which is what the tests run on;
  * fixed-date rules (a year in a transition date) use the programs' own
    date-key arithmetic.
Times are whole seconds since 1970-01-01 UTC; offsets and biases are minutes.
"""

from __future__ import annotations

import datetime as _dt
from dataclasses import dataclass

_EPOCH = _dt.datetime(1970, 1, 1)
_MONTH_DAYS = (31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31)


def is_leap(y: int) -> bool:
    return (y % 4 == 0 and y % 100 != 0) or y % 400 == 0


def month_days(m: int, y: int) -> int:
    if m < 1 or m > 12:
        return 0
    return _MONTH_DAYS[m - 1] + (1 if m == 2 and is_leap(y) else 0)


def fields(t: int):
    """(year, month, day, hour, minute, second, weekday with 0 = Sunday)."""
    d = _EPOCH + _dt.timedelta(seconds=t)
    return (d.year, d.month, d.day, d.hour, d.minute, d.second, (d.weekday() + 1) % 7)


def to_seconds(y, mo, d, h=0, mi=0, s=0) -> int:
    return int((_dt.datetime(y, mo, d, h, mi, s) - _EPOCH).total_seconds())


@dataclass(frozen=True)
class TDate:
    """A SYSTEMTIME transition date plus the record's week field."""
    year: int = 0
    month: int = 0
    dow: int = 0
    day: int = 0
    hour: int = 0
    minute: int = 0
    second: int = 0
    week: int = 0


NO_DATE = TDate()


@dataclass(frozen=True)
class Rule:
    bias: int                      # UTC = local standard time + bias
    std_bias: int = 0
    dl_bias: int = 0
    std: TDate = NO_DATE           # end of daylight time, in daylight wall time
    dl: TDate = NO_DATE            # start of daylight time, in standard wall time

    def has_dst(self) -> bool:
        return self.std.month != 0 and self.dl.month != 0


def recurring(month, week, dow, h, mi, s=0) -> TDate:
    return TDate(0, month, dow, 5 if week == -1 else week, h, mi, s, week)


def fixed(y, month, day, dow, h, mi, s=0) -> TDate:
    return TDate(y, month, dow, day, h, mi, s, 0)


# ---- the platform path (Wine's get_timezone_id and its compare_tzdate) ----

def _compare_tzdate(tf, c: TDate) -> int:
    y, mo, d, h, mi, s, wd = tf
    if mo < c.month:
        return -1
    if mo > c.month:
        return 1
    if c.year == 0:
        first = (6 + c.dow - wd + d) % 7 + 1
        last = month_days(mo, y)
        limit = first + 7 * (c.day - 1)
        if limit > last:
            limit -= 7
    else:
        limit = c.day
    limit = ((limit * 24 + c.hour) * 60 + c.minute) * 60
    dayinsecs = ((d * 24 + h) * 60 + mi) * 60 + s
    return dayinsecs - limit


def platform_local(r: Rule, utc: int):
    if r.dl.month == 0:
        return utc - r.bias * 60
    if r.std.month == 0 or (r.std.year == 0 and (not 1 <= r.std.day <= 5 or not 1 <= r.dl.day <= 5)):
        return None
    time = utc - r.bias * 60
    year = fields(time)[0]
    tf = fields(time - r.dl_bias * 60)
    before_std = _compare_tzdate(tf, r.std) < 0 if tf[0] == year else tf[0] < year
    tf = fields(time - r.std_bias * 60)
    after_dl = _compare_tzdate(tf, r.dl) >= 0 if tf[0] == year else tf[0] > year
    if r.dl.month < r.std.month:
        dst = before_std and after_dl
    else:
        dst = before_std or after_dl
    return utc - (r.bias + (r.dl_bias if dst else r.std_bias)) * 60


# ---- the programs' own arithmetic ----

def date_key(y, mo, d, h, mi, s) -> int:
    return (y * 512 + mo * 32 + d - 33) * 100000 + h * 3600 + mi * 60 + s


def _classify(c: TDate) -> int:
    if c.year != 0:
        return 0
    if c.week != 0:
        return 2 if -1 <= c.week <= 5 and 1 <= c.day <= 5 else 0
    return 1 if c.month == 0 else 0


def handled_by_platform(r: Rule) -> bool:
    a, b = _classify(r.std), _classify(r.dl)
    return a == b and a != 0


def nth_weekday(month, year, n, weekday) -> int:
    days = month_days(month, year)
    if n == 0 or weekday > 6 or days == 0:
        return 0
    w1 = fields(to_seconds(year, month, 1))[6]
    first = 1 + (weekday - w1 + 7) % 7
    if n < 5:
        day = first + (n - 1) * 7
        return 0 if day > days else day
    day = first + 42
    while day > days:
        day -= 7
    return day


def _transition_key(year, c: TDate) -> int:
    if _classify(c) != 0:
        y, d = year, nth_weekday(c.month, year, c.day, c.dow)
    else:
        y, d = (year if c.year == 0 else c.year), c.day
    return date_key(y, c.month, d, c.hour, c.minute, c.second)


def dst_state(r: Rule, t: int) -> int:
    if r.std.month == 0 and r.dl.month == 0:
        return 0
    f = fields(t)
    S = _transition_key(f[0], r.std) + r.dl_bias * 60
    D = _transition_key(f[0], r.dl) + r.std_bias * 60
    a = date_key(*f[:6])
    if r.std.year == 0 and r.dl.year == 0:
        if S > D:
            return 1 if D <= a < S else -1
        return 1 if (a < S or a >= D) else -1
    if S > D:
        return 0 if a < D else (1 if a < S else -1)
    if S < D:
        return 0 if a < S else (-1 if a < D else 1)
    return 0


def own_local(r: Rule, utc: int) -> int:
    t = utc - r.bias * 60
    s = dst_state(r, t)
    if s == -1:
        t -= r.std_bias * 60
    elif s == 1:
        t -= r.dl_bias * 60
    return t


def local_time(r: Rule, utc: int):
    """Local time (seconds) that the programs show for a UTC moment."""
    if handled_by_platform(r):
        return platform_local(r, utc)
    return own_local(r, utc)
