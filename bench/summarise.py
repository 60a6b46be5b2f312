"""Prints the medians of a Google Benchmark JSON file and, for every benchmark
measured at several sizes, how the time of the largest size compares with the
smallest (linear growth from 5,000 to 40,000 players is a factor of 8)."""
import json
import sys
from collections import defaultdict

with open(sys.argv[1]) as f:
    results = json.load(f)["benchmarks"]

medians = defaultdict(dict)
for b in results:
    if b.get("aggregate_name") != "median":
        continue
    name, _, arg = b["run_name"].partition("/")
    if arg.split("/")[0].isdigit():
        medians[name][int(arg.split("/")[0])] = (b["real_time"], b["time_unit"])
    else:
        medians[b["run_name"]][0] = (b["real_time"], b["time_unit"])

for name, by_size in medians.items():
    sizes = sorted(by_size)
    for s in sizes:
        t, unit = by_size[s]
        size = f"{s:>7}" if s else " " * 7
        print(f"{name:<34} {size}  median {t:10.2f} {unit}")
    if len(sizes) > 1:
        ratio = by_size[sizes[-1]][0] / by_size[sizes[0]][0]
        print(f"{name:<34} growth {sizes[0]} -> {sizes[-1]}: x{ratio:.2f} "
              f"(linear would be x{sizes[-1] / sizes[0]:.0f})")
