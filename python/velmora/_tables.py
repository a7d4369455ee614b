"""Tables of numbers as the program writes them, read into pandas or numpy.

velmora-batch --log, the chart window's export and velmora.sweep write every real in the exact
form that reads back to the same extended value, with NAN, INF and -INF for the values that are
not finite. pandas' own read_csv takes some of those texts as missing and others as strings; the
readers here give numpy.longdouble numbers for all of them.
"""

import io
import os
import stat
import typing  # typing.Mapping and the like by the module's name: stubtest takes an imported name as the module's own
from typing import Any, Optional, Union

import numpy as np

import velmora._core as _core
from velmora._quoting import quoted, shown

INTEGER_COLUMNS = ("step", "seed", "steps", "clusters", "largest")
TEXT_COLUMNS = ("fault", "document", "point_group")
MAX_LINE_BYTES = 1 << 20  # the longest line read, as for a trajectory: a file of no lines is refused

_Path = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]
_Table = Any  # a pandas DataFrame (pandas ships no types) or, without pandas, a numpy structured array


def _kind(name: str) -> type:
    if name in INTEGER_COLUMNS:
        return np.int64
    if name in TEXT_COLUMNS:
        return str
    return np.longdouble


def _cell(text: str, kind: type, path: _Path, line: int, name: str) -> Any:
    try:
        return kind(text)
    except ValueError:
        raise ValueError(f"{shown(path)}:{line}: column {name}: {quoted(text)} is not a number") from None


def _open_regular(path: _Path) -> io.BufferedReader:
    """The file at `path` open for reading, refused (ValueError) when it is no regular file: a
    device or a FIFO may never end."""
    descriptor = os.open(path, os.O_RDONLY | os.O_NONBLOCK | os.O_CLOEXEC)
    if not stat.S_ISREG(os.fstat(descriptor).st_mode):
        os.close(descriptor)
        raise ValueError(f"{shown(path)}: not a regular file")
    return os.fdopen(descriptor, "rb")


def _whole_lines(path: _Path) -> list[str]:
    pieces = []
    with _open_regular(path) as file:
        for number, line in enumerate(iter(lambda: file.readline(MAX_LINE_BYTES + 1), b""), start=1):
            if len(line) > MAX_LINE_BYTES and not line.endswith(b"\n"):
                raise ValueError(f"{shown(path)}:{number}: longer than {MAX_LINE_BYTES} bytes")
            pieces.append(line)
    text = b"".join(pieces).decode("utf-8")
    # A row cut off by an interruption (no line end yet) is not a row.
    return text[: text.rfind("\n") + 1].splitlines()


def frame(columns: typing.Mapping[str, np.ndarray], settings: Optional[typing.Mapping[str, str]] = None) -> _Table:
    """A pandas DataFrame of the named columns when pandas is installed (with the table's
    settings, if any, in its attrs["settings"]), otherwise a numpy structured array with the same
    fields (longdouble, int64 or text)."""
    try:
        import pandas  # type: ignore[import]  # ships no types
    except ImportError:
        length = len(next(iter(columns.values()), []))
        fields = [(name, values.dtype) for name, values in columns.items()]
        array = np.empty(length, dtype=fields)
        for name, values in columns.items():
            array[name] = values
        return array
    table = pandas.DataFrame(columns)
    if settings:
        table.attrs["settings"] = settings
    return table


def read_table(path: _Path, expected: Optional[typing.Callable[[list[str]], bool]] = None) -> _Table:
    """The tab-separated table at `path`: its header names the columns; step, seed and steps are
    integers, fault is text, every other column a real read exactly as numpy.longdouble (NAN,
    INF and -INF as numbers). A last line without a line end (a run cut off while writing it)
    is left out, and so are the lines before the header that start with '#' (with pandas their
    "# name<TAB>value" settings go to the DataFrame's attrs["settings"]); a cell that is not a
    number raises ValueError naming the file, line and column."""
    lines = _whole_lines(path)
    # Lines "# name<TAB>value" before the header record the settings the table was made with.
    first = next((k for k, line in enumerate(lines) if not line.startswith("#")), len(lines))
    settings = dict(line[2:].partition("\t")[::2] for line in lines[:first] if line.startswith("# "))
    lines = lines[first:]
    if not lines:
        raise ValueError(f"{shown(path)}: no header line")
    names = lines[0].split("\t")
    if expected and not expected(names):
        raise ValueError(f"{shown(path)}: not such a table: its header is {quoted(lines[0])}")
    return rows_frame(names, [line.split("\t") for line in lines[1:]], settings, path, first + 2)


def rows_frame(names: typing.Sequence[str], rows: typing.Iterable[typing.Sequence[str]],
               settings: Optional[typing.Mapping[str, str]] = None, path: _Path = "", first: int = 1) -> _Table:
    """The rows (lists of cell texts, the first on line `first` of `path`) of a table with the
    columns `names`, as read_table gives them."""
    kinds = [_kind(name) for name in names]
    cells: list[list[Any]] = [[] for _ in names]
    for number, texts in enumerate(rows, start=first):
        if len(texts) != len(names):
            raise ValueError(f"{shown(path)}:{number}: {len(texts)} cells, the header names {len(names)}")
        for column, (text, kind, name) in enumerate(zip(texts, kinds, names)):
            cells[column].append(_cell(text, kind, path, number, name))
    return frame({name: np.array(values, dtype=object if kind is str else kind)
                  for name, kind, values in zip(names, kinds, cells)}, settings)


def read_log(path: _Path) -> _Table:
    """velmora-batch --log's table (or the chart window's export): step (int64), then kinetic,
    potential, total, kinetic1..3, gyration, closest, fastest (longdouble)."""
    return read_table(path, lambda names: names == ["step", *_core.QUANTITY_NAMES])


def read_sweep(path: _Path) -> _Table:
    """velmora.sweep's table: the swept parameters (longdouble), seed (int64, when seeded), the
    quantities (longdouble), steps (int64), fault (text, empty when none) and, where the sweep
    kept the documents, document (text)."""
    return read_table(path, lambda names: {*_core.QUANTITY_NAMES, "steps", "fault"} <= set(names))


def record_frame(self: _core.Record) -> _Table:
    """The quantities of a Record by frame: step, time (step x dt, longdouble), then the quantities
    as velmora-batch --log names them, as read_log gives a log of the same run (with time added)."""
    return frame({"step": self.steps, "time": self.times, **{name: self[name] for name in _core.QUANTITY_NAMES}})
