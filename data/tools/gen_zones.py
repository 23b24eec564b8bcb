#!/usr/bin/env python3
"""Writes timezones.txt, tz_changes.txt and the expected-times fixture.

Inputs (see data/README.md):
  * CLDR windowsZones.json (npm cldr-core): the Windows zone keys and the IANA
    zone of each (territory 001);
  * CLDR windowsZones.xml (Debian unicode-cldr-core): display names, from the
    comments above each key;
  * IANA tzdata through Python's zoneinfo (Debian tzdata).

For every key the generator finds the zone's UTC offsets from 2000 to 2037,
then picks the fewest records (a first record for timezones.txt, then dated
replacements for tz_changes.txt) that the programs evaluate to the IANA local
time at every moment the accuracy test checks. zone_model.py evaluates the
records exactly as the programs do. Only recurring week-of-month rules and
fixed offsets are written: they go through the platform's conversion, which
handles transitions at any hour of the day.
"""

from __future__ import annotations

import argparse
import bisect
import json
import multiprocessing
import os
import re
import sys
import zoneinfo

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zone_model as zm  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.dirname(HERE)
ROOT = os.path.dirname(DATA)

FIRST_YEAR, LAST_YEAR = 2000, 2037
SCAN_FROM = zm.to_seconds(1999, 6, 1)
SCAN_TO = zm.to_seconds(2038, 6, 1)
SCAN_STEP = 3 * 3600

DEFAULT_CLDR_JSON = "/tmp/npmdata/node_modules/cldr-core/supplemental/windowsZones.json"
DEFAULT_CLDR_XML = "/usr/share/unicode/cldr/common/supplemental/windowsZones.xml"

# Display names whose Debian CLDR comment no longer fits the key's current zone.
DISPLAY_OVERRIDES = {
    "Central Asia Standard Time": "(UTC+06:00) Bishkek",
    "Mountain Standard Time (Mexico)": "(UTC-07:00) La Paz, Mazatlan",
    # UTC+1 all year but for the weeks of Ramadan, which the rules write as standard time.
    "Morocco Standard Time": "(UTC+01:00) Casablanca",
}


def load_keys(json_path):
    d = json.load(open(json_path, encoding="utf-8"))
    keys = []
    for x in d["supplemental"]["windowsZones"]["mapTimezones"]:
        z = x["mapZone"]
        if z["_territory"] == "001":
            keys.append((z["_other"], z["_type"]))
    return keys


def load_comments(xml_path):
    names, cur = {}, None
    for line in open(xml_path, encoding="utf-8"):
        m = re.search(r"<!-- (.*) -->", line)
        if m:
            cur = m.group(1).strip()
            continue
        m = re.search(r'other="([^"]+)" territory="001"', line)
        if m and cur:
            names[m.group(1)] = cur
    return names


def load_ids(path, keys):
    ids = {}
    if os.path.exists(path):
        for line in open(path, encoding="ascii"):
            if line.startswith("#") or not line.strip():
                continue
            num, key = line.rstrip("\n").split("\t")
            ids[key] = int(num)
    nxt = max(ids.values(), default=0) + 1
    for key, _ in keys:
        if key not in ids:
            ids[key] = nxt
            nxt += 1
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("# Numeric zone ids of timezones.txt. Never renumber: clocks and changes refer to them.\n")
        f.write("# New keys get the next free number at the end.\n")
        for key, num in sorted(ids.items(), key=lambda kv: kv[1]):
            f.write(f"{num}\t{key}\n")
    return ids


# ---- IANA offsets ----

