"""Parameter sweeps: one scene run under every combination of parameter values, on Dask.

    python3 -m velmora.sweep base.ato --set B1=2,2.5,3 --set A2=0.5:1.5:5 --steps 2000 \\
        --cool --mode hot --output results.tsv

Every point is one task: a top-level function of plain values that loads the scene from the
document's bytes, runs it on one thread and returns its row, so that a point gives the same bits
on any worker and with any number of workers. Rows are written as points finish; a sweep that is
interrupted keeps them, and --resume runs only the points of the grid missing from the output,
after checking that the table was written with the same base, steps, switches and mode.
"""

import argparse
import contextlib
import dataclasses
import fcntl
import hashlib
import itertools
import logging
import math
import multiprocessing.resource_tracker
import os
import random
import signal
import stat
import sys
import tempfile
import time
import typing  # typing.Mapping and the like by the module's name: stubtest takes an imported name as the module's own
from types import FrameType
from typing import TYPE_CHECKING, Any, Optional, Union

import numpy as np

import velmora
from velmora import _tables
from velmora._early import AGAIN, ENDING_SIGNALS
from velmora._quoting import quoted, shown

NAMES = velmora.PARAMETER_NAMES + ("dt",)
SWITCHES = ("blockade", "cool", "contact", "taoscope")
USAGE_STATUS = 2
FAILURE_STATUS = 1
MAX_POINTS = 1_000_000  # rows of one table; a larger grid is refused before any work
MAX_STEPS = 2**31 - 1  # the most steps a run takes, as velmora-batch --steps
MAX_WORKERS = 256  # the most workers of a local cluster, as the tools' --threads
NAME_BYTES = 255  # the longest file name of the usual file systems

_Path = Union[str, "os.PathLike[str]"]
_Value = Union[str, int, float, np.longdouble]  # a value of a parameter, or its text
_Values = Union[str, typing.Sequence[_Value]]  # a list of values, or the text "a,b,c" or "start:stop:count"
_Sets = Union[typing.Mapping[str, _Values], typing.Sequence[str]]  # values by name, or texts "NAME=VALUES"
if TYPE_CHECKING:  # types the module does not need at run time
    _Mode = typing.Literal["free", "hot", "cold", "current1", "current2"]  # velmora.MODE_NAMES

    class _Switches(typing.TypedDict):
        """The switches of a run, as Scene.run takes them."""

        blockade: bool
        cool: bool
        contact: bool
        taoscope: bool


class InputError(ValueError):
    """A sweep that cannot start: a bad name, list, file, option or table. Nothing has been run."""


class SweepFailed(RuntimeError):
    """A sweep that stopped or left points without a row; every row it wrote is in the table."""


class OutputClosed(Exception):
    """The reader of the table on the standard output went away (a closed pipe)."""


class Interrupted(KeyboardInterrupt):
    """A signal that ends the sweep as Ctrl+C does; `signal` is its number."""

    def __init__(self, number: int) -> None:
        super().__init__(number)
        self.signal = number


# ---------------------------------------------------------------------------------------------
# Values, axes and points


def parse_value(text: _Value, where: str) -> np.longdouble:
    text = str(text).strip()
    try:
        return velmora.parse_real(text)
    except ValueError as error:
        # The module quotes the text whole; a sweep's line quotes it as the tools do.
        message, whole = str(error), f"'{text}'"
        said = quoted(text) + message[len(whole):] if message.startswith(whole) else message
        raise InputError(f"{where}: {said}") from None


@dataclasses.dataclass(frozen=True)
class Axis:
    """The values of one name: a list, or `count` values from start to stop, the k-th being
    start + k (stop - start) / (count - 1) in extended arithmetic and the last stop itself. The
    values of a range are computed when asked for, so that a long range takes no memory."""

    name: str
    listed: tuple[np.longdouble, ...] = ()
    start: Optional[np.longdouble] = None
    stop: Optional[np.longdouble] = None
    count: int = 0

    def __len__(self) -> int:
        return self.count if self.start is not None else len(self.listed)

    def value(self, k: int) -> np.longdouble:
        if self.start is None or self.stop is None:
            return self.listed[k]
        if self.count == 1:
            return self.start
        if k == self.count - 1:
            return self.stop
        step = (self.stop - self.start) / np.longdouble(self.count - 1)
        return self.start + step * np.longdouble(k)

    def text(self) -> str:
        """The values as the table's settings record them, exactly."""
        if self.start is None:
            return ",".join(velmora.format_exact(value) for value in self.listed)
        return f"{velmora.format_exact(self.start)}:{velmora.format_exact(self.stop)}:{self.count}"


