"""Every example of python/README.md that shows its output prints exactly that."""

import os
import re
import subprocess
import sys
from pathlib import Path

import pytest

import velmora
from conftest import BATCH

README = Path(__file__).resolve().parents[1] / "README.md"
BLOCK = re.compile(r"^```(\w*)\n(.*?)^```$", re.M | re.S)


def shown_examples():
    """(heading, language, code, printed text) of every python or sh block followed by a text block."""
    text = README.read_text()
    blocks = [(m.start(), m.group(1), m.group(2)) for m in BLOCK.finditer(text)]
    for (at, language, code), (_, next_language, printed) in zip(blocks, blocks[1:]):
        if language in ("python", "sh") and next_language == "text":
            heading = re.findall(r"^## (.*)$", text[:at], re.M)[-1]
            yield pytest.param(language, code, printed, id=f"{heading}: {code.splitlines()[-1][:40]}")


@pytest.fixture(scope="module")
def folder(tmp_path_factory):
    """The step benchmark's scene as scene.ato, and examples/ beside it."""
    folder = tmp_path_factory.mktemp("readme")
    build = Path(os.environ.get("VELMORA_BUILD_DIR", Path(BATCH).resolve().parents[2]))
    subprocess.run([build / "tools" / "velmora_bench_scene", folder / "scene.ato"], check=True)
    (folder / "examples").symlink_to(README.parents[1] / "examples")
    return folder


@pytest.mark.parametrize("language, code, printed", shown_examples())
def test_readme_example_prints_what_the_page_shows(folder, language, code, printed):
    tools = [os.path.dirname(sys.executable), os.path.dirname(os.path.abspath(BATCH))]
    environment = dict(os.environ, PYTHONPATH=str(Path(velmora.__file__).parents[1]),
                       PATH=os.pathsep.join([*tools, os.environ.get("PATH", "")]))
    command = [sys.executable, "-c", code] if language == "python" else ["bash", "-c", code]
    result = subprocess.run(command, cwd=folder, env=environment, capture_output=True, text=True, timeout=600)
    assert result.returncode == 0, result.stderr
    assert result.stdout == printed
