"""Sweeps on Dask: rows and kept documents as velmora-batch gives them, faults, resume only with the
settings a table records, its lock, input errors, failures and an existing scheduler."""

import dataclasses
import os
import re
import resource
import shutil
import signal
import socket
import subprocess
import sys
import threading
import time

import numpy as np
import pytest

import velmora
from conftest import random_scene, run_batch
from velmora import sweep

SWEEP = [sys.executable, "-m", "velmora.sweep"]
QUICK_CONNECT = {**os.environ, "DASK_DISTRIBUTED__COMM__TIMEOUTS__CONNECT": "3s"}


@pytest.fixture
def base(tmp_path):
    path = tmp_path / "base.ato"
    random_scene(21).save(path)
    return path


def table(path):
    """The header and rows of a table, without the settings it records."""
    header, *rows = [line.split("\t") for line in path.read_text().splitlines() if not line.startswith("#")]
    return header, rows


def test_local_cluster_rows_and_documents_are_those_of_the_batch_tool(base, tmp_path):
    # 2 x 2 points, two seeds each; dt = 1e4000 faults at the first step.
    command = [*SWEEP, base, "--set", "B1=2.5,2.718", "--set", "dt=0.001,1e4000", "--seeds", "2", "--steps", "30",
               "--cool", "--mode", "hot", "--workers", "2", "--output", tmp_path / "sweep.tsv",
               "--keep", tmp_path / "kept"]
    assert subprocess.run(command, capture_output=True, timeout=600).returncode == 0
    header, rows = table(tmp_path / "sweep.tsv")
    assert header == ["B1", "dt", "seed", *velmora.QUANTITY_NAMES, "steps", "fault", "document"]
    assert len(rows) == 8
    for row in rows:
        b1, dt, seed = row[:3]
        scene = velmora.Scene.load(base)
        parameters = scene.parameters.copy()
        parameters[0, 1] = np.longdouble(b1)
        scene.parameters = parameters
        scene.dt = np.longdouble(dt)
        scene.velocities = scene.velocities * sweep.seed_factor(int(seed))
        point = tmp_path / "point.ato"
        scene.save(point)
        result = run_batch("--steps", 30, "--cool", "--mode", "hot", "--log", "-", "--log-every", 30,
                           "--output", tmp_path / "batch.ato", point, check=False)
        assert row[-1] == f"B1={b1}_dt={dt}_seed={seed}.ato"
        if np.longdouble(dt) > 1:
            assert result.returncode == 1 and result.stderr.strip() == f"velmora-batch: {row[-2]} at step 1"
            assert row[-3] == "0"
            continue
        assert row[3:-1] == result.stdout.splitlines()[-1].split("\t")[1:] + ["30", ""]
        assert (tmp_path / "kept" / row[-1]).read_bytes() == (tmp_path / "batch.ato").read_bytes()


@pytest.fixture(scope="module")
def client():
    from dask.distributed import Client

    with Client(processes=False, n_workers=2, threads_per_worker=1, dashboard_address=None) as client:
        yield client


RESUMED = ["--set", "A1=0.9:1.1:3", "--set", "G2=29,31", "--steps", "5"]


def resumed_settings(base, output, client):
    return sweep.Settings(base, {"A1": "0.9:1.1:3", "G2": [29, 31]}, steps=5, client=client, output=output)


def test_resume_after_an_interruption_gives_the_full_table_once_and_pandas_reads_it(base, tmp_path, client):
    import pandas

    settings = resumed_settings(base, tmp_path / "t.tsv", client)
    sweep.run(settings)
    header, full = table(tmp_path / "t.tsv")
    # What an interrupted sweep leaves: the settings, the header, some finished rows, a row cut off.
    lines = (tmp_path / "t.tsv").read_text().splitlines(keepends=True)
    (tmp_path / "t.tsv").write_text("".join(lines[:-3]) + lines[-3][:20])
    with pytest.raises(sweep.InputError, match="exists"):
        sweep.run(dataclasses.replace(settings, resume=False))
    resumed = sweep.run(dataclasses.replace(settings, resume=True))
    again_header, again = table(tmp_path / "t.tsv")
    assert again_header == header and sorted(again) == sorted(full) and len(again) == 6
    assert again[:3] == full[:3]  # the rows the table held stay as they were
    read = velmora.read_sweep(tmp_path / "t.tsv")
    assert resumed.equals(read) and resumed.attrs == read.attrs and list(resumed["steps"]) == [5] * 6
    frame = pandas.read_csv(tmp_path / "t.tsv", sep="\t", comment="#")
    assert list(frame.columns) == header and frame.shape == (6, len(header))
    assert sorted(frame["A1"]) == sorted(float(row[0]) for row in again)


