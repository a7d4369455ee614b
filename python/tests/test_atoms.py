"""Scenes as ASE's Atoms, structures from extended XYZ files, and the law as an ASE calculator."""

import resource
import subprocess
import warnings

import ase.io
import numpy as np
import pytest
from ase.calculators.calculator import CalculationFailed, CalculatorSetupError
from ase.md.verlet import VelocityVerlet

import velmora
import velmora.ase
from conftest import BATCH, random_scene, run_batch


def as_doubles(values):
    return values.astype(np.float64).astype(np.longdouble)


def test_atoms_carry_present_slots_by_group_and_survive_ases_extended_xyz(tmp_path):
    scene = random_scene(3)
    atoms = scene.to_atoms()
    present = np.flatnonzero(scene.present) + 1
    assert np.array_equal(atoms.arrays["slot"], present)
    expected_group = np.select([present <= 50, present <= 75], [1, 2], 3)
    assert np.array_equal(atoms.arrays["group"], expected_group)
    assert atoms.get_chemical_symbols() == [{1: "Cl", 2: "S", 3: "O"}[g] for g in expected_group]
    ase.io.write(tmp_path / "a.xyz", atoms, format="extxyz")
    read = ase.io.read(tmp_path / "a.xyz")
    again = velmora.Scene.from_atoms(read, parameters=scene.parameters, dt=scene.dt)
    assert np.array_equal(again.present, scene.present)
    # Every bit the text carries arrives; the text has 8 decimals.
    assert np.array_equal(again.positions[scene.present], read.positions.astype(np.longdouble))
    assert np.array_equal(again.velocities[scene.present], read.arrays["velo"].astype(np.longdouble))
    assert np.abs(again.positions - scene.positions)[scene.present].max() <= 5e-9
    assert np.array_equal(again.parameters, scene.parameters) and again.dt == scene.dt


def test_batch_from_xyz_places_the_last_frame_as_from_atoms_does(scene_file, tmp_path):
    run_batch("--steps", 4, "--every", 2, "--xyz", tmp_path / "t.xyz", "--output", tmp_path / "end.ato", scene_file)
    run_batch("--from-xyz", tmp_path / "t.xyz", "--parameters-from", scene_file, "--output", tmp_path / "a.ato")
    placed = velmora.Scene.load(tmp_path / "a.ato")
    end = velmora.Scene.load(tmp_path / "end.ato")
    assert np.array_equal(placed.present, end.present)
    assert np.array_equal(placed.positions[end.present], as_doubles(end.positions[end.present]))
    assert np.array_equal(placed.velocities[end.present], as_doubles(end.velocities[end.present]))
    assert placed.dt == end.dt and np.array_equal(placed.parameters, end.parameters)
    from_atoms = velmora.Scene.from_atoms(ase.io.read(tmp_path / "t.xyz"), parameters=end.parameters, dt=end.dt)
    assert from_atoms.to_bytes() == (tmp_path / "a.ato").read_bytes()


def test_batch_from_xyz_takes_ases_files_and_new_scene_parameters(tmp_path):
    atoms = ase.Atoms("Cl3", positions=[[0, 0, 0], [1.5, 0, 0], [0, 1.25, 0]])
    ase.io.write(tmp_path / "s.xyz", atoms, format="extxyz")
    run_batch("--from-xyz", tmp_path / "s.xyz", "--output", tmp_path / "s.ato")
    assert (tmp_path / "s.ato").read_bytes() == velmora.Scene.from_atoms(atoms).to_bytes()


@pytest.mark.parametrize("text, message", [
    ("2\n\nCl 0 0 0\n", "t.xyz: line 1: the frame announces 2 atoms, but the file ends before them"),
    ("1\nProperties=species:S:1:pos:R:2\nCl 0 0\n", "t.xyz: line 2: the column 'pos' must be R:3"),
    ("1\n\nCl 0 zero 0\n", "t.xyz: line 3: 'zero' is not a number"),
    ("1\nProperties=species:S:1:pos:R:3:slot:I:1\nCl 0 0 0 101\n", "t.xyz: atom 1: slot 101 is outside 1..100"),
    ("101\n\n" + "Cl 0 0 0\n" * 101, "t.xyz: 101 atoms, but a scene holds at most 100"),
])
def test_batch_from_xyz_refuses_malformed_frames(tmp_path, text, message):
    (tmp_path / "t.xyz").write_text(text)
    result = run_batch("--from-xyz", tmp_path / "t.xyz", "--output", tmp_path / "o.ato", check=False)
    assert result.returncode == 1 and message in result.stderr and not (tmp_path / "o.ato").exists()


