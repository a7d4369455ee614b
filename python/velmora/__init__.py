"""Velmora's core from Python: scenes, runs and their quantities, with the same bits as the
window and velmora-batch.

    import velmora
    scene = velmora.Scene.load("cube.ato")
    record = scene.run(1000, cool=True, record=10)
    scene.save("cooled.ato")

Values are numpy longdouble arrays (the x87 extended format the program computes in).
"""

from velmora import _early

_early.end_sweep_at_once()  # first: `python3 -m velmora.sweep` runs this import before the sweep

from velmora import _core, _signatures
from velmora._core import (GROUP_SPECIES, MODE_NAMES, PARAMETER_NAMES, QUANTITY_NAMES, Error, FileError,
                           FloatingPointFault, Record, Scene)
from velmora import _atoms, _pictures, _records, _structure, _tables

# The methods written in Python, which the stubs declare with the compiled ones.
Scene.to_atoms = _atoms.to_atoms  # type: ignore[assignment]
Scene.from_atoms = staticmethod(_atoms.from_atoms)  # type: ignore[assignment]
Scene.picture = _pictures.picture  # type: ignore[assignment]
Scene._repr_png_ = _pictures.repr_png  # type: ignore[assignment]
Scene.from_record = staticmethod(_records.from_record)  # type: ignore[assignment]
Record.to_dataframe = _tables.record_frame  # type: ignore[assignment]
Record.save = _records.save  # type: ignore[assignment]
Record.load = staticmethod(_records.load)  # type: ignore[assignment]
Record.__iter__ = _records.frames  # type: ignore[assignment]
Record.structure = _structure.record_structure  # type: ignore[assignment]
for _cls in (Scene, Record):
    _signatures.sign_class(_cls)
format_exact = _signatures.signed(_core.format_exact)
parse_real = _signatures.signed(_core.parse_real)
structure = _signatures.signed(_core.structure)
point_group = _signatures.signed(_core.point_group)
Structure = _core.Structure
read_xyz = _signatures.signed(_core.read_xyz)
read_log = _tables.read_log
read_sweep = _tables.read_sweep

__all__ = ["GROUP_SPECIES", "MODE_NAMES", "PARAMETER_NAMES", "QUANTITY_NAMES", "Error", "FileError",
           "FloatingPointFault", "Record", "Scene", "Structure", "format_exact", "parse_real", "point_group",
           "read_log", "read_sweep", "read_xyz", "structure"]
