"""The structure of a recorded run, frame by frame."""

import numpy as np

import velmora._core as _core
from velmora._tables import frame


def record_structure(self, *, cutoff=None, tolerance=None, bin_width=None):
    """One row per frame of the record: step, clusters, largest (the points of the largest
    cluster), coordination (the mean number of neighbours), gyration and point_group of the
    present slots, as velmora-batch --log --log-structure writes them; a pandas DataFrame when
    pandas is installed, otherwise a numpy structured array."""
    rows = {"step": [], "clusters": [], "largest": [], "coordination": [], "gyration": [], "point_group": []}
    for step, positions, present in zip(self.steps, self.positions, self.present):
        found = _core.structure(positions[present], cutoff=cutoff, tolerance=tolerance, bin_width=bin_width)
        rows["step"].append(step)
        rows["clusters"].append(found.clusters)
        rows["largest"].append(max(found.sizes, default=0))
        rows["coordination"].append(np.mean(found.coordination.astype(np.longdouble)) if found.clusters else 0)
        rows["gyration"].append(found.gyration)
        rows["point_group"].append(found.point_group)
    kinds = {"step": np.int64, "clusters": np.int64, "largest": np.int64, "coordination": np.longdouble,
             "gyration": np.longdouble, "point_group": str}
    return frame({name: np.array(values, dtype=kinds[name]) for name, values in rows.items()})
