#!/usr/bin/env python3
"""A trajectory of velmora-batch read back by ASE's extended XYZ reader.

Usage: trajectory_ase_test.py PATH/TO/velmora-batch

The scene is written here byte by byte in the document format, independently of the program,
and every frame is compared with the document the tool writes after the same number of steps:
frame count, step and time, slot numbers, groups and species, positions and velocities (each
the nearest double of the stored extended value, exactly).
"""

import math
import os
import random
import struct
import subprocess
import sys
import tempfile
from fractions import Fraction

import ase.io
import numpy as np

RECORD_SIZE = 6296
DT, PARAMETERS = 0, 10
ARRAYS = {"X": 192, "Y": 1192, "Z": 2192, "V": 3192, "U": 4192, "W": 5192}
PRESENT = 6192
SLOTS = 100
SPECIES = {1: "Cl", 2: "S", 3: "O"}


def extended_bytes(value):
    """The 10 bytes of the x87 extended value equal to a double: significand with its integer
    bit, then sign and exponent biased by 16383, little-endian."""
    if value == 0.0:
        return bytes(8) + struct.pack("<H", 0x8000 if math.copysign(1.0, value) < 0 else 0)
    fraction, exponent = math.frexp(abs(value))  # |value| = fraction 2^exponent, 1/2 <= fraction < 1
    significand = int(fraction * 2**64)  # exact: the fraction has at most 53 bits
    return struct.pack("<QH", significand, (0x8000 if value < 0 else 0) | (exponent - 1 + 16383))


def nearest_double(ten_bytes):
    """The double nearest to a stored extended value (finite values only)."""
    significand, top = struct.unpack("<QH", ten_bytes)
    exponent = top & 0x7FFF
    assert exponent != 0x7FFF, "infinite or NaN value in a document"
    exact = Fraction(significand) * Fraction(2) ** (max(exponent, 1) - 16383 - 63)
    return -float(exact) if top & 0x8000 else float(exact)


def group_of(slot):
    return 1 if slot <= SLOTS - 50 else 2 if slot <= SLOTS - 25 else 3


def write_scene(path, present):
    """Present slots on a lattice wide enough that nothing collides in a few steps; absent slots
    with values of their own, which no frame may show."""
    rng = random.Random(4)
    record = bytearray(RECORD_SIZE)
    record[DT:DT + 10] = extended_bytes(0.001)
    for group in range(3):
        for index, value in enumerate([1.0, 2.718, 5.0, 10.0, 20.0, 30.0]):
            offset = PARAMETERS + 10 * (6 * group + index)
            record[offset:offset + 10] = extended_bytes(value * (1.0 + 0.05 * group))
    for slot in range(1, SLOTS + 1):
        if slot in present:
            k = present.index(slot)
            position = [0.9 * (k % 3) + rng.uniform(-0.05, 0.05),
                        0.9 * (k // 3 % 3) + rng.uniform(-0.05, 0.05),
                        0.9 * (k // 9) + rng.uniform(-0.05, 0.05)]
        else:
            position = [rng.uniform(5.0, 50.0) for _ in range(3)]
        velocity = [rng.uniform(-0.5, 0.5) for _ in range(3)]
        for name, value in zip("XYZVUW", position + velocity):
            offset = ARRAYS[name] + 10 * (slot - 1)
            record[offset:offset + 10] = extended_bytes(value)
        record[PRESENT + slot - 1] = 1 if slot in present else 0
    with open(path, "wb") as file:
        file.write(record)


def document_state(path, present):
    """Positions and velocities of the present slots, as nearest doubles, in slot order."""
    with open(path, "rb") as file:
        record = file.read()
    assert len(record) == RECORD_SIZE

    def column(name):
        return [nearest_double(record[ARRAYS[name] + 10 * (s - 1):][:10]) for s in present]

    return (np.array([column("X"), column("Y"), column("Z")]).T,
            np.array([column("V"), column("U"), column("W")]).T)


def run(tool, *arguments):
    result = subprocess.run([tool, "--quiet", *arguments], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"velmora-batch {' '.join(arguments)} exited with {result.returncode}: {result.stderr}")


def check(condition, message):
    if not condition:
        sys.exit("FAILED: " + message)


def main():
    tool = sys.argv[1]
    present = [1, 2, 17, 50, 51, 60, 75, 76, 77, 90, 99, 100]
    with tempfile.TemporaryDirectory() as folder:
        scene = os.path.join(folder, "scene.ato")
        write_scene(scene, present)
        trajectory = os.path.join(folder, "run.xyz")
        run(tool, "--steps", "6", "--every", "2", "--xyz", trajectory, scene)
        frames = ase.io.read(trajectory, index=":")
        check(len(frames) == 4, f"{len(frames)} frames, expected the start and steps 2, 4, 6")

        for k, atoms in enumerate(frames):
            step = 2 * k
            check(atoms.info["Step"] == step, f"frame {k}: Step={atoms.info['Step']}")
            check(abs(atoms.info["Time"] - step * 0.001) < 1e-15, f"frame {k}: Time={atoms.info['Time']}")
            check(not atoms.pbc.any(), f"frame {k}: periodic")
            check(list(atoms.arrays["slot"]) == present, f"frame {k}: slots {list(atoms.arrays['slot'])}")
            groups = [group_of(s) for s in present]
            check(list(atoms.arrays["group"]) == groups, f"frame {k}: groups")
            check(atoms.get_chemical_symbols() == [SPECIES[g] for g in groups], f"frame {k}: species")

            state = scene
            if step > 0:
                state = os.path.join(folder, f"after{step}.ato")
                run(tool, "--steps", str(step), "--output", state, scene)
            positions, velocities = document_state(state, present)
            check(np.array_equal(atoms.positions, positions), f"frame {k}: positions differ from the document")
            check(np.array_equal(atoms.arrays["velo"], velocities), f"frame {k}: velocities differ from the document")
        check(not np.array_equal(frames[0].positions, frames[-1].positions), "the scene did not move")

        run(tool, "--steps", "6", "--every", "4", "--xyz", trajectory, scene)
        steps = [atoms.info["Step"] for atoms in ase.io.read(trajectory, index=":")]
        check(steps == [0, 4], f"--every 4 over 6 steps gave frames at {steps}")
    print("ok: frames, steps, times, slots, groups, species, positions and velocities")


if __name__ == "__main__":
    main()
