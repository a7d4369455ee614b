"""Velmora's pair law for ASE: a calculator whose forces are the law's accelerations."""

import abc
import collections.abc
import warnings
from typing import Any

import numpy as np
import numpy.typing as npt
from ase.calculators.calculator import CalculationFailed, CalculatorSetupError, all_changes  # type: ignore[import]  # ships no types
from ase.calculators.calculator import Calculator as _Calculator  # type: ignore[import]  # ships no types

from velmora._atoms import from_atoms
from velmora._core import FloatingPointFault, Scene


class UnequalGroupsWarning(UserWarning):
    """The atoms' groups have different parameters: the forces are not the energy's gradient."""


class Calculator(_Calculator, metaclass=abc.ABCMeta):  # type: ignore[misc]  # ASE ships no types
    """Forces and energy from Velmora's pair law, for ASE's optimisers and integrators.

    The force on an atom is the law's acceleration of its slot (the law knows no masses: atoms
    with unit masses, as Scene.to_atoms gives them, move as the program moves them). Atoms go
    into slots as Scene.from_atoms puts them: by arrays["slot"], otherwise atom k in slot k + 1,
    which decides each atom's group and parameters. Forces are handed to ASE as doubles.
    Results are kept until the atoms change (their slots included); atoms with any periodic
    direction raise CalculatorSetupError, since the law has no periodic images. A floating-point
    fault of the law (two atoms at one place, say) raises ASE's CalculationFailed, whose cause is
    the velmora.FloatingPointFault.

    The energy (and free_energy, the same) is the `potential` of Scene.observables(): the sum over
    pairs of the pair energies of both partners, halved; `energies` is each atom's share
    (Scene.particle_energies). The forces are its negative gradient only when the groups of the
    atoms have equal parameters: a pair's partner decides the law, so with unequal groups the two
    partners feel different laws. The calculator then warns once (UnequalGroupsWarning), and only
    force-based optimisers (FIRE) make sense; those that trust the energy (BFGS, line searches)
    may stop where the forces do not vanish or "lower" an energy that rises.

    group_parameters: longdouble array of shape (3, 6), A..G of groups 1..3 (default: those of
    Scene.new()); contact, taoscope: the law's switches as in Scene.run.
    """

    implemented_properties = ["energy", "free_energy", "energies", "forces"]
    default_parameters: dict[str, Any] = {"group_parameters": None, "contact": False, "taoscope": False}

    def __init__(self, **kwargs: Any) -> None:
        super().__init__(**kwargs)
        self._warned = False

    def check_state(self, atoms: Any, tol: float = 1e-15) -> list[str]:
        """ASE's changes, and "slot" when the atoms' slots (and so their groups) changed."""
        changes: list[str] = super().check_state(atoms, tol)
        if self.atoms is not None and not np.array_equal(self.atoms.arrays.get("slot", []), atoms.arrays.get("slot", [])):
            changes.append("slot")
        return changes

    def calculate(self, atoms: Any = None, properties: collections.abc.Sequence[str] = ("forces",),
                  system_changes: collections.abc.Sequence[str] = all_changes) -> None:
        if atoms is not None and atoms.pbc.any():
            raise CalculatorSetupError("velmora.ase.Calculator: the law has no periodic images; the atoms are "
                                       f"periodic along {', '.join(np.array(['x', 'y', 'z'])[atoms.pbc])}")
        super().calculate(atoms, properties, system_changes)
        parameters = self.parameters
        scene = from_atoms(self.atoms, parameters=parameters.group_parameters)
        law = dict(contact=parameters.contact, taoscope=parameters.taoscope)
        slots = np.asarray(self.atoms.arrays.get("slot", np.arange(1, len(self.atoms) + 1))) - 1
        self._warn_of_unequal_groups(scene, slots)
        try:
            forces = scene.accelerations(**law)
            energies = scene.particle_energies(**law)
            energy = scene.observables(**law)["potential"]
        except FloatingPointFault as fault:
            raise CalculationFailed(f"velmora.ase.Calculator: {fault}") from fault
        self.results["forces"] = forces[slots].astype(np.float64)
        self.results["energies"] = energies[slots].astype(np.float64)
        self.results["energy"] = self.results["free_energy"] = float(energy)

    def _warn_of_unequal_groups(self, scene: Scene, slots: npt.NDArray[np.int64]) -> None:
        groups = np.unique(scene.groups[slots]) - 1
        if self._warned or len(groups) < 2:
            return
        rows = scene.parameters[groups]
        if (rows == rows[0]).all():
            return
        self._warned = True
        warnings.warn(f"velmora.ase.Calculator: groups {', '.join(str(g + 1) for g in groups)} of the atoms have "
                      "different parameters, so the forces are not the gradient of the energy; use an optimiser "
                      "that follows the forces only (FIRE)", UnequalGroupsWarning, stacklevel=2)