def limit_memory():
    """64 MiB of address space: the tool and one frame fit, a 100 MB file does not."""
    resource.setrlimit(resource.RLIMIT_AS, (64 << 20, 64 << 20))


def test_batch_from_xyz_reads_a_long_file_in_the_memory_of_a_frame(tmp_path):
    frame = "2\nProperties=species:S:1:pos:R:3\nCl 0.5 0 0\nS -0.5 0 0\n"
    (tmp_path / "long.xyz").write_text(frame * 1_600_000 + "1\n\nO 0.25 0 0\n")  # 100 MB
    result = subprocess.run([BATCH, "--quiet", "--threads", "1", "--from-xyz", tmp_path / "long.xyz", "--output",
                             tmp_path / "o.ato"], capture_output=True, text=True, preexec_fn=limit_memory)
    assert (result.returncode, result.stderr) == (0, "")
    assert velmora.Scene.load(tmp_path / "o.ato").present.sum() == 1  # the last frame


@pytest.mark.parametrize("array, values, error, message", [
    ("slot", [1, 1], ValueError, "slot 1 is given to two atoms"),
    ("slot", [0, 2], ValueError, "slot 0 is outside"),
    ("slot", [1.5, 2.0], TypeError, "slot: expected an array of integers, got an array of float64"),
    ("velo", [["a"] * 3] * 2, TypeError, "velo: expected an array of numbers, got an array of <U1"),
])
def test_from_atoms_refuses_arrays_that_do_not_fit(array, values, error, message):
    atoms = ase.Atoms("Cl2", positions=[[0, 0, 0], [1, 0, 0]])
    atoms.set_array(array, np.array(values))
    with pytest.raises(error, match=message):
        velmora.Scene.from_atoms(atoms)


def test_calculator_forces_are_the_accelerations_of_a_step():
    # With dt = 1, velocities 0 and no damping, one step leaves each velocity equal to the law's
    # acceleration, bit for bit.
    scene = random_scene(11)
    scene.positions = as_doubles(scene.positions)
    atoms = scene.to_atoms()
    atoms.calc = velmora.ase.Calculator(group_parameters=scene.parameters, taoscope=True)
    forces = atoms.get_forces()
    assert atoms.get_potential_energy() == float(scene.observables(taoscope=True)["potential"])
    scene.velocities = np.zeros((100, 3), np.longdouble)
    scene.dt = np.longdouble(1)
    scene.run(1, taoscope=True)
    assert np.array_equal(forces, scene.velocities[scene.present].astype(np.float64))
    assert np.abs(forces).max() > 0


def test_velocity_verlet_moves_atoms_with_the_law():
    atoms = random_scene(5, presence=0.3).to_atoms()
    assert np.array_equal(atoms.get_masses(), np.ones(len(atoms)))  # the law's forces act on unit masses
    atoms.calc = velmora.ase.Calculator(group_parameters=random_scene(5).parameters)
    start = atoms.positions.copy()
    VelocityVerlet(atoms, timestep=0.001).run(5)
    assert np.isfinite(atoms.positions).all() and not np.array_equal(atoms.positions, start)


def test_calculator_keeps_results_until_the_atoms_or_their_slots_change(monkeypatch):
    atoms = random_scene(6, presence=0.3).to_atoms()
    atoms.calc = velmora.ase.Calculator(group_parameters=random_scene(6).parameters)
    calls = []
    calculate = atoms.calc.calculate
    monkeypatch.setattr(atoms.calc, "calculate", lambda *a, **k: calls.append(1) or calculate(*a, **k))
    forces = atoms.get_forces()
    assert atoms.get_potential_energy() == atoms.get_potential_energy(force_consistent=True)  # free_energy
    assert len(calls) == 1
    atoms.set_array("slot", 101 - atoms.arrays["slot"])  # other groups, other parameters
    assert not np.array_equal(atoms.get_forces(), forces) and len(calls) == 2


