"""Parameter sweeps: one scene run under every combination of parameter values, on Dask.

    python3 -m velmora.sweep base.ato --set B1=2,2.5,3 --set A2=0.5:1.5:5 --steps 2000 \\
        --cool --mode hot --output results.tsv

Every point is one task: a top-level function of plain values that loads the scene from the
document's bytes, runs it on one thread and returns its row, so that a point gives the same bits
on any worker and with any number of workers. Rows are written as points finish; a sweep that is
interrupted keeps them, and --resume runs only the points missing from the output.
"""

import argparse
import hashlib
import itertools
import os
import random
import sys
import time

import numpy as np

import velmora

PARAMETER_NAMES = tuple(f"{letter}{group}" for group in (1, 2, 3) for letter in "ABCDFG")
NAMES = PARAMETER_NAMES + ("dt",)
MODES = ("free", "hot", "cold", "current1", "current2")
SWITCHES = ("blockade", "cool", "contact", "taoscope")
USAGE_STATUS = 2


class InputError(ValueError):
    """A sweep that cannot start: a bad name, list, file or option. Nothing has been run."""


class PointsLost(RuntimeError):
    """Points whose workers were lost; every other point has its row. `rows` holds those rows."""

    def __init__(self, lost, rows):
        super().__init__(f"{lost} points were lost with their workers; --resume runs them again")
        self.lost, self.rows = lost, rows


# ---------------------------------------------------------------------------------------------
# Values and points


def parse_value(text, where):
    try:
        return velmora.parse_real(str(text).strip())
    except ValueError as error:
        raise InputError(f"{where}: {error}") from None


def parse_values(name, text):
    """A list "a,b,c" or "start:stop:count": count values from start to stop, the k-th being
    start + k (stop - start) / (count - 1) in extended arithmetic and the last stop itself."""
    where = f"{name}={text}"
    if ":" in text:
        parts = text.split(":")
        if len(parts) != 3:
            raise InputError(f"{where}: a range is start:stop:count")
        start, stop = (parse_value(part, where) for part in parts[:2])
        try:
            count = int(parts[2])
        except ValueError:
            raise InputError(f"{where}: the count '{parts[2]}' is not a whole number") from None
        if count < 1:
            raise InputError(f"{where}: the count must be 1 or more")
        if count == 1:
            return [start]
        step = (stop - start) / np.longdouble(count - 1)
        return [start + step * np.longdouble(k) for k in range(count - 1)] + [stop]
    items = text.split(",")
    if not text.strip() or any(not item.strip() for item in items):
        raise InputError(f"{where}: an empty value in the list")
    return [parse_value(item, where) for item in items]


def grid_sets(sets):
    """{name: values} from a mapping of names to lists of values (numbers, texts or
    numpy.longdouble) or to range texts, or from "NAME=VALUES" texts; checked."""
    items = sets.items() if hasattr(sets, "items") else [setting.partition("=")[::2] for setting in sets]
    grid = {}
    for name, values in items:
        if name not in NAMES:
            raise InputError(f"'{name}' is none of the parameters A1..G3 (no E) and dt")
        if name in grid:
            raise InputError(f"{name} is set twice")
        if isinstance(values, str):
            grid[name] = parse_values(name, values)
        else:
            grid[name] = [value if isinstance(value, np.longdouble) else parse_value(value, name) for value in values]
            if not grid[name]:
                raise InputError(f"{name}: an empty list")
    return grid


def seed_factor(seed):
    """The factor that scales every velocity of the scene for copy `seed` (1, 2, ...): a number
    drawn uniformly from [0.9, 1.1) by Python's random.Random(seed), which gives the same number
    for the same seed on every machine and version."""
    return np.longdouble(random.Random(seed).uniform(0.9, 1.1))


def points(grid, seeds):
    """Every combination of the grid's values, in the order of the grid, each `seeds` times."""
    names = list(grid)
    for combination in itertools.product(*(grid[name] for name in names)):
        texts = [velmora.format_exact(value) for value in combination]
        for seed in range(1, seeds + 1) if seeds else [None]:
            yield {"names": names, "values": texts, "seed": seed}


def point_label(point):
    """The leading cells of the point's row, also the name of its kept document."""
    cells = list(point["values"]) + ([str(point["seed"])] if point["seed"] is not None else [])
    return cells


def document_name(point):
    parts = [f"{name}={text}" for name, text in zip(point["names"], point["values"])]
    if point["seed"] is not None:
        parts.append(f"seed={point['seed']}")
    return ("_".join(parts) or "base") + ".ato"


def header(grid, seeds):
    return list(grid) + (["seed"] if seeds else []) + list(velmora.QUANTITY_NAMES) + ["steps", "fault"]


# ---------------------------------------------------------------------------------------------
# One point: the task that workers run


