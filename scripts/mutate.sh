#!/usr/bin/env bash
# Mutation testing of Velmora's own: applies one mutant at a time from scripts/mutants.txt to a
# copy of the sources in build-mutate/, rebuilds the tests that can see it, runs them and reports
# the mutants that no test noticed.
#
#   bash scripts/mutate.sh              every mutant of the list
#   bash scripts/mutate.sh --check      only whether every mutant still applies (no build)
#   bash scripts/mutate.sh --only TEXT  the mutants whose file or description contains TEXT
#   bash scripts/mutate.sh --list FILE  another list
#
# A mutant is a block of lines in the list:
#   # what the mutant misreads (the last comment line before "file:" names it in the report)
#   file: sim/PairLaw.h
#   from: exact text, which must occur exactly once in the file
#   | a further line of the text ("| " and then the line as it stands in the file)
#   to: its replacement (continued the same way)
#   tests: a GoogleTest filter for velmora_core_tests, or "none" (optional)
#   ui: a window test program and its test functions (optional; for mutants in ui/)
#   python: pytest node ids, e.g. python/tests/test_scene.py::test_dt_and_present_round_trip
#     (optional; for the Python module: run with /usr/bin/python3 against the mutant's build/python)
#   tools: a CTest regular expression, e.g. "BatchTool|velmora_batch_trajectory_ase" (optional; for
#     the command-line tools: runs the tests it selects after building the tools and their tests)
# Without "tests:" the core tests run without the long identity suites (the fast evaluation
# against the literal one, the faulting steps), which cannot see a change that both evaluations
# share; the tests of the list are meant to see every mutant without them. They run beside the
# tests of "ui:", "python:" and "tools:" lines too, unless "tests: none" leaves them out.
# A mutant whose text no longer occurs exactly once is reported as stale; one that does not
# compile is reported apart. Neither counts in the score.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 - "$@" <<'PY'
import os, re, shutil, signal, subprocess, sys, time

ROOT = os.getcwd()
WORK = os.path.join(ROOT, "build-mutate")
SRC = os.path.join(WORK, "src")
# The copy is built as scripts/build.sh builds the work tree (the same flags, build/ beside the
# sources), so that the compiler cache serves every file the mutant does not touch.
BUILD = os.path.join(SRC, "build")
DEFAULT_FILTER = "-*FastLawIdentity*:*FastStepIdentity*:HostileSteps*"
TEST_TIMEOUT = 300
PYTHON = "/usr/bin/python3"  # Debian's interpreter, whose numpy and ASE the module's tests need
# What "python:" and "tools:" lines build before their tests run.
PYTHON_TARGETS = {"velmora_python", "velmora-batch"}
TOOL_TARGETS = {"velmora-batch", "velmora-render", "velmora_tool_tests", "velmora_tool_hostile_tests",
                "velmora_render_tool_tests"}
# Window tests also run the tools (PictureTest compares velmora-render's pictures with the canvas).
UI_TOOL_TARGETS = {"velmora-batch", "velmora-render"}
KINDS = ("from", "to", "tests", "ui", "python", "tools")

args = sys.argv[1:]
list_file, only, check_only = os.path.join(ROOT, "scripts", "mutants.txt"), None, False
while args:
    a = args.pop(0)
    if a == "--list": list_file = os.path.abspath(args.pop(0))
    elif a == "--only": only = args.pop(0)
    elif a == "--check": check_only = True
    else: sys.exit(f"mutate.sh: unknown argument {a}")

def parse(path):
    mutants, current, comment, last_key = [], None, "", None
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.rstrip("\n")
        if not line.strip():
            continue
        if line.startswith("#"):
            comment = line[1:].strip()
            continue
        if line.startswith("|") and current is not None and last_key in ("from", "to"):
            current[last_key] += "\n" + line[2:]
            continue
        key, sep, value = line.partition(": ")
        last_key = key
        if not sep:
            sys.exit(f"{path}:{number}: expected 'key: value'")
        if key == "file":
            current = {"name": comment, "file": value, "line": number, "tests": DEFAULT_FILTER, "ui": "",
                       "python": "", "tools": ""}
            mutants.append(current)
        elif current is None or key not in KINDS:
            sys.exit(f"{path}:{number}: unexpected '{key}'")
        else:
            current[key] = value
    for m in mutants:
        if "from" not in m or "to" not in m:
            sys.exit(f"{path}:{m['line']}: mutant without from/to")
    return mutants

def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()

def write(path, text):  # a fresh modification time, so that the build sees the change
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)

def stale_reason(m):
    path = os.path.join(ROOT, m["file"])
    if not os.path.exists(path):
        return "file is gone"
    count = read(path).count(m["from"])
    return None if count == 1 else f"text occurs {count} times"

def sync_sources():
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], check=True,
                           capture_output=True).stdout.decode().split("\0")
    for rel in filter(None, files):
        src, dst = os.path.join(ROOT, rel), os.path.join(SRC, rel)
        if not os.path.isfile(src):
            continue
        with open(src, "rb") as f:
            data = f.read()
        if os.path.exists(dst):
            with open(dst, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        with open(dst, "wb") as f:
            f.write(data)

def run(command, timeout=None, **kw):
    if timeout is None:
        return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **kw)
    # A test that runs out of time is ended with every process it started: a death test's
    # child that a mutant makes hang would otherwise outlive the run.
    with subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True,
                          **kw) as process:
        try:
            output, _ = process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:  # every process of the group has ended meanwhile
                pass
            process.communicate()
            raise
    return subprocess.CompletedProcess(command, process.returncode, output)

