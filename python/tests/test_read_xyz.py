"""Trajectory files read back as records: the frames asked for, their steps, and what a damaged
file still gives."""

import numpy as np
import pytest

import velmora


@pytest.fixture
def written(scene_file, tmp_path):
    """A recorded run of the test scene and its trajectory file."""
    scene = velmora.Scene.load(scene_file)
    recorded = scene.run(30, cool=True, record=5)
    path = tmp_path / "run.xyz"
    recorded.write_xyz(path)
    return scene, recorded, path


@pytest.mark.parametrize("frames, kept", [(None, slice(None)), (slice(1, None, 2), slice(1, None, 2)),
                                          (slice(None, None, -3), slice(None, None, -3)), (-1, slice(-1, None))])
def test_frames_asked_for_are_the_recorded_ones_as_doubles(written, frames, kept):
    scene, recorded, path = written
    read = velmora.read_xyz(path, frames=frames, scene=scene)
    assert list(read.steps) == list(recorded.steps[kept])
    assert list(read.times) == list(recorded.times[kept])
    present = recorded.present[kept]
    assert np.array_equal(read.present, present)
    for name in ("positions", "velocities"):  # absent slots are at rest at the origin
        assert np.array_equal(getattr(read, name)[present], getattr(recorded, name)[kept][present].astype(np.float64))
        assert not getattr(read, name)[~present].any(), name


def test_damage_warns_with_frame_and_line_and_keeps_the_frames_before(written, tmp_path):
    _, recorded, path = written
    text = path.read_text().splitlines(keepends=True)
    lines_per_frame = len(text) // len(recorded)
    cut = tmp_path / "cut.xyz"
    cut.write_text("".join(text[:3 * lines_per_frame + 5]))
    with pytest.warns(RuntimeWarning, match=rf"cut\.xyz: frame 4, line {3 * lines_per_frame + 1}: the frame announces"):
        read = velmora.read_xyz(cut)
    assert list(read.steps) == [0, 5, 10]


@pytest.mark.parametrize("text, error", [("", "no frame in the file"),
                                         ("3\nx\nH 0 0 0\n", "frame 1, line 1: the frame announces 3 atoms")])
def test_a_file_without_a_whole_frame_is_refused(tmp_path, text, error):
    path = tmp_path / "bad.xyz"
    path.write_text(text)
    with pytest.raises(velmora.Error, match=error):
        velmora.read_xyz(path)


def test_an_int_beyond_the_frames_raises_index_error(written):
    with pytest.raises(IndexError, match="frame 7 of a trajectory of 7 frames"):
        velmora.read_xyz(written[2], frames=7)
