"""The type stubs installed beside the compiled module name what it has, with the parameters
inspect.signature reads, and every public function says what it does."""

import ast
import inspect
import os
import subprocess
import sys
from pathlib import Path

import pytest

import velmora

STUB = Path(velmora.__file__).parent / "_core.pyi"


def stubbed():
    """{class name or "": {member: parameter names, or None for an attribute}} of the stub."""
    members = {"": {}}
    for node in ast.parse(STUB.read_text()).body:
        if isinstance(node, ast.ClassDef):
            members[node.name] = {
                item.target.id if isinstance(item, ast.AnnAssign) else item.name:
                    [a.arg for a in item.args.args + item.args.kwonlyargs] if isinstance(item, ast.FunctionDef) else None
                for item in node.body if isinstance(item, (ast.FunctionDef, ast.AnnAssign))}
        elif isinstance(node, ast.FunctionDef):
            members[""][node.name] = [a.arg for a in node.args.args + node.args.kwonlyargs]
    return members


def public(owner):
    return [name for name in dir(owner) if not name.startswith("_")]


OWNERS = {"Scene": velmora.Scene, "Record": velmora.Record, "": velmora}


@pytest.mark.parametrize("owner", OWNERS, ids=lambda name: name or "module")
def test_stub_has_every_public_member_with_its_parameters_and_a_docstring(owner):
    stub = stubbed()[owner]
    for name in public(OWNERS[owner]):
        member = getattr(OWNERS[owner], name)
        if inspect.isclass(member) or not callable(member) or (not owner and name not in vars(velmora._core)):
            continue
        assert name in stub, f"{owner}.{name} is not in {STUB.name}"
        assert member.__doc__ and member.__doc__.strip(), f"{owner}.{name} has no docstring"
        if stub[name] is not None:
            names = list(inspect.signature(member).parameters)
            bound = int(bool(owner) and not isinstance(inspect.getattr_static(OWNERS[owner], name), staticmethod))
            assert names[bound:] == stub[name][bound:], f"{owner}.{name}"  # the instance by any name


def test_run_has_its_signature():
    parameters = inspect.signature(velmora.Scene.run).parameters
    assert list(parameters)[:3] == ["self", "steps", "blockade"]
    assert parameters["blockade"].kind is inspect.Parameter.KEYWORD_ONLY and parameters["blockade"].default is False


def mypy(*arguments, cache):
    environment = dict(os.environ, PYTHONPATH=str(Path(velmora.__file__).parents[1]), MYPY_CACHE_DIR=str(cache))
    return subprocess.run([sys.executable, "-m", *arguments], capture_output=True, text=True, env=environment,
                          timeout=600)


@pytest.fixture(scope="module")
def cache(tmp_path_factory):
    """One mypy cache for the module's checks, so that numpy is analysed once."""
    return tmp_path_factory.mktemp("mypy")


# The modules of the package written in Python whose every function is annotated.
ANNOTATED = ("velmora", "velmora.ase", "velmora.sweep", "velmora._tables", "velmora._quoting", "velmora._early")


def test_stubs_agree_with_the_module_and_the_examples_type_check(cache):
    checked = mypy("mypy.stubtest", "velmora", cache=cache)
    assert checked.returncode == 0, checked.stdout
    modules = [word for module in ANNOTATED for word in ("-m", module)]
    checked = mypy("mypy", "--follow-imports=silent", "--disallow-untyped-defs", "--disallow-incomplete-defs", *modules,
                   cache=cache)
    assert checked.returncode == 0, checked.stdout
    examples = Path(__file__).resolve().parents[2] / "examples"
    checked = mypy("mypy", "--ignore-missing-imports", str(examples), cache=cache)
    assert checked.returncode == 0, checked.stdout


TYPED = [  # a line of code, whether mypy takes it
    ("record: velmora.Record = scene.run(5, record=1)", True),
    ("nothing: None = scene.run(5, mode='hot')", True),
    ("record: velmora.Record = scene.run(5)", False),
    ("frame: velmora.Scene = scene.run(5, record=1)[0]", True),
    ("frames: velmora.Record = scene.run(5, record=1)[-3:]", True),
    ("kinetic: velmora.Scene = scene.run(5, record=1)['kinetic']", False),
    ("scene.run(5, mode='warm')", False),
    ("velmora.read_sweep(5)", False),
    ("rows: list[list[str]] = list(velmora.sweep.rows(velmora.sweep.Settings('b.ato', {'B1': '2:3:5'}, 10)))", True),
    ("velmora.sweep.Settings('b.ato', ['B1=2,3'], steps='10')", False),
    ("velmora.sweep.Settings('b.ato', mode='warm')", False),
]


def test_the_stubs_give_each_call_its_type(tmp_path, cache):
    # Each line in a function of its own, so that its names stand alone; mypy names the lines it refuses.
    lines = [f"def case{k}(scene: velmora.Scene) -> None:\n    {line}" for k, (line, _) in enumerate(TYPED)]
    (tmp_path / "use.py").write_text("import velmora.sweep\n" + "\n".join(lines) + "\n")
    checked = mypy("mypy", str(tmp_path / "use.py"), cache=cache)
    refused = {int(line.split(":")[1]) for line in checked.stdout.splitlines() if ": error:" in line}
    assert [2 * k + 3 in refused for k in range(len(TYPED))] == [not takes for _, takes in TYPED], checked.stdout
