"""Copies, pickles, == and recorded frames carry the whole state a step reads (the current arrays
and the working copies that the bounded modes adjust after a step), so that each runs on as the
original does, in every mode."""

import copy
import pickle
import subprocess
import sys

import numpy as np
import pytest

import velmora
from conftest import random_scene
from test_scene import RUNS, value_bytes

MODES = [dict(mode=mode) for mode in velmora.MODE_NAMES] + [dict(mode="current2", blockade=True, cool=True)]
TWINS = {  # how a twin of the scene is made
    "pickle": lambda s: pickle.loads(pickle.dumps(s)),
    "copy": copy.copy,
    "deepcopy": copy.deepcopy,
    "own arrays assigned back": lambda s: assigned_back(copy.copy(s)),
}


def assigned_back(scene):
    scene.positions = scene.positions
    scene.velocities = scene.velocities
    return scene


def runs_on_alike(a, b, settings, steps=20):
    a.run(steps, **settings)
    b.run(steps, **settings)
    return a.to_bytes() == b.to_bytes() and a == b


@pytest.mark.parametrize("twin", TWINS)
@pytest.mark.parametrize("settings", MODES, ids=lambda s: "-".join(map(str, s.values())))
def test_a_twin_runs_on_as_the_original_in_every_mode(settings, twin):
    scene = random_scene(4)
    scene.run(40, **settings)
    other = TWINS[twin](scene)
    assert other == scene and runs_on_alike(other, scene, settings)


@pytest.mark.parametrize("settings", MODES[1:], ids=lambda s: "-".join(map(str, s.values())))
def test_equality_sees_the_working_copies_a_document_leaves_out(settings):
    scene = random_scene(4)
    scene.run(40, **settings)
    reloaded = velmora.Scene.from_bytes(scene.to_bytes())
    reloaded.step_count = scene.step_count
    assert reloaded != scene  # the bounded mode's pending adjustments are not in the document
    assert not runs_on_alike(reloaded, scene, settings)


def test_an_assigned_value_goes_into_every_copy_only_where_it_changes():
    scene = random_scene(4)
    scene.run(40, mode="hot")
    positions = scene.positions.copy()
    positions[0] += np.longdouble("0.25")
    scene.positions = positions
    aligned = velmora.Scene.from_bytes(scene.to_bytes())
    aligned.step_count = scene.step_count
    # Slot 1's copies now agree; the other slots keep their pending adjustments.
    working = [np.frombuffer(s.__getstate__()[2], np.uint8).reshape(6, 100, 10) for s in (scene, aligned)]
    assert np.array_equal(working[0][:3, 0], working[1][:3, 0])
    assert not np.array_equal(working[0][:, 1:], working[1][:, 1:])


def recorded(settings, steps=30, every=10):
    scene = random_scene(6)
    return scene, scene.run(steps, record=every, **settings)


@pytest.mark.parametrize("settings", RUNS + MODES, ids=lambda s: "-".join(f"{k}={v}" for k, v in s.items()))
def test_every_frame_restarts_the_recorded_run_bit_for_bit(settings):
    scene, record = recorded(settings)
    starts = [record.scene(0), record[1], velmora.Scene.from_record(record, -2), *list(record)[3:]]
    for start, step in zip(starts, record.steps):
        assert start.step_count == step
        start.run(30 - int(step), **settings)
        assert start == scene and start.to_bytes() == scene.to_bytes()


def same_record(a, b):
    state, other = a._state(), b._state()
    return state.keys() == other.keys() and all(
        np.asarray(state[k]).dtype == np.asarray(other[k]).dtype and
        np.ascontiguousarray(state[k]).tobytes() == np.ascontiguousarray(other[k]).tobytes() for k in state)


def test_a_record_pickles_slices_and_saves_keeping_every_bit(tmp_path):
    scene, record = recorded(dict(mode="current1", cool=True), steps=40)
    record.save(tmp_path / "run.npz")
    for again in (pickle.loads(pickle.dumps(record)), velmora.Record.load(tmp_path / "run.npz")):
        assert same_record(again, record) and again.scene(-1) == scene
    tail = record[-3:]
    assert list(tail.steps) == [20, 30, 40] and list(record[::2].steps) == [0, 20, 40]
    assert value_bytes(tail.positions).tolist() == value_bytes(record.positions[-3:]).tolist()
    assert tail.scene(2) == scene and len(record[5:]) == 0
    with pytest.raises(IndexError):
        record.scene(5)


def test_a_records_arrays_are_made_once_and_its_table_has_the_time():
    _, record = recorded(dict(mode="free"))
    assert record.positions is record.positions and record["kinetic"] is record.observables["kinetic"]
    assert not record.positions.flags.writeable
    table = record.to_dataframe()
    assert list(table.columns[:3]) == ["step", "time", "kinetic"]
    assert value_bytes(np.asarray(table["time"])).tolist() == value_bytes(record.times).tolist()


@pytest.mark.parametrize("protocol", [0, 1])
@pytest.mark.parametrize("value", [velmora.Scene.new, lambda: velmora.Scene.new().run(1, record=1)])
def test_pickle_protocols_below_2_raise_type_error(value, protocol):
    with pytest.raises(TypeError, match=f"with protocol {protocol}: protocol 2 is the lowest supported"):
        pickle.dumps(value(), protocol=protocol)


def test_the_step_count_never_wraps_from_python():
    scene = random_scene(2)
    scene.step_count = 2**31 - 2
    record = scene.run(3, record=1)
    assert list(record.steps) == [2**31 - 2, 2**31 - 1, 2**31, 2**31 + 1] and (record.times > 0).all()
    assert scene.step_count == 2**31 + 1 and pickle.loads(pickle.dumps(scene)) == scene
    scene.step_count = scene.step_count  # whatever the getter gives, the setter takes
    scene.step_count = 2**63 - 1
    with pytest.raises(OverflowError, match="step_count: 9223372036854775808 does not fit a 64-bit integer"):
        scene.step_count = 2**63


MEMORY_ERROR = """
import resource, sys
import numpy as np
import velmora
scene = velmora.Scene.new()  # no particle: the steps cost little, the frames as much as ever
soft, hard = resource.getrlimit(resource.RLIMIT_AS)
used = int(open("/proc/self/statm").read().split()[0]) * resource.getpagesize()
resource.setrlimit(resource.RLIMIT_AS, (used + 32 * 2**20, hard))
try:
    scene.run(10**7, record=1, threads=1)
except MemoryError as error:
    resource.setrlimit(resource.RLIMIT_AS, (soft, hard))
    steps = error.record.steps
    print(len(steps) > 100, bool((steps == np.arange(len(steps))).all()), 0 <= scene.step_count - steps[-1] <= 1)
"""


def test_running_out_of_memory_keeps_the_frames_recorded_so_far():
    result = subprocess.run([sys.executable, "-c", MEMORY_ERROR], capture_output=True, text=True,
                            timeout=600)
    assert result.stdout.split() == ["True"] * 3, result.stderr
