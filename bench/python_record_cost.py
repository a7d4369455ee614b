#!/usr/bin/env python3
"""Times Scene.run(1000) against the same run with record=10 and record=1 on the step
benchmark's 100-slot scene, the three alternating in one process so that all see the same load:

    PYTHONPATH=build/python /usr/bin/python3 bench/python_record_cost.py [BUILD_DIR] [ROUNDS]

Each run starts from the loaded scene; the time is that of run() alone. Prints each round and the
ratio of the medians (recorded / plain) for record=10 and record=1.
"""

import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import velmora

build = Path(sys.argv[1] if len(sys.argv) > 1 else "build")
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 7
steps = 1000
records = (None, 10, 1)

with tempfile.TemporaryDirectory() as folder:
    scene_file = Path(folder) / "scene.ato"
    subprocess.run([build / "tools" / "velmora_bench_scene", scene_file], check=True)
    times = {record: [] for record in records}
    for round_ in range(rounds):
        for record in records:
            scene = velmora.Scene.load(scene_file)
            start = time.perf_counter()
            scene.run(steps, record=record)
            times[record].append(time.perf_counter() - start)
        print(f"round {round_ + 1}: " + ", ".join(f"record={r} {times[r][-1]:.3f} s" for r in records), flush=True)
    plain = statistics.median(times[None])
    load = Path("/proc/loadavg").read_text().split()[:3]
    print(" ".join(f"record={r}: {statistics.median(times[r]) / plain:.3f}" for r in records[1:]) +
          f" of the plain run's median (load {' '.join(load)})")
