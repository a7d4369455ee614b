"""Recorded runs: the frames of velmora-batch --xyz and the rows of --log, without a bit of
the run changed, and what a run that ends early had recorded."""

import os
import signal
import threading

import numpy as np
import pytest

import velmora
from conftest import batch_flags, run_batch
from test_scene import RUNS, fault_scene, value_bytes


@pytest.mark.parametrize("record, settings", [(1, RUNS[0]), (7, RUNS[1]), (10, RUNS[5]), (40, RUNS[3])])
def test_record_holds_the_batch_tools_trajectory_and_log(scene_file, tmp_path, record, settings):
    flags = batch_flags(**settings)
    run_batch("--steps", 33, *flags, "--xyz", tmp_path / "batch.xyz", "--every", record,
              "--log", tmp_path / "batch.tsv", "--log-every", record, "--output", tmp_path / "batch.ato", scene_file)
    scene = velmora.Scene.load(scene_file)
    recorded = scene.run(33, record=record, **settings)
    recorded.write_xyz(tmp_path / "python.xyz")
    assert (tmp_path / "python.xyz").read_bytes() == (tmp_path / "batch.xyz").read_bytes()
    assert scene.to_bytes() == (tmp_path / "batch.ato").read_bytes()  # recording changed nothing
    log = velmora.read_log(tmp_path / "batch.tsv")
    assert list(recorded.steps) == list(log["step"]) == list(range(0, 34, record))
    for name in velmora.QUANTITY_NAMES:
        assert value_bytes(recorded[name]).tolist() == value_bytes(np.asarray(log[name])).tolist(), name
    frame = recorded.to_dataframe()
    assert value_bytes(np.asarray(frame["kinetic"])).tolist() == value_bytes(recorded.observables["kinetic"]).tolist()


def test_frames_are_the_scene_at_their_steps(scene_file):
    scene = velmora.Scene.load(scene_file)
    seen = []
    recorded = scene.run(12, record=4, every=4,
                         callback=lambda s: seen.append((s.positions, s.velocities, s.present, s.dt)))
    assert recorded.positions.shape == recorded.velocities.shape == (4, 100, 3) and len(recorded) == 4
    for frame, (positions, velocities, present, dt) in enumerate(seen, start=1):
        assert value_bytes(recorded.positions[frame]).tolist() == value_bytes(positions).tolist()
        assert value_bytes(recorded.velocities[frame]).tolist() == value_bytes(velocities).tolist()
        assert (recorded.present[frame] == present).all()
        assert recorded.times[frame] == recorded.steps[frame] * dt


def stop_at_step(limit):
    def callback(scene):
        if scene.step_count >= limit:
            raise RuntimeError("enough")
    return callback


ENDINGS = [  # how the run ends, the exception, the steps recorded by then
    ("fault", velmora.FloatingPointFault, [0, 2]),
    ("callback", RuntimeError, [0, 2, 4, 6]),
]


@pytest.mark.parametrize("ending, error, steps", ENDINGS, ids=[row[0] for row in ENDINGS])
def test_a_run_that_ends_early_keeps_its_record_on_the_exception(scene_file, ending, error, steps):
    scene = fault_scene() if ending == "fault" else velmora.Scene.load(scene_file)
    with pytest.raises(error) as raised:
        scene.run(100, blockade=True, record=2, callback=stop_at_step(6))
    assert list(raised.value.record.steps) == steps
    assert raised.value.record["kinetic"].dtype == np.longdouble


def test_ctrl_c_keeps_the_record_up_to_the_last_whole_step(scene_file):
    scene = velmora.Scene.load(scene_file)
    threading.Timer(0.5, os.kill, (os.getpid(), signal.SIGINT)).start()
    with pytest.raises(KeyboardInterrupt) as raised:
        scene.run(10**7, record=3)
    steps = list(raised.value.record.steps)
    assert steps == list(range(0, 3 * len(steps), 3)) and 0 <= scene.step_count - steps[-1] < 3


def test_record_refuses_a_count_below_one():
    with pytest.raises(ValueError, match="record: expected 1 or more, got 0"):
        velmora.Scene.new().run(5, record=0)