def _state(tz, t):
    import datetime as dt
    d = dt.datetime.fromtimestamp(t, tz)
    off = d.utcoffset()
    return (int(off.total_seconds()) // 60, d.dst() != dt.timedelta(0), d.tzname())


def iana_transitions(name):
    """[(utc seconds, offset minutes after)] over the scan window, and the first offset."""
    tz = zoneinfo.ZoneInfo(name)
    out = []
    t = SCAN_FROM
    prev = _state(tz, t)
    first = prev[0]
    while t < SCAN_TO:
        n = t + SCAN_STEP
        s = _state(tz, n)
        if s != prev:
            lo, hi = t, n  # state(lo) == prev, state(hi) != prev
            while hi - lo > 1:
                mid = (lo + hi) // 2
                if _state(tz, mid) == prev:
                    lo = mid
                else:
                    hi = mid
            s2 = _state(tz, hi)
            out.append((hi, s2[0], s2[0] != prev[0]))
            prev = s2
            t = hi
            continue
        t = n
    return first, out


def offset_at(first, trans, t):
    off = first
    for tt, o, _ in trans:
        if tt <= t:
            off = o
        else:
            break
    return off


def build_grid(trans):
    lo, hi = zm.to_seconds(FIRST_YEAR, 1, 1), zm.to_seconds(LAST_YEAR + 1, 1, 1)
    pts = set(range(lo + 12 * 3600, hi, 86400))
    for tt, _, _ in trans:
        if lo <= tt < hi:
            h0 = -(-(tt - 3 * 3600) // 3600) * 3600
            h = h0
            while h <= tt + 3 * 3600:
                pts.add(h)
                h += 3600
    return sorted(pts)


# ---- candidate records ----

def _weeks(day, month, year):
    ws = []
    if day <= 28:
        ws.append((day - 1) // 7 + 1)
    if day + 7 > zm.month_days(month, year):
        ws.append(5)
    return ws


def _recurring_dates(t_wall):
    y, mo, d, h, mi, s, wd = zm.fields(t_wall)
    return [zm.recurring(mo, w, wd, h, mi, s) for w in _weeks(d, mo, y)]


def candidates(first, trans):
    changes = [(t, o) for t, o, changed in trans if changed]
    offs = [first] + [o for _, o in changes]
    recs = []
    seen = set()

    def add(r):
        if r not in seen:
            seen.add(r)
            recs.append(r)

    for i in range(len(changes) - 1):
        (t1, exc), (t2, after) = changes[i], changes[i + 1]
        base = offs[i]
        # A seasonal rule returns to its offset within the year; longer excursions are offset changes.
        if after != base or t2 - t1 > 366 * 86400:
            continue
        d_base = _recurring_dates(t1 + base * 60)
        d_exc = _recurring_dates(t2 + exc * 60)
        for a in d_base:
            for b in d_exc:
                # With both switches in one month, whether daylight time lies
                # between them or around them is the platform's guess (Wine
                # goes by the months, Windows by the dates): leave such years
                # to fixed offsets changed at the exact moments.
                if a.month == b.month:
                    continue
                # Base offset as standard time: daylight from t1 to t2.
                add(zm.Rule(bias=-base, dl_bias=-(exc - base), dl=a, std=b))
                # Excursion as standard time: daylight (the base) ends at t1.
                add(zm.Rule(bias=-exc, dl_bias=-(base - exc), std=a, dl=b))
    for o in dict.fromkeys(offs):
        add(zm.Rule(bias=-o))
    # Prefer the usual form, daylight time ahead of standard time, then fixed offsets.
    return sorted(recs, key=lambda r: 0 if r.dl_bias < 0 else (1 if not r.has_dst() else 2))


def change_points(first, trans):
    changes = [t for t, _, changed in trans if changed]
    pts = set(changes)
    bounds = [SCAN_FROM] + changes + [SCAN_TO]
    for a, b in zip(bounds, bounds[1:]):
        if b - a < 12 * 3600:
            continue
        mid = (a + b) // 2
        best = None
        y0 = zm.fields(a)[0]
        for y in range(y0, zm.fields(b)[0] + 1):
            j = zm.to_seconds(y, 1, 1)
            if a + 86400 <= j <= b - 86400 and (best is None or abs(j - mid) < abs(best - mid)):
                best = j
        if best is None:
            best = mid - mid % 86400
            if best < a + 4 * 3600:
                best = mid - mid % 3600
        pts.add(best)
    return sorted(p for p in pts if p > SCAN_FROM)


class Evaluator:
    def __init__(self, grid, expected):
        self.grid, self.expected = grid, expected
        self.status = {}

    def first_fail(self, rec, gi):
        st = self.status.get(rec)
        if st is None:
            st = self.status[rec] = bytearray(b"\x02" * len(self.grid))
        n = len(self.grid)
        i = gi
        while i < n:
            s = st[i]
            if s == 2:
                s = st[i] = 1 if zm.local_time(rec, self.grid[i]) == self.expected[i] else 0
            if s == 0:
                return i
            i += 1
        return n


def plan(first, trans):
    """[(moment or None, Rule)]: the first record, then the dated replacements."""
    grid = build_grid(trans)
    expected = [t + offset_at(first, trans, t) * 60 for t in grid]
    ev = Evaluator(grid, expected)
    recs = candidates(first, trans)
    nodes = change_points(first, trans)
    node_gi = [bisect.bisect_left(grid, p) for p in nodes]
    n = len(grid)
    # Breadth-first over change points: fewest records first.
    start = -1
    parent = {start: None}
    frontier = [start]
    while frontier:
        done = []
        nxt = []
        for p in frontier:
            gi = 0 if p == start else node_gi[p]
            for r in recs:
                f = ev.first_fail(r, gi)
                if f == n:
                    done.append((p, r))
                    break
                for q in range(p + 1, len(nodes)):
                    if node_gi[q] > f:
                        break
                    if node_gi[q] > gi and q not in parent:
                        parent[q] = (p, r)
                        nxt.append(q)
        if done:
            p, r = done[0]
            path = [(p, r)]
            while p != start:
                pp, rr = parent[p]
                path.append((pp, rr))
                p = pp
            path.reverse()
            return [(None if p == start else nodes[p], r) for p, r in path], grid, expected
        frontier = sorted(set(nxt))
    raise RuntimeError("no plan")


# ---- output ----

def _date_fields(c: zm.TDate):
    return [str(c.year), str(c.month), str(c.day), str(c.dow), str(c.week),
            f"{c.hour}:{c.minute:02d}:{c.second:02d}"]


def record_fields(r: zm.Rule, pristine: zm.Rule | None):
    """Fields 3..19 of a line. A change line must also switch daylight saving off
    when its first record had it: the change format cannot clear a rule, so the
    rule stays and both of its biases become 0."""
    std, dl, std_bias, dl_bias = r.std, r.dl, r.std_bias, r.dl_bias
    if not r.has_dst():
        if pristine is not None and pristine.has_dst():
            std, dl, std_bias, dl_bias = pristine.std, pristine.dl, 0, 0
        else:
            std = dl = zm.NO_DATE
    return [str(r.bias), "", str(std_bias)] + _date_fields(std) + ["", str(dl_bias)] + _date_fields(dl)


def effective(r: zm.Rule, pristine: zm.Rule) -> zm.Rule:
    """The record that a change line written by record_fields yields."""
    if r.has_dst() or not pristine.has_dst():
        return r
    return zm.Rule(bias=r.bias, std=pristine.std, dl=pristine.dl)


def offset_text(minutes):
    sign = "+" if minutes >= 0 else "-"
    m = abs(minutes)
    return f"(UTC{sign}{m // 60:02d}:{m % 60:02d})"


def display_name(key, comment, std_offset):
    if key in DISPLAY_OVERRIDES:
        return DISPLAY_OVERRIDES[key]
    name = comment or f"{offset_text(std_offset)} {key}"
    m = re.match(r"\(UTC([+-]\d\d:\d\d)?\)\s*(.*)", name)
    if m and m.group(1):
        name = f"{offset_text(std_offset)} {m.group(2)}"
    return name


def names(key):
    std = key
    dlt = key.replace("Standard Time", "Daylight Time") if "Standard Time" in key else key
    return std[:31], dlt[:31]


def work(item):
    key, iana = item
    first, trans = iana_transitions(iana)
    steps, _, _ = plan(first, trans)
    return key, iana, first, trans, steps


def check_plan(steps, first, trans):
    """Evaluates the written records (as the loaders will build them) on the grid."""
    grid = build_grid(trans)
    pristine = steps[0][1]
    recs = [(m, effective(r, pristine)) for m, r in steps]
    bad = []
    for t in grid:
        rec = recs[0][1]
        for m, r in recs[1:]:
            if m <= t:
                rec = r
        if zm.local_time(rec, t) != t + offset_at(first, trans, t) * 60:
            bad.append(t)
    return bad, len(grid)


def fmt_moment(t):
    y, mo, d, h, mi, s, _ = zm.fields(t)
    return f"{y:04d}.{mo:02d}.{d:02d} {h:02d}:{mi:02d}:{s:02d}"


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--cldr-json", default=DEFAULT_CLDR_JSON)
    ap.add_argument("--cldr-xml", default=DEFAULT_CLDR_XML)
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    args = ap.parse_args()

    keys = load_keys(args.cldr_json)
    comments = load_comments(args.cldr_xml)
    ids = load_ids(os.path.join(HERE, "zone_ids.tsv"), keys)
    tzversion = open("/usr/share/zoneinfo/tzdata.zi").readline().split()[-1]

    with multiprocessing.Pool(args.jobs) as pool:
        results = pool.map(work, keys)

    zones, changes, fixture, exceptions = [], [], [], []
    total_bad = total = 0
    for key, iana, first, trans, steps in results:
        zid = ids[key]
        pristine = steps[0][1]
        last = steps[-1][1]
        std_off = -last.bias - last.std_bias
        disp = display_name(key, comments.get(key), std_off)
        sname, dname = names(key)
        f = record_fields(pristine, None)
        f[1], f[9] = sname, dname
        zones.append((zid, "\t".join([str(zid), key, disp] + f)))
        for moment, r in steps[1:]:
            f = record_fields(r, pristine)
            changes.append((moment, zid, "\t".join([str(zid), fmt_moment(moment), ""] + f)))
        bad, n = check_plan(steps, first, trans)
        total_bad += len(bad)
        total += n
        for year in sorted({zm.fields(t)[0] for t in bad}):
            exceptions.append(f"{key}\t{year}\tthe records chosen for this year do not give the IANA local time")
        if bad:
            print(f"{key}: {len(bad)} of {n} moments differ", file=sys.stderr)
        t_list = " ".join(f"{t}/{o}" for t, o, _ in trans)
        fixture.append(f"{zid}\t{key}\t{iana}\t{first}\t{t_list}".rstrip())

    zones.sort()
    changes.sort(key=lambda c: (c[0], c[1]))
    moments = [c[0] for c in changes]
    assert moments == sorted(moments), "changes must be in ascending order of their moments"

    header_fields = ("# id\tkey\tdisplay name\tBias\tstandard name\tStandardBias\tyear\tmonth\tday"
                     "\tweekday\tweek\ttime\tdaylight name\tDaylightBias\tyear\tmonth\tday\tweekday\tweek\ttime\n")
    with open(os.path.join(DATA, "timezones.txt"), "w", encoding="ascii", newline="\r\n") as f:
        f.write("# Time zones: one line per Windows zone key, TAB-separated. Generated by data/tools/gen_zones.py\n")
        f.write(f"# from IANA tzdata {tzversion} and the CLDR Windows zone mapping; the rule of each line is the one\n")
        f.write("# in force on 1 January 2000, later rules are in tz_changes.txt. Biases in minutes (UTC = local + Bias).\n")
        f.write(header_fields)
        for _, line in zones:
            f.write(line + "\n")
    with open(os.path.join(DATA, "tz_changes.txt"), "w", encoding="ascii", newline="\r\n") as f:
        f.write("# Dated zone-rule changes, in ascending order of their moments (UTC). Generated by\n")
        f.write(f"# data/tools/gen_zones.py from IANA tzdata {tzversion}. Each line replaces the whole rule of its zone id\n")
        f.write("# from its moment on; empty names keep the zone's own names.\n")
        f.write(header_fields.replace("# id\tkey\tdisplay name", "# id\tmoment (UTC)\tdisplay name"))
        for _, _, line in changes:
            f.write(line + "\n")
    fixture_path = os.path.join(ROOT, "tests", "zonedata", "iana_offsets.txt")
    os.makedirs(os.path.dirname(fixture_path), exist_ok=True)
    with open(fixture_path, "w", encoding="ascii", newline="\n") as f:
        f.write(f"# Expected UTC offsets from IANA tzdata {tzversion}, written by data/tools/gen_zones.py.\n")
        f.write("# id<TAB>key<TAB>IANA zone<TAB>offset (minutes) at 1999-06-01<TAB>transitions as\n")
        f.write("# <UTC seconds since 1970>/<offset in minutes from then on>, blank-separated, 1999-06..2038-06.\n")
        for line in fixture:
            f.write(line + "\n")
    with open(os.path.join(HERE, "zone_exceptions.txt"), "w", encoding="ascii", newline="\n") as f:
        f.write("# Zone keys and UTC years whose local times the shipped files cannot give, with the reason.\n")
        f.write("# Written by data/tools/gen_zones.py; the accuracy test (tests/zonedata) skips exactly these.\n")
        f.write("# key<TAB>year<TAB>reason\n")
        for line in exceptions:
            f.write(line + "\n")
    print(f"{len(zones)} zones, {len(changes)} changes; model check: {total - total_bad} of {total} moments match")


if __name__ == "__main__":
    main()
