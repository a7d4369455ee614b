"""Sweeps on Dask: rows and kept documents as velmora-batch gives them, faults, resume, input
errors and an existing scheduler."""

import os
import signal
import socket
import subprocess
import sys
import time

import numpy as np
import pytest

import velmora
from conftest import random_scene, run_batch
from velmora import sweep

QUANTITIES = len(velmora.QUANTITY_NAMES)


@pytest.fixture
def base(tmp_path):
    path = tmp_path / "base.ato"
    random_scene(21).save(path)
    return path


def table(path):
    header, *rows = [line.split("\t") for line in path.read_text().splitlines()]
    return header, rows


def test_local_cluster_rows_and_documents_are_those_of_the_batch_tool(base, tmp_path):
    # 2 x 2 points, two seeds each; dt = 1e4000 faults at the first step.
    command = [sys.executable, "-m", "velmora.sweep", base, "--set", "B1=2.5,2.718", "--set", "dt=0.001,1e4000",
               "--seeds", "2", "--steps", "30", "--cool", "--mode", "hot", "--workers", "2",
               "--output", tmp_path / "sweep.tsv", "--keep", tmp_path / "kept"]
    assert subprocess.run(command, capture_output=True, timeout=600).returncode == 0
    header, rows = table(tmp_path / "sweep.tsv")
    assert header == ["B1", "dt", "seed", *velmora.QUANTITY_NAMES, "steps", "fault"]
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
        kept = tmp_path / "kept" / f"B1={b1}_dt={dt}_seed={seed}.ato"
        if np.longdouble(dt) > 1:
            assert result.returncode == 1 and result.stderr.strip() == f"velmora-batch: {row[-1]} at step 1"
            assert row[-2] == "0"
            continue
        assert row[3:] == result.stdout.splitlines()[-1].split("\t")[1:] + ["30", ""]
        assert kept.read_bytes() == (tmp_path / "batch.ato").read_bytes()


@pytest.fixture(scope="module")
def client():
    from dask.distributed import Client

    with Client(processes=False, n_workers=2, threads_per_worker=1, dashboard_address=None) as client:
        yield client


def test_resume_after_an_interruption_gives_the_full_table_once(base, tmp_path, client):
    options = dict(sets={"A1": "0.9:1.1:3", "G2": [29, 31]}, steps=5, client=client, output=tmp_path / "t.tsv")
    sweep.run(base, **options)
    header, full = table(tmp_path / "t.tsv")
    # What an interrupted sweep leaves: the header, some finished rows, a row cut off.
    lines = (tmp_path / "t.tsv").read_text().splitlines(keepends=True)
    (tmp_path / "t.tsv").write_text("".join(lines[:3]) + lines[3][:20])
    with pytest.raises(sweep.InputError, match="exists"):
        sweep.run(base, **options)
    assert len(sweep.run(base, resume=True, **options)) == 4
    again_header, again = table(tmp_path / "t.tsv")
    assert again_header == header and sorted(again) == sorted(full) and len(again) == 6


def test_ctrl_c_keeps_the_finished_rows_and_resume_runs_the_rest(base, tmp_path):
    command = [sys.executable, "-m", "velmora.sweep", base, "--set", "A1=0.5:1.5:12", "--steps", "400",
               "--workers", "2", "--output", tmp_path / "t.tsv"]
    sweeping = subprocess.Popen(command, stderr=subprocess.PIPE, text=True)
    deadline = time.monotonic() + 300
    while time.monotonic() < deadline and len(table_lines(tmp_path / "t.tsv")) < 3:
        time.sleep(0.05)
    sweeping.send_signal(signal.SIGINT)
    _, err = sweeping.communicate(timeout=120)
    assert sweeping.returncode == 130, err
    assert err.endswith("velmora.sweep: interrupted; the finished points are in the table, --resume runs the rest\n")
    header, rows = table(tmp_path / "t.tsv")
    assert 2 <= len(rows) < 12 and all(len(row) == len(header) for row in rows)
    resumed = subprocess.run([*command, "--resume"], capture_output=True, timeout=600)
    assert resumed.returncode == 0
    _, all_rows = table(tmp_path / "t.tsv")
    assert sorted(row[0] for row in all_rows) == sorted({row[0] for row in all_rows}) and len(all_rows) == 12


def table_lines(path):
    return path.read_text().splitlines() if path.exists() else []


@pytest.mark.parametrize("arguments, message", [
    (["--set", "E1=1"], "'E1' is none of the parameters"),
    (["--set", "B1="], "B1=: an empty value"),
    (["--set", "B1=1,,2"], "an empty value"),
    (["--set", "B1=1:2"], "a range is start:stop:count"),
    (["--set", "B1=1:2:0"], "the count must be 1 or more"),
    (["--set", "B1=abc"], "'abc' is not a valid floating point value"),
    (["--set", "B1=1", "--set", "B1=2"], "B1 is set twice"),
    (["--workers", "2", "--scheduler", "tcp://127.0.0.1:1"], "exclude each other"),
])
def test_input_errors_end_with_status_2_before_any_work(base, tmp_path, capsys, arguments, message):
    assert sweep.main([str(base), *arguments, "--output", str(tmp_path / "o.tsv")]) == 2
    assert message in capsys.readouterr().err and not (tmp_path / "o.tsv").exists()


def test_a_missing_base_is_an_input_error(tmp_path, capsys):
    assert sweep.main([str(tmp_path / "none.ato")]) == 2
    assert "none.ato: File not found" in capsys.readouterr().err


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def test_scheduler_runs_the_sweep_as_a_local_cluster_does(base, tmp_path, client):
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
        result = subprocess.run([sys.executable, "-m", "velmora.sweep", base, *sets, "--scheduler", address,
                                 "--output", tmp_path / "remote.tsv"], capture_output=True, timeout=300)
        assert result.returncode == 0, result.stderr
        sweep.run(base, {"C3": "4.5,5.5", "D1": "9:11:2"}, 10, contact=True, client=client,
                  output=tmp_path / "local.tsv")
        remote, local = table(tmp_path / "remote.tsv"), table(tmp_path / "local.tsv")
        assert remote[0] == local[0] and sorted(remote[1]) == sorted(local[1]) and len(local[1]) == 4
    finally:
        for process in processes:
            process.terminate()
            process.wait(timeout=30)
