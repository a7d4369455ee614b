#!/usr/bin/env python3
"""What the study features of the Python module cost on the step benchmark's 100-slot scene:
Scene.run(1000) against the same run with record=10 and record=1, the three alternating in one
process so that all see the same load, then Scene.picture(800, 600) of its 100 particles:

    PYTHONPATH=build/python /usr/bin/python3 bench/python_study_costs.py [BUILD_DIR] [ROUNDS]

Each run starts from the loaded scene; the time is that of run() alone. Prints each round, the
ratio of the medians (recorded / plain) for record=10 and record=1, and the median and fastest
of 20 pictures (the first, which loads Qt, not counted).
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

    scene = velmora.Scene.load(scene_file)
    scene.picture(800, 600)
    pictures = []
    for _ in range(20):
        start = time.perf_counter()
        scene.picture(800, 600)
        pictures.append(time.perf_counter() - start)
    print(f"picture 800x600 of {scene.present.sum()} particles: median {1000 * statistics.median(pictures):.1f} ms, "
          f"fastest {1000 * min(pictures):.1f} ms")
