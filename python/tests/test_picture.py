"""Pictures from Python: the PNG of velmora-render for the same settings, without a display."""

import os
import subprocess
import sys

import numpy as np
import pytest

import velmora
from conftest import random_scene

RENDER = os.environ.get("VELMORA_RENDER", "velmora-render")
SETTINGS = [  # Scene.picture's arguments, velmora-render's options, steps run first
    (dict(), [], 0),
    (dict(width=320, height=200, turn=(30, -45, 10), zoom=80, numbers=True),
     ["--size", "320x200", "--turn", "30,-45,10", "--zoom", "80", "--numbers"], 0),
    (dict(width=200, height=150, taoscope=True, turn=np.array(["0.1", "0", "0"], dtype=np.longdouble)),
     ["--size", "200x150", "--taoscope", "--turn", "0.1,0,0"], 25),
    (dict(width=300, height=200, look="spheres", colour_by="speed", radius=0.1),
     ["--size", "300x200", "--look", "spheres", "--colour-by", "speed", "--radius", "0.1"], 10),
    (dict(colour_by="cluster"), ["--colour-by", "cluster"], 0),
    (dict(look="spheres", colour_by="neighbour-class"), ["--look", "spheres", "--colour-by", "neighbour-class"], 0),
]


@pytest.mark.parametrize("arguments, options, steps", SETTINGS)
def test_picture_is_the_png_of_the_render_tool(tmp_path, arguments, options, steps):
    scene = random_scene(5)
    scene.save(tmp_path / "scene.ato")
    subprocess.run([RENDER, "--quiet", "--steps", str(steps), *options, "--output", tmp_path / "render.png",
                    tmp_path / "scene.ato"], check=True, capture_output=True)
    scene.run(steps, taoscope=arguments.get("taoscope", False))
    assert scene.picture(**arguments) == (tmp_path / "render.png").read_bytes()


def test_pictures_need_no_display_and_show_in_jupyter(tmp_path):
    script = "import velmora; print(velmora.Scene.new()._repr_png_()[:8])"
    environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    environment["QT_QPA_PLATFORM"] = "xcb"  # what a desktop session may set; pictures still need no display
    shown = subprocess.run([sys.executable, "-c", script], env=environment, capture_output=True, text=True, check=True)
    assert shown.stdout.strip() == repr(b"\x89PNG\r\n\x1a\n")


@pytest.mark.parametrize("arguments, message", [
    (dict(width=0), "width: expected 1 to 16384 pixels, got 0"),
    (dict(width=10.5), "width: expected an integer, got float"),
    (dict(height="10"), "height: expected an integer, got str"),
    (dict(zoom=float("nan")), "zoom: expected finite numbers of at most 1000000 in size"),
    (dict(zoom=1e300), "zoom: expected finite numbers"),
    (dict(turn=(0, float("inf"), 0)), "turn: expected finite numbers"),
    (dict(turn=(1e30, 0, 0)), "turn: expected finite numbers"),
    (dict(look="cubes"), "look: expected one of 'dots', 'spheres', got 'cubes'"),
    (dict(colour_by="mass"), "colour_by: expected one of 'group', 'speed', 'kinetic', 'potential', 'cluster', 'coordination', 'neighbour-class', got 'mass'"),
    (dict(trails=100), "trails: a picture of one scene has no past steps"),
    (dict(radius=0), "radius: expected one number above 0"),
    (dict(turn=(1, 2)), "turn: expected three angles in degrees"),
])
def test_picture_refuses_what_it_cannot_draw(arguments, message):
    with pytest.raises((TypeError, ValueError), match=message):
        velmora.Scene.new().picture(**arguments)