def configure():
    launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
    os.environ["CCACHE_BASEDIR"] = os.path.dirname(ROOT)
    os.environ["CCACHE_NOHASHDIR"] = "1"
    r = run(["cmake", "-S", SRC, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
             "-DVELMORA_BUILD_BENCH=OFF"] + launcher)
    if r.returncode:
        sys.exit(r.stdout.decode(errors="replace") + "\nmutate.sh: cmake failed")

def targets_of(m):
    wanted = {"velmora_core_tests"} if m["tests"] != "none" else set()
    if m["ui"]:
        wanted |= {m["ui"].split()[0]} | UI_TOOL_TARGETS
    if m["python"]:
        wanted |= PYTHON_TARGETS
    if m["tools"]:
        wanted |= TOOL_TARGETS
    return wanted

def build(targets):
    return run(["cmake", "--build", BUILD, "--target"] + sorted(targets)).returncode == 0

def tests_pass(m):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    try:
        if m["tests"] != "none":
            r = run([os.path.join(BUILD, "velmora_core_tests"), "--gtest_brief=1",
                     "--gtest_filter=" + m["tests"]], timeout=TEST_TIMEOUT, cwd=BUILD, env=env)
            if r.returncode:
                return False
        if m["ui"]:
            program, *functions = m["ui"].split()
            r = run([os.path.join(BUILD, "tests", "ui", program)] + functions, timeout=TEST_TIMEOUT,
                    cwd=BUILD, env=env)
            if r.returncode:
                return False
        if m["python"]:
            # No byte code is written: a mutant of a .py file and its restored text have the same
            # size and may share a second of modification time, which is all that a cached .pyc
            # is checked against, so the next run would import the mutant again.
            python_env = dict(env, PYTHONPATH=os.path.join(BUILD, "python"), VELMORA_BUILD_DIR=BUILD,
                              VELMORA_BATCH=os.path.join(BUILD, "tools", "batch", "velmora-batch"),
                              PYTHONDONTWRITEBYTECODE="1")
            r = run([PYTHON, "-m", "pytest", "-q", "-p", "no:cacheprovider"] + m["python"].split(),
                    timeout=TEST_TIMEOUT, cwd=SRC, env=python_env)
            if r.returncode:
                return False
        if m["tools"]:
            r = run(["ctest", "--test-dir", BUILD, "-R", m["tools"], "--no-tests=error"],
                    timeout=TEST_TIMEOUT, env=env)
            if r.returncode:
                return False
    except subprocess.TimeoutExpired:
        return False  # a mutant that makes a test hang is noticed
    return True

def label(m):
    return f"{m['file']}: {m['name']}"

mutants = parse(list_file)
if only:
    mutants = [m for m in mutants if only in m["file"] or only in m["name"]]
stale = [(m, stale_reason(m)) for m in mutants]
stale = [(m, why) for m, why in stale if why]
live = [m for m in mutants if not any(m is s for s, _ in stale)]
for m, why in stale:
    print(f"stale    {label(m)} ({why}; {os.path.relpath(list_file, ROOT)}:{m['line']})")
if check_only:
    print(f"{len(live)} of {len(mutants)} mutants apply")
    sys.exit(1 if stale else 0)
if not live:
    sys.exit("mutate.sh: no mutant to run" + (f" (none whose file or name holds {only!r})" if only else ""))

start = time.time()
os.makedirs(SRC, exist_ok=True)
sync_sources()
configure()
targets = set().union(*(targets_of(m) for m in live))
print(f"building the unchanged sources ({', '.join(sorted(targets))}) ...", flush=True)
if not build(targets):
    sys.exit("mutate.sh: the unchanged sources do not build")
selections = {}
for m in live:  # each selection of tests once
    selections.setdefault((m["tests"], m["ui"], m["python"], m["tools"]), m)
for m in selections.values():
    if not tests_pass(m):
        sys.exit(f"mutate.sh: the tests of '{label(m)}' fail without the mutant")
print(f"baseline built and passing after {time.time() - start:.0f} s", flush=True)

killed, survived, unbuilt = [], [], []
for number, m in enumerate(live, 1):
    path = os.path.join(SRC, m["file"])
    original = read(path)
    began = time.time()
    write(path, original.replace(m["from"], m["to"], 1))
    try:
        if not build(targets_of(m)):
            verdict, bucket = "no build", unbuilt
        elif tests_pass(m):
            verdict, bucket = "SURVIVED", survived
        else:
            verdict, bucket = "killed", killed
    finally:
        write(path, original)
    bucket.append(m)
    print(f"[{number:3}/{len(live)}] {verdict:8} {label(m)} ({time.time() - began:.0f} s)", flush=True)

# The tree is left built from the unchanged sources.
build(targets)
elapsed = time.time() - start
print()
for m in survived:
    print(f"survivor: {label(m)} ({os.path.relpath(list_file, ROOT)}:{m['line']})")
for m in unbuilt:
    print(f"does not build: {label(m)} ({os.path.relpath(list_file, ROOT)}:{m['line']})")
scored = len(killed) + len(survived)
score = 100.0 * len(killed) / scored if scored else 0.0
print(f"{len(killed)} killed, {len(survived)} survived, {len(stale)} stale, {len(unbuilt)} not building; "
      f"{elapsed / 60:.1f} min")
print(f"score: {len(killed)}/{scored} = {score:.1f}%")
sys.exit(0 if score >= 95.0 and not stale and not unbuilt else 1)
PY
