"""Scene.picture: the scene drawn by the painter of the window and velmora-render."""

import numpy as np

# The choices of the window's View menu, in the order of the painter's own lists, by velmora-render's names.
LOOKS = ("dots", "spheres")
COLOURS = ("group", "speed", "kinetic", "potential")
CANVAS = (846, 289)  # the window's drawing area at its start, velmora-render's default size


def _choice(name, value, choices):
    if value not in choices:
        raise ValueError(f"{name}: expected one of {', '.join(map(repr, choices))}, got {value!r}")


def picture(self, width=CANVAS[0], height=CANVAS[1], *, look="dots", colour_by="group", trails=0, turn=(0, 0, 0),
            zoom=None, taoscope=False, numbers=False, radius=None, contact=False):
    """The scene as a PNG image of width x height pixels (bytes), drawn as velmora-render --size
    WIDTHxHEIGHT --turn X,Y,Z --zoom ZOOM --look LOOK --colour-by Q --radius R draws it: the same
    pixels for the same settings.

    turn: angles in degrees about the view's x, y and z axes (numbers, or numpy.longdouble for
    exact values); zoom: a length L is drawn L x zoom / 2 pixels long (default 120); taoscope colours by
    parity as the Taoscope switch does; numbers writes the slot numbers beside the dots. look:
    "dots" or "spheres" (shaded, of radius `radius` in length units, default 0.08); colour_by:
    "group", or "speed", "kinetic" or "potential" (each particle's, on viridis with a colour bar;
    contact measures the potential with the contact part). trails takes only 0: a picture of one
    scene has no past steps. No display is needed: the painting runs on Qt's offscreen platform.
    """
    _choice("look", look, LOOKS)
    _choice("colour_by", colour_by, COLOURS)
    if trails:
        raise ValueError(f"trails: a picture of one scene has no past steps to trail, got {trails!r}; "
                         "velmora-render --trails K draws them from a run")
    from velmora import _picture  # loads Qt's libraries with the first picture

    angles = np.asarray(turn, dtype=np.longdouble)
    scale = None if zoom is None else np.asarray([zoom], dtype=np.longdouble)
    size = None if radius is None else np.asarray([radius], dtype=np.longdouble)
    return _picture.png(self.to_bytes(), width, height, angles, scale, taoscope, numbers,
                        LOOKS.index(look), COLOURS.index(colour_by), size, contact)


def repr_png(self):
    """The scene's picture at the window's size, for Jupyter."""
    return picture(self)
