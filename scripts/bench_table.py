#!/usr/bin/env python3
"""The table of scripts/bench-compare: reads the JSON files of its runs
(PROGRAM.old.N.json, PROGRAM.new.N.json) from a folder and prints, for each
benchmark, the median over the runs of each side and the ratio new/old.

usage: bench_table.py FOLDER [real|cpu] [REV]
"""

import json
import pathlib
import statistics
import sys

SCALE = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def shown(ns):
    for unit, factor in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= factor:
            return f"{ns / factor:.3g} {unit}"
    return f"{ns:.3g} ns"


def read(folder, kind):
    """{program: {benchmark: {side: [ns per run]}}}, in the order run."""
    table = {}
    for path in sorted(folder.glob("*.json")):
        program, side, _run, _ = path.name.rsplit(".", 3)
        try:
            data = json.loads(path.read_text())
        except (OSError, ValueError) as error:
            print(f"bench_table: {path.name} unreadable: {error}", file=sys.stderr)
            continue
        for b in data.get("benchmarks", []):
            # A run with repetitions gives its aggregates: the median stands
            # for it.
            if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
                continue
            if b.get("error_occurred"):
                continue
            name = b.get("run_name", b["name"])
            ns = float(b[f"{kind}_time"]) * SCALE.get(b.get("time_unit", "ns"), 1.0)
            runs = table.setdefault(program, {}).setdefault(name, {})
            runs.setdefault(side, []).append(ns)
    return table


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    folder = pathlib.Path(sys.argv[1])
    kind = sys.argv[2] if len(sys.argv) > 2 else "real"
    rev = sys.argv[3] if len(sys.argv) > 3 else "old"
    if kind not in ("real", "cpu"):
        print("bench_table: time is real or cpu", file=sys.stderr)
        return 2
    table = read(folder, kind)
    rows = []
    only = []
    for program, benchmarks in table.items():
        for name, sides in benchmarks.items():
            if "old" not in sides or "new" not in sides:
                only.append(f"{program} {name}: only in "
                            + (rev if "old" in sides else "this tree"))
                continue
            old = statistics.median(sides["old"])
            new = statistics.median(sides["new"])
            runs = min(len(sides["old"]), len(sides["new"]))
            rows.append((f"{program} {name}", shown(old), shown(new),
                         f"{new / old:.2f}" if old > 0 else "-", str(runs)))
    head = ("benchmark", f"{rev} median", "new median", "new/old", "runs")
    widths = [max(len(r[i]) for r in rows + [head]) for i in range(len(head))]
    print(f"\n{kind} time, medians of interleaved runs")
    for r in [head] + rows:
        print("  ".join(c.ljust(w) if i == 0 else c.rjust(w)
                        for i, (c, w) in enumerate(zip(r, widths))))
    for line in only:
        print(line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