@pytest.fixture(scope="module")
def finished(tmp_path_factory, client):
    """A base and the table of its finished sweep with the settings of RESUMED."""
    folder = tmp_path_factory.mktemp("finished")
    random_scene(21).save(folder / "base.ato")
    random_scene(22).save(folder / "other.ato")
    sweep.run(resumed_settings(folder / "base.ato", folder / "t.tsv", client))
    return folder


OTHER_TABLES = [
    ("base.ato", ["--steps", "6"], None, "steps: 5 in the table, 6 now"),
    ("base.ato", ["--cool", "--taoscope"], None, "switches: none in the table, cool taoscope now"),
    ("base.ato", ["--mode", "hot"], None, "mode: free in the table, hot now"),
    ("base.ato", ["--seeds", "2"], None, "seeds: 0 in the table, 2 now"),
    ("base.ato", ["--set", "B3=1"], None, "set B3: not given in the table, 1.00000000000000000000e+00 now"),
    ("base.ato", ["--keep", "kept"], None, "documents: not kept in the table, kept now"),  # and no folder made
    ("other.ato", [], None, "base: sha256:"),
    ("base.ato", [], b"A1\tkinetic\n", "records no settings of velmora.sweep"),
    ("base.ato", [], b"# steps\t5\n\xff\xfe\t1\n", "is no table of velmora.sweep: it is not UTF-8 text"),
]


EXTENDED_GRIDS = [  # the finished table's grid, A1=0.9:1.1:3 by G2=29,31, becomes: the points it lacks
    ({"A1": "0.9:1.1:3", "G2": [29, 31, 33]}, 3),
    ({"A1": "0.9:1.1:5", "G2": [29, 31]}, 4),  # 0.9, 1.0 and 1.1 are there, to the last bit
    ({"A1": [1.1], "G2": [29]}, 0),  # the rows of points outside the grid stay
]


@pytest.mark.parametrize("sets, missing", EXTENDED_GRIDS, ids=["longer list", "finer range", "smaller grid"])
def test_resume_with_another_grid_runs_the_points_the_table_lacks_and_keeps_its_rows(finished, tmp_path, client,
                                                                                      sets, missing):
    output = tmp_path / "t.tsv"
    shutil.copy(finished / "t.tsv", output)
    header, old = table(output)
    settings = sweep.Settings(finished / "base.ato", sets, steps=5, client=client, output=output, resume=True)
    resumed = sweep.run(settings)
    fresh = sweep.run(dataclasses.replace(settings, output=tmp_path / "fresh.tsv", resume=False))
    now, rows = table(output)
    assert now == header and rows[:len(old)] == old and len(rows) == len(resumed) == len(old) + missing
    assert {tuple(row) for row in table(tmp_path / "fresh.tsv")[1]} <= {tuple(row) for row in rows}
    read = velmora.read_sweep(output)
    assert resumed.equals(read) and read.attrs == fresh.attrs  # the settings of the table are the new grid's
    assert sorted(os.listdir(tmp_path)) == ["fresh.tsv", "t.tsv"]


