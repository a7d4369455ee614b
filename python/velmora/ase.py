"""Velmora's pair law for ASE: a calculator whose forces are the law's accelerations."""

import numpy as np
from ase.calculators.calculator import Calculator as _Calculator
from ase.calculators.calculator import all_changes

from velmora._atoms import from_atoms


class Calculator(_Calculator):
    """Forces and energy from Velmora's pair law, for ASE's optimisers and integrators.

    The force on an atom is the law's acceleration of its slot (the law knows no masses: give the
    atoms unit masses, atoms.set_masses(np.ones(len(atoms))), for the motion the program computes).
    Atoms go into slots as Scene.from_atoms puts them: by arrays["slot"], otherwise atom k in slot
    k + 1, which decides each atom's group and parameters. Forces are handed to ASE as doubles.

    The energy is the `potential` of Scene.observables(): the sum over pairs of the pair energies
    of both partners, halved. With the same parameters in every group the forces are its negative
    gradient; with unequal group parameters they are not (a pair's two partners then feel
    different laws), so an optimiser that trusts the energy may stop where the forces do not vanish.

    group_parameters: longdouble array of shape (3, 6), A..G of groups 1..3 (default: those of
    Scene.new()); contact, taoscope: the law's switches as in Scene.run.
    """

    implemented_properties = ["energy", "forces"]
    default_parameters = {"group_parameters": None, "contact": False, "taoscope": False}

    def calculate(self, atoms=None, properties=("forces",), system_changes=all_changes):
        super().calculate(atoms, properties, system_changes)
        parameters = self.parameters
        scene = from_atoms(self.atoms, parameters=parameters.group_parameters)
        law = dict(contact=parameters.contact, taoscope=parameters.taoscope)
        slots = self.atoms.arrays.get("slot", np.arange(1, len(self.atoms) + 1))
        self.results["forces"] = scene.accelerations(**law)[np.asarray(slots) - 1].astype(np.float64)
        self.results["energy"] = float(scene.observables(**law)["potential"])
