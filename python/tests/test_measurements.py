"""Distances, angles, dihedrals and each particle's potential energy, as the window's selection reads them."""

import numpy as np
import pytest

import velmora
from conftest import random_scene

# Slots 3, 7, 9, 12 at the corners of a hand-worked chain: 3-7 along x (length 3), 7-9 along y
# (length 4), 9-12 along z, so the angle at 7 is 90 degrees and, seen along 7->9, the bond 7->3
# turns anticlockwise onto 9->12: a dihedral of -90 degrees (with 12 below, +90).
CHAIN = {3: (3, 0, 0), 7: (0, 0, 0), 9: (0, 4, 0), 12: (0, 4, 1)}


def chain(z12=1):
    scene = velmora.Scene.new()
    positions = np.zeros((100, 3), dtype=np.longdouble)
    for slot, place in CHAIN.items():
        positions[slot - 1] = place
    positions[11, 2] = z12
    scene.positions = positions
    present = np.zeros(100, dtype=bool)
    present[[slot - 1 for slot in CHAIN]] = True
    scene.present = present
    return scene


@pytest.mark.parametrize(
    "measure, expected",
    [
        (lambda s: s.distance(3, 9), 5),
        (lambda s: s.angle(3, 7, 9), 90),
        (lambda s: s.angle(3, 9, 7), np.degrees(np.arctan2(3, 4))),
        (lambda s: s.dihedral(3, 7, 9, 12), -90),
    ],
)
def test_hand_worked_chain(measure, expected):
    value = measure(chain())
    assert isinstance(value, np.longdouble)
    assert value == pytest.approx(expected, abs=1e-12)


@pytest.mark.parametrize("measure", [
    lambda s: s.angle(3, 7, 7),            # a slot on the vertex
    lambda s: s.dihedral(3, 7, 9, 9),      # a repeated slot
    lambda s: s.dihedral(3, 7, 3, 12),
    lambda s: s.dihedral(3, 7, 1, 12),     # 3, 7 and 1 (at the origin's x axis) on one line
    lambda s: s.dihedral(7, 9, 12, 13),    # 9, 12 and 13 on one line
])
def test_a_degenerate_angle_or_dihedral_is_nan(measure):
    scene = chain()
    positions = scene.positions.copy()
    positions[0] = (7, 0, 0)
    positions[12] = (0, 4, 3)
    scene.positions = positions
    assert np.isnan(measure(scene))


def test_dihedral_changes_sign_with_the_mirror_image():
    assert chain(z12=-1).dihedral(3, 7, 9, 12) == pytest.approx(90, abs=1e-12)


def test_particle_energies_add_up_to_the_potential():
    scene = random_scene(28)
    for law in (dict(), dict(contact=True, taoscope=True)):
        energies = scene.particle_energies(**law)
        assert energies.dtype == np.longdouble and energies.shape == (100,)
        assert np.all(energies[~scene.present] == 0)
        assert energies.sum() == pytest.approx(scene.observables(**law)["potential"], rel=1e-15)


@pytest.mark.parametrize("slot", [0, 101])
def test_slots_outside_1_to_100_are_refused(slot):
    with pytest.raises(ValueError, match=f"slot {slot} is not in 1..100"):
        chain().distance(3, slot)