@pytest.mark.parametrize("base_name, changes, text, message", OTHER_TABLES, ids=[row[3][:30] for row in OTHER_TABLES])
def test_resume_refuses_a_table_of_other_settings_and_leaves_it_as_it_was(finished, tmp_path, capsys, monkeypatch,
                                                                          base_name, changes, text, message):
    monkeypatch.chdir(tmp_path)
    output = tmp_path / "t.tsv"
    output.write_bytes(text or (finished / "t.tsv").read_bytes())
    before = output.read_bytes()
    arguments = [str(finished / base_name), *RESUMED, *map(str, changes), "--output", str(output), "--resume"]
    assert sweep.main(arguments) == 2
    assert message in capsys.readouterr().err and output.read_bytes() == before
    assert sorted(os.listdir(tmp_path)) == ["t.tsv"]


def test_a_second_sweep_on_a_table_being_written_says_who_holds_it(base, tmp_path, client, capsys):
    output = tmp_path / "t.tsv"
    running = sweep.rows(sweep.Settings(base, {"A1": "1:2:20"}, steps=5, client=client, output=output))
    next(running)
    assert sweep.main([str(base), "--set", "A1=1:2:20", "--steps", "5", "--output", str(output), "--resume"]) == 2
    assert f"t.tsv is being written by another sweep (process {os.getpid()})\n" in capsys.readouterr().err
    assert len(list(running)) == 19 and len(table(output)[1]) == 20


@pytest.mark.parametrize("own_client", [False, True])  # True: the sweep's own client, closed at its end
def test_a_point_whose_task_raised_reports_the_error_and_leaves_no_table(base, tmp_path, client, monkeypatch,
                                                                         own_client):
    def failing(job, point):
        raise MemoryError("no room for the scene")

    monkeypatch.setattr(sweep, "run_point", failing)
    where = {"scheduler": client.scheduler.address} if own_client else {"client": client}
    settings = sweep.Settings(base, {"A1": [1, 2]}, output=tmp_path / "t.tsv", **where)
    with pytest.raises(sweep.SweepFailed, match="2 points have no row; 2 ended with an error, the first at "
                                                "A1=.*: MemoryError: no room for the scene; the finished points"):
        sweep.run(settings)
    assert not (tmp_path / "t.tsv").exists()


def test_a_full_disk_keeps_whole_rows_and_resume_completes_the_table(base, tmp_path, client):
    settings = sweep.Settings(base, {"A1": "1:2:8"}, steps=2, client=client, output=tmp_path / "t.tsv")
    old = resource.getrlimit(resource.RLIMIT_FSIZE)
    handler = signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (2000, old[1]))  # the settings, the header and a few rows
    try:
        with pytest.raises(sweep.SweepFailed, match=r"^.*t\.tsv: File too large; the finished points are in"):
            sweep.run(settings)
    finally:
        resource.setrlimit(resource.RLIMIT_FSIZE, old)
        signal.signal(signal.SIGXFSZ, handler)
    assert 0 < len(table(tmp_path / "t.tsv")[1]) < 8
    sweep.run(dataclasses.replace(settings, resume=True))
    _, rows = table(tmp_path / "t.tsv")
    assert len(rows) == 8 and len({row[0] for row in rows}) == 8


def test_kept_documents_of_long_settings_get_short_names_that_their_rows_give(base, tmp_path, client):
    sets = {name: ["1.5"] for name in velmora.PARAMETER_NAMES}
    settings = sweep.Settings(base, sets, steps=2, client=client, output=tmp_path / "t.tsv", keep=tmp_path / "kept")
    [name] = sweep.run(settings)["document"]
    assert re.fullmatch(r"point-[0-9a-f]{16}\.ato", name)
    assert (velmora.Scene.load(tmp_path / "kept" / name).parameters == np.longdouble("1.5")).all()


def test_a_sweep_follows_its_own_client_and_not_the_newest_one(base, tmp_path, client):
    from dask.distributed import Client

    release = threading.Event()
    with Client(client.scheduler.address) as newest:  # the client dask takes where none is named
        newest.loop.add_callback(release.wait, 60)  # its loop answers nothing meanwhile
        try:
            started = time.monotonic()
            sweep.run(sweep.Settings(base, {"A1": [1, 2]}, steps=2, client=client, output=tmp_path / "t.tsv"))
            assert time.monotonic() - started < 30
        finally:
            release.set()


