"""The scripts of examples/ run on a small case and print what the module and the tool compute."""

import os
import subprocess
import sys
from pathlib import Path

import numpy as np

import velmora
from conftest import random_scene, run_batch

EXAMPLES = Path(__file__).resolve().parents[2] / "examples"


def run_example(name, *arguments, cwd):
    environment = dict(os.environ, PYTHONPATH=str(Path(velmora.__file__).parents[1]))  # this very package
    result = subprocess.run([sys.executable, EXAMPLES / name, *map(str, arguments)], cwd=cwd, capture_output=True,
                            text=True, env=environment, timeout=600)
    assert result.returncode == 0, result.stderr
    return result.stdout.splitlines()


def batch_log(tmp_path, steps, *flags):
    run_batch("--steps", steps, *flags, "--log", tmp_path / "log.tsv", "--log-every", 10, tmp_path / "scene.ato")
    return velmora.read_log(tmp_path / "log.tsv")


def test_cooling_prints_the_energies_of_the_tools_log_and_plots_them(tmp_path):
    random_scene(11).save(tmp_path / "scene.ato")
    printed = run_example("cool_and_plot.py", tmp_path / "scene.ato", 40, "plot.png", cwd=tmp_path)
    log = batch_log(tmp_path, 40, "--cool")
    f = velmora.format_exact
    assert printed == [f"{n:9} {f(log[n].iloc[0]):>28} -> {f(log[n].iloc[-1])}" for n in ("kinetic", "potential", "total")]
    assert (tmp_path / "plot.png").read_bytes()[:4] == b"\x89PNG"


def test_relaxing_prints_the_start_fire_and_the_tools_cooled_potential(tmp_path):
    random_scene(11).save(tmp_path / "scene.ato")
    printed = run_example("relax_with_ase.py", tmp_path / "scene.ato", 30, cwd=tmp_path)
    log = batch_log(tmp_path, 30, "--cool")
    labels = [line.split()[0] for line in printed]
    values = [np.longdouble(line.split()[1]) for line in printed]
    assert labels == ["start", "FIRE", "cooled"]
    assert values[0] == log["potential"].iloc[0] and values[2] == log["potential"].iloc[-1]
    assert values[1] < values[0]


def test_sweep_prints_each_points_quantities_as_a_scene_run_gives_them(tmp_path):
    random_scene(11).save(tmp_path / "scene.ato")
    printed = run_example("sweep_and_plot.py", tmp_path / "scene.ato", "B1", "2:3:3", 20, "sweep.png", cwd=tmp_path)
    expected = []
    for value in ("2", "2.5", "3"):
        scene = velmora.Scene.load(tmp_path / "scene.ato")
        parameters = scene.parameters.copy()
        parameters[0, 1] = np.longdouble(value)
        scene.parameters = parameters
        scene.run(20, cool=True)
        q = scene.observables()
        f = velmora.format_exact
        expected.append(f"B1={f(np.longdouble(value))}  potential {f(q['potential'])}  gyration {f(q['gyration'])}")
    assert printed == expected and (tmp_path / "sweep.png").stat().st_size > 1000
