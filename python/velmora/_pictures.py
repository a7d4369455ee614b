"""Scene.picture: the scene drawn by the painter of the window and velmora-render."""

import numpy as np

# What the painter draws today; the other choices of the window's View menu are refused rather
# than drawn as something else.
LOOKS = ("dots",)
COLOURS = ("group",)
CANVAS = (846, 289)  # the window's drawing area at its start, velmora-render's default size


def _choice(name, value, choices):
    if value not in choices:
        raise ValueError(f"{name}: expected one of {', '.join(map(repr, choices))}, got {value!r}")


def picture(self, width=CANVAS[0], height=CANVAS[1], *, look="dots", colour_by="group", trails=0, turn=(0, 0, 0),
            zoom=None, taoscope=False, numbers=False):
    """The scene as a PNG image of width x height pixels (bytes), drawn as velmora-render --size
    WIDTHxHEIGHT --turn X,Y,Z --zoom ZOOM draws it: the same pixels for the same settings.

    turn: angles in degrees about the view's x, y and z axes (numbers, or numpy.longdouble for
    exact values); zoom: a length L is drawn L x zoom / 2 pixels long (default 120); taoscope colours by
    parity as the Taoscope switch does; numbers writes the slot numbers beside the dots. look
    ("dots"), colour_by ("group") and trails (0) take only these values for now. No display is
    needed: the painting runs on Qt's offscreen platform.
    """
    _choice("look", look, LOOKS)
    _choice("colour_by", colour_by, COLOURS)
    if trails:
        raise ValueError(f"trails: pictures draw no trails yet, got {trails!r}")
    from velmora import _picture  # loads Qt's libraries with the first picture

    angles = np.asarray(turn, dtype=np.longdouble)
    scale = None if zoom is None else np.asarray([zoom], dtype=np.longdouble)
    return _picture.png(self.to_bytes(), width, height, angles, scale, taoscope, numbers)


def repr_png(self):
    """The scene's picture at the window's size, for Jupyter."""
    return picture(self)