def axis_of(name: str, values: _Values) -> Axis:
    """The axis of a list of values (numbers, texts or numpy.longdouble) or of a text "a,b,c" or
    "start:stop:count"; checked."""
    where = shown(f"{name}={values}")
    if not isinstance(values, str):
        listed = tuple(value if isinstance(value, np.longdouble) else parse_value(value, name) for value in values)
        if not listed:
            raise InputError(f"{name}: an empty list")
        return Axis(name, listed)
    if ":" in values:
        parts = values.split(":")
        if len(parts) != 3:
            raise InputError(f"{where}: a range is start:stop:count")
        start, stop = (parse_value(part, where) for part in parts[:2])
        try:
            count = int(parts[2])
        except ValueError:
            raise InputError(f"{where}: the count {quoted(parts[2])} is not a whole number") from None
        if count < 1:
            raise InputError(f"{where}: the count must be 1 or more")
        return Axis(name, start=start, stop=stop, count=count)
    items = values.split(",")
    if not values.strip() or any(not item.strip() for item in items):
        raise InputError(f"{where}: an empty value in the list")
    return Axis(name, tuple(parse_value(item, where) for item in items))


def seed_factor(seed: int) -> np.longdouble:
    """The factor that scales every velocity of the scene for copy `seed` (1, 2, ...): a number
    drawn uniformly from [0.9, 1.1) by Python's random.Random(seed), which gives the same number
    for the same seed on every machine and version."""
    return np.longdouble(random.Random(seed).uniform(0.9, 1.1))


@dataclasses.dataclass(frozen=True)
class Point:
    """One point of a sweep: a value for each name, as the table writes it, and its seed."""

    names: tuple[str, ...]
    values: tuple[str, ...]
    seed: Optional[int] = None

    def cells(self) -> list[str]:
        """The leading cells of the point's row."""
        return list(self.values) + ([str(self.seed)] if self.seed is not None else [])

    def document_name(self) -> str:
        """The name of the point's kept document: its settings, or when those make a name too long
        for a file system, a hash of them (the row holds the settings and the name)."""
        parts = [f"{name}={text}" for name, text in zip(self.names, self.values)]
        if self.seed is not None:
            parts.append(f"seed={self.seed}")
        name = "_".join(parts) or "base"
        if len(name.encode()) + len(".ato") > NAME_BYTES:
            name = "point-" + hashlib.sha256(name.encode()).hexdigest()[:16]
        return name + ".ato"


@dataclasses.dataclass(frozen=True)
class Grid:
    """Every combination of the axes' values, in the order of the axes (the last one changing
    fastest), each `seeds` times; produced one point at a time."""

    axes: tuple[Axis, ...]
    seeds: int = 0

    @property
    def names(self) -> tuple[str, ...]:
        return tuple(axis.name for axis in self.axes)

    def __len__(self) -> int:
        return self.size

    @property
    def size(self) -> int:
        """The number of points, however large (len() takes only what fits a machine word)."""
        return math.prod(len(axis) for axis in self.axes) * max(self.seeds, 1)

    def __iter__(self) -> typing.Iterator[Point]:
        sizes = [len(axis) for axis in self.axes]
        for combination in range(math.prod(sizes)):
            indices = []
            for size in reversed(sizes):
                combination, index = divmod(combination, size)
                indices.append(index)
            texts = tuple(velmora.format_exact(axis.value(k)) for axis, k in zip(self.axes, reversed(indices)))
            for seed in range(1, self.seeds + 1) if self.seeds else [None]:
                yield Point(self.names, texts, seed)


def grid_of(sets: _Sets, seeds: int) -> Grid:
    """The grid of a mapping of names to values, or of "NAME=VALUES" texts; checked, and refused
    when it holds more than MAX_POINTS points."""
    items = sets.items() if hasattr(sets, "items") else [setting.partition("=")[::2] for setting in sets]
    axes = {}
    for name, values in items:
        if name not in NAMES:
            raise InputError(f"{quoted(name)} is none of the parameters A1..G3 (no E) and dt")
        if name in axes:
            raise InputError(f"{name} is set twice")
        axes[name] = axis_of(name, values)
    grid = Grid(tuple(axes.values()), seeds)
    if grid.size > MAX_POINTS:
        raise InputError(f"the grid has {grid.size} points, more than the {MAX_POINTS} a sweep takes")
    return grid


# ---------------------------------------------------------------------------------------------
# Settings