def listeners(pid):
    """The addresses on which a process and its children listen for TCP connections."""
    import psutil

    try:
        processes = [psutil.Process(pid), *psutil.Process(pid).children(recursive=True)]
        return {c.laddr.ip for p in processes for c in p.connections("tcp") if c.status == psutil.CONN_LISTEN}
    except psutil.Error:  # a process that ended meanwhile
        return set()


def test_ctrl_c_keeps_the_finished_rows_and_resume_runs_the_rest(base, tmp_path):
    command = [*SWEEP, base, "--set", "A1=0.5:1.5:12", "--steps", "400", "--workers", "2",
               "--output", tmp_path / "t.tsv"]
    sweeping = subprocess.Popen(command, stderr=subprocess.PIPE, text=True)
    deadline = time.monotonic() + 300
    addresses = set()
    while time.monotonic() < deadline and len(table_lines(tmp_path / "t.tsv")) < 3:
        addresses |= listeners(sweeping.pid)
        time.sleep(0.2)
    sweeping.send_signal(signal.SIGINT)
    _, err = sweeping.communicate(timeout=120)
    assert addresses == {"127.0.0.1"}  # the local cluster listens on this machine only
    assert sweeping.returncode == 130, err
    assert err.endswith("velmora.sweep: interrupted; the finished points are in the table, --resume runs the rest\n")
    header, rows = table(tmp_path / "t.tsv")
    assert 2 <= len(rows) < 12 and all(len(row) == len(header) for row in rows)
    resumed = subprocess.run([*command, "--resume"], capture_output=True, timeout=600)
    assert resumed.returncode == 0
    _, all_rows = table(tmp_path / "t.tsv")
    assert sorted(row[0] for row in all_rows) == sorted({row[0] for row in all_rows}) and len(all_rows) == 12


def table_lines(path):
    return [line for line in path.read_text().splitlines() if not line.startswith("#")] if path.exists() else []


@pytest.mark.parametrize("arguments, message", [
    (["--set", "E1=1"], "'E1' is none of the parameters"),
    (["--set", "B1="], "B1=: an empty value"),
    (["--set", "B1=1,,2"], "an empty value"),
    (["--set", "B1=1:2"], "a range is start:stop:count"),
    (["--set", "B1=1:2:0"], "the count must be 1 or more"),
    (["--set", "B1=abc"], "'abc' is not a valid floating point value"),
    (["--set", "B1=1", "--set", "B1=2"], "B1 is set twice"),
    (["--workers", "2", "--scheduler", "tcp://127.0.0.1:1"], "exclude each other"),
    (["--steps", "3000000000"], "steps: 3000000000 is outside the range it takes, from 0 to 2147483647"),
    (["--seeds", "3000000000"], "the grid has 3000000000 points, more than the 1000000 a sweep takes"),
    (["--set", "A1=0:1:1001", "--set", "dt=1:2:1000"], "the grid has 1001000 points"),
    (["--scheduler", "nonsense://host"], "--scheduler nonsense://host: unknown address scheme 'nonsense'"),
    (["--output", os.devnull, "--resume"], f"{os.devnull} is not a regular file"),
    (["--seeds", "99999999999999999999"], "the grid has 99999999999999999999 points, more than the 1000000"),
    ([word for name in ("A1", "A2", "A3", "B1", "B2", "B3", "C1") for word in ("--set", f"{name}=0:1:1000")],
     "the grid has 1000000000000000000000 points"),
    # With a scheduler too: a sweep that took 300 would be refused for that, not start 300 workers.
    (["--workers", "300", "--scheduler", "tcp://127.0.0.1:1"], "workers: 300 is outside the range it takes, from 1 to 256"),
    (["--set", "B1=\x1b[2J"], "'B1=\\x1B[2J': '\\x1B[2J' is not a valid floating point value"),
    (["--set", "B1=" + "7" * 100000 + "x"], "B1=" + "7" * 197 + "'...: '" + "7" * 200 + "'... is not a valid"),
    (["--scheduler", "nonsense\x9b://host"], "--scheduler 'nonsense\\xC2\\x9B://host': "),
])
def test_input_errors_end_with_status_2_before_any_work(base, tmp_path, capsys, arguments, message):
    assert sweep.main([str(base), "--output", str(tmp_path / "o.tsv"), *arguments]) == 2
    assert message in capsys.readouterr().err and not (tmp_path / "o.tsv").exists()


