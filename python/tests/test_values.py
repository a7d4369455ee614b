"""Scenes as Python values (copies, pickles, ==, repr) and the program's tables read as numbers."""

import copy
import math
import pickle
import re
import subprocess
import sys

import numpy as np
import pytest

import velmora
from conftest import random_scene, run_batch

COPIES = {"copy": copy.copy, "deepcopy": copy.deepcopy, "pickle": lambda s: pickle.loads(pickle.dumps(s))}


@pytest.mark.parametrize("make_copy", COPIES.values(), ids=COPIES.keys())
def test_a_copy_runs_to_the_same_bits_and_is_its_own_scene(make_copy):
    scene = random_scene(3)
    scene.run(7, cool=True)
    twin = make_copy(scene)
    assert twin == scene and twin is not scene and twin.step_count == 7
    for s in (scene, twin):
        s.run(20, cool=True, mode="hot")
    assert twin.to_bytes() == scene.to_bytes() and twin == scene
    twin.dt = np.longdouble("0.5")
    assert twin != scene and scene.dt == np.longdouble("0.001")


def test_scenes_equal_only_with_the_same_bytes_and_step_count():
    scene = random_scene(3)
    later = copy.copy(scene)
    later.step_count = 1
    assert scene != later and scene != scene.to_bytes() and scene == velmora.Scene.from_bytes(scene.to_bytes())
    with pytest.raises(TypeError):
        hash(scene)


def test_repr_says_present_slots_dt_and_step():
    scene = random_scene(3)
    scene.run(5)
    assert repr(scene) == f"<velmora.Scene: {scene.present.sum()} present, dt 0.001, step 5>"


LOG = "step\tkinetic\tpotential\ttotal\tkinetic1\tkinetic2\tkinetic3\tgyration\tclosest\tfastest\n"
SWEEP_ROWS = ("# steps\t40\n# switches\tcool\n"
              "B1\tseed\t" + LOG.split("\t", 1)[1].rstrip("\n") + "\tsteps\tfault\n"
              "2.5\t1\t1\tNAN\tINF\t-INF\t0\t0\t0\t0\t0\t40\t\n"
              "3\t2\t1\t2\t3\t4\t5\t6\t7\t8\t9\t13\tFloating point overflow\n"
              "3.5\t1\t1\t2")  # cut off by an interruption


@pytest.mark.parametrize("pandas", [True, False], ids=["pandas", "numpy"])
def test_sweep_table_reads_non_finite_texts_as_numbers(tmp_path, monkeypatch, pandas):
    if not pandas:
        monkeypatch.setitem(sys.modules, "pandas", None)
    (tmp_path / "sweep.tsv").write_text(SWEEP_ROWS)
    table = velmora.read_sweep(tmp_path / "sweep.tsv")
    assert type(table).__name__ == ("DataFrame" if pandas else "ndarray") and len(table) == 2
    assert np.asarray(table["B1"]).dtype == np.longdouble and list(table["B1"]) == [2.5, 3]
    assert list(table["seed"]) == [1, 2] and list(table["steps"]) == [40, 13]
    assert math.isnan(table["potential"][0]) and table["total"][0] == np.inf and table["kinetic1"][0] == -np.inf
    assert list(table["fault"]) == ["", "Floating point overflow"]
    assert not pandas or table.attrs["settings"] == {"steps": "40", "switches": "cool"}


def test_log_of_an_empty_scene_reads_gyration_nan_and_closest_infinite(tmp_path):
    velmora.Scene.new().save(tmp_path / "empty.ato")
    run_batch("--steps", 2, "--log", tmp_path / "log.tsv", tmp_path / "empty.ato")
    assert "NAN\tINF" in (tmp_path / "log.tsv").read_text()
    log = velmora.read_log(tmp_path / "log.tsv")
    assert list(log["step"]) == [0, 1, 2] and log["gyration"].isna().all() and (log["closest"] == np.inf).all()


BAD_TABLES = [  # reader, text, message
    (velmora.read_log, LOG + "0\t1\t2\t3\t4\t5\t6\t7\t8\tnine\n", "log.tsv:2: column fastest: 'nine' is not a number"),
    (velmora.read_log, LOG + "0\t1\n", "log.tsv:2: 2 cells, the header names 10"),
    (velmora.read_log, "step\tkinetic\n", "not such a table"),
    (velmora.read_sweep, LOG, "not such a table"),
    (velmora.read_log, "", "no header line"),
    # Outside text quoted as the tools quote it: escaped, and at most 200 bytes of it.
    (velmora.read_log, LOG + "0\t1\t2\t3\t4\t5\t6\t7\t8\t\x1b[2J" + "x" * 1000 + "\n",
     re.escape("column fastest: '\\x1B[2J" + "x" * 196 + "'... is not a number")),
    (velmora.read_log, LOG + "0" * (1 << 21), "log.tsv:2: longer than 1048576 bytes"),
]


@pytest.mark.parametrize("reader", ["read_log", "read_sweep"])
def test_a_device_is_no_table(reader):
    # Under a memory limit: a reader that reads without bounds fails with MemoryError, or worse.
    code = (f"import resource, velmora; resource.setrlimit(resource.RLIMIT_AS, (3 << 30, 3 << 30)); "
            f"velmora.{reader}('/dev/zero')")
    result = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, timeout=120)
    assert result.stderr.endswith("ValueError: /dev/zero: not a regular file\n"), result.stderr[-300:]


@pytest.mark.parametrize("reader, text, message", BAD_TABLES)
def test_a_table_that_is_not_one_raises_value_error_naming_the_place(tmp_path, reader, text, message):
    (tmp_path / "log.tsv").write_text(text)
    with pytest.raises(ValueError, match=message):
        reader(tmp_path / "log.tsv")