@dataclasses.dataclass
class Settings:
    """A sweep: what it computes (base .. taoscope, recorded with its table) and where it runs.

    base: a .ato document; sets: {name: values} (values a list, or "start:stop:count"), or texts
    "NAME=VALUES"; seeds: K copies of each point with the velocities scaled by seed_factor(1..K);
    the switches and mode as in Scene.run. Dask: an existing `client`, or a `scheduler` address,
    or a local cluster of `workers` single-threaded processes (default: every core) on this
    machine only, serving Dask's dashboard at `dashboard` (an address) when one is given.
    output: the table's file (default: standard output); keep: a folder for each point's final
    document; resume: go on with an existing output of the same settings; progress: a progress
    line on standard error."""

    base: _Path
    sets: _Sets = ()
    steps: int = 0
    seeds: int = 0
    mode: "_Mode" = "free"
    blockade: bool = False
    cool: bool = False
    contact: bool = False
    taoscope: bool = False
    workers: Optional[int] = None
    scheduler: Optional[str] = None
    client: Any = None
    dashboard: Optional[str] = None
    output: Optional[_Path] = None
    keep: Optional[_Path] = None
    resume: bool = False
    progress: bool = False

    def switches(self) -> "_Switches":
        return {"blockade": self.blockade, "cool": self.cool, "contact": self.contact, "taoscope": self.taoscope}


@dataclasses.dataclass(frozen=True)
class Job:
    """What every point of a sweep shares: the base document and how each point runs."""

    document: bytes
    steps: int
    mode: "_Mode"
    switches: "_Switches"
    keep: bool

    def key(self, point: Point) -> str:
        text = repr((hashlib.sha256(self.document).hexdigest(), point, self.steps, self.mode,
                     sorted(self.switches.items())))
        return "velmora-point-" + hashlib.sha256(text.encode()).hexdigest()[:32]


def checked(settings: Settings) -> tuple[Grid, Job]:
    """The grid and the job of the settings, after every check that needs no work."""
    grid = grid_of(settings.sets, settings.seeds)
    for name, least, most in (("steps", 0, MAX_STEPS), ("seeds", 0, None), ("workers", 1, MAX_WORKERS)):
        value = getattr(settings, name)
        if value is not None and (value < least or (most is not None and value > most)):
            bounds = f"from {least} to {most}" if most is not None else f"{least} or more"
            raise InputError(f"{name}: {value} is outside the range it takes, {bounds}")
    if settings.mode not in velmora.MODE_NAMES:
        raise InputError(f"mode {quoted(settings.mode)} is none of {', '.join(velmora.MODE_NAMES)}")
    if settings.workers is not None and settings.scheduler:
        raise InputError("--workers and --scheduler exclude each other")
    try:
        document = velmora.Scene.load(settings.base).to_bytes()
    except velmora.Error as error:
        raise InputError(str(error)) from None
    check_table_name(settings)
    return grid, Job(document, settings.steps, settings.mode, settings.switches(), settings.keep is not None)


def check_table_name(settings: Settings) -> None:
    """A table in the folder of the kept documents may not be named as they are: a point's
    document would replace it."""
    if settings.output is None or settings.keep is None:
        return
    folder = os.path.dirname(os.path.abspath(settings.output))
    if str(settings.output).endswith(".ato") and os.path.realpath(folder) == os.path.realpath(settings.keep):
        raise InputError(f"{settings.output}: a table in the --keep folder is not named like its documents (*.ato)")


def recorded(grid: Grid, job: Job) -> dict[str, str]:
    """The settings a table records, by name: what makes its rows comparable."""
    switches = " ".join(name for name, on in job.switches.items() if on) or "none"
    record = {"base": "sha256:" + hashlib.sha256(job.document).hexdigest(), "steps": str(job.steps),
              "switches": switches, "mode": job.mode, "seeds": str(grid.seeds),
              "documents": "kept" if job.keep else "not kept"}
    record.update((f"set {axis.name}", axis.text()) for axis in grid.axes)
    return record


# What makes the rows of two sweeps comparable: a table goes on only with these as it records them.
# The grid may change (the points of the new one that the table lacks are run), as long as it has
# the same names and, when seeded, is seeded.
FIXED_SETTINGS = ("base", "steps", "switches", "mode", "documents")


def comparable(name: str, table: typing.Mapping[str, str], now: typing.Mapping[str, str]) -> bool:
    """Whether the setting `name` of a table's settings allows a sweep of the settings `now` to go
    on with the table."""
    if name in FIXED_SETTINGS or name not in table or name not in now:
        return table.get(name) == now.get(name)
    return name != "seeds" or (table[name] == "0") == (now[name] == "0")