def test_a_table_named_like_a_kept_document_is_refused(base, tmp_path, capsys):
    arguments = [str(base), "--set", "A1=1", "--keep", str(tmp_path / "kept"), "--output", str(tmp_path / "kept" / "A1=1.ato")]
    assert sweep.main(arguments) == 2
    assert "a table in the --keep folder is not named like its documents" in capsys.readouterr().err


def sweep_process(base, tmp_path, **options):
    command = [*SWEEP, base, "--set", "A1=0.5:1.5:12", "--steps", "400", "--workers", "2"]
    return subprocess.Popen(command + (["--output", tmp_path / "t.tsv"] if tmp_path else []), stderr=subprocess.PIPE,
                            text=True, **options)


def signals(pid, kind):
    """The set of signals of a process, as a mask: kind SigCgt (caught), SigBlk or SigIgn."""
    with open(f"/proc/{pid}/status", encoding="ascii") as status:
        return int(next(line for line in status if line.startswith(kind + ":")).split()[1], 16)


def catches(pid, number):
    """Whether the process has a handler of its own for the signal."""
    return bool(signals(pid, "SigCgt") >> (number - 1) & 1)


ENDING = sum(1 << (number - 1) for number in sweep.ENDING_SIGNALS)


@pytest.mark.parametrize("number, after_rows", [(signal.SIGINT, 2), (signal.SIGTERM, 2), (signal.SIGHUP, 2),
                                                (signal.SIGINT, 0)])  # 0: as soon as the sweep catches it
def test_every_signal_to_the_process_group_ends_the_sweep_in_its_one_line(base, tmp_path, number, after_rows):
    import psutil

    sweeping = sweep_process(base, tmp_path, start_new_session=True)
    deadline = time.monotonic() + 300
    while time.monotonic() < deadline and (len(table_lines(tmp_path / "t.tsv")) < 1 + after_rows
                                           or not catches(sweeping.pid, signal.SIGTERM)):
        time.sleep(0.01)
    # The workers and multiprocessing's resource tracker block or ignore each of them.
    for child in psutil.Process(sweeping.pid).children(recursive=True) if after_rows else []:
        assert (signals(child.pid, "SigBlk") | signals(child.pid, "SigIgn")) & ENDING == ENDING, child.cmdline()
    os.killpg(sweeping.pid, number)  # as a terminal sends it: to the workers too
    _, err = sweeping.communicate(timeout=120)
    assert (sweeping.returncode, err) == (128 + number, f"velmora.sweep: interrupted{sweep.AGAIN}\n")
    if after_rows:
        assert after_rows <= len(table(tmp_path / "t.tsv")[1]) < 12
    else:  # nothing to resume: no table to block the next sweep
        assert not (tmp_path / "t.tsv").exists()


@pytest.mark.parametrize("number", [signal.SIGINT, signal.SIGTERM])
def test_a_signal_while_the_package_imports_ends_the_sweep_in_its_one_line(base, tmp_path, number):
    # -X importtime writes a line as each module is imported: numpy's first comes while the package
    # imports, before the sweep's own code runs.
    command = [sys.executable, "-X", "importtime", *SWEEP[1:], base, "--set", "A1=1", "--output", tmp_path / "t.tsv"]
    sweeping = subprocess.Popen(command, stderr=subprocess.PIPE, text=True)
    next(line for line in sweeping.stderr if "numpy" in line)
    sweeping.send_signal(number)
    said = [line for line in sweeping.stderr.read().splitlines() if not line.startswith("import time:")]
    assert (sweeping.wait(timeout=120), said) == (128 + number, [f"velmora.sweep: interrupted{sweep.AGAIN}"])
    assert not (tmp_path / "t.tsv").exists()


