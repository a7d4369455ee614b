"""Every number that the README, the Python page, the manual pages and the help pages show as a
program's output is printed by running the example that shows it, so the pages cannot drift from
the program. An example is a ```python block followed by "It prints" and a fenced block of what it
prints; its inputs are made as the page says (the step benchmark's scene)."""

import os
import pathlib
import re
import subprocess
import sys

import pytest

from test_readme import shown_examples

ROOT = pathlib.Path(__file__).resolve().parents[2]
PAGES = [ROOT / "README.md", ROOT / "python" / "README.md", *sorted((ROOT / "man").glob("*.1")),
         *sorted((ROOT / "ui" / "help").glob("*/*.html"))]
# A number as the program writes it exactly: 21 significant digits with an exponent.
EXACT_NUMBER = re.compile(r"-?\d\.\d{20}e[+-]\d\d")
EXAMPLE = re.compile(r"```python\n(?P<code>(?:(?!```).)*)```\n+It prints\n+```\n(?P<printed>(?:(?!```).)*)```", re.S)
BUILD = pathlib.Path(os.environ.get("VELMORA_BUILD_DIR", ROOT / "build"))


def examples():
    return [pytest.param(page, match, id=f"{page.relative_to(ROOT)}:{match.start()}")
            for page in PAGES for match in EXAMPLE.finditer(page.read_text(encoding="utf-8"))]


def test_every_exact_number_on_a_page_is_printed_by_an_example():
    printed = "".join(example.values[1]["printed"] for example in examples())
    printed += "".join(example.values[2] for example in shown_examples())
    shown = [(page.name, number) for page in PAGES for number in EXACT_NUMBER.findall(page.read_text(encoding="utf-8"))]
    assert shown, "the pages show no numbers: the pattern is wrong"
    assert [(name, number) for name, number in shown if number not in printed] == []


@pytest.mark.parametrize("page, match", examples())
def test_an_example_prints_what_its_page_shows(tmp_path, page, match):
    scene_tool = BUILD / "tools" / "velmora_bench_scene"
    if not scene_tool.exists():
        pytest.skip("the benchmark's scene is built with VELMORA_BUILD_BENCH=ON")
    subprocess.run([scene_tool, tmp_path / "scene.ato"], check=True)
    result = subprocess.run([sys.executable, "-c", match["code"]], cwd=tmp_path, capture_output=True, text=True,
                            env=os.environ)
    assert result.returncode == 0, result.stderr
    assert result.stdout == match["printed"]