def scene_of_point(document, point):
    """The base scene with the point's values and seed applied."""
    scene = velmora.Scene.from_bytes(document)
    parameters = scene.parameters.copy()
    for name, text in zip(point["names"], point["values"]):
        value = velmora.parse_real(text)
        if name == "dt":
            scene.dt = value
        else:
            index = PARAMETER_NAMES.index(name)
            parameters[index // 6, index % 6] = value
    scene.parameters = parameters
    if point["seed"] is not None:
        scene.velocities = scene.velocities * seed_factor(point["seed"])
    return scene


def run_point(document, point, steps, settings, keep):
    """Runs one point on one thread: its row's cells, and its final document when kept."""
    scene = scene_of_point(document, point)
    fault = ""
    try:
        scene.run(steps, threads=1, **settings)
    except velmora.FloatingPointFault as error:
        fault = str(error)
    law = {"contact": settings["contact"], "taoscope": settings["taoscope"]}
    quantities = [velmora.format_exact(value) for value in scene.observables(**law).values()]
    row = point_label(point) + quantities + [str(scene.step_count), fault]
    return row, (scene.to_bytes() if keep else None)


def task_key(document, point, steps, settings):
    text = repr((hashlib.sha256(document).hexdigest(), point, steps, sorted(settings.items())))
    return "velmora-point-" + hashlib.sha256(text.encode()).hexdigest()[:32]


# ---------------------------------------------------------------------------------------------
# The table


class Table:
    """The output: a header, then one row per finished point, each flushed at once."""

    def __init__(self, path, columns, resume):
        self.columns = columns
        self.done = set()
        self.file = None
        if path is None:
            print("\t".join(columns), flush=True)
            return
        if os.path.exists(path) and not resume:
            raise InputError(f"{path} exists: --resume goes on with it; remove it to start again")
        if resume and os.path.exists(path):
            self.done = self._finished_rows(path)
        try:
            self.file = open(path, "a", encoding="utf-8", newline="\n")
        except OSError as error:
            raise InputError(f"{path}: {error.strerror}") from None
        if not self.file.tell():
            self._write(columns)

    def _finished_rows(self, path):
        with open(path, "r+", encoding="utf-8", newline="\n") as file:
            text = file.read()
            complete = text[: text.rfind("\n") + 1]  # a row cut off by an interruption goes
            if len(complete) != len(text):
                file.truncate(len(complete.encode()))
        lines = complete.splitlines()
        if lines and lines[0].split("\t") != self.columns:
            raise InputError(f"{path} holds another sweep's columns: {lines[0]}")
        lead = len(self.columns) - len(velmora.QUANTITY_NAMES) - 2
        return {tuple(line.split("\t")[:lead]) for line in lines[1:]}

    def _write(self, cells):
        self.file.write("\t".join(cells) + "\n")
        self.file.flush()

    def add(self, row):
        if self.file:
            self._write(row)
        else:
            print("\t".join(row), flush=True)

    def close(self):
        if self.file:
            self.file.close()


class Progress:
    """Points done, failed and the rate, on one line of a terminal."""

    def __init__(self, total, shown):
        self.total, self.shown = total, shown
        self.done = self.failed = 0
        self.start = time.monotonic()

    def add(self, failed):
        self.done += 1
        self.failed += failed
        if self.shown:
            rate = self.done / max(time.monotonic() - self.start, 1e-9)
            sys.stderr.write(f"\r{self.done}/{self.total} points, {self.failed} failed, {rate:.2f} points/s\x1b[K")
            sys.stderr.flush()

    def clear(self):
        if self.shown and self.done:
            sys.stderr.write("\r\x1b[K")


# ---------------------------------------------------------------------------------------------
# The sweep


def _client(workers, scheduler):
    from dask.distributed import Client, LocalCluster

    if scheduler:
        return Client(scheduler), None
    cluster = LocalCluster(n_workers=workers, threads_per_worker=1, processes=True, dashboard_address=None)
    return Client(cluster), cluster


def run(base, sets=(), steps=0, *, seeds=0, mode="free", blockade=False, cool=False, contact=False,
        taoscope=False, workers=None, scheduler=None, client=None, output=None, keep=None, resume=False,
        progress=False):
    """Runs the sweep and returns its rows (lists of the table's cells) in the order they finished.

    base: a .ato document; sets: {name: values} (values a list, or "start:stop:count"), or texts
    "NAME=VALUES"; seeds: K copies of each point with the velocities scaled by seed_factor(1..K);
    the switches and mode as in Scene.run. Dask: an existing `client`, or a `scheduler` address, or
    a local cluster of `workers` single-threaded processes (default: every core) started here,
    which needs the calling script's work under `if __name__ == "__main__":`. output: the table's
    file (rows written as points finish); keep: a folder for each point's final document; resume:
    go on with an existing output, running only the points missing from it.

    Bad input raises InputError before anything runs. When workers are lost with points that
    Dask cannot run elsewhere, every other point still gets its row and PointsLost is raised at
    the end.
    """
    grid = grid_sets(sets)
    if steps < 0 or seeds < 0 or (workers is not None and workers < 1):
        raise InputError("steps and seeds must be 0 or more, workers 1 or more")
    if mode not in MODES:
        raise InputError(f"mode '{mode}' is none of {', '.join(MODES)}")
    try:
        document = velmora.Scene.load(base).to_bytes()
    except velmora.Error as error:
        raise InputError(str(error)) from None
    if keep is not None:
        try:
            os.makedirs(keep, exist_ok=True)
        except OSError as error:
            raise InputError(f"{keep}: {error.strerror}") from None
    settings = {"blockade": blockade, "cool": cool, "contact": contact, "taoscope": taoscope, "mode": mode}
    table = Table(output, header(grid, seeds), resume)
    todo = [p for p in points(grid, seeds) if tuple(point_label(p)) not in table.done]
    try:
        return _run_points(document, todo, steps, settings, keep, table, workers, scheduler, client, progress)
    finally:
        table.close()


def _run_points(document, todo, steps, settings, keep, table, workers, scheduler, client, progress):
    from dask.distributed import as_completed

    from velmora.sweep import run_point  # by its module's name, also when this file runs as __main__

    own = None
    if client is None:
        client, own = _client(workers or os.cpu_count(), scheduler)
    meter = Progress(len(todo), progress)
    rows = []
    futures = {client.submit(run_point, document, point, steps, settings, keep is not None,
                             key=task_key(document, point, steps, settings), pure=False): point for point in todo}
    try:
        for future in as_completed(futures):
            if future.status != "finished":
                meter.add(True)
                continue
            row, kept = future.result()
            if kept is not None:
                velmora.Scene.from_bytes(kept).save(os.path.join(keep, document_name(futures[future])))
            table.add(row)
            rows.append(row)
            meter.add(bool(row[-1]))
    finally:
        meter.clear()
        client.cancel(futures)
        if own is not None:
            client.close()
            own.close()
        elif scheduler:
            client.close()
    if len(rows) < len(todo):
        raise PointsLost(len(todo) - len(rows), rows)
    return rows


# ---------------------------------------------------------------------------------------------
# The command line


def arguments(argv):
    parser = argparse.ArgumentParser(
        prog="python3 -m velmora.sweep",
        description="Runs a scene under every combination of parameter values, on a local Dask cluster or an "
                    "existing Dask scheduler, and writes one tab-separated row of measurements per point.")
    parser.add_argument("base", metavar="BASE.ato", help="the scene every point starts from")
    parser.add_argument("--set", dest="sets", action="append", default=[], metavar="NAME=VALUES",
                        help="A1..G3 or dt: a list a,b,c or start:stop:count; the grid is every combination")
    parser.add_argument("--steps", type=int, default=0, help="steps per point (default 0)")
    parser.add_argument("--seeds", type=int, default=0, metavar="K",
                        help="K copies of each point, velocities scaled by a factor in [0.9, 1.1) drawn from the seed")
    for switch in SWITCHES:
        parser.add_argument(f"--{switch}", action="store_true", help=f"the {switch} switch, as in velmora-batch")
    parser.add_argument("--mode", default="free", choices=MODES, help="the confinement mode (default free)")
    parser.add_argument("--workers", type=int, metavar="N", help="a local cluster of N single-threaded workers "
                                                                 "(default: every core)")
    parser.add_argument("--scheduler", metavar="ADDRESS", help="use this Dask scheduler instead of a local cluster")
    parser.add_argument("--output", metavar="FILE", help="the table (default: standard output)")
    parser.add_argument("--keep", metavar="DIR", help="also save each point's final document here")
    parser.add_argument("--resume", action="store_true", help="skip the points already in the output")
    return parser.parse_args(argv)


def main(argv=None):
    options = arguments(argv)
    if options.workers is not None and options.scheduler:
        print("velmora.sweep: --workers and --scheduler exclude each other", file=sys.stderr)
        return USAGE_STATUS
    try:
        rows = run(options.base, options.sets, options.steps, seeds=options.seeds, mode=options.mode,
                   workers=options.workers, scheduler=options.scheduler, output=options.output, keep=options.keep,
                   resume=options.resume, progress=sys.stderr.isatty(),
                   **{switch: getattr(options, switch) for switch in SWITCHES})
    except InputError as error:
        print(f"velmora.sweep: {error}", file=sys.stderr)
        return USAGE_STATUS
    except PointsLost as error:
        print(f"velmora.sweep: {error}", file=sys.stderr)
        return 1
    except KeyboardInterrupt:
        print("velmora.sweep: interrupted; the finished points are in the table, --resume runs the rest",
              file=sys.stderr)
        return 130
    faults = sum(1 for row in rows if row[-1])
    print(f"velmora.sweep: {len(rows)} points, {faults} ended by a floating-point fault", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
