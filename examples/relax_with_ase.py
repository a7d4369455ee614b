#!/usr/bin/env python3
"""Relax a cloud with ASE's FIRE and compare with a cooled run.

    python3 examples/relax_with_ase.py SCENE.ato [STEPS]

Takes the present slots of the scene to ASE with the law as calculator, lets FIRE lower the
potential energy for at most STEPS steps (default 200), and cools a copy of the scene for the
same number of steps. Prints the potential energy at the start and after each. FIRE follows the
forces only: where the scene's groups have different parameters, the forces are not the gradient
of the energy, and an optimiser that trusts the energy (BFGS) would mislead.
"""

import copy
import sys
import warnings

import numpy as np
from ase.optimize import FIRE

import velmora
import velmora.ase

scene_file = sys.argv[1]
steps = int(sys.argv[2]) if len(sys.argv) > 2 else 200

scene = velmora.Scene.load(scene_file)
start = scene.observables()["potential"]

atoms = scene.to_atoms()
atoms.set_masses(np.ones(len(atoms)))
atoms.calc = velmora.ase.Calculator(group_parameters=scene.parameters)
warnings.simplefilter("ignore", velmora.ase.UnequalGroupsWarning)  # FIRE is the optimiser for that case
FIRE(atoms, logfile=None).run(fmax=1e-3, steps=steps)
relaxed = velmora.Scene.from_atoms(atoms, parameters=scene.parameters, dt=scene.dt)

cooled = copy.copy(scene)
cooled.run(steps, cool=True)

print(f"start    {velmora.format_exact(start)}")
print(f"FIRE     {velmora.format_exact(relaxed.observables()['potential'])}")
print(f"cooled   {velmora.format_exact(cooled.observables()['potential'])}")
