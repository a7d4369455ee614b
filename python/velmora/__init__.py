"""Velmora's core from Python: scenes, runs and their quantities, with the same bits as the
window and velmora-batch.

    import velmora
    scene = velmora.Scene.load("cube.ato")
    scene.run(1000, cool=True)
    scene.save("cooled.ato")

Values are numpy longdouble arrays (the x87 extended format the program computes in).
"""

from velmora._core import (GROUP_SPECIES, MODE_NAMES, PARAMETER_NAMES, QUANTITY_NAMES, Error, FileError,
                           FloatingPointFault, Scene, format_exact, parse_real)
from velmora import _atoms

Scene.to_atoms = _atoms.to_atoms
Scene.from_atoms = staticmethod(_atoms.from_atoms)

__all__ = ["GROUP_SPECIES", "MODE_NAMES", "PARAMETER_NAMES", "QUANTITY_NAMES", "Error", "FileError",
           "FloatingPointFault", "Scene", "format_exact", "parse_real"]
