"""velmora.structure, velmora.point_group, Scene.structure, Scene.relax and Record.structure
against the core's own text and shapes whose answers are known."""

import numpy as np
import pytest

import velmora

GOLDEN = (1 + 5 ** 0.5) / 2
# The icosahedron about its centre: every vertex 12 neighbours of the centre, all pairs 555.
ICOSAHEDRON = np.array([[0, 0, 0]] + [p for a, b in ((1, GOLDEN), (-1, GOLDEN), (1, -GOLDEN), (-1, -GOLDEN))
                                      for p in ((0, a, b), (a, b, 0), (b, 0, a))], dtype=float)
TETRAHEDRON = np.array([[1, 1, 1], [1, -1, -1], [-1, 1, -1], [-1, -1, 1]], dtype=np.longdouble)


def tetrahedron_scene():
    scene = velmora.Scene()
    scene.parameters = np.array([[1, 2.718, 5, 10, 20, 30]] * 3, dtype=np.longdouble)
    scene.dt = np.longdouble("0.001")
    positions = np.zeros((100, 3), dtype=np.longdouble)
    positions[96:] = 1.3 * TETRAHEDRON + np.array([[0.01, 0, 0], [0, 0.02, 0], [0, 0, -0.01], [0.02, 0, 0]])
    scene.positions = positions
    scene.present = np.arange(100) >= 96
    return scene


def test_icosahedron_fields():
    found = velmora.structure(ICOSAHEDRON)
    assert found.point_group == "Ih" and velmora.point_group(ICOSAHEDRON, tolerance=0.01) == "Ih"
    assert list(found.coordination) == [12] + [6] * 12
    assert found.clusters == 1 and list(found.sizes) == [13] and list(found.cluster) == [0] * 13
    assert found.signatures == {"555": 12, "322": 30}
    assert list(found.neighbour_class) == ["icosahedral"] + ["other"] * 12
    assert len(found.bins) == len(found.histogram) + 1 and found.histogram.sum() == pytest.approx(1)
    assert 2 < found.cutoff < 2 * GOLDEN * 0.9
    assert found.gyration_eigenvalues[0] == pytest.approx(found.gyration_eigenvalues[2])
    assert found.asphericity == pytest.approx(0, abs=1e-15)


def test_settings_are_checked():
    with pytest.raises(ValueError, match="shape"):
        velmora.structure(np.zeros((4, 2)))
    with pytest.raises(ValueError, match="cutoff"):
        velmora.structure(ICOSAHEDRON, cutoff=-1)
    with pytest.raises(velmora.Error, match="not a finite number"):
        velmora.structure(np.array([[0, 0, 0], [np.nan, 0, 0]]))
    assert velmora.structure(ICOSAHEDRON, cutoff=1.5).clusters == 13


def test_relax_then_structure_of_the_scene():
    scene = tetrahedron_scene()
    steps, largest = scene.relax(1e-4, steps=5000)
    assert 0 < steps < 5000 and largest <= 1e-4 and isinstance(largest, np.longdouble)
    assert not scene.velocities.any()
    found = scene.structure()
    assert list(found.slots) == [97, 98, 99, 100] and found.point_group == "Td"
    assert str(found).startswith("points\t4\n")
    assert scene.relax(1e-4) == (0, scene.relax(1e-4)[1])  # already at rest: no step


def test_record_structure_row_per_frame():
    scene = tetrahedron_scene()
    table = scene.run(4, record=2).structure()
    assert list(table["step"]) == [0, 2, 4]
    assert list(table["point_group"]) == ["Td"] * 3
    assert list(table["clusters"]) == [1] * 3 and list(table["largest"]) == [4] * 3
