#!/usr/bin/env python3
"""Times a sweep of 16 points of 500 steps of the step benchmark's 100-slot scene three ways, one
after the other in one run: velmora-batch over the points one after the other (one thread each),
python3 -m velmora.sweep --workers 1, and --workers 2:

    PYTHONPATH=build/python /usr/bin/python3 bench/sweep_scaling.py [BUILD_DIR] [STEPS]

Prints the three times, time(2 workers) / time(1 worker), which should be at most 0.55 on two
idle cores, and time(1 worker) / time(velmora-batch) - 1, the overhead of Dask (cluster start-up
included), which should be at most 10%.
"""

import subprocess
import sys
import tempfile
import time
from pathlib import Path

import numpy as np

import velmora
from velmora import sweep

build = Path(sys.argv[1] if len(sys.argv) > 1 else "build")
steps = int(sys.argv[2]) if len(sys.argv) > 2 else 500
batch = build / "tools" / "batch" / "velmora-batch"

with tempfile.TemporaryDirectory() as folder:
    folder = Path(folder)
    base = folder / "base.ato"
    subprocess.run([build / "tools" / "velmora_bench_scene", base], check=True)
    parameters = velmora.Scene.load(base).parameters
    # B1 and B2 each over 4 values within 1% of the scene's own: 16 points.
    sets = {name: f"{velmora.format_exact(value * np.longdouble('0.99'))}:"
                  f"{velmora.format_exact(value * np.longdouble('1.01'))}:4"
            for name, value in (("B1", parameters[0, 1]), ("B2", parameters[1, 1]))}
    documents = []
    for k, point in enumerate(sweep.grid_of(sets, 0)):
        documents.append(folder / f"point{k}.ato")
        sweep.scene_of_point(base.read_bytes(), point).save(documents[-1])

    start = time.perf_counter()
    for document in documents:
        subprocess.run([batch, "--quiet", "--threads", "1", "--steps", str(steps), "--log", "-", "--log-every",
                        str(steps), "--output", folder / "out.ato", document], check=True, stdout=subprocess.DEVNULL)
    times = {"velmora-batch, one after the other": time.perf_counter() - start}
    for workers in (1, 2):
        output = folder / f"sweep{workers}.tsv"
        command = [sys.executable, "-m", "velmora.sweep", base, "--steps", str(steps), "--workers", str(workers),
                   "--output", output] + [f"--set={name}={values}" for name, values in sets.items()]
        start = time.perf_counter()
        subprocess.run(command, check=True, stderr=subprocess.DEVNULL)
        times[f"sweep --workers {workers}"] = time.perf_counter() - start
    for name, seconds in times.items():
        print(f"{name:36} {seconds:8.2f} s")
    values = list(times.values())
    load = Path("/proc/loadavg").read_text().split()[:3]
    print(f"2 workers / 1 worker: {values[2] / values[1]:.3f}; Dask overhead (1 worker / velmora-batch - 1): "
          f"{values[1] / values[0] - 1:+.1%} (load {' '.join(load)})")
