"""Records as files and as sequences of scenes: what the package adds to the compiled Record."""

import os
from collections.abc import Iterator
from typing import Union

import numpy as np

from velmora._core import Record, Scene

_Path = Union[str, "os.PathLike[str]"]


def save(self: Record, path: _Path) -> None:
    """Writes the record as a numpy .npz file (arrays by name, extended values bit for bit), which
    Record.load reads back; the path is taken as numpy.savez takes it (".npz" is added when missing)."""
    np.savez(path, **self._state())


def load(path: _Path) -> Record:
    """The record that Record.save wrote to path."""
    with np.load(path, allow_pickle=False) as arrays:
        return Record._from_state({name: arrays[name] for name in arrays.files})


def frames(self: Record) -> Iterator[Scene]:
    """The scenes of the frames, in order (record.scene(k) for every k)."""
    for k in range(len(self)):
        yield self.scene(k)


def from_record(record: Record, frame: int) -> Scene:
    """The scene of a recorded frame, as record.scene(frame): it runs on, bit for bit, as the
    recorded run went on from that frame."""
    return record.scene(frame)
