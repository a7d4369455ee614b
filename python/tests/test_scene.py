"""Scenes from Python: the same bits as velmora-batch, exact arrays, and the errors of bad input."""

import errno
import os
import signal
import subprocess
import sys
import threading
import time

import numpy as np
import pytest

import velmora
from conftest import batch_flags, random_scene, run_batch

RUNS = [  # mode and switches; every mode, every switch, and all of them at once
    dict(mode="free"),
    dict(mode="hot", cool=True),
    dict(mode="cold", blockade=True),
    dict(mode="current1", contact=True),
    dict(mode="current2", taoscope=True),
    dict(mode="hot", blockade=True, cool=True, contact=True, taoscope=True),
]


@pytest.mark.parametrize("settings", RUNS, ids=lambda s: "-".join(f"{k}={v}" for k, v in s.items()))
def test_run_gives_the_document_of_the_batch_tool(scene_file, tmp_path, settings):
    expected = tmp_path / "batch.ato"
    run_batch("--steps", 40, *batch_flags(**settings), "--output", expected, scene_file)
    scene = velmora.Scene.load(scene_file)
    scene.run(15, threads=1, **settings)  # split runs continue where the last one stopped
    scene.run(25, **settings)
    scene.save(tmp_path / "python.ato")
    assert (tmp_path / "python.ato").read_bytes() == expected.read_bytes()
    assert scene.step_count == 40


def test_callback_sees_every_kth_step_and_the_interpreter_runs_meanwhile(scene_file):
    scene = velmora.Scene.load(scene_file)
    seen = []
    scene.run(25, every=10, callback=lambda s: seen.append((s.step_count, s.positions[0, 0])))
    assert [step for step, _ in seen] == [10, 20]
    ticks = []
    runner = threading.Thread(target=scene.run, args=(400,))
    runner.start()
    while runner.is_alive():
        ticks.append(time.perf_counter())
        time.sleep(0.001)
    runner.join()
    assert len(ticks) > 20 and scene.step_count == 425


# Raw encodings: significand (with the explicit integer bit) and sign + exponent.
ENCODINGS = {
    "+inf": (1 << 63, 0x7FFF),
    "-inf": (1 << 63, 0xFFFF),
    "quiet NaN with payload": ((3 << 62) | 0x1234, 0x7FFF),
    "signalling NaN": ((1 << 63) | 1, 0xFFFF),
    "-0": (0, 0x8000),
    "denormal": (1, 0),
    "pseudo-denormal": ((1 << 63) | 5, 0),
    "unnormal": (1 << 40, 0x3FFF),
    "pseudo-infinity": (0, 0x7FFF),
    "pseudo-NaN": (1, 0x7FFF),
    "largest": ((1 << 64) - 1, 0x7FFE),
}


def encoded(names):
    raw = np.zeros((len(names), 16), np.uint8)
    for row, name in enumerate(names):
        significand, top = ENCODINGS[name]
        raw[row, :10] = np.frombuffer(significand.to_bytes(8, "little") + top.to_bytes(2, "little"), np.uint8)
    return raw.view(np.longdouble).reshape(len(names))


def value_bytes(array):
    return np.ascontiguousarray(array).view(np.uint8).reshape(-1, 16)[:, :10]


@pytest.mark.parametrize("attribute, shape, offset", [
    ("positions", (100, 3), lambda slot, axis: 192 + 1000 * axis + 10 * slot),
    ("velocities", (100, 3), lambda slot, axis: 3192 + 1000 * axis + 10 * slot),
    ("parameters", (3, 6), lambda group, letter: 10 + 60 * group + 10 * letter),
])
def test_arrays_keep_every_encoding_in_memory_and_in_the_document(tmp_path, attribute, shape, offset):
    names = list(ENCODINGS)
    values = encoded([names[k % len(names)] for k in range(shape[0] * shape[1])]).reshape(shape)
    scene = velmora.Scene.new()
    setattr(scene, attribute, values.T.copy().T)  # a view with other strides stores the same values
    read = getattr(scene, attribute)
    assert np.array_equal(value_bytes(read), value_bytes(values))
    assert not np.ascontiguousarray(read).view(np.uint8).reshape(-1, 16)[:, 10:].any()  # padding is zero
    scene.save(tmp_path / "a.ato")
    document = (tmp_path / "a.ato").read_bytes()
    for row, column in np.ndindex(*shape):
        where = offset(row, column)
        assert document[where:where + 10] == value_bytes(values[row, column:column + 1]).tobytes()
    assert np.array_equal(value_bytes(getattr(velmora.Scene.load(tmp_path / "a.ato"), attribute)), value_bytes(values))


def test_dt_and_present_round_trip(tmp_path):
    scene = velmora.Scene.new()
    scene.dt = encoded(["signalling NaN"])[0]
    present = np.arange(100) % 3 == 0
    scene.present = present
    scene.save(tmp_path / "a.ato")
    again = velmora.Scene.load(tmp_path / "a.ato")
    assert value_bytes(np.array([again.dt])).tobytes() == value_bytes(encoded(["signalling NaN"])).tobytes()
    assert np.array_equal(again.present, present)
    assert (tmp_path / "a.ato").read_bytes()[6192:6292] == present.astype(np.uint8).tobytes()