def columns_of(grid: Grid, job: Job) -> list[str]:
    return (list(grid.names) + (["seed"] if grid.seeds else []) + list(velmora.QUANTITY_NAMES) + ["steps", "fault"]
            + (["document"] if job.keep else []))


# ---------------------------------------------------------------------------------------------
# One point: the task that workers run


def scene_of_point(document: bytes, point: Point) -> velmora.Scene:
    """The base scene with the point's values and seed applied."""
    scene = velmora.Scene.from_bytes(document)
    parameters = scene.parameters.copy()
    for name, text in zip(point.names, point.values):
        value = velmora.parse_real(text)
        if name == "dt":
            scene.dt = value
        else:
            index = velmora.PARAMETER_NAMES.index(name)
            parameters[index // parameters.shape[1], index % parameters.shape[1]] = value
    scene.parameters = parameters
    if point.seed is not None:
        scene.velocities = scene.velocities * seed_factor(point.seed)
    return scene


def run_point(job: Job, point: Point) -> tuple[list[str], Optional[bytes]]:
    """Runs one point on one thread: its row's cells, and its final document when kept."""
    scene = scene_of_point(job.document, point)
    fault = ""
    try:
        scene.run(job.steps, threads=1, mode=job.mode, **job.switches)
    except velmora.FloatingPointFault as error:
        fault = str(error)
    law = {"contact": job.switches["contact"], "taoscope": job.switches["taoscope"]}
    quantities = [velmora.format_exact(value) for value in scene.observables(**law).values()]
    row = point.cells() + quantities + [str(scene.step_count), fault]
    if not job.keep:
        return row, None
    return row + [point.document_name()], scene.to_bytes()


# ---------------------------------------------------------------------------------------------
# The table


def lock_holder(fd: int) -> str:
    """The process that holds a lock on the file of `fd`, as the system lists it ("" if unknown)."""
    status = os.fstat(fd)
    file = f"{os.major(status.st_dev):02x}:{os.minor(status.st_dev):02x}:{status.st_ino}"
    try:
        with open("/proc/locks", encoding="ascii") as locks:
            for line in locks:
                fields = line.split()
                if len(fields) > 5 and fields[1] != "->" and fields[5] == file:
                    return f" (process {fields[4]})"
    except OSError:
        pass
    return ""


def same_file(fd: int, path: _Path) -> bool:
    """Whether `path` still names the file open as `fd`."""
    try:
        named, held = os.stat(path), os.fstat(fd)
    except OSError:
        return False
    return (named.st_dev, named.st_ino) == (held.st_dev, held.st_ino)


class Table:
    """The output: the settings (lines starting with '#'), a header, then one row per finished
    point, each written at once. A file output is locked for the sweep's life; a new file that
    gets no row is removed again, so that it blocks no later sweep."""

    def __init__(self, path: Optional[_Path], record: dict[str, str], columns: list[str], resume: bool) -> None:
        self.path, self.columns = path, columns
        self.done: set[tuple[str, ...]] = set()
        self.kept: list[list[str]] = []  # the rows of an existing table, as lists of cells
        self.rows = 0
        self.fd: Optional[int] = None
        self.created = False
        lines = [f"# {name}\t{value}" for name, value in record.items()] + ["\t".join(columns)]
        if path is None:
            self._print(lines)
            return
        self.fd = self._open_locked(path, resume)
        try:
            if self._read(record) is None:
                self._write(lines)
        except BaseException:
            self.close()
            raise

    def _open_locked(self, path: _Path, resume: bool) -> int:
        try:
            fd = os.open(path, os.O_RDWR | os.O_CREAT | os.O_EXCL, 0o666)
            self.created = True
        except FileExistsError:
            if not resume:
                raise InputError(f"{path} exists: --resume goes on with it; remove it to start again") from None
            fd = self._open_existing(path)
        except OSError as error:
            raise InputError(f"{path}: {error.strerror}") from None
        if not stat.S_ISREG(os.fstat(fd).st_mode):
            os.close(fd)
            raise InputError(f"{path} is not a regular file")
        try:
            fcntl.flock(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except OSError:
            holder = lock_holder(fd)
            os.close(fd)
            raise InputError(f"{path} is being written by another sweep{holder}") from None
        if not same_file(fd, path):  # removed, empty, by the sweep that held it
            os.close(fd)
            raise InputError(f"{path} was removed by the sweep that held it; start again")
        return fd

    @staticmethod
    def _open_existing(path: _Path) -> int:
        try:
            return os.open(path, os.O_RDWR)
        except OSError as error:
            raise InputError(f"{path}: {error.strerror}") from None

    def _file(self) -> tuple[int, _Path]:
        """The descriptor and the name of the table's file (a table on standard output has none)."""
        assert self.fd is not None and self.path is not None
        return self.fd, self.path

    def _read(self, record: dict[str, str]) -> Optional[set[tuple[str, ...]]]:
        """The finished rows of an existing table of the same settings (None for a new table);
        a row cut off by an interruption is dropped. Another table is left as it was."""
        fd, path = self._file()
        chunks = []
        while chunk := os.read(fd, 1 << 20):
            chunks.append(chunk)
        data = b"".join(chunks)
        if not data:
            return None
        complete = data[: data.rfind(b"\n") + 1]
        try:
            lines = complete.decode("utf-8").splitlines()
        except UnicodeDecodeError:
            raise InputError(f"{path} is no table of velmora.sweep: it is not UTF-8 text") from None
        settings = dict(line[2:].partition("\t")[::2] for line in lines if line.startswith("# "))
        rows = [line for line in lines if not line.startswith("#")]
        if not settings or not rows:
            raise InputError(f"{path} records no settings of velmora.sweep; remove it to start again")
        differences = [f"{name}: {settings.get(name, 'not given')} in the table, {record.get(name, 'not given')} now"
                       for name in dict.fromkeys([*settings, *record]) if not comparable(name, settings, record)]
        if differences:
            raise InputError(f"{path} holds a sweep of other settings, left as it was: " + "; ".join(differences))
        if rows[0].split("\t") != self.columns:
            raise InputError(f"{path} holds another sweep's columns: {rows[0]}")
        if settings != record:  # another grid: its settings replace the old ones, the rows stay
            self._replace(record, rows)
        elif len(complete) != len(data):
            os.ftruncate(fd, len(complete))
        self.kept = [line.split("\t") for line in rows[1:]]
        lead = len(self.columns) - len(velmora.QUANTITY_NAMES) - 2 - ("document" in self.columns)
        self.done = {tuple(row[:lead]) for row in self.kept}
        self.rows = len(self.kept)
        return self.done

    def _replace(self, record: dict[str, str], rows: list[str]) -> None:
        """Writes the table again with the settings of `record`, beside it first, and puts it in
        its place locked, so that an interruption leaves the old table or the new one whole."""
        old, path = self._file()
        folder, name = os.path.split(os.path.abspath(path))
        try:
            fd, pending = tempfile.mkstemp(prefix=f".{name}.", dir=folder)
        except OSError as error:
            raise SweepFailed(f"{path}: {error.strerror}") from None
        self.fd = fd
        try:
            os.fchmod(fd, stat.S_IMODE(os.fstat(old).st_mode))
            fcntl.flock(fd, fcntl.LOCK_EX)
            self._write([f"# {key}\t{value}" for key, value in record.items()] + rows)
            os.fsync(fd)
            os.replace(pending, path)
        except BaseException:
            os.unlink(pending)
            os.close(fd)
            self.fd = old
            raise
        os.close(old)

    def _write(self, lines: list[str]) -> None:
        fd, path = self._file()
        data = "".join(line + "\n" for line in lines).encode()
        try:
            os.lseek(fd, 0, os.SEEK_END)
            while data:
                data = data[os.write(fd, data):]
        except OSError as error:
            raise SweepFailed(f"{path}: {error.strerror}{AGAIN if self.rows else ''}") from None

    @staticmethod
    def _print(lines: list[str]) -> None:
        try:
            for line in lines:
                print(line, flush=True)
        except BrokenPipeError:
            raise OutputClosed() from None

    def add(self, row: list[str]) -> None:
        if self.fd is None:
            self._print(["\t".join(row)])
        else:
            self._write(["\t".join(row)])
        self.rows += 1

    def close(self) -> None:
        if self.fd is None:
            return
        fd, path = self._file()
        if self.created and not self.rows and same_file(fd, path):
            os.unlink(path)
        os.close(fd)
        self.fd = None


class Progress:
    """Points done, failed and the rate, on one line of a terminal."""

    def __init__(self, total: int, shown: bool) -> None:
        self.total, self.shown = total, shown
        self.done = self.failed = 0
        self.start = time.monotonic()

    def add(self, failed: bool) -> None:
        self.done += 1
        self.failed += failed
        if self.shown:
            rate = self.done / max(time.monotonic() - self.start, 1e-9)
            sys.stderr.write(f"\r{self.done}/{self.total} points, {self.failed} failed, {rate:.2f} points/s\x1b[K")
            sys.stderr.flush()

    def clear(self) -> None:
        if self.shown and self.done:
            sys.stderr.write("\r\x1b[K")


# ---------------------------------------------------------------------------------------------
# The sweep


def _client(settings: Settings) -> tuple[Any, Any]:
    """The Dask client of the settings and the cluster started for it (None for a scheduler's)."""
    import dask
    from dask.distributed import Client, LocalCluster

    if settings.scheduler:
        try:
            return Client(settings.scheduler), None
        except (ValueError, TypeError) as error:
            raise InputError(f"--scheduler {shown(settings.scheduler)}: {shown(error)}") from None
        except OSError as error:
            raise SweepFailed(f"the scheduler {shown(settings.scheduler)} cannot be reached: {shown(error)}") from None
    # Every listener on this machine's loopback only; without a dashboard the scheduler's web
    # server answers nothing.
    routes: dict[str, Any] = {} if settings.dashboard else {"distributed.scheduler.http.routes": [],
                                                            "distributed.worker.http.routes": []}
    # The workers (and the thread that starts them) never see the signals that end the sweep: a
    # terminal sends Ctrl+C to the whole process group, and the sweep ends them itself.
    # A signal that came meanwhile arrives when they are unblocked: the cluster is closed again.
    cluster = None
    try:
        blocked = signal.pthread_sigmask(signal.SIG_BLOCK, ENDING_SIGNALS)
        try:
            # multiprocessing's resource tracker leaves the thread that starts it with SIGINT and
            # SIGTERM unblocked; started by the thread that starts the workers, the workers would
            # see them. It is started here, and they are blocked again.
            multiprocessing.resource_tracker.ensure_running()
            signal.pthread_sigmask(signal.SIG_BLOCK, ENDING_SIGNALS)
            with dask.config.set(routes):
                cluster = LocalCluster(n_workers=min(settings.workers or os.cpu_count() or 1, MAX_WORKERS),
                                       threads_per_worker=1, processes=True, host="127.0.0.1",
                                       dashboard_address=settings.dashboard or "127.0.0.1:0",
                                       worker_dashboard_address="127.0.0.1:0", silence_logs=logging.CRITICAL)
        finally:
            signal.pthread_sigmask(signal.SIG_SETMASK, blocked)
        return Client(cluster), cluster
    except OSError as error:  # a process or a listener the system refuses
        _close_cluster(cluster)
        raise SweepFailed(f"the local cluster cannot be started: {error.strerror or error}") from None
    except BaseException:
        _close_cluster(cluster)
        raise


def _close_cluster(cluster: Any) -> None:
    if cluster is not None:
        with contextlib.suppress(Exception):
            cluster.close()


def rows(settings: Settings) -> typing.Iterator[list[str]]:
    """Runs the sweep, giving each row (a list of the table's cells) as its point finishes.

    Bad input raises InputError before anything runs. When points end with an error, or their
    workers or the scheduler are lost, every other point still gets its row and SweepFailed is
    raised at the end, naming what happened."""
    return _rows(settings, *checked(settings), [])


def _rows(settings: Settings, grid: Grid, job: Job, kept: list[list[str]]) -> typing.Iterator[list[str]]:
    """The rows of the sweep as they finish; the rows the table held already are put in `kept`."""
    table = Table(settings.output, recorded(grid, job), columns_of(grid, job), settings.resume)
    kept.extend(table.kept)
    try:
        if settings.keep is not None:
            make_folder(settings.keep)
        yield from _run_points(settings, grid, job, table)
    finally:
        table.close()


def make_folder(path: _Path) -> None:
    try:
        os.makedirs(path, exist_ok=True)
    except OSError as error:
        raise InputError(f"{path}: {error.strerror}") from None


def run(settings: Settings) -> Any:
    """Runs the sweep of the settings and returns its whole table as velmora.read_sweep reads it:
    the rows the table held already, then those of the points run, in the order they finished."""
    grid, job = checked(settings)
    kept: list[list[str]] = []
    ran = list(_rows(settings, grid, job, kept))
    return _tables.rows_frame(columns_of(grid, job), kept + ran, recorded(grid, job))


def _run_points(settings: Settings, grid: Grid, job: Job, table: Table) -> typing.Iterator[list[str]]:
    from dask.distributed import as_completed

    from velmora.sweep import run_point  # by its module's name, also when this file runs as __main__

    todo: typing.Iterator[Point] = (point for point in grid if tuple(point.cells()) not in table.done)
    first = next(todo, None)
    if first is None:
        return
    todo = itertools.chain([first], todo)
    missing = sum(tuple(point.cells()) not in table.done for point in grid) if settings.progress else 0
    meter = Progress(missing, settings.progress)
    client, cluster = (settings.client, None) if settings.client is not None else _client(settings)
    running = {}
    failures = []
    # On the sweep's client's loop: as_completed takes the process's newest client by default, which
    # may be another one (a user's, or one already closed), and would then see the points late.
    pending = as_completed(loop=client.loop)

    def submit(count: int) -> None:
        """Keeps `count` more points in flight, so that the grid is never held whole."""
        for point in itertools.islice(todo, count):
            future = client.submit(run_point, job, point, key=job.key(point), pure=False)
            running[future] = point
            pending.add(future)

    try:
        submit(max(16, 4 * sum(client.nthreads().values())))
        for future in pending:
            point = running.pop(future)
            if future.status != "finished":
                failures.append((point, task_error(future)))
                meter.add(True)
            else:
                row, kept = future.result()
                if settings.keep is not None:
                    velmora.Scene.from_bytes(kept).save(os.path.join(settings.keep, point.document_name()))
                table.add(row)
                meter.add(bool(row[len(row) - 1 - job.keep]))
                yield row
            if client.status != "running":
                raise SweepFailed(f"the Dask scheduler was lost{AGAIN}")
            submit(1)
    except velmora.Error as error:
        raise SweepFailed(f"{error}{AGAIN}") from None
    except OSError as error:
        raise SweepFailed(f"the Dask scheduler was lost: {error}{AGAIN}") from None
    finally:
        meter.clear()
        _close(client, cluster, settings, running)
    if failures:
        raise SweepFailed(failure_text(failures))


def _close(client: Any, cluster: Any, settings: Settings, running: dict[Any, Point]) -> None:
    """Cancels the points still running and closes what the sweep opened."""
    with contextlib.suppress(Exception):  # a lost scheduler takes nothing more
        client.cancel(list(running))
    if cluster is not None or (settings.client is None and settings.scheduler):
        client.close()
    if cluster is not None:
        cluster.close()


def task_error(future: Any) -> Optional[BaseException]:
    """The error a point's task raised; None when it raised none (its worker was lost). Read while
    the client is open: a closed one gives no error back."""
    from dask.distributed import KilledWorker

    if future.status != "error":
        return None
    try:
        error = future.exception()
    except Exception:  # a scheduler lost meanwhile
        return None
    return None if isinstance(error, KilledWorker) else error


def failure_text(failures: list[tuple[Point, Optional[BaseException]]]) -> str:
    """What became of the points without a row (pairs of the point and the error its task
    raised, None for a lost worker): their workers lost, or the first error a task raised."""
    errors = [(point, error) for point, error in failures if error is not None]
    if not errors:
        return f"{len(failures)} points were lost with their workers{AGAIN}"
    point, error = errors[0]
    where = " ".join(f"{name}={value}" for name, value in zip(point.names, point.values)) or "the base"
    if point.seed is not None:
        where += f" seed={point.seed}"
    return (f"{len(failures)} points have no row; {len(errors)} ended with an error, the first at {where}: "
            f"{type(error).__name__}: {error}{AGAIN}")


# ---------------------------------------------------------------------------------------------
# The command line


def whole_number(text: str) -> int:
    """An option's whole number; a bad one is quoted in argparse's message."""
    try:
        return int(text)
    except ValueError:
        raise argparse.ArgumentTypeError(f"{quoted(text)} is not a whole number") from None


def mode_name(text: str) -> str:
    if text not in velmora.MODE_NAMES:
        raise argparse.ArgumentTypeError(f"{quoted(text)} is none of {', '.join(velmora.MODE_NAMES)}")
    return text


def arguments(argv: Optional[typing.Sequence[str]]) -> Settings:
    parser = argparse.ArgumentParser(
        prog="python3 -m velmora.sweep",
        description="Runs a scene under every combination of parameter values, on a local Dask cluster or an "
                    "existing Dask scheduler, and writes one tab-separated row of measurements per point.")
    parser.add_argument("base", metavar="BASE.ato", help="the scene every point starts from")
    parser.add_argument("--set", dest="sets", action="append", default=[], metavar="NAME=VALUES",
                        help="A1..G3 or dt: a list a,b,c or start:stop:count; the grid is every combination")
    parser.add_argument("--steps", type=whole_number, default=0, help="steps per point (default 0)")
    parser.add_argument("--seeds", type=whole_number, default=0, metavar="K",
                        help="K copies of each point, velocities scaled by a factor in [0.9, 1.1) drawn from the seed")
    for switch in SWITCHES:
        parser.add_argument(f"--{switch}", action="store_true", help=f"the {switch} switch, as in velmora-batch")
    parser.add_argument("--mode", default="free", type=mode_name, metavar="{" + ",".join(velmora.MODE_NAMES) + "}",
                        help="the confinement mode (default free)")
    parser.add_argument("--workers", type=whole_number, metavar="N", help="a local cluster of N single-threaded workers "
                                                                 "(default: every core)")
    parser.add_argument("--scheduler", metavar="ADDRESS", help="use this Dask scheduler instead of a local cluster")
    parser.add_argument("--dashboard", nargs="?", const="127.0.0.1:8787", metavar="ADDRESS",
                        help="serve the local cluster's Dask dashboard (default address 127.0.0.1:8787)")
    parser.add_argument("--output", metavar="FILE", help="the table (default: standard output)")
    parser.add_argument("--keep", metavar="DIR", help="also save each point's final document here")
    parser.add_argument("--resume", action="store_true", help="go on with the output: run the points it has no row for; the grid may differ, "
                             "the base, steps, switches, mode and names may not")
    options = parser.parse_args(argv)
    return Settings(**vars(options), progress=sys.stderr.isatty())


def quiet_dask() -> None:
    """Leaves what went wrong to the sweep's own line: Dask's loggers say nothing, nor do those of the
    event loop under it (a lost scheduler cancels its tasks, which asyncio and tornado would report)."""
    import distributed  # noqa: F401 (its import sets up its loggers)

    quiet = ("distributed", "asyncio", "tornado")
    for name in [name for name in logging.root.manager.loggerDict if name.split(".")[0] in quiet] + list(quiet):
        logging.getLogger(name).setLevel(logging.CRITICAL + 1)


def catch_signals() -> None:
    """The first ending signal raises Interrupted, so that the sweep tidies up (its cluster closed,
    a table without rows removed) and says so in one line; a later one waits for that. A signal
    ignored by whoever started the sweep (nohup ignores SIGHUP) stays ignored."""
    caught: list[int] = []

    def interrupt(number: int, frame: Optional[FrameType]) -> None:
        if not caught:
            caught.append(number)
            raise Interrupted(number)

    for number in ENDING_SIGNALS:
        if signal.getsignal(number) != signal.SIG_IGN:
            signal.signal(number, interrupt)


def open_standard_descriptors() -> list[int]:
    """Opens each of the descriptors 0-2 that is closed on /dev/null, so that no file the sweep
    opens takes its number; returns those that were closed."""
    closed = []
    for descriptor in (0, 1, 2):
        try:
            os.fstat(descriptor)
        except OSError:
            os.open(os.devnull, os.O_RDONLY if descriptor == 0 else os.O_WRONLY)
            closed.append(descriptor)
    if sys.stdout is None:
        sys.stdout = open(1, "w", closefd=False)
    if sys.stderr is None:
        sys.stderr = open(2, "w", closefd=False)
    return closed


def main(argv: Optional[typing.Sequence[str]] = None) -> int:
    catch_signals()
    count = 0
    try:
        closed = open_standard_descriptors()
        settings = arguments(argv)
        if settings.output is None and 1 in closed:
            raise InputError("the standard output is closed: --output names a file for the table")
        quiet_dask()
        faults = 0
        for row in rows(settings):
            count += 1
            faults += bool(row[len(row) - 1 - (settings.keep is not None)])
    except InputError as error:
        print(f"velmora.sweep: {error}", file=sys.stderr)
        return USAGE_STATUS
    except SweepFailed as error:
        print(f"velmora.sweep: {error}", file=sys.stderr)
        return FAILURE_STATUS
    except OutputClosed:
        # Nothing more can reach the reader that went away, not even what Python flushes at exit.
        os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
        print(f"velmora.sweep: the reader of the table went away after {count} rows", file=sys.stderr)
        return 128 + signal.SIGPIPE
    except KeyboardInterrupt as interruption:
        print(f"velmora.sweep: interrupted{AGAIN}", file=sys.stderr)
        return 128 + getattr(interruption, "signal", signal.SIGINT)
    except OSError as error:
        print(f"velmora.sweep: {error.strerror or error}", file=sys.stderr)
        return FAILURE_STATUS
    print(f"velmora.sweep: {count} points, {faults} ended by a floating-point fault", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
