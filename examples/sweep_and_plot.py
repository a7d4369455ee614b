#!/usr/bin/env python3
"""Sweep a parameter on Dask and plot an observable against it.

    python3 examples/sweep_and_plot.py SCENE.ato [PARAMETER] [VALUES] [STEPS] [PICTURE.png]

Runs the scene cooled for STEPS steps (default 500) once for every value of PARAMETER (default
B1, values "2:3:5": five values from 2 to 3) on a local Dask cluster of two workers, takes the
table velmora.sweep.run returns (as velmora.read_sweep reads it), prints the potential energy and
the radius of gyration per value and plots both into PICTURE.png (default sweep.png).
"""

import os
import sys
import tempfile

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt

import velmora
import velmora.sweep


def main():
    scene_file = sys.argv[1]
    name = sys.argv[2] if len(sys.argv) > 2 else "B1"
    values = sys.argv[3] if len(sys.argv) > 3 else "2:3:5"
    steps = int(sys.argv[4]) if len(sys.argv) > 4 else 500
    picture = sys.argv[5] if len(sys.argv) > 5 else "sweep.png"

    with tempfile.TemporaryDirectory() as folder:
        output = os.path.join(folder, "sweep.tsv")
        settings = velmora.sweep.Settings(scene_file, {name: values}, steps, cool=True, workers=2, output=output)
        table = velmora.sweep.run(settings).sort_values(name)

    columns = (table[column].to_numpy() for column in (name, "potential", "gyration"))
    for value, potential, gyration in zip(*columns):
        print(f"{name}={velmora.format_exact(value)}  potential {velmora.format_exact(potential)}"
              f"  gyration {velmora.format_exact(gyration)}")

    figure, left = plt.subplots()
    left.plot(table[name].astype(float), table["potential"].astype(float), "o-", label="potential")
    left.set_xlabel(name)
    left.set_ylabel("potential energy")
    right = left.twinx()
    right.plot(table[name].astype(float), table["gyration"].astype(float), "s--", color="tab:red")
    right.set_ylabel("radius of gyration")
    left.set_title(f"After {steps} cooled steps")
    figure.tight_layout()
    figure.savefig(picture, dpi=100)


if __name__ == "__main__":  # the Dask workers import this file
    main()