def test_new_scene_is_that_of_file_new():
    scene = velmora.Scene.new()
    assert scene.n == 100 and scene.step_count == 0 and not scene.present.any()
    assert scene.dt == np.longdouble("0.01")
    assert np.array_equal(scene.parameters, np.tile(np.array([1, 1, 2, 3, 4, 5], np.longdouble), (3, 1)))
    assert not scene.positions.any() and not scene.velocities.any()


def assign(attribute, value):
    return lambda scene: setattr(scene, attribute, value)


BAD = [
    (assign("positions", np.zeros((100, 3))), TypeError, "positions: expected a numpy array of longdouble with shape (100, 3), got an array of float64"),
    (assign("positions", np.zeros((99, 3), np.longdouble)), ValueError, "got shape (99, 3)"),
    (assign("velocities", [[0.0] * 3] * 100), TypeError, "got list"),
    (assign("parameters", np.zeros(18, np.longdouble)), ValueError, "shape (3, 6), got shape (18,)"),
    (assign("present", np.ones(100, np.int8)), TypeError, "present: expected a numpy array of bool with shape (100,)"),
    (assign("dt", 0.001), TypeError, "dt: expected a numpy.longdouble, got float"),
    (assign("step_count", -1), ValueError, "step_count"),
    (lambda s: s.positions.__setitem__((0, 0), 1), ValueError, "read-only"),
    (lambda s: s.run(-1), ValueError, "steps: expected 0 or more"),
    (lambda s: s.run(1.5), TypeError, "steps: expected an integer, got float"),
    (lambda s: s.run(2**31), OverflowError, "steps: 2147483648 does not fit"),
    (assign("step_count", 2**64), OverflowError, "step_count: 18446744073709551616 does not fit a 64-bit integer"),
    (lambda s: s.run(1, threads=257), ValueError, "threads: expected 1 to 256, got 257"),
    (lambda s: s.accelerations(threads=2**63), OverflowError, "threads: 9223372036854775808"),
    (lambda s: s.run(1, every=2.0, callback=print), TypeError, "every: expected an integer"),
    (lambda s: s.run(1, mode="warm"), ValueError, "mode: 'warm' is none of free, hot, cold, current1, current2"),
    (lambda s: s.run(1, threads=0), ValueError, "threads"),
    (lambda s: s.run(1, every=0, callback=print), ValueError, "every"),
    (lambda s: s.run(1, callback=3), TypeError, "callback"),
    (lambda s: s.listing("speeds"), ValueError, "'positions' or 'velocities'"),
    (lambda s: velmora.Scene.load("/nonexistent/a.ato"), velmora.FileError, "/nonexistent/a.ato: File not found"),
    (lambda s: s.save("/nonexistent/a.ato"), velmora.FileError, "/nonexistent/a.ato: File not found"),
    (lambda s: velmora.Scene.load(os.devnull), velmora.FileError, "Read beyond end of file"),
    (lambda s: velmora.Scene.from_bytes(b"\0" * 6295), ValueError, "6296 bytes"),
    (lambda s: velmora.Scene.from_bytes(b"\0" * 6297), ValueError, "document: a document has 6296 bytes, not 6297"),
    (lambda s: velmora.Scene.from_bytes(bytearray(6296)), TypeError, "document: expected bytes, got bytearray"),
    (lambda s: s.run(5, mode=None), TypeError, "mode: expected a str, got NoneType"),
    (lambda s: s.run(5, cool="no"), TypeError, "cool: expected True or False, got str"),
    (lambda s: s.run(5, blockade=1), TypeError, "blockade: expected True or False, got int"),
]


FILE_ERRORS = [  # what fails, the error's text, errno and filename
    (lambda s: velmora.Scene.load("/nonexistent/a.ato"), "/nonexistent/a.ato: File not found", errno.ENOENT),
    (lambda s: s.save("/nonexistent/a.ato"), "/nonexistent/a.ato: File not found", errno.ENOENT),
    (lambda s: s.save("/proc/version"), "/proc/version: File access denied", errno.EACCES),
    (lambda s: velmora.Scene.load("/"), "/: File access denied", errno.EACCES),
]


@pytest.mark.parametrize("action, text, number", FILE_ERRORS, ids=[row[1] for row in FILE_ERRORS])
def test_file_errors_are_os_errors_with_the_files_name(action, text, number):
    with pytest.raises(OSError) as raised:
        action(velmora.Scene.new())
    assert isinstance(raised.value, velmora.FileError) and str(raised.value) == text
    assert (raised.value.errno, raised.value.filename) == (number, text.split(":")[0])


@pytest.mark.parametrize("action, error, text", BAD, ids=[b[2][:40] for b in BAD])
def test_bad_input_raises_what_was_expected(action, error, text):
    with pytest.raises(error) as raised:
        action(velmora.Scene.new())
    assert text in str(raised.value)