@pytest.mark.parametrize("pbc", [(True, False, False), (False, False, True), (True, True, True)])
def test_calculator_refuses_periodic_atoms(pbc):
    atoms = ase.Atoms("Cl2", positions=[[0, 0, 0], [1, 0, 0]], cell=[5, 5, 5], pbc=pbc)
    atoms.calc = velmora.ase.Calculator()
    with pytest.raises(CalculatorSetupError, match="the law has no periodic images"):
        atoms.get_potential_energy()


def test_atoms_move_from_the_scenes_velocities_and_come_back_with_ases():
    scene = random_scene(5, presence=0.3)
    atoms = scene.to_atoms()
    assert np.array_equal(atoms.get_velocities(), scene.velocities[scene.present].astype(np.float64))
    atoms.calc = velmora.ase.Calculator(group_parameters=np.tile(scene.parameters[0], (3, 1)))
    VelocityVerlet(atoms, timestep=0.001).run(3)
    back = velmora.Scene.from_atoms(atoms)  # arrays["velo"] still holds the start's velocities
    assert np.array_equal(back.velocities[scene.present].astype(np.float64), atoms.get_velocities())
    assert not np.array_equal(atoms.get_velocities(), atoms.arrays["velo"])


def pair(distance, slots=(1, 2)):
    atoms = ase.Atoms("Cl2", positions=[[0, 0, 0], [distance, 0, 0]])
    atoms.set_array("slot", np.array(slots))
    return atoms


def test_calculator_gives_each_atoms_energy_and_fails_as_ase_expects():
    atoms = random_scene(8, presence=0.3).to_atoms()
    scene = velmora.Scene.from_atoms(atoms)
    atoms.calc = velmora.ase.Calculator()
    energies = atoms.get_potential_energies()
    assert np.array_equal(energies, scene.particle_energies()[scene.present].astype(np.float64))
    assert energies.sum() == pytest.approx(atoms.get_potential_energy(), rel=1e-12)
    atoms = pair(0.0)
    atoms.calc = velmora.ase.Calculator()
    with pytest.raises(CalculationFailed, match="Floating point division by zero") as raised:
        atoms.get_forces()
    assert isinstance(raised.value.__cause__, velmora.FloatingPointFault)


UNEQUAL = np.tile(velmora.Scene.new().parameters[0], (3, 1))
UNEQUAL[2, 0] *= 2  # group 3's A differs
WARNINGS = [  # the atoms' slots, the group parameters, whether the calculator warns
    ((1, 2), UNEQUAL, False),        # one group: every pair feels the same law
    ((1, 60), UNEQUAL, False),       # groups 1 and 2, whose parameters agree
    ((1, 90), UNEQUAL, True),
    ((1, 90), None, False),          # Scene.new()'s groups are equal
]


@pytest.mark.parametrize("slots, parameters, warns", WARNINGS)
def test_calculator_warns_once_where_the_forces_are_not_the_energys_gradient(slots, parameters, warns):
    atoms = pair(1.5, slots)
    atoms.calc = velmora.ase.Calculator(group_parameters=parameters)
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        for distance in (1.5, 1.6):
            atoms.positions[1, 0] = distance
            atoms.get_forces()
    assert [w.category for w in caught] == [velmora.ase.UnequalGroupsWarning] * warns


@pytest.mark.parametrize("parameters, largest_error", [(None, 1e-6), (UNEQUAL, None)])
def test_forces_are_the_energys_gradient_only_for_equal_groups(parameters, largest_error):
    atoms = pair(1.9, (1, 90))  # forces of about 8 (17 with group 3's A doubled)
    atoms.positions[1] += [0.1, 0.3, -0.2]
    atoms.calc = velmora.ase.Calculator(group_parameters=parameters)
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        error = np.abs(atoms.get_forces() - atoms.calc.calculate_numerical_forces(atoms, d=1e-6)).max()
    assert error < largest_error if largest_error else error > 1
