"""The type stubs installed beside the compiled module name what it has, with the parameters
inspect.signature reads, and every public function says what it does."""

import ast
import inspect
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
