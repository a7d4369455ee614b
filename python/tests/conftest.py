"""Scenes and the batch tool for the module's tests."""

import os
import subprocess

import numpy as np
import pytest

import velmora

BATCH = os.environ.get("VELMORA_BATCH", "velmora-batch")
SWITCHES = ("blockade", "cool", "contact", "taoscope")


def extended(values):
    """longdouble array of the nearest extended values of decimal texts."""
    return np.array([np.longdouble(str(v)) for v in np.ravel(values)]).reshape(np.shape(values))


def random_scene(seed, spread=2.5, presence=0.6):
    """A cloud within |x|, |y|, |z| <= spread with velocities of up to 1, about `presence` of the
    slots present, and parameters varied per group around a steep law that keeps slots apart."""
    rng = np.random.default_rng(seed)
    scene = velmora.Scene.new()
    scene.dt = np.longdouble("0.001")
    base = np.array([1.0, 2.718, 5.0, 10.0, 20.0, 30.0])
    scene.parameters = extended(np.round(base * (1 + 0.1 * rng.uniform(-1, 1, (3, 1))), 6))
    # Scaled by 1.1 in extended arithmetic, so that the values are not doubles.
    scene.positions = rng.uniform(-spread, spread, (100, 3)).astype(np.longdouble) * np.longdouble("1.1")
    scene.velocities = rng.uniform(-1, 1, (100, 3)).astype(np.longdouble) * np.longdouble("1.1")
    scene.present = rng.random(100) < presence
    return scene


@pytest.fixture
def scene_file(tmp_path):
    path = tmp_path / "scene.ato"
    random_scene(7).save(path)
    return path


def run_batch(*arguments, check=True):
    """velmora-batch with the arguments; the completed process."""
    result = subprocess.run([BATCH, "--quiet", *map(str, arguments)], capture_output=True, text=True)
    if check and result.returncode != 0:
        raise AssertionError(f"velmora-batch {arguments}: {result.stderr}")
    return result


def batch_flags(mode="free", **switches):
    return [f"--{name}" for name in SWITCHES if switches.get(name)] + ["--mode", mode]
