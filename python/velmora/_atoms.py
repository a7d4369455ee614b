"""Scenes to and from ASE's Atoms (imported only when used, so that the module works without ASE)."""

from typing import Any, Optional

import numpy as np
import numpy.typing as npt

from velmora._core import GROUP_SPECIES, Scene


def to_atoms(self: Scene) -> Any:
    """The present slots as ase.Atoms, in slot order: species Cl, S, O by group, unit masses (the
    law's accelerations are the forces on unit masses), positions, and the velocities as ASE's
    momenta (so that ASE's dynamics start from them) and as arrays["velo"] (the column of the
    program's trajectories), all as the nearest doubles; arrays["slot"] and arrays["group"];
    info["step"] is the step count. Atoms carry doubles, so an extended value that is not a double
    is rounded."""
    import ase  # type: ignore[import]  # ships no types

    present = self.present
    slots = np.arange(1, self.n + 1)[present]
    group = self.groups[present]
    atoms = ase.Atoms(symbols=[GROUP_SPECIES[g - 1] for g in group],
                      positions=self.positions[present].astype(np.float64), pbc=False)
    velocities = self.velocities[present].astype(np.float64)
    atoms.set_masses(np.ones(len(atoms)))
    atoms.set_momenta(velocities)
    atoms.set_array("velo", velocities)
    atoms.set_array("slot", slots.astype(np.int64))
    atoms.set_array("group", group.astype(np.int64))
    atoms.info["step"] = self.step_count
    return atoms


def from_atoms(atoms: Any, parameters: Optional[npt.NDArray[np.longdouble]] = None,
               dt: Optional[np.longdouble] = None) -> Scene:
    """A scene of the atoms: each in the slot of its arrays["slot"] when there is one, otherwise
    atom k in slot k + 1; velocities from ASE's momenta over the masses when the atoms have momenta
    (what ASE's dynamics move), else from arrays["velo"] (the program's trajectories), else zero. parameters (longdouble, shape (3, 6)) and dt
    (numpy.longdouble) default to those of Scene.new(). Every other slot is empty. More atoms than
    slots, or a slot outside 1..n or given twice, raise ValueError."""
    scene = Scene()
    if parameters is not None:
        scene.parameters = parameters
    if dt is not None:
        scene.dt = dt
    count = len(atoms)
    if atoms.has("momenta"):
        velocities = atoms.get_velocities()
    elif "velo" in atoms.arrays:
        velocities = atoms.arrays["velo"]
    else:
        velocities = np.zeros((count, 3))
    slots = _array(atoms.arrays["slot"], "slot", np.int64) if "slot" in atoms.arrays else None
    scene._place_atoms(_array(atoms.positions, "positions", np.float64).reshape(count, 3),
                       _array(velocities, "velo", np.float64).reshape(count, 3), slots)
    return scene


# The element kinds an array may have to be read as integers or as doubles, and their names.
_KINDS = {np.int64: ("iu", "integers"), np.float64: ("iuf", "numbers")}


def _array(values: Any, name: str, dtype: Any) -> Any:
    """The values as an array of dtype; TypeError naming the array when they are not numbers of
    that kind (a slot of 1.5, a velocity of text)."""
    kinds, what = _KINDS[dtype]
    values = np.asarray(values)
    if values.dtype.kind not in kinds:
        raise TypeError(f"{name}: expected an array of {what}, got an array of {values.dtype}")
    return values.astype(dtype)
