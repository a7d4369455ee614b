"""Scene.picture: the scene drawn by the painter of the window and velmora-render."""

import operator

import numpy as np

# The choices of the window's View menu, in the order of the painter's own lists, by velmora-render's names.
LOOKS = ("dots", "spheres")
COLOURS = ("group", "speed", "kinetic", "potential", "cluster", "coordination", "neighbour-class")
CANVAS = (846, 289)  # the window's drawing area at its start, velmora-render's default size
LARGEST = np.longdouble(10**6)  # the largest zoom and turn angle taken; beyond it nothing useful is drawn


def _choice(name, value, choices):
    if value not in choices:
        raise ValueError(f"{name}: expected one of {', '.join(map(repr, choices))}, got {value!r}")


def _integer(name, value):
    try:
        return operator.index(value)
    except TypeError:
        raise TypeError(f"{name}: expected an integer, got {type(value).__name__}") from None


def _bounded(name, value, count, what):
    """The value as `count` longdouble numbers (`what`), each finite and at most LARGEST in size."""
    try:
        numbers = np.asarray(value, dtype=np.longdouble).reshape(-1)
    except (TypeError, ValueError):
        raise TypeError(f"{name}: expected {what}, got {value!r}") from None
    if numbers.size != count:
        raise ValueError(f"{name}: expected {what}, got {value!r}")
    if not (np.abs(numbers) <= LARGEST).all():
        raise ValueError(f"{name}: expected finite numbers of at most {int(LARGEST)} in size, got {value!r}")
    return numbers


def picture(self, width=CANVAS[0], height=CANVAS[1], *, look="dots", colour_by="group", trails=0, turn=(0, 0, 0),
            zoom=None, taoscope=False, numbers=False, radius=None, contact=False):
    """The scene as a PNG image of width x height pixels (bytes), drawn as velmora-render --size
    WIDTHxHEIGHT --turn X,Y,Z --zoom ZOOM --look LOOK --colour-by Q --radius R draws it: the same
    pixels for the same settings.

    turn: angles in degrees about the view's x, y and z axes (numbers, or numpy.longdouble for
    exact values); zoom: a length L is drawn L x zoom / 2 pixels long (default 120); turn angles and zoom
    are finite and at most 1e6 in size; taoscope colours by
    parity as the Taoscope switch does; numbers writes the slot numbers beside the dots. look:
    "dots" or "spheres" (shaded, of radius `radius` in length units, default 0.08); colour_by:
    "group", or "speed", "kinetic" or "potential" (each particle's, on viridis with a colour bar;
    contact measures the potential with the contact part), or "cluster", "coordination" or
    "neighbour-class" (the structure analysis at its defaults, with a legend). trails takes only 0:
    a picture of one scene has no past steps. No display is needed: the painting runs on Qt's
    offscreen platform.
    """
    _choice("look", look, LOOKS)
    _choice("colour_by", colour_by, COLOURS)
    if trails:
        raise ValueError(f"trails: a picture of one scene has no past steps to trail, got {trails!r}; "
                         "velmora-render --trails K draws them from a run")
    from velmora import _picture  # loads Qt's libraries with the first picture

    width, height = _integer("width", width), _integer("height", height)
    angles = _bounded("turn", turn, 3, "three angles in degrees")
    scale = None if zoom is None else _bounded("zoom", zoom, 1, "one number")
    size = None if radius is None else np.asarray([radius], dtype=np.longdouble)
    return _picture.png(self.to_bytes(), width, height, angles, scale, taoscope, numbers,
                        LOOKS.index(look), COLOURS.index(colour_by), size, contact)


def repr_png(self):
    """The scene's picture at the window's size, for Jupyter."""
    return picture(self)