@pytest.mark.parametrize("attribute, index, name", [
    ("dt", None, "dt"),
    ("parameters", (2, 5), "G3"),
    ("positions", (11, 2), "Z of slot 12"),
    ("velocities", (11, 0), "V of slot 12"),
])
def test_a_value_that_is_not_a_number_stops_the_run_before_its_first_step(attribute, index, name):
    scene = random_scene(2)
    scene.present = np.ones(100, bool)
    value = np.longdouble("nan")
    if index is not None:
        value, value[index] = getattr(scene, attribute).copy(), value
    setattr(scene, attribute, value)
    before = scene.to_bytes()
    with pytest.raises(velmora.FloatingPointFault, match=f"^Invalid floating point operation: {name}$"):
        scene.run(5)
    assert scene.to_bytes() == before and scene.step_count == 0


def test_other_threads_read_the_scene_between_two_steps():
    reference = random_scene(4)
    documents = {reference.to_bytes()}
    for _ in range(300):
        reference.run(1, threads=1)
        documents.add(reference.to_bytes())
    scene = random_scene(4)
    runner = threading.Thread(target=scene.run, args=(300,), kwargs=dict(threads=1))
    read = []
    runner.start()
    while runner.is_alive():
        read.append((scene.step_count, scene.to_bytes(), scene.positions))
    runner.join()
    assert any(0 < step < 300 for step, _, _ in read)
    assert all(document in documents for _, document, _ in read)


def fault_scene():
    """One present slot flying so fast that its position overflows after a few steps."""
    scene = velmora.Scene.new()
    scene.dt = np.longdouble(1)
    present = np.zeros(100, bool)
    present[0] = True
    scene.present = present
    velocities = np.zeros((100, 3), np.longdouble)
    velocities[0, 0] = np.finfo(np.longdouble).max / np.longdouble(3.5)
    scene.velocities = velocities
    return scene


def test_fault_names_the_step_as_the_batch_tool_does(tmp_path):
    fault_scene().save(tmp_path / "fast.ato")
    result = run_batch("--steps", 10, "--blockade", tmp_path / "fast.ato", check=False)
    scene = velmora.Scene.load(tmp_path / "fast.ato")
    with pytest.raises(velmora.FloatingPointFault) as raised:
        scene.run(10, blockade=True)
    fault = raised.value
    assert isinstance(fault, velmora.Error)
    assert result.returncode == 1 and result.stderr.strip() == f"velmora-batch: {fault} at step {fault.step}"
    assert str(fault) == "Floating point overflow" and scene.step_count == fault.step - 1


INTERRUPTED = """
import signal, sys, velmora
scene = velmora.Scene.load(sys.argv[1])
print("running", flush=True)
try:
    scene.run(10**7)
except KeyboardInterrupt:
    scene.save(sys.argv[2])
    print(scene.step_count)
"""


def test_ctrl_c_leaves_the_scene_at_the_last_whole_step(scene_file, tmp_path):
    child = subprocess.Popen([sys.executable, "-c", INTERRUPTED, scene_file, tmp_path / "stopped.ato"],
                             stdout=subprocess.PIPE, text=True, env=os.environ)
    assert child.stdout.readline() == "running\n"
    time.sleep(0.5)
    child.send_signal(signal.SIGINT)
    out, _ = child.communicate(timeout=60)
    steps = int(out)
    assert child.returncode == 0 and 0 < steps < 10**7
    run_batch("--steps", steps, "--output", tmp_path / "batch.ato", scene_file)
    assert (tmp_path / "stopped.ato").read_bytes() == (tmp_path / "batch.ato").read_bytes()


def test_observables_are_the_last_row_of_the_batch_log(scene_file):
    log = run_batch("--steps", 20, "--cool", "--contact", "--log", "-", "--log-every", 20, scene_file).stdout
    header, *_, last = [line.split("\t") for line in log.splitlines()]
    scene = velmora.Scene.load(scene_file)
    scene.run(20, cool=True, contact=True)
    measured = scene.observables(contact=True)
    assert header == ["step", *velmora.QUANTITY_NAMES] == ["step", *measured]
    assert last == ["20", *map(velmora.format_exact, measured.values())]


def test_listing_is_that_of_the_batch_tool(scene_file):
    for what in ("positions", "velocities"):
        assert velmora.Scene.load(scene_file).listing(what) == run_batch("--listing", what, scene_file).stdout


@pytest.mark.skipif("VELMORA_BUILD_DIR" not in os.environ, reason="run by CTest, which names the build")
def test_installed_package_is_found_in_the_prefixs_site_folder(tmp_path):
    subprocess.run(["cmake", "--install", os.environ["VELMORA_BUILD_DIR"], "--prefix", tmp_path],
                   check=True, capture_output=True)
    site = tmp_path / f"lib/python{sys.version_info.major}.{sys.version_info.minor}/site-packages"
    found = subprocess.run([sys.executable, "-c", "import velmora; print(velmora.__file__)"], capture_output=True,
                           text=True, env={"PYTHONPATH": str(site)}, cwd=tmp_path, check=True).stdout
    assert found.startswith(str(site / "velmora"))
