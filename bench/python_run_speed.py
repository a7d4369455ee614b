#!/usr/bin/env python3
"""Times Scene.run(1000) of the Python module against velmora-batch --steps 1000 on the step
benchmark's 100-slot scene, alternating the two in one process so that both see the same load:

    PYTHONPATH=build/python /usr/bin/python3 bench/python_run_speed.py [BUILD_DIR] [ROUNDS]

The tool is timed as a whole process (its start-up included, a few milliseconds), the module from
Scene.load to the end of run. Prints each pair and the ratio module / tool of the medians and of
the fastest runs.
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

with tempfile.TemporaryDirectory() as folder:
    scene_file = Path(folder) / "scene.ato"
    subprocess.run([build / "tools" / "velmora_bench_scene", scene_file], check=True)
    command = [build / "tools" / "batch" / "velmora-batch", "--quiet", "--steps", str(steps), scene_file]
    tool, module = [], []
    for round_ in range(rounds):
        start = time.perf_counter()
        subprocess.run(command, check=True)
        tool.append(time.perf_counter() - start)
        start = time.perf_counter()
        velmora.Scene.load(scene_file).run(steps)
        module.append(time.perf_counter() - start)
        print(f"round {round_ + 1}: velmora-batch {tool[-1]:.3f} s, Scene.run {module[-1]:.3f} s", flush=True)
    median = statistics.median(module) / statistics.median(tool)
    fastest = min(module) / min(tool)
    load = Path("/proc/loadavg").read_text().split()[:3]
    print(f"ratio module/tool: median {median:.3f}, fastest {fastest:.3f} (load {' '.join(load)})")
