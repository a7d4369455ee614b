#!/usr/bin/env python3
"""Cool a cloud and plot its energies.

    python3 examples/cool_and_plot.py SCENE.ato [STEPS] [PICTURE.png]

Runs the scene with the damping of Cool (0.95 per step), recording every 10th step, prints the
kinetic, potential and total energy at the start and at the end, and plots the three against the
step into PICTURE.png (default cooling.png).
"""

import sys

import matplotlib

matplotlib.use("Agg")  # write a file; no window needed
import matplotlib.pyplot as plt

import velmora

scene_file = sys.argv[1]
steps = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
picture = sys.argv[3] if len(sys.argv) > 3 else "cooling.png"

scene = velmora.Scene.load(scene_file)
record = scene.run(steps, cool=True, record=10)

energies = ("kinetic", "potential", "total")
for name in energies:
    print(f"{name:9} {velmora.format_exact(record[name][0]):>28} -> {velmora.format_exact(record[name][-1])}")

for name in energies:
    plt.plot(record.steps, record[name].astype(float), label=name)
plt.xlabel("step")
plt.ylabel("energy")
plt.legend()
plt.title(f"Cooling with damping 0.95, {steps} steps")
plt.savefig(picture, dpi=100)