def test_a_reader_that_goes_away_is_no_lost_scheduler(base):
    sweeping = sweep_process(base, None, stdout=subprocess.PIPE)
    while sweeping.stdout.readline().startswith("#"):  # the settings, then the header
        pass
    sweeping.stdout.close()  # as `| head` does
    err = sweeping.stderr.read()
    assert sweeping.wait(timeout=120) == 128 + signal.SIGPIPE
    assert re.fullmatch(r"velmora.sweep: the reader of the table went away after [0-9]+ rows\n", err), err


def test_a_table_on_a_closed_standard_output_is_refused(base):
    result = subprocess.run([*SWEEP, base, "--set", "A1=1"], stderr=subprocess.PIPE, text=True, timeout=120,
                            preexec_fn=lambda: os.close(1))
    assert (result.returncode, result.stderr) == (2, "velmora.sweep: the standard output is closed: --output names "
                                                     "a file for the table\n")


def test_a_missing_base_is_an_input_error(tmp_path, capsys):
    assert sweep.main([str(tmp_path / "none.ato")]) == 2
    assert "none.ato: File not found" in capsys.readouterr().err


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def test_an_unreachable_scheduler_is_one_line_and_status_1(base, tmp_path):
    address = f"tcp://127.0.0.1:{free_port()}"
    result = subprocess.run([*SWEEP, base, "--scheduler", address, "--output", tmp_path / "o.tsv"],
                            capture_output=True, text=True, timeout=120, env=QUICK_CONNECT)
    assert (result.returncode, result.stderr) == (1, f"velmora.sweep: the scheduler {address} cannot be reached: "
                                                     f"Timed out trying to connect to {address} after 3 s\n")
    assert not (tmp_path / "o.tsv").exists()


def test_scheduler_runs_the_sweep_as_a_local_cluster_does_and_its_loss_is_one_line(base, tmp_path, client):
    address = f"tcp://127.0.0.1:{free_port()}"
    cli = [sys.executable, "-m"]
    processes = [subprocess.Popen(cli + ["distributed.cli.dask_scheduler", "--host", "127.0.0.1", "--port",
                                         address.rsplit(":", 1)[1], "--dashboard-address", ":0"],
                                  stderr=subprocess.DEVNULL)]
    try:
        processes += [subprocess.Popen(cli + ["distributed.cli.dask_worker", address, "--nthreads", "1",
                                              "--no-dashboard", "--local-directory", tmp_path],
                                       stderr=subprocess.DEVNULL) for _ in range(2)]
        sets = ["--set", "C3=4.5,5.5", "--set", "D1=9:11:2", "--steps", "10", "--contact"]
        result = subprocess.run([*SWEEP, base, *sets, "--scheduler", address, "--output", tmp_path / "remote.tsv"],
                                capture_output=True, timeout=300)
        assert result.returncode == 0, result.stderr
        sweep.run(sweep.Settings(base, {"C3": "4.5,5.5", "D1": "9:11:2"}, 10, contact=True, client=client,
                                 output=tmp_path / "local.tsv"))
        remote, local = table(tmp_path / "remote.tsv"), table(tmp_path / "local.tsv")
        assert remote[0] == local[0] and sorted(remote[1]) == sorted(local[1]) and len(local[1]) == 4

        long_sweep = subprocess.Popen([*SWEEP, base, "--set", "A1=1:2:40", "--steps", "300", "--scheduler", address,
                                       "--output", tmp_path / "lost.tsv"], stderr=subprocess.PIPE, text=True,
                                      env=QUICK_CONNECT)
        deadline = time.monotonic() + 300
        while time.monotonic() < deadline and len(table_lines(tmp_path / "lost.tsv")) < 2:
            time.sleep(0.05)
        processes[0].kill()
        _, err = long_sweep.communicate(timeout=120)
        assert long_sweep.returncode == 1 and re.fullmatch(
            r"velmora.sweep: the Dask scheduler was lost[^\n]*; the finished points are in the table, "
            r"--resume runs the rest\n", err), err
        assert 1 <= len(table(tmp_path / "lost.tsv")[1]) < 40
    finally:
        for process in processes:
            process.kill()
            process.wait(timeout=30)
