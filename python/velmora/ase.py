"""Velmora's pair law for ASE: a calculator whose forces are the law's accelerations."""

import numpy as np
from ase.calculators.calculator import Calculator as _Calculator
from ase.calculators.calculator import CalculatorSetupError, all_changes

from velmora._atoms import from_atoms


class Calculator(_Calculator):
    """Forces and energy from Velmora's pair law, for ASE's optimisers and integrators.

    The force on an atom is the law's acceleration of its slot (the law knows no masses: atoms
    with unit masses, as Scene.to_atoms gives them, move as the program moves them). Atoms go
    into slots as Scene.from_atoms puts them: by arrays["slot"], otherwise atom k in slot k + 1,
    which decides each atom's group and parameters. Forces are handed to ASE as doubles.
    Results are kept until the atoms change (their slots included); atoms with any periodic
    direction raise CalculatorSetupError, since the law has no periodic images.

    The energy (and free_energy, the same) is the `potential` of Scene.observables(): the sum over pairs of the pair energies
    of both partners, halved. With the same parameters in every group the forces are its negative
    gradient; with unequal group parameters they are not (a pair's two partners then feel
    different laws), so an optimiser that trusts the energy may stop where the forces do not vanish.

    group_parameters: longdouble array of shape (3, 6), A..G of groups 1..3 (default: those of
    Scene.new()); contact, taoscope: the law's switches as in Scene.run.
    """

    implemented_properties = ["energy", "free_energy", "forces"]
    default_parameters = {"group_parameters": None, "contact": False, "taoscope": False}

    def check_state(self, atoms, tol=1e-15):
        """ASE's changes, and "slot" when the atoms' slots (and so their groups) changed."""
        changes = super().check_state(atoms, tol)
        if self.atoms is not None and not np.array_equal(self.atoms.arrays.get("slot", []), atoms.arrays.get("slot", [])):
            changes.append("slot")
        return changes

    def calculate(self, atoms=None, properties=("forces",), system_changes=all_changes):
        if atoms is not None and atoms.pbc.any():
            raise CalculatorSetupError("velmora.ase.Calculator: the law has no periodic images; the atoms are "
                                       f"periodic along {', '.join(np.array(['x', 'y', 'z'])[atoms.pbc])}")
        super().calculate(atoms, properties, system_changes)
        parameters = self.parameters
        scene = from_atoms(self.atoms, parameters=parameters.group_parameters)
        law = dict(contact=parameters.contact, taoscope=parameters.taoscope)
        slots = self.atoms.arrays.get("slot", np.arange(1, len(self.atoms) + 1))
        self.results["forces"] = scene.accelerations(**law)[np.asarray(slots) - 1].astype(np.float64)
        self.results["energy"] = self.results["free_energy"] = float(scene.observables(**law)["potential"])
