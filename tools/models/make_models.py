#!/usr/bin/env python3
"""Writes data/models.json, the source of models.bbx: every sphere model the
game draws.

    python3 tools/models/make_models.py        # then: tools/models/contact_sheet.sh

How a model is written here
  data/model_ids.csv lists every model the game draws with its ID and the
  zoom, pitch and yaw the game draws it at; the catalogue below names the
  function that builds each. Each function places spheres and series on a
  Figure of the model's zoom. Figure coordinates are screen pixels at that
  zoom, so sizes compare directly with the 48-pixel map cell:
    x    sideways (screen right when the figure faces the viewer)
    up   height above the ground (the file's y grows downward; Figure turns it)
    z    towards the figure's front: where it looks and walks
  Figure turns its front to where the game expects it (+z for people and the
  sleigh, -x for the reindeer, +x for the pointer arrows).

  Nothing is shaded by the renderer, so body parts get a lighter, smaller
  sphere a little higher up ("lit from the sky"); that reads the same at every
  heading. Very dark colours stay above (8, 4, 8): in 16-bit colour anything
  darker becomes 0, the transparent key.

Sprite sizes
  fit_standing() measures a model at every heading and sets its sprite size
  and ground height so that the lowest point touches the sprite's bottom row
  (the game puts that row on the object's footprint) and nothing touches the
  other edges; each frame of an animation keeps its feet on that row. fit_centred() and
  fit_hotspot() do the same for effects, icons, arrows and the pointer.
"""

import json
import math
import os
import random
import sys

import model_ids

# ---------------------------------------------------------------- palette --


def rgb(r, g, b):
    """Colour value as the model file stores it: red in the lowest byte."""
    return r | g << 8 | b << 16


class C:
    """One palette for every model: warm reds and golds on cool snow."""
    SNOW = rgb(250, 251, 255)
    SNOW_SHADE = rgb(200, 212, 234)
    ICE = rgb(176, 214, 244)
    ICE_DEEP = rgb(112, 164, 222)

    RED = rgb(200, 34, 40)
    RED_LIGHT = rgb(232, 78, 70)
    RED_DARK = rgb(132, 20, 30)
    FUR = rgb(248, 245, 236)
    SKIN = rgb(246, 200, 164)
    SKIN_LIGHT = rgb(252, 220, 190)
    CHEEK = rgb(236, 138, 124)
    NOSE = rgb(232, 150, 130)
    EYE = rgb(34, 26, 30)
    BOOT = rgb(44, 32, 30)
    BOOT_LIGHT = rgb(78, 60, 54)
    GOLD = rgb(230, 176, 52)
    GOLD_LIGHT = rgb(255, 226, 120)
    GOLD_DARK = rgb(176, 122, 30)
    SACK = rgb(166, 120, 74)
    SACK_LIGHT = rgb(196, 152, 100)

    COAT = rgb(186, 132, 76)          # the parent's camel coat
    COAT_LIGHT = rgb(214, 164, 106)
    PLUM = rgb(142, 38, 68)           # knitted hats and scarves
    PLUM_LIGHT = rgb(184, 68, 98)
    TROUSERS = rgb(62, 66, 86)
    HAIR = rgb(104, 62, 36)
    HAIR_GOLD = rgb(226, 160, 70)
    HALO = rgb(255, 236, 140)

    JACKET = rgb(240, 168, 40)        # the child's jacket
    JACKET_LIGHT = rgb(252, 204, 92)
    DENIM = rgb(64, 92, 156)

    PINE = rgb(36, 110, 62)
    PINE_LIGHT = rgb(66, 146, 80)
    PINE_DARK = rgb(22, 74, 46)
    BARK = rgb(112, 74, 46)
    BARK_DARK = rgb(76, 50, 32)
    BARK_LIGHT = rgb(140, 98, 64)
    CHAR = rgb(46, 40, 38)
    CHAR_LIGHT = rgb(74, 66, 62)
    ASH = rgb(150, 146, 142)
    EMBER = rgb(226, 84, 30)

    CARROT = rgb(242, 122, 30)
    COAL = rgb(40, 36, 40)
    STICK = rgb(120, 80, 48)
    POT = rgb(178, 52, 40)
    POT_LIGHT = rgb(214, 86, 66)
    SCARF = rgb(52, 134, 86)

    ROBE = rgb(246, 236, 206)         # the angel
    ROBE_SHADE = rgb(222, 204, 160)
    WING = rgb(214, 230, 250)
    WING_SHADE = rgb(166, 190, 228)

    FROST = rgb(44, 96, 184)          # grandfather frost
    FROST_LIGHT = rgb(84, 138, 218)
    FROST_DARK = rgb(30, 62, 128)
    SILVER = rgb(210, 222, 236)

    DEER = rgb(150, 98, 58)
    DEER_LIGHT = rgb(182, 130, 84)
    DEER_BELLY = rgb(222, 194, 156)
    DEER_DARK = rgb(92, 60, 38)
    ANTLER = rgb(226, 204, 160)
    HOOF = rgb(54, 40, 34)

    SLEIGH = rgb(176, 30, 38)
    SLEIGH_LIGHT = rgb(214, 58, 58)
    SLEIGH_DARK = rgb(116, 18, 28)

    IRON = rgb(44, 52, 50)
    IRON_LIGHT = rgb(78, 88, 86)
    LAMP = rgb(255, 208, 110)
    LAMP_CORE = rgb(255, 246, 200)

    SMOKE = rgb(160, 160, 166)
    SMOKE_LIGHT = rgb(196, 196, 202)
    SMOKE_DARK = rgb(112, 110, 116)
    FIRE = rgb(244, 112, 28)
    FIRE_RED = rgb(206, 44, 24)
    FIRE_YELLOW = rgb(255, 210, 64)
    FLASH = rgb(255, 248, 214)

    BAUBLE_BLUE = rgb(60, 110, 214)
    BAUBLE_BLUE_LIGHT = rgb(124, 168, 246)
    POINTER_OUTLINE = rgb(60, 30, 20)

    LODEN = rgb(70, 104, 70)          # the villagers' coats, hats and hair
    LODEN_LIGHT = rgb(98, 136, 94)
    NAVY = rgb(46, 58, 104)
    NAVY_LIGHT = rgb(74, 90, 142)
    GREY_COAT = rgb(120, 120, 128)
    GREY_COAT_LIGHT = rgb(156, 156, 164)
    TEAL = rgb(34, 128, 132)
    TEAL_LIGHT = rgb(68, 166, 168)
    FELT = rgb(86, 80, 76)
    FELT_LIGHT = rgb(118, 110, 104)
    TWEED = rgb(122, 104, 80)
    TWEED_LIGHT = rgb(150, 132, 104)
    GREY_SCARF = rgb(172, 172, 180)
    PINK = rgb(226, 96, 150)
    PINK_LIGHT = rgb(246, 146, 186)
    LIME = rgb(122, 190, 96)
    HAIR_BLACK = rgb(40, 32, 30)
    HAIR_GREY = rgb(184, 184, 190)
    HAIR_RED = rgb(196, 84, 34)

    PLASTER_YELLOW = rgb(236, 204, 120)   # the village's walls and roofs
    PLASTER_YELLOW_LIGHT = rgb(248, 224, 160)
    PLASTER_BLUE = rgb(150, 184, 222)
    PLASTER_BLUE_LIGHT = rgb(184, 210, 240)
    PLASTER_WHITE = rgb(238, 232, 220)
    PLASTER_SHADE = rgb(204, 196, 184)
    ROOF_TILE = rgb(170, 70, 44)
    ROOF_SLATE = rgb(70, 78, 96)
    BRICK = rgb(150, 62, 46)
    GINGERBREAD = rgb(160, 94, 44)
    ROCK = rgb(128, 126, 130)
    ROCK_LIGHT = rgb(162, 160, 164)
    ROCK_DARK = rgb(92, 90, 96)
    STRAW = rgb(200, 170, 104)
    STRAW_DARK = rgb(162, 130, 74)


# ----------------------------------------------------------- the figure --

# Where the game expects a model's front, as a turn of the (x, z) plane.
FRONT_Z = (1, 0, 0, 1)      # people, snowmen, the sleigh
FRONT_MINUS_X = (0, -1, 1, 0)  # the reindeer: front +z becomes -x
FRONT_X = (0, 1, -1, 0)     # pointer arrows: front +z becomes +x

SPACING = 0.9       # series: sphere spacing as a share of the radius near the thin end
MIN_SPACING = 1.5   # ... but never closer than this many pixels


class Figure:
    """A model being built, in pixels at the zoom it is drawn with."""

    def __init__(self, zoom, front=FRONT_Z):
        self.unit = 1000.0 / zoom
        self.front = front
        self.elements = []   # [c, colour, (x1, y1, z1, r1), (x2, y2, z2, r2)] in file units

    def _point(self, x, up, z, r):
        """File units, in quarters: what is written is what gets fitted."""
        a, b, c, d = self.front
        u = self.unit
        return [quarter((a * x + b * z) * u), quarter(-up * u), quarter((c * x + d * z) * u), quarter(r * u)]

    def sphere(self, colour, x, up, z, r):
        self.elements.append([-1, colour, self._point(x, up, z, r), [0.0, 0.0, 0.0, 0.0]])

    def series(self, colour, first, second, count=None):
        """Spheres from first to second, (x, up, z, r) each; the radius runs
        linearly. count is the number of in-between spheres; by default they
        sit close enough for a smooth limb."""
        if count is None:
            length = math.dist(first[:3], second[:3])
            thin, thick = sorted((first[3], second[3]))
            step = max(SPACING * (thin + 0.25 * (thick - thin)), MIN_SPACING)
            count = max(0, math.ceil(length / step) - 1)
        self.elements.append([count, colour, self._point(*first), self._point(*second)])

    def path(self, colour, points, count=None):
        """Series along a polyline of (x, up, z, r) points."""
        for a, b in zip(points, points[1:]):
            self.series(colour, a, b, count)

    def lit(self, colour, light, x, up, z, r):
        """A sphere with a lighter cap: reads as lit from above at any heading."""
        self.sphere(colour, x, up, z, r)
        self.sphere(light, x, up + 0.24 * r, z, 0.74 * r)

    def ring(self, colour, up, radius, n, r, z=0.0, x=0.0, phase=0.0):
        """n spheres on a horizontal circle."""
        for k in range(n):
            a = phase + 2 * math.pi * k / n
            self.sphere(colour, x + radius * math.sin(a), up, z + radius * math.cos(a), r)

    def sphere_count(self):
        return sum(1 if c == -1 else c + 2 if c >= 0 else 0 for c, *_ in self.elements)

    def moved(self, dx, dy):
        """The file elements with every centre shifted by (dx, dy) file units."""
        dx, dy = quarter(dx), quarter(dy)
        out = []
        for c, colour, p, q in self.elements:
            q2 = q if c == -1 else [q[0] + dx, q[1] + dy, q[2], q[3]]
            out.append([c, colour, [p[0] + dx, p[1] + dy, p[2], p[3]], q2])
        return out


def quarter(v):
    return round(v * 4) / 4 + 0.0   # + 0.0: no negative zero


def mirror(draw):
    """Calls draw(side) for the right (-1) and the left (+1) side."""
    for side in (-1, 1):
        draw(side)


# ------------------------------------------------------ the projection --
# The game's renderer, as far as sprite fitting needs it: where each disc
# lands relative to the sprite centre.

def expand(elements):
    out = []
    for c, _, p, q in elements:
        if c == -1:
            out.append(p)
        elif c >= 0:
            for k in range(c + 2):
                f = k / (c + 1)
                g = 1 - f
                out.append([f * p[i] + g * q[i] for i in range(4)])
    return out


class View:
    """The angles and scale the game draws a model with."""

    def __init__(self, zoom, pitch, yaws, grounded=True):
        self.zoom, self.pitch, self.yaws, self.grounded = zoom, pitch, yaws, grounded


EVERY_HEADING = [math.radians(d) for d in range(0, 360, 3)]

# How the game draws each model: data/model_ids.csv.
TABLE = model_ids.load()
LYING = View(TABLE["Lying"].zoom, TABLE["Lying"].pitch, [TABLE["Lying"].yaw], grounded=False)   # a fallen character


class Extent:
    """Disc boxes relative to the sprite centre, over many views."""

    def __init__(self):
        self.left = self.top = math.inf
        self.right = self.bottom = self.ground = -math.inf

    def add(self, spheres, view, dx=0.0, dy=0.0):
        zoom = view.zoom
        cb, sb = math.cos(view.pitch), math.sin(view.pitch)
        for yaw in view.yaws:
            ca, sa = math.cos(yaw), math.sin(yaw)
            for x, y, z, r in spheres:
                x += dx
                y += dy
                x2 = ca * x + sa * z
                z2 = sa * x - ca * z
                y2 = cb * y - sb * z2
                d = sb * y + cb * z2 + 1000
                k = zoom / d
                self.left = min(self.left, round(k * (x2 - r)))
                self.right = max(self.right, round(k * (x2 + r)))
                self.top = min(self.top, round(k * (y2 - r)))
                bottom = round(k * (y2 + r))
                self.bottom = max(self.bottom, bottom)
                if view.grounded:
                    self.ground = max(self.ground, bottom)


def measure(figure, views, dx=0.0, dy=0.0):
    """The extent of the figure moved as Figure.moved() would move it."""
    e = Extent()
    spheres = expand(figure.elements)
    for v in views:
        e.add(spheres, v, quarter(dx), quarter(dy))
    return e


def smallest_side(low, high, margin):
    """The smallest sprite side whose centre (side div 2) leaves margin pixels
    between the discs (low .. high, relative to the centre) and the edges."""
    side = 1
    while side // 2 + low < margin or side // 2 + high > side - margin:
        side += 1
    return side


class Fit:
    """A sprite size and the shift (file units) that puts the model in it."""

    def __init__(self, width, height, dx=0.0, dy=0.0):
        self.width, self.height, self.dx, self.dy = width, height, dx, dy


def fit_standing(figure, views, margin=1):
    """Sprite size and ground height: the lowest point at the worst heading
    on the bottom row, margin pixels free elsewhere."""
    unit_px = views[0].zoom / 1000.0

    def height_at(dy):
        e = measure(figure, views, 0.0, dy)
        for height in (2 * e.ground - 1, 2 * e.ground):
            centre = height // 2   # the centre row; the ground then lands on the bottom row
            if centre + e.top >= margin and centre + e.bottom <= height:
                return height, e
        return None, e

    # Lower the figure from above its middle, by whole pixels and then by
    # eighths: the first height that fits gives the smallest sprite.
    e = measure(figure, views)
    dy = -(e.ground + e.top) / 2 / unit_px - 2 / unit_px
    while height_at(dy)[0] is None:
        dy += 1 / unit_px
    dy -= 1 / unit_px
    while True:
        height, e = height_at(dy)
        if height:
            return Fit(smallest_side(e.left, e.right, margin), height, 0.0, dy)
        dy += 0.125 / unit_px


def fit_centred(figure, views, margin=1, size=None):
    """The content centred in the smallest sprite with margin pixels free, or
    in a sprite of the given (width, height)."""
    unit_px = views[0].zoom / 1000.0
    e = measure(figure, views)
    dy = -(e.top + e.bottom) / 2 / unit_px
    e = measure(figure, views, 0.0, dy)
    if size:
        width, height = size
        if (width // 2 + e.left < margin or width // 2 + e.right > width - margin or
                height // 2 + e.top < margin or height // 2 + e.bottom > height - margin):
            raise RuntimeError("the content does not fit %dx%d" % size)
        return Fit(width, height, 0.0, dy)
    return Fit(smallest_side(e.left, e.right, margin), smallest_side(e.top, e.bottom, margin), 0.0, dy)


def fit_hotspot(figure, view, margin=1):
    """Moves the figure so that its top-left disc edge is the sprite's corner
    pixel (the pointer's hot spot), with margin pixels free right and below."""
    unit_px = view.zoom / 1000.0
    e = measure(figure, [view])
    width = e.right - e.left + margin + 1
    height = e.bottom - e.top + margin + 1
    dx = (-(width // 2) - e.left) / unit_px
    dy = (-(height // 2) - e.top) / unit_px
    for _ in range(100):   # perspective moves the corner a little: settle it
        e = measure(figure, [view], dx, dy)
        ex, ey = -(width // 2) - e.left, -(height // 2) - e.top
        if ex == 0 and ey == 0:
            break
        dx += 0.2 * ex / unit_px
        dy += 0.2 * ey / unit_px
    if (width // 2 + e.left, height // 2 + e.top) != (0, 0) or \
            width // 2 + e.right > width - margin or height // 2 + e.bottom > height - margin:
        raise RuntimeError("the pointer's hot spot does not settle")
    return Fit(width, height, dx, dy)


# ------------------------------------------------------------- people --

class Pose:
    """How a walking or striking figure holds its limbs: stride moves the
    left foot forward (and the right one back) by that many pixels, the
    trailing foot pushes off the ground, the arms swing the other way."""

    def __init__(self, stride=0.0, strike=False):
        self.stride, self.strike = stride, strike

    def foot(self, side):
        return side * self.stride

    def lift(self, side):
        return max(0.0, -0.4 * self.foot(side))

    def hand(self, side):
        return -side * self.stride


STANDING = Pose()
LEFT_STEP = Pose(stride=2.8)
RIGHT_STEP = Pose(stride=-2.8)
STRIKING = Pose(strike=True)


def boot(f, colour, x, z, r, lift=0.0):
    """A boot from heel to toe on the ground (or lifted, heel first), with
    its shaft."""
    f.series(colour, (x, r + 1.4 * lift, z - 0.8 * r, r), (x, r + 0.6 * lift, z + r, 1.05 * r))
    f.sphere(colour, x, 1.9 * r + lift, z - 0.2 * r, 1.08 * r)


def limb(f, colour, joints):
    """An arm or a leg: a series through each joint (x, up, z, r)."""
    f.path(colour, joints)


def eyes(f, up, z, spread, r=0.75):
    mirror(lambda s: f.sphere(C.EYE, s * spread, up, z, r))


def cheeks(f, up, z, spread, r=1.2):
    mirror(lambda s: f.sphere(C.CHEEK, s * spread, up, z, r))


def bobble_hat(f, colour, light, up, r, bobble=C.FUR):
    """A knitted hat over a head of radius r whose top is at up."""
    f.lit(colour, light, 0, up - 0.45 * r, -0.15 * r, 0.98 * r)
    f.ring(light, up - 0.95 * r, 0.86 * r, 12, 0.3 * r)
    f.sphere(bobble, 0, up + 0.55 * r, -0.2 * r, 0.42 * r)


def santa_beard(f, up, z):
    """Beard, moustache and nose for a head centred at (up, z)."""
    f.sphere(C.FUR, 0, up - 3.5, z + 2.7, 4.8)
    f.sphere(C.FUR, 0, up - 6.6, z + 3.2, 3.7)
    mirror(lambda s: f.sphere(C.FUR, s * 3.0, up - 2.6, z + 2.0, 3.3))
    mirror(lambda s: f.sphere(C.FUR, s * 1.6, up - 1.4, z + 4.7, 1.5))
    f.sphere(C.NOSE, 0, up - 0.4, z + 5.2, 1.2)


def santa_head(f, up, z):
    f.lit(C.SKIN, C.SKIN_LIGHT, 0, up, z, 5.4)
    eyes(f, up + 1.3, z + 4.1, 2.0)
    cheeks(f, up - 1.1, z + 3.5, 3.3, 1.0)
    santa_beard(f, up, z)
    # the hat, flopping back, with its fur band and pompom
    f.ring(C.FUR, up + 4.0, 4.4, 12, 1.9, z=z - 0.2)
    f.path(C.RED, [(0, up + 5.0, z - 0.6, 4.8), (0.8, up + 9.5, z - 2.2, 3.0), (2.5, up + 12.3, z - 4.8, 1.4)])
    f.sphere(C.FUR, 3.2, up + 12.4, z - 6.2, 2.1)


def santa_coat(f, belt_up, with_skirt=True):
    """Belly, chest, fur trim and belt of the red coat."""
    if with_skirt:
        f.series(C.RED, (0, belt_up - 7.3, 0, 8.6), (0, belt_up - 3.8, 0.3, 9.4))
        f.ring(C.FUR, belt_up - 7.3, 8.3, 14, 2.2)
        f.path(C.FUR, [(0, belt_up - 6.8, 8.2, 1.6), (0, belt_up - 1.8, 10.2, 1.6)])
    f.lit(C.RED, C.RED_LIGHT, 0, belt_up + 0.7, 0.8, 10)
    f.lit(C.RED, C.RED_LIGHT, 0, belt_up + 8.7, 0, 8)
    f.ring(C.BOOT, belt_up, 9.8, 18, 1.5, z=0.8)
    f.sphere(C.GOLD, 0, belt_up, 10.8, 2.1)
    f.sphere(C.BOOT, 0, belt_up, 11.6, 0.9)
    f.path(C.FUR, [(0, belt_up + 2.2, 10.3, 1.6), (0, belt_up + 11.2, 6.6, 1.5)])
    f.ring(C.FUR, belt_up + 13.7, 4.6, 10, 2.0)


def santa_arm(f, side, shoulder_up, hand_z, strike=False):
    x = side * 8.3
    if strike:
        joints = [(x, shoulder_up, 0, 3.4), (x * 1.02, shoulder_up - 0.5, 6, 3.1), (x * 0.96, shoulder_up - 0.8, 11, 2.8)]
        hand = (x * 0.96, shoulder_up - 0.8, 13.4)
    else:
        joints = [(x, shoulder_up, 0, 3.4), (side * 11, shoulder_up - 6.5, 1 + 0.4 * hand_z, 3.1),
                  (side * 11.6, shoulder_up - 12.3, 2.8 + hand_z, 2.8)]
        hand = (side * 11.8, shoulder_up - 14.6, 3.4 + hand_z)
    limb(f, C.RED, joints)
    f.sphere(C.FUR, *joints[-1][:3], 3.0)
    f.sphere(C.BOOT, *hand, 2.6)


def hero(zoom, pose):
    """Święty Mikołaj: red coat, white beard, a sack on his back."""
    f = Figure(zoom)
    for side in (-1, 1):
        z = pose.foot(side)
        x = side * (4.0 - 0.35 * abs(z))   # walking, the feet keep to the line
        lift = pose.lift(side)
        boot(f, C.BOOT, x, z, 2.2, lift)
        limb(f, C.RED, [(side * 3.8, 13.5, 0, 3.4), (x, 5.0 + lift, z, 2.7)])
        santa_arm(f, side, 31, pose.hand(side), strike=pose.strike and side < 0)
    santa_coat(f, 19.8)
    santa_head(f, 38, 0.5)
    f.lit(C.SACK, C.SACK_LIGHT, 0, 28, -8.6, 6.2)
    f.sphere(C.SACK, 0, 33.6, -9.4, 2.5)
    f.ring(C.GOLD_DARK, 32.6, 1.9, 8, 0.8, z=-9.3)
    return f


class Look:
    """What tells one villager from another: the coat (colour and its
    lighter cap), the trousers, the mittens, the scarf, the hair and the
    hat. hat is one of the hat functions below, called (f, look, top, r)
    for a head of radius r whose top is at top; hair is drawn by hairdo."""

    def __init__(self, coat, coat_light, trousers, mittens, scarf, hat_colour, hat_light, hat, hair=C.HAIR,
                 hairdo=None, trim=C.FUR, skin=(C.SKIN, C.SKIN_LIGHT), buttons=C.BOOT_LIGHT):
        self.coat, self.coat_light, self.trousers, self.mittens, self.scarf = coat, coat_light, trousers, mittens, scarf
        self.hat_colour, self.hat_light, self.hat, self.hair, self.hairdo = hat_colour, hat_light, hat, hair, hairdo
        self.trim, self.skin, self.buttons = trim, skin, buttons


def knitted_hat(f, look, top, r):
    bobble_hat(f, look.hat_colour, look.hat_light, top, r, look.trim)


def striped_hat(f, look, top, r):
    """A bobble hat with a band of the trim colour round its middle."""
    knitted_hat(f, look, top, r)
    f.ring(look.trim, top - 0.5 * r, 0.93 * r, 14, 0.26 * r, z=-0.15 * r)


def earflap_hat(f, look, top, r):
    """A fur-lined hat with flaps over the ears."""
    f.lit(look.hat_colour, look.hat_light, 0, top - 0.5 * r, -0.1 * r, 1.02 * r)
    f.ring(look.trim, top - 0.9 * r, 0.95 * r, 14, 0.3 * r, z=-0.1 * r)
    mirror(lambda s: f.series(look.trim, (s * 0.95 * r, top - 1.0 * r, 0, 0.42 * r),
                              (s * 0.98 * r, top - 1.75 * r, 0.15 * r, 0.36 * r)))


def fur_hat(f, look, top, r):
    """A tall round fur hat."""
    f.series(look.hat_colour, (0, top - 0.8 * r, -0.1 * r, 0.98 * r), (0, top + 0.55 * r, -0.1 * r, 0.92 * r))
    f.sphere(look.hat_light, 0, top + 0.75 * r, -0.1 * r, 0.72 * r)


def brimmed_hat(f, look, top, r):
    """A felt hat with a brim all round and a band."""
    f.ring(look.hat_colour, top - 0.75 * r, 1.05 * r, 16, 0.3 * r)
    f.series(look.hat_colour, (0, top - 0.55 * r, -0.1 * r, 0.82 * r), (0, top + 0.2 * r, -0.1 * r, 0.7 * r))
    f.ring(look.trim, top - 0.45 * r, 0.78 * r, 12, 0.18 * r, z=-0.1 * r)
    f.sphere(look.hat_light, 0, top + 0.35 * r, -0.1 * r, 0.52 * r)


def flat_cap(f, look, top, r):
    """A flat cap with its peak over the eyes."""
    f.lit(look.hat_colour, look.hat_light, 0, top - 0.45 * r, -0.1 * r, 0.96 * r)
    f.series(look.hat_colour, (-0.5 * r, top - 0.7 * r, 0.85 * r, 0.3 * r), (0.5 * r, top - 0.7 * r, 0.85 * r, 0.3 * r))


def beret(f, look, top, r):
    """A beret, pulled to one side."""
    f.sphere(look.hat_colour, 0.2 * r, top - 0.3 * r, -0.1 * r, 0.98 * r)
    f.series(look.hat_colour, (-0.9 * r, top - 0.2 * r, 0, 0.45 * r), (0.9 * r, top - 0.05 * r, 0, 0.55 * r))
    f.sphere(look.hat_light, 0.2 * r, top + 0.05 * r, -0.1 * r, 0.7 * r)
    f.sphere(look.trim, 0.2 * r, top + 0.55 * r, -0.1 * r, 0.2 * r)


def headscarf(f, look, top, r):
    """A scarf over the head, knotted under the chin, with spots."""
    f.lit(look.hat_colour, look.hat_light, 0, top - 0.55 * r, -0.25 * r, 1.05 * r)
    mirror(lambda s: f.series(look.hat_colour, (s * 0.9 * r, top - 0.9 * r, -0.1 * r, 0.4 * r),
                              (s * 0.35 * r, top - 2.0 * r, 0.55 * r, 0.32 * r)))
    f.sphere(look.hat_colour, 0, top - 2.1 * r, 0.65 * r, 0.36 * r)
    for a in (-1.2, 0, 1.2):
        f.sphere(look.trim, 1.0 * r * math.sin(a), top - 0.25 * r, 1.0 * r * math.cos(a) - 0.25 * r, 0.16 * r)


def hood(f, look, top, r):
    """The coat's hood, up, with a fur rim round the face."""
    f.sphere(look.coat, 0, top - 0.85 * r, -0.35 * r, 1.18 * r)
    f.sphere(look.coat_light, 0, top - 0.55 * r, -0.45 * r, 0.9 * r)
    for k in range(12):
        a = 2 * math.pi * k / 12
        f.sphere(look.trim, 0.95 * r * math.sin(a), top - 1.0 * r + 0.95 * r * math.cos(a), 0.55 * r, 0.3 * r)


def earmuffs(f, look, top, r):
    """Bare hair with fluffy earmuffs on a band."""
    f.sphere(look.hair, 0, top - 0.7 * r, -0.15 * r, 0.98 * r)
    f.path(look.hat_colour, [(-0.95 * r, top - 0.9 * r, 0, 0.16 * r), (0, top + 0.08 * r, 0, 0.16 * r),
                             (0.95 * r, top - 0.9 * r, 0, 0.16 * r)], 4)
    mirror(lambda s: f.sphere(look.hat_light, s * 1.02 * r, top - 1.1 * r, 0, 0.42 * r))


def pigtails(f, look, up, r):
    """Two plaits from under the hat, with a bow at each end."""
    mirror(lambda s: f.series(look.hair, (s * 0.8 * r, up - 0.3 * r, -0.4 * r, 0.36 * r),
                              (s * 1.25 * r, up - 1.35 * r, -0.2 * r, 0.26 * r)))
    mirror(lambda s: f.sphere(look.scarf, s * 1.3 * r, up - 1.5 * r, -0.15 * r, 0.24 * r))


def long_hair(f, look, up, r):
    """Hair down the back to the shoulders."""
    f.series(look.hair, (0, up + 0.2 * r, -0.6 * r, 0.9 * r), (0, up - 1.2 * r, -0.75 * r, 0.8 * r))


def beard(f, look, up, r):
    """A short beard round the chin, the face left clear."""
    f.series(look.hair, (0, up - 0.72 * r, 0.72 * r, 0.45 * r), (0, up - 1.15 * r, 0.62 * r, 0.36 * r), 2)
    mirror(lambda s: f.sphere(look.hair, s * 0.62 * r, up - 0.5 * r, 0.6 * r, 0.3 * r))


def moustache(f, look, up, r):
    mirror(lambda s: f.series(look.hair, (s * 0.12 * r, up - 0.3 * r, 0.98 * r, 0.22 * r),
                              (s * 0.55 * r, up - 0.45 * r, 0.86 * r, 0.16 * r), 2))


def mayors_chain(f, look, up, r):
    """A beard and the golden chain of office."""
    beard(f, look, up, r)
    for k in range(9):
        a = math.radians(-80 + 20 * k)
        f.sphere(C.GOLD, 4.8 * math.sin(a), 36.6 - 3.8 * math.cos(a) ** 2, 5.4 + 1.8 * math.cos(a), 0.95)
    f.lit(C.GOLD, C.GOLD_LIGHT, 0, 32.0, 7.6, 1.7)


# The parents' and the children's looks, first the one the game has always
# drawn: every villager of a kind keeps one of these (the map chooses).
PARENT_LOOKS = [
    Look(C.COAT, C.COAT_LIGHT, C.TROUSERS, C.PLUM, C.PLUM, C.PLUM, C.PLUM_LIGHT, knitted_hat),
    Look(C.LODEN, C.LODEN_LIGHT, C.TROUSERS, C.BOOT_LIGHT, C.GREY_SCARF, C.FELT, C.FELT_LIGHT, brimmed_hat,
         hair=C.HAIR_BLACK, hairdo=beard, trim=C.BOOT_LIGHT),
    Look(C.RED, C.RED_LIGHT, C.DENIM, C.FUR, C.FUR, C.FUR, C.SNOW, fur_hat, hair=C.HAIR_GOLD, hairdo=long_hair),
    Look(C.NAVY, C.NAVY_LIGHT, C.TROUSERS, C.BOOT_LIGHT, C.RED, C.TWEED, C.TWEED_LIGHT, flat_cap,
         hair=C.HAIR_GREY, hairdo=moustache),
    Look(C.GREY_COAT, C.GREY_COAT_LIGHT, C.TROUSERS, C.RED_DARK, C.RED_DARK, C.RED, C.RED_LIGHT, headscarf,
         hair=C.HAIR_GREY, trim=C.FUR),
    Look(C.PLUM, C.PLUM_LIGHT, C.TROUSERS, C.GOLD_DARK, C.GOLD, C.PINE, C.PINE_LIGHT, beret,
         hair=C.HAIR, hairdo=long_hair, trim=C.GOLD_LIGHT),
    Look(C.BARK, C.BARK_LIGHT, C.TROUSERS, C.BOOT_LIGHT, C.BAUBLE_BLUE, C.BARK_DARK, C.BARK_LIGHT, earflap_hat,
         hair=C.HAIR_GREY, hairdo=mayors_chain, trim=C.DEER_BELLY),
    Look(C.TEAL, C.TEAL_LIGHT, C.DENIM, C.CARROT, C.CARROT, C.CARROT, C.JACKET_LIGHT, striped_hat,
         hair=C.HAIR, trim=C.FUR),
]

CHILD_LOOKS = [
    Look(C.JACKET, C.JACKET_LIGHT, C.DENIM, C.RED, C.RED, C.RED, C.RED_LIGHT, knitted_hat),
    Look(C.RED, C.RED_LIGHT, C.TROUSERS, C.BAUBLE_BLUE, C.GOLD, C.BAUBLE_BLUE, C.BAUBLE_BLUE_LIGHT, earflap_hat,
         trim=C.BAUBLE_BLUE_LIGHT),
    Look(C.PINE_LIGHT, C.LIME, C.BARK, C.PINK, C.PINK, C.PINK, C.PINK_LIGHT, knitted_hat, hair=C.HAIR_GOLD,
         hairdo=pigtails),
    Look(C.BAUBLE_BLUE, C.BAUBLE_BLUE_LIGHT, C.TROUSERS, C.CARROT, C.CARROT, C.PINE, C.PINE_LIGHT, striped_hat),
    Look(C.PLUM, C.PLUM_LIGHT, C.TROUSERS, C.GOLD, C.GOLD, C.PLUM, C.PLUM_LIGHT, hood, trim=C.FUR),
    Look(C.CARROT, C.JACKET_LIGHT, C.DENIM, C.PINE, C.PINE, C.PINE, C.PINE_LIGHT, earmuffs, hair=C.HAIR_RED),
]


def parent(zoom, look):
    """Rodzic: a grown-up in a long coat, a hat and a scarf."""
    f = Figure(zoom)
    for side in (-1, 1):
        boot(f, C.BOOT, side * 3.4, 0.3, 2.0)
        limb(f, look.trousers, [(side * 3.2, 12, 0, 2.8), (side * 3.4, 4.5, 0.2, 2.3)])
        limb(f, look.coat, [(side * 6.6, 35.5, 0, 2.9), (side * 8.4, 28, 0.8, 2.6), (side * 8.2, 22.5, 2.0, 2.4)])
        f.sphere(look.mittens, side * 8.1, 20.6, 2.4, 2.3)
    # the coat: a long cone, lit from above, with buttons down the front
    f.series(look.coat, (0, 10.5, 0, 7.2), (0, 34, 0, 6.4))
    f.series(look.coat_light, (0, 12.5, 0.2, 5.2), (0, 35.5, 0, 4.8))
    for up in (16, 21, 26, 31):
        f.sphere(look.buttons, 0, up, 6.6 + (up - 16) * -0.03, 0.85)
    # scarf: a ring round the neck and a hanging end
    f.ring(look.scarf, 37.5, 3.6, 10, 2.0)
    f.path(look.scarf, [(1.6, 37, 4.2, 1.8), (2.8, 30, 6.6, 1.6)])
    f.lit(*look.skin, 0, 43, 0.4, 5.2)
    f.sphere(look.hair, 0, 43.2, -1.8, 4.8)
    eyes(f, 44, 4.4, 1.9, 0.7)
    f.sphere(C.NOSE, 0, 42.6, 5.3, 0.9)
    if look.hairdo:
        look.hairdo(f, look, 43, 5.2)
    look.hat(f, look, 49.2, 5.2)
    return f


def child(zoom, pose, look):
    """Dziecko: a small kid in a jacket, a hat and a scarf."""
    f = Figure(zoom)
    for side in (-1, 1):
        z, lift = 0.8 * pose.foot(side), 0.8 * pose.lift(side)
        boot(f, C.BOOT, side * 2.6, z, 1.7, lift)
        limb(f, look.trousers, [(side * 2.5, 9.5, 0, 2.4), (side * 2.6, 3.6 + lift, z, 2.0)])
        h = 0.8 * pose.hand(side)
        limb(f, look.coat, [(side * 5.2, 19.5, 0, 2.4), (side * 6.8, 15, 1 + 0.4 * h, 2.2), (side * 6.9, 11.5, 1.6 + h, 2.0)])
        f.sphere(look.mittens, side * 6.9, 10.2, 1.8 + h, 1.9)
    f.lit(look.coat, look.coat_light, 0, 14.8, 0.2, 6.6)
    f.ring(look.scarf, 20.6, 3.3, 10, 1.8)
    f.path(look.scarf, [(-1.6, 20.2, 3.8, 1.5), (-2.4, 15.5, 5.6, 1.3)])
    f.lit(*look.skin, 0, 26.4, 0.4, 5.6)
    eyes(f, 27.2, 4.8, 2.0, 0.75)
    cheeks(f, 25.4, 4.6, 3.0, 1.0)
    f.sphere(C.NOSE, 0, 26, 5.7, 0.9)
    if look.hairdo:
        look.hairdo(f, look, 26.4, 5.6)
    look.hat(f, look, 32.6, 5.6)
    return f


def snowman_ball(f, up, r, z=0.0, x=0.0):
    """A snowball shaded blue underneath and bright on top."""
    f.sphere(C.SNOW_SHADE, x, up, z, r)
    f.sphere(C.SNOW, x, up + 0.2 * r, z, 0.82 * r)


class SnowmanPose:
    def __init__(self, arms_up=0.0, lean=0.0, reach=0.0, angry=False):
        self.arms_up, self.lean, self.reach, self.angry = arms_up, lean, reach, angry


SNOWMAN_STILL = SnowmanPose()
SNOWMAN_HOP = SnowmanPose(arms_up=4.5, lean=-0.8)
SNOWMAN_ATTACK = SnowmanPose(arms_up=6.0, lean=2.4, reach=7.0, angry=True)


def snowman(zoom, pose):
    """Bałwan: three snowballs, coal eyes, a carrot, a pot for a hat and
    stick arms; he leans and reaches when he attacks."""
    f = Figure(zoom)
    lean = pose.lean   # forward shift of each ball above the bottom one
    snowman_ball(f, 9.6, 9.6)
    snowman_ball(f, 23, 7.2, z=0.5 * lean)
    head_z = lean
    snowman_ball(f, 33.6, 5.4, z=head_z)
    for up in (20, 24.5):
        f.sphere(C.COAL, 0, up, 0.5 * lean + 6.4 + (up - 20) * 0.08, 0.9)
    f.ring(C.SCARF, 28.6, 4.2, 12, 1.7, z=0.7 * lean)
    f.path(C.SCARF, [(2.4, 28.2, 0.7 * lean + 4.2, 1.5), (3.2, 23.5, 0.7 * lean + 6.4, 1.3)])
    brow = 0.6 if pose.angry else 0
    eyes(f, 35 - 0.3 * brow, head_z + 4.6, 1.8, 0.85)
    if pose.angry:
        mirror(lambda s: f.series(C.COAL, (s * 0.8, 36.6, head_z + 4.4, 0.5), (s * 3.0, 37.6, head_z + 3.6, 0.5), 2))
    f.series(C.CARROT, (0, 33.4, head_z + 5.0, 1.3), (0, 33.0, head_z + 10.0, 0.35))
    for k in range(5):
        a = (k - 2) * 0.38
        f.sphere(C.COAL, 2.9 * math.sin(a), 31.0 - (0.6 if pose.angry else -0.5) * math.cos(a) + 0.3,
                 head_z + 4.4 + 0.1, 0.55)
    # the pot, upside down, with its rim
    f.series(C.POT, (0, 37.3, head_z - 0.3, 3.6), (0, 40.6, head_z - 0.6, 3.3))
    f.sphere(C.POT_LIGHT, 0, 41.3, head_z - 0.6, 2.6)
    f.ring(C.POT, 37.4, 3.8, 12, 1.0, z=head_z - 0.3)
    for side in (-1, 1):
        up = 24 + pose.arms_up
        hand = (side * 14, up + 5 + 0.3 * pose.arms_up, 0.5 * lean + 1 + pose.reach)
        f.series(C.STICK, (side * 6.2, 24, 0.5 * lean, 0.8), (hand[0], hand[1], hand[2], 0.6))
        f.series(C.STICK, (side * 11.5, up + 3.5, hand[2] - 0.6 * pose.reach / 7, 0.5),
                 (side * 13.2, up + 7.5, hand[2] - 1.4, 0.45))
        f.series(C.STICK, hand + (0.55,), (side * 16.2, hand[1] + 1.8, hand[2] + 0.8, 0.45))
    return f


def melted_snowman(zoom):
    """Stopiony bałwan: a slushy puddle with the carrot, the coal and the pot."""
    f = Figure(zoom)
    rng = random.Random(24)
    for k in range(11):
        a = 2 * math.pi * k / 11
        f.sphere(C.ICE, 11 * math.cos(a), 1.2, 8 * math.sin(a), 2.6)
    for k in range(16):
        a, d = rng.uniform(0, 2 * math.pi), rng.uniform(2, 9)
        f.sphere(C.SNOW_SHADE, d * math.cos(a), 2.2, d * math.sin(a) * 0.8, rng.uniform(2.4, 3.6))
    f.sphere(C.SNOW_SHADE, 0, 3.5, 0, 5.6)
    f.sphere(C.SNOW, -0.6, 4.8, 0.4, 4.2)
    f.sphere(C.SNOW, 3.5, 3.4, -2, 3.4)
    f.series(C.CARROT, (-1, 6.5, 2.5, 1.3), (4.2, 4.6, 6.2, 0.35))
    f.sphere(C.COAL, -3.4, 5.6, 3.0, 0.9)
    f.sphere(C.COAL, -0.8, 7.4, 0.8, 0.9)
    f.sphere(C.COAL, 2.5, 4.0, 5.5, 0.7)
    # the pot, tipped over on its side
    f.series(C.POT, (-8.5, 3.4, -3.5, 3.3), (-11.5, 3.6, -5.5, 3.0))
    f.sphere(C.POT_LIGHT, -12.2, 3.8, -6, 2.4)
    f.series(C.STICK, (6, 1.6, -4, 0.7), (13, 1.5, 0, 0.55))
    f.series(C.STICK, (-5, 1.5, 5, 0.7), (-11, 1.4, 8, 0.55))
    return f


def angel(zoom):
    """Aniołek: a bell-shaped robe, folded hands, white wings and a halo."""
    f = Figure(zoom)
    f.series(C.ROBE_SHADE, (0, 9.5, 0, 9.5), (0, 33, 0, 4.6))
    f.series(C.ROBE, (0, 12, 0.5, 7.4), (0, 34, 0.3, 3.6))
    f.ring(C.GOLD, 3.2, 7.0, 16, 1.3)
    for side in (-1, 1):
        # wings: three feathers fanning out behind the shoulders
        root = (side * 2.2, 32.5, -3.8)
        for tip, r in (((side * 13.5, 44, -8.5), 2.6), ((side * 15.5, 36.5, -8.2), 2.9), ((side * 12.5, 28, -7), 2.4)):
            f.series(C.WING_SHADE, root + (3.4,), tip + (r,))
            f.series(C.WING, (root[0], root[1] + 0.8, root[2] + 0.4, 2.6), (tip[0] * 0.92, tip[1] + 0.8, tip[2] + 0.4, 0.7 * r))
        limb(f, C.ROBE, [(side * 4.2, 32, 0, 2.3), (side * 4.6, 27.5, 2.6, 2.0), (side * 1.2, 27.8, 5.2, 1.8)])
    f.sphere(C.SKIN, 0, 28.4, 5.8, 1.8)
    f.lit(C.SKIN, C.SKIN_LIGHT, 0, 39.5, 0.5, 4.8)
    f.sphere(C.HAIR_GOLD, 0, 41, -1.2, 4.8)
    mirror(lambda s: f.sphere(C.HAIR_GOLD, s * 3.8, 39.2, -0.6, 2.6))
    f.sphere(C.HAIR_GOLD, 0, 43.5, 1.6, 2.6)
    eyes(f, 40.2, 4.3, 1.7, 0.65)
    cheeks(f, 38.8, 4.0, 2.7, 0.9)
    f.ring(C.HALO, 49.5, 4.6, 16, 0.8)
    return f


def grandfather_frost(zoom):
    """Dziadek Mróz: long blue coat trimmed with fur, a long beard, a tall
    round hat and a staff topped with ice."""
    f = Figure(zoom)
    f.series(C.FROST, (0, 9.5, 0, 9.5), (0, 36, 0, 6.2))
    f.series(C.FROST_LIGHT, (0, 12, 0, 7.0), (0, 37, 0, 4.4))
    f.ring(C.FUR, 2.8, 7.4, 16, 2.2)
    f.path(C.FUR, [(0, 3.4, 8.4, 1.7), (0, 14, 8.7, 1.6), (0, 30, 6.4, 1.5)])
    f.ring(C.SILVER, 22, 7.0, 16, 1.1)
    for side in (-1, 1):
        if side < 0:   # the staff hand, holding it forward
            joints = [(-6.0, 35, 0, 2.8), (-8.4, 29.5, 2.6, 2.5), (-8.6, 26.5, 5.8, 2.3)]
        else:
            joints = [(6.0, 35, 0, 2.8), (8.2, 28.5, 0.6, 2.5), (8.0, 23.5, 2.0, 2.3)]
        limb(f, C.FROST, joints)
        f.sphere(C.FUR, *joints[-1][:3], 2.6)
        f.sphere(C.FROST_DARK, joints[-1][0], joints[-1][1] - 1.8, joints[-1][2] + 0.6, 2.1)
    f.series(C.BARK_LIGHT, (-8.6, 1.2, 6.4, 0.95), (-8.6, 45, 6.0, 0.95))
    f.sphere(C.ICE_DEEP, -8.6, 46.8, 6.0, 2.4)
    f.sphere(C.ICE, -8.6, 47.4, 6.0, 1.6)
    for dx, dup, dz in ((1, 0, 0), (-1, 0, 0), (0, 1, 0), (0, 0, 1), (0, 0, -1)):
        f.series(C.ICE, (-8.6, 46.8, 6.0, 1.2), (-8.6 + 3.8 * dx, 46.8 + 3.8 * dup, 6.0 + 3.8 * dz, 0.4), 3)
    f.lit(C.SKIN, C.SKIN_LIGHT, 0, 42, 0.4, 4.8)
    eyes(f, 43.2, 4.0, 1.7, 0.65)
    f.sphere(C.NOSE, 0, 41.6, 5.0, 1.0)
    # beard: wide under the face, tapering to the belt
    f.series(C.FUR, (0, 39.2, 3.0, 4.2), (0, 26, 6.6, 2.0))
    mirror(lambda s: f.sphere(C.FUR, s * 2.6, 40.2, 3.2, 2.4))
    mirror(lambda s: f.sphere(C.FUR, s * 1.5, 41.0, 4.6, 1.3))
    # the hat: a blue dome over a fur band
    f.lit(C.FROST, C.FROST_LIGHT, 0, 48.6, -0.3, 4.6)
    f.ring(C.FUR, 46.2, 4.2, 14, 1.8, z=-0.2)
    return f



# ------------------------------------------------------- the sleigh team --

class DeerPose:
    """Hoof positions (forward z, lift) of the front and hind legs, and how
    far the chest rises and the head pulls back."""

    def __init__(self, front=(0.0, 0.0), hind=(0.0, 0.0), rise=0.0, head_back=0.0):
        self.front, self.hind, self.rise, self.head_back = front, hind, rise, head_back


DEER_STANDING = DeerPose()
DEER_REACHING = DeerPose(front=(5.5, 2.5), hind=(-3.5, 0.0), rise=0.6)
DEER_GATHERED = DeerPose(front=(-2.5, 0.0), hind=(3.0, 2.2), rise=1.2)
DEER_BRAKING = DeerPose(front=(5.5, 0.0), hind=(-1.5, 0.0), rise=1.6, head_back=2.5)


def deer_leg(f, x, hip_up, hip_z, hoof_z, lift):
    hoof = (x, 1.2 + lift, hip_z + hoof_z)
    knee = (x, 0.5 * (hip_up + hoof[1]), hip_z + 0.55 * hoof_z)
    limb(f, C.DEER_DARK, [(x, hip_up, hip_z, 1.9), knee + (1.3,), hoof + (1.15,)])
    f.sphere(C.HOOF, hoof[0], hoof[1], hoof[2] + 0.3, 1.2)


def antler(f, side, up, z):
    beam = [(side * 1.6, up, z, 0.8), (side * 4.0, up + 4, z - 0.8, 0.7),
            (side * 6.0, up + 7.5, z - 2.4, 0.6), (side * 6.5, up + 9.5, z - 4.8, 0.5)]
    f.path(C.ANTLER, beam)
    f.series(C.ANTLER, beam[1][:3] + (0.55,), (side * 3.6, up + 7.5, z + 1.4, 0.45))
    f.series(C.ANTLER, (side * 5.6, up + 6.8, z - 2.0, 0.5), (side * 8.8, up + 8.6, z - 1.2, 0.45))


def reindeer(zoom, pose):
    """Renifer: brown body on four thin legs, antlers, a red collar with a
    golden bell and a red saddle cloth."""
    f = Figure(zoom, FRONT_MINUS_X)
    rise = pose.rise
    for side in (-1, 1):
        deer_leg(f, side * 2.6, 15 + rise, 5.2, *pose.front)
        deer_leg(f, side * 2.6, 15, -5.6, *pose.hind)
    f.series(C.DEER, (0, 17, -6.5, 5.2), (0, 17.5 + rise, 5.5, 5.8))
    f.series(C.DEER_LIGHT, (0, 18.4, -6.2, 3.7), (0, 19.0 + rise, 5.2, 4.1))
    f.series(C.DEER_BELLY, (0, 13.8, -4.5, 3.4), (0, 14.4 + rise, 4.5, 3.8))
    f.sphere(C.DEER_BELLY, 0, 17.2 + rise, 8.6, 3.4)
    f.sphere(C.DEER_BELLY, 0, 19.2, -11.4, 1.8)
    # the saddle cloth, a band over the back with a bell at each side
    for k in range(9):
        a = math.radians(-100 + 25 * k)
        f.sphere(C.RED, 5.7 * math.sin(a), 17.3 + 0.3 * rise + 5.7 * math.cos(a), -0.8, 1.5)
    mirror(lambda s: f.sphere(C.GOLD, s * 6.4, 14.6, -0.8, 1.1))
    # neck and head; braking pulls the head up and back
    hb = pose.head_back
    head = (0, 26.5 + rise + 0.4 * hb, 11.5 - hb)
    f.series(C.DEER, (0, 19.5 + rise, 6.5, 3.6), (0, head[1] - 1.5, head[2] - 1.5, 2.6))
    f.lit(C.DEER, C.DEER_LIGHT, *head, 3.4)
    f.series(C.DEER_LIGHT, (0, head[1] - 0.9, head[2] + 1.0, 2.4), (0, head[1] - 1.7, head[2] + 4.1, 1.8))
    f.sphere(C.HOOF, 0, head[1] - 1.5, head[2] + 5.8, 1.2)
    eyes(f, head[1] + 1.0, head[2] + 1.6, 2.0, 0.6)
    mirror(lambda s: f.sphere(C.DEER_DARK, s * 2.8, head[1] + 2.4, head[2] - 1.2, 1.1))
    mirror(lambda s: antler(f, s, head[1] + 2.6, head[2] - 0.8))
    collar_up, collar_z = 21.3 + rise, 8.4 - 0.3 * hb
    for k in range(10):
        a = 2 * math.pi * k / 10
        f.sphere(C.RED, 3.4 * math.sin(a), collar_up + 2.7 * math.cos(a), collar_z - 2.0 * math.cos(a), 1.1)
    f.sphere(C.GOLD, 0, collar_up - 2.8, collar_z + 2.3, 1.4)
    f.sphere(C.GOLD_LIGHT, -0.4, collar_up - 2.4, collar_z + 2.9, 0.6)
    return f


def sleigh_body(f):
    """Gold runners curling up at the front, a red body with a high back."""
    for side in (-1, 1):
        x = side * 9
        f.path(C.GOLD, [(x, 3.6, -19, 1.2), (x, 1.9, -15, 1.3), (x, 1.3, -6, 1.3), (x, 1.3, 5, 1.3),
                        (x, 2.1, 12.5, 1.3), (x, 4.4, 18, 1.2), (x, 8.6, 20.3, 1.1), (x, 11.6, 18.7, 1.0),
                        (x, 11.0, 16.6, 0.9)])
        for z in (-11, 0, 10):
            f.series(C.GOLD_DARK, (x, 2.1, z, 0.9), (side * 8.2, 6.8, z, 0.9))
        f.series(C.SLEIGH, (side * 7.4, 9.2, -15, 2.8), (side * 7.4, 9.2, 12.5, 2.8))
        f.series(C.SLEIGH_LIGHT, (side * 7.8, 12.6, -15.5, 2.1), (side * 7.8, 12.4, 9.5, 1.9))
        f.series(C.GOLD, (side * 8.4, 14.4, -15.5, 0.8), (side * 8.4, 14.2, 9.5, 0.8))
    f.series(C.SLEIGH_DARK, (0, 7.4, -14, 6.6), (0, 7.4, 11, 6.6))
    # the dash, curving up at the front
    f.series(C.SLEIGH, (-6.5, 10, 13.5, 2.8), (6.5, 10, 13.5, 2.8))
    f.series(C.SLEIGH_LIGHT, (-5.5, 14, 15.2, 2.4), (5.5, 14, 15.2, 2.4))
    f.series(C.GOLD, (-4.5, 16.8, 15.6, 0.9), (4.5, 16.8, 15.6, 0.9))
    # the high back
    f.series(C.SLEIGH, (-7, 12, -16, 3.2), (7, 12, -16, 3.2))
    f.series(C.SLEIGH, (-6.5, 16.5, -16.8, 3.0), (6.5, 16.5, -16.8, 3.0))
    f.series(C.SLEIGH_LIGHT, (-5, 20, -17, 2.4), (5, 20, -17, 2.4))
    f.series(C.GOLD, (-5.5, 22, -17, 0.9), (5.5, 22, -17, 0.9))


def sleigh(zoom, ridden):
    """Sanie: the sleigh with Santa at the reins, or with only his sack."""
    f = Figure(zoom)
    sleigh_body(f)
    if ridden:
        f.lit(C.SACK, C.SACK_LIGHT, 4.8, 19.5, -13.2, 4.8)
        f.lit(C.RED, C.RED_LIGHT, 0, 17.5, -8, 7.2)
        f.ring(C.BOOT, 15.6, 7.0, 16, 1.3, z=-7.6)
        f.sphere(C.GOLD, 0, 15.6, -0.6, 1.6)
        f.ring(C.FUR, 24.2, 4.4, 10, 1.8, z=-8)
        for side in (-1, 1):
            limb(f, C.RED, [(side * 6.4, 21.5, -8, 2.9), (side * 7.4, 17, -3.5, 2.6), (side * 5.0, 16.6, 0.6, 2.4)])
            f.sphere(C.FUR, side * 5.0, 16.6, 0.6, 2.5)
            f.sphere(C.BOOT, side * 4.6, 16.4, 2.6, 2.1)
            f.series(C.HOOF, (side * 4.4, 16.6, 3.8, 0.45), (side * 3.8, 17.6, 15.6, 0.45))
        santa_head(f, 29.6, -7.6)
    else:
        f.lit(C.SACK, C.SACK_LIGHT, 1.5, 15.5, -9.5, 6.0)
        f.sphere(C.SACK, 1.5, 21.5, -10, 2.2)
        f.ring(C.GOLD_DARK, 20.6, 1.7, 8, 0.7, x=1.5, z=-10)
        present(f, -3.4, 11.5, 2.0, 2.6, C.RED, C.GOLD, n=3)
    return f


# ------------------------------------------------------------ scenery --

def bare_branch(f, rng, base, direction, length, r, depth):
    """A branch and, below depth 0, its forks; snow settles on the forks."""
    tip = tuple(b + length * d for b, d in zip(base, direction))
    f.series(C.BARK if depth else C.BARK_LIGHT, base + (r,), tip + (0.62 * r,))
    if depth == 0:
        return
    f.sphere(C.SNOW, tip[0], tip[1] + 0.7 * r, tip[2], 0.95 * r + 0.5)
    for k in range(2):
        a = rng.uniform(0, 2 * math.pi)
        spread = rng.uniform(0.45, 0.75)
        d = (direction[0] + spread * math.cos(a), direction[1] + 0.15, direction[2] + spread * math.sin(a))
        n = math.sqrt(sum(c * c for c in d))
        bare_branch(f, rng, tip, tuple(c / n for c in d), length * rng.uniform(0.62, 0.78), 0.62 * r, depth - 1)


def tree(zoom):
    """Drzewo: a bare winter tree with snow lying on its forks."""
    f = Figure(zoom)
    rng = random.Random(7)
    for k in range(3):
        a = 2 * math.pi * k / 3 + 0.4
        f.sphere(C.BARK_DARK, 3.2 * math.cos(a), 2.2, 3.2 * math.sin(a), 2.4)
    f.series(C.BARK, (0, 3.5, 0, 4.6), (0, 26, 0.5, 3.4))
    for k in range(5):
        a = 2 * math.pi * k / 5 + 0.7
        d = (0.9 * math.cos(a), 1.0, 0.9 * math.sin(a))
        n = math.sqrt(sum(c * c for c in d))
        bare_branch(f, rng, (0, 24 + 2.5 * k, 0.5), tuple(c / n for c in d), 17 - k, 2.6, 2)
    f.series(C.BARK, (0, 26, 0.5, 3.0), (0.5, 46, 0, 1.6))
    bare_branch(f, rng, (0.5, 46, 0), (0, 1, 0), 11, 1.6, 1)
    return f


def spruce(f, height, radius, tiers, spokes, snow_every=2, baubles=(), lights=0):
    """A spruce of spokes drooping from the stem, tier above tier, with snow
    near the tips and, for the decorated one, baubles and lights."""
    f.series(C.BARK_DARK, (0, 3, 0, 0.16 * radius), (0, 10, 0, 0.12 * radius))
    f.series(C.PINE_DARK, (0, 9, 0, 0.4 * radius), (0, height - 6, 0, 1.4))
    rng = random.Random(tiers * 31 + spokes)
    step = (height - 12) / tiers
    for t in range(tiers):
        share = t / tiers
        rim = radius * (1 - 0.86 * share)
        low = 7 + t * step
        top = low + 1.2 * step
        for k in range(spokes):
            a = 2 * math.pi * (k + 0.5 * t) / spokes
            tip = (rim * math.cos(a), low, rim * math.sin(a))
            tip_r = 0.16 * rim + 1.2
            # a dark underside under each tip gives every tier its edge
            f.sphere(C.PINE_DARK, tip[0], low - 0.35 * tip_r, tip[2], tip_r)
            f.series(C.PINE, (0, top, 0, 0.42 * rim), tip + (tip_r,), 3)
            if (k + t) % snow_every == 0:   # snow lying along the branch
                f.series(C.SNOW, (0.35 * tip[0], top - 0.3 * (top - low) + 0.3 * rim, 0.35 * tip[2], 0.16 * rim + 0.6),
                         (0.85 * tip[0], low + 0.2 * (top - low) + 0.75 * tip_r, 0.85 * tip[2], 0.5 * tip_r), 2)
            else:
                f.sphere(C.PINE_LIGHT, tip[0], low + 0.3 * tip_r, tip[2], 0.7 * tip_r)
        for k, (colour, shine) in enumerate(baubles):
            a = 2 * math.pi * (k + 0.25 + 0.35 * t) / len(baubles)
            f.lit(colour, shine, 0.97 * rim * math.cos(a), low + 0.1 * step, 0.97 * rim * math.sin(a), 0.05 * radius + 1.4)
        for k in range(lights):
            a = 2 * math.pi * k / lights + t
            h = rng.uniform(0.15, 0.7)
            d = rim * (1 - h * 0.55) * 0.92
            f.sphere(C.LAMP_CORE if k % 2 else C.GOLD_LIGHT, d * math.cos(a), low + h * (top - low), d * math.sin(a), 1.3)
    f.series(C.PINE_LIGHT, (0, height - 8, 0, 2.2), (0, height, 0, 0.8))


def christmas_tree(zoom):
    """Choinka: a snowy spruce."""
    f = Figure(zoom)
    spruce(f, 92, 26, 4, 8)
    return f


def burnt_christmas_tree(zoom):
    """Spalona choinka: a charred stem and drooping black spokes, ash and a
    few embers still glowing."""
    f = Figure(zoom)
    rng = random.Random(4)
    f.series(C.CHAR, (0, 3, 0, 3.8), (0, 74, 0, 1.0))
    for t in range(3):
        low = 16 + t * 18
        rim = 19 * (1 - 0.25 * t)
        for k in range(6):
            a = 2 * math.pi * (k + 0.5 * t) / 6 + rng.uniform(-0.3, 0.3)
            mid = (0.55 * rim * math.cos(a), low + 3, 0.55 * rim * math.sin(a))
            tip = (rim * math.cos(a), low - 5, rim * math.sin(a))
            f.path(C.CHAR_LIGHT if k % 2 else C.CHAR, [(0, low + 6, 0, 1.5), mid + (1.0,), tip + (0.6,)], 4)
            if k % 3 == t % 3:
                f.sphere(C.EMBER, *mid, 1.1)
    for k in range(9):
        a, d = rng.uniform(0, 2 * math.pi), rng.uniform(2, 7)
        f.sphere(C.ASH, d * math.cos(a), 1.6, d * math.sin(a), rng.uniform(1.4, 2.4))
    f.sphere(C.CHAR_LIGHT, 0, 4, 0, 4.2)
    return f


def big_christmas_tree(zoom):
    """Duża choinka: the village tree with baubles, lights and a star."""
    f = Figure(zoom)
    spruce(f, 158, 56, 5, 8, snow_every=4,
           baubles=((C.RED, C.RED_LIGHT), (C.GOLD, C.GOLD_LIGHT), (C.BAUBLE_BLUE, C.BAUBLE_BLUE_LIGHT),
                    (C.RED, C.RED_LIGHT), (C.GOLD, C.GOLD_LIGHT)), lights=6)
    star(f, 163, 8.5)
    return f


def star(f, up, size):
    """A golden star with six points, so that it shows at every heading."""
    f.sphere(C.GOLD_LIGHT, 0, up, 0, 0.42 * size)
    for d in ((1, 0, 0), (-1, 0, 0), (0, 1, 0), (0, -1, 0), (0, 0, 1), (0, 0, -1)):
        f.series(C.GOLD, (0, up, 0, 0.34 * size), (d[0] * size, up + d[1] * size, d[2] * size, 0.1 * size), 3)


def lamp_post(zoom):
    """Słup: an iron lamp post with a warm light, a wreath and snow on top."""
    f = Figure(zoom)
    f.series(C.IRON, (0, 2.6, 0, 4.6), (0, 6.5, 0, 3.2))
    f.series(C.IRON, (0, 6.5, 0, 2.0), (0, 64, 0, 1.6))
    f.sphere(C.IRON_LIGHT, 0, 8, 0, 2.9)
    f.sphere(C.IRON_LIGHT, 0, 24, 0, 2.4)
    f.sphere(C.IRON, 0, 64.5, 0, 3.2)
    f.ring(C.PINE, 44, 3.0, 10, 1.5)
    f.ring(C.PINE_LIGHT, 45, 2.6, 7, 1.0, phase=0.3)
    f.sphere(C.RED, 0, 43.6, 3.8, 1.3)
    mirror(lambda s: f.series(C.RED, (s * 0.5, 43.2, 3.9, 0.7), (s * 1.6, 39.5, 4.2, 0.6)))
    f.sphere(C.LAMP, 0, 70, 0, 4.4)
    f.sphere(C.LAMP_CORE, 0, 70.6, 0, 2.9)
    for k in range(4):
        a = math.pi / 4 + k * math.pi / 2
        x, z = 4.3 * math.cos(a), 4.3 * math.sin(a)
        f.series(C.IRON, (x, 65.5, z, 0.75), (1.05 * x, 74.5, 1.05 * z, 0.75))
    f.ring(C.IRON, 75.2, 4.5, 12, 1.1)
    f.series(C.IRON, (0, 75.5, 0, 4.4), (0, 79, 0, 1.3))
    f.sphere(C.SNOW, 0, 77.4, 0, 3.3)
    f.sphere(C.IRON, 0, 80.8, 0, 1.0)
    return f


# ------------------------------------------------------------ the village --
# Houses, the chapel, fences and benches face the viewer: the game draws
# them at one yaw, their front on the lower edge of the footprint, which is
# where the map's cell rows put the front of a building.

def wall(f, colour, x0, x1, up0, up1, z, r, step=None):
    """A flat wall of spheres in the plane z, rows from up0 to up1."""
    step = step or 1.35 * r
    rows = max(1, round((up1 - up0) / step))
    for k in range(rows + 1):
        up = up0 + (up1 - up0) * k / rows
        f.series(colour, (x0, up, z, r), (x1, up, z, r), max(0, round((x1 - x0) / step) - 1))


def slope(f, colours, x0, x1, low, high, r, rows):
    """A roof slope from the eave low = (up, z) to the ridge high, rows of
    spheres along x; colours by row from the eave."""
    for k in range(rows + 1):
        t = k / rows
        up, z = low[0] + t * (high[0] - low[0]), low[1] + t * (high[1] - low[1])
        colour = colours[min(len(colours) - 1, k * len(colours) // (rows + 1))]
        f.series(colour, (x0, up, z, r), (x1, up, z, r), max(0, round((x1 - x0) / (1.3 * r)) - 1))


def window(f, x, up, z, w=7.0, h=8.0, frame=C.BARK_DARK, glass=C.LAMP, light=C.LAMP_CORE, shutters=None):
    """A lit window with its frame, a cross of glazing bars and, if given,
    painted shutters."""
    f.series(frame, (x - w, up - h, z, 1.3), (x + w, up - h, z, 1.3), 4)
    f.series(frame, (x - w, up + h, z, 1.3), (x + w, up + h, z, 1.3), 4)
    mirror(lambda s: f.series(frame, (x + s * w, up - h, z, 1.3), (x + s * w, up + h, z, 1.3), 4))
    for dx in (-0.5 * w, 0.5 * w):
        for dup in (-0.5 * h, 0.5 * h):
            f.sphere(glass, x + dx, up + dup, z + 0.3, 0.42 * min(w, h) + 0.4)
            f.sphere(light, x + dx - 0.6, up + dup + 0.8, z + 0.8, 0.22 * min(w, h))
    f.series(frame, (x, up - h, z + 1, 0.7), (x, up + h, z + 1, 0.7), 3)
    f.series(frame, (x - w, up, z + 1, 0.7), (x + w, up, z + 1, 0.7), 3)
    if shutters:
        mirror(lambda s: f.series(shutters, (x + s * (w + 3.2), up - h + 1, z, 2.2), (x + s * (w + 3.2), up + h - 1, z, 2.2), 2))
    f.series(C.SNOW, (x - w - 0.5, up - h - 1.2, z + 1.4, 1.4), (x + w + 0.5, up - h - 1.2, z + 1.4, 1.4), 3)


def door(f, x, z, w=8.0, h=30.0, colour=C.BARK, light=C.BARK_LIGHT, frame=C.BARK_DARK, wreath=True):
    """A plank door with a knob, a step of snow and a wreath."""
    for k in range(3):
        px = x - w + k * w
        f.series(colour if k != 1 else light, (px, 2.5, z, 0.6 * w), (px, h - 0.6 * w, z, 0.6 * w))
    f.path(frame, [(x - w - 1.8, 0.8, z, 1.6), (x - w - 1.8, h, z, 1.6), (x + w + 1.8, h, z, 1.6),
                   (x + w + 1.8, 0.8, z, 1.6)])
    f.sphere(C.GOLD, x + 0.6 * w, 0.45 * h, z + 0.45 * w, 1.1)
    if wreath:
        for k in range(10):
            a = 2 * math.pi * k / 10
            f.sphere(C.PINE_LIGHT if k % 2 else C.PINE, x + 3.4 * math.cos(a), 0.72 * h + 3.4 * math.sin(a),
                     z + 0.5 * w, 1.3)
        f.sphere(C.RED, x, 0.72 * h - 3.4, z + 0.5 * w + 1, 1.2)


def snow_drift(f, rng, x0, x1, z, r=3.0):
    """Snow heaped along the foot of a wall: the lowest row of the sprite."""
    n = max(2, round((x1 - x0) / (1.6 * r)))
    for k in range(n + 1):
        f.sphere(C.SNOW if k % 3 else C.SNOW_SHADE, x0 + (x1 - x0) * k / n, r * rng.uniform(0.7, 1.0), z,
                 r * rng.uniform(0.85, 1.15))


class HouseStyle:
    def __init__(self, cells, walls, wall_light, roof, trim, shutters, door_colour, door_light):
        self.cells, self.walls, self.wall_light, self.roof, self.trim = cells, walls, wall_light, roof, trim
        self.shutters, self.door_colour, self.door_light = shutters, door_colour, door_light


TIMBER_HOUSE = HouseStyle(3, C.BARK, C.BARK_LIGHT, C.RED_DARK, C.BARK_DARK, C.PINE, C.RED_DARK, C.RED)
YELLOW_HOUSE = HouseStyle(3, C.PLASTER_YELLOW, C.PLASTER_YELLOW_LIGHT, C.ROOF_TILE, C.FUR, C.PINE, C.PINE, C.PINE_LIGHT)
BLUE_HOUSE = HouseStyle(4, C.PLASTER_BLUE, C.PLASTER_BLUE_LIGHT, C.ROOF_SLATE, C.FUR, C.RED, C.BARK, C.BARK_LIGHT)


def house(zoom, style):
    """Dom: walls, a door with a wreath, lit windows, a snowy gable roof and
    a chimney. cells map cells wide and deep: the map places it at the
    middle of its footprint, which it covers."""
    f = Figure(zoom)
    rng = random.Random(style.cells * 7 + style.walls)
    width = 48 * style.cells
    half, depth = width / 2 - 2, width * 0.4
    front = depth / 2
    eave, ridge = 64.0, 64.0 + 0.3 * width   # a door taller than the grown-ups
    wall(f, style.walls, -half + 5, half - 5, 5, eave - 4, front - 5, 5.4, 8.0)
    f.series(style.wall_light, (-half + 4, eave - 5, front - 2.5, 3.2), (half - 4, eave - 5, front - 2.5, 3.2))
    mirror(lambda s: f.series(style.trim, (s * (half - 2), 2, front - 2.5, 3.0), (s * (half - 2), eave, front - 2.5, 3.0), 8))
    door(f, 0, front, w=9.0, h=44.0, colour=style.door_colour, light=style.door_light)
    columns = (-0.6, 0.6) if style.cells == 3 else (-0.68, -0.32, 0.32, 0.68)
    for c in columns:
        window(f, c * half, 38, front - 0.5, w=8.0, h=10.0, shutters=style.shutters)
    # the roof: tiles at the eave, snow above, overhanging the walls
    overhang = 7
    slope(f, (style.roof, style.roof, C.SNOW_SHADE, C.SNOW, C.SNOW, C.SNOW), -half - overhang, half + overhang,
          (eave, front + overhang), (ridge, -0.3 * depth), 6.0, 7)
    f.series(style.roof, (-half - overhang, ridge + 2, -0.3 * depth, 2.6), (half + overhang, ridge + 2, -0.3 * depth, 2.6))
    f.series(style.roof, (-half - overhang, eave - 2.5, front + overhang + 1, 2.4),
             (half + overhang, eave - 2.5, front + overhang + 1, 2.4))
    for k in range(9):
        t = (k + 0.5) / 9   # icicles along the eave
        f.series(C.ICE, (-half - 2 + t * (2 * half + 4), eave - 4, front + overhang + 1.5, 1.0),
                 (-half - 2 + t * (2 * half + 4), eave - 8 - 3 * (k % 2), front + overhang + 1.5, 0.3), 2)
    # the chimney, off the ridge, smoke curling up
    cx = 0.45 * half
    f.series(C.BRICK, (cx, ridge - 10, -0.1 * depth, 4.5), (cx, ridge + 10, -0.1 * depth, 4.5), 3)
    f.sphere(C.SNOW, cx, ridge + 14, -0.1 * depth, 4.2)
    for k in range(3):
        f.sphere(C.SMOKE_LIGHT, cx + 2 + 3 * k, ridge + 21 + 6 * k, -0.1 * depth, 3 + k)
    snow_drift(f, rng, -half - 6, half + 6, front + 4)
    return f


def chapel(zoom):
    """Kaplica: a white chapel with a tower over the door, a bell, a cross
    and tall coloured windows; it covers a footprint four cells wide."""
    f = Figure(zoom)
    rng = random.Random(303)
    half, depth = 84.0, 80.0
    front = depth / 2
    eave, ridge = 62.0, 108.0
    wall(f, C.PLASTER_WHITE, -half + 5, half - 5, 5, eave - 4, front - 6, 5.4, 8.0)
    for x in (-0.72 * half, -0.45 * half, 0.45 * half, 0.72 * half):
        f.series(C.BAUBLE_BLUE, (x, 18, front - 2, 3.2), (x, 44, front - 2, 3.2), 5)
        f.series(C.GOLD_LIGHT, (x, 22, front - 0.5, 1.7), (x, 41, front - 0.5, 1.7), 4)
        f.sphere(C.RED, x, 48, front - 2, 3.0)
    slope(f, (C.ROOF_SLATE, C.ROOF_SLATE, C.SNOW_SHADE, C.SNOW, C.SNOW), -half - 6, half + 6, (eave, front + 5),
          (ridge, -0.3 * depth), 6.0, 6)
    # the tower in front of the nave
    tw, tf = 20.0, front + 8
    top = 136
    wall(f, C.PLASTER_WHITE, -tw + 5, tw - 5, 5, top - 2, tf, 5.4, 8.0)
    mirror(lambda s: f.series(C.PLASTER_SHADE, (s * tw, 2, tf - 2, 3.4), (s * tw, top, tf - 2, 3.4), 16))
    door(f, 0, tf + 2, w=9.5, h=44, colour=C.BARK, light=C.BARK_LIGHT, wreath=True)
    f.path(C.BARK_DARK, [(-11, 44, tf + 2, 1.8), (-7, 50, tf + 2, 1.8), (0, 52.5, tf + 2, 1.8), (7, 50, tf + 2, 1.8),
                         (11, 44, tf + 2, 1.8)])
    # the bell in its opening
    f.series(C.CHAR_LIGHT, (-8, top - 34, tf, 3.2), (8, top - 34, tf, 3.2), 3)
    f.series(C.CHAR_LIGHT, (-8, top - 14, tf, 3.2), (8, top - 14, tf, 3.2), 3)
    f.series(C.GOLD, (0, top - 30, tf + 1.5, 4.4), (0, top - 20, tf + 1.5, 2.3), 3)
    f.sphere(C.GOLD_LIGHT, -1.2, top - 24, tf + 3.5, 1.3)
    f.ring(C.SNOW, top + 2, 16, 12, 3.4, z=tf - 6)
    # the spire and the cross
    f.series(C.ROOF_SLATE, (0, top + 4, tf - 6, 15), (0, top + 44, tf - 6, 2.0), 9)
    f.series(C.SNOW, (0, top + 6, tf - 1, 9), (0, top + 28, tf - 4, 2.5), 5)
    f.series(C.GOLD, (0, top + 44, tf - 6, 1.2), (0, top + 60, tf - 6, 1.2), 6)
    f.series(C.GOLD, (-5, top + 55, tf - 6, 1.2), (5, top + 55, tf - 6, 1.2), 4)
    snow_drift(f, rng, -half - 4, half + 4, front + 4)
    snow_drift(f, rng, -tw - 4, tw + 4, tf + 5)
    return f


def fence(zoom):
    """Płot: one cell of a picket fence running left to right; cells side by
    side join into one fence."""
    f = Figure(zoom)
    for x in (-18, -6, 6, 18):
        f.series(C.BARK_LIGHT if x % 12 else C.BARK, (x, 1.5, 0, 1.8), (x, 22, 0, 1.6))
        f.sphere(C.SNOW, x, 24, 0, 2.0)
    for up in (8, 17):
        f.series(C.BARK, (-24, up, -1.8, 1.5), (24, up, -1.8, 1.5), 14)
        f.series(C.SNOW, (-23, up + 1.6, -1.8, 1.0), (23, up + 1.6, -1.8, 1.0), 10)
    return f


def fence_across(zoom):
    """Płot w głąb: one cell of a fence running up and down the map, a post
    in the middle of the cell and rails to the cells above and below."""
    f = Figure(zoom)
    reach = 80   # far enough back and forth to meet the next cell's rails
    for z in range(-reach + 10, reach, 20):   # pickets, seen edge on
        f.series(C.BARK_LIGHT if z % 40 else C.BARK, (0, 1.5, z, 1.9), (0, 21, z, 1.7), 5)
        f.sphere(C.SNOW, 0, 23, z, 1.9)
    f.series(C.BARK, (0, 1.5, 0, 2.8), (0, 25, 0, 2.5), 6)
    f.sphere(C.SNOW, 0, 27.5, 0, 2.8)
    for up in (8, 17):
        f.series(C.BARK, (0, up, -reach, 1.8), (0, up, reach, 1.8), 16)
    f.sphere(C.SNOW_SHADE, 0, 1.2, reach, 1.2)
    return f


def hedge(zoom):
    """Żywopłot: one cell of a clipped hedge under snow; cells side by side
    or one above the other join up."""
    f = Figure(zoom)
    rng = random.Random(312)
    for k in range(18):
        x, up = rng.uniform(-19, 19), rng.uniform(6, 34)
        f.sphere(C.PINE_DARK if k % 3 == 0 else C.PINE, x, up, rng.uniform(-4, 4), rng.uniform(6, 8))
    for k in range(8):
        f.sphere(C.PINE_LIGHT, rng.uniform(-18, 18), rng.uniform(10, 32), 8, rng.uniform(2.5, 3.8))
    for k in range(7):
        f.sphere(C.SNOW if k % 2 else C.SNOW_SHADE, -18 + 6 * k, 40 + rng.uniform(-1.5, 1.5), 0, 5.2)
    mirror(lambda s: f.sphere(C.PINE_DARK, s * 20, 4.5, 2, 4.5))
    return f


def street_lamp(zoom):
    """Latarnia: a tall street lamp with its lantern on a curled arm."""
    f = Figure(zoom)
    f.series(C.IRON, (0, 2.4, 0, 3.6), (0, 8, 0, 2.6))
    f.series(C.IRON, (0, 8, 0, 1.5), (0, 76, 0, 1.2))
    f.path(C.IRON, [(0, 70, 0, 1.1), (3, 78, 0, 1.0), (9, 80, 0, 1.0), (13, 77, 0, 0.9), (13, 73, 0, 0.8)])
    f.series(C.IRON, (0, 64, 0, 0.7), (7, 78.5, 0, 0.7), 6)
    f.series(C.IRON, (13, 72.5, 0, 3.6), (13, 71, 0, 3.0), 1)
    f.sphere(C.LAMP, 13, 66, 0, 4.2)
    f.sphere(C.LAMP_CORE, 13, 66.5, 0, 2.8)
    f.series(C.IRON, (13, 62, 0, 2.4), (13, 60.5, 0, 1.6), 1)
    f.sphere(C.SNOW, 13, 74.6, 0, 2.8)
    f.sphere(C.SNOW, 0, 77, 0, 1.9)
    return f


def bench(zoom):
    """Ławka: a park bench facing the square, snow on the seat."""
    f = Figure(zoom)
    for x in (-14, 14):
        f.series(C.IRON, (x, 1.2, 3, 1.2), (x, 8, 2, 1.1), 3)
        f.series(C.IRON, (x, 1.2, -3, 1.2), (x, 18, -4, 1.1), 6)
    for z in (-2.4, 0.6, 3.6):
        f.series(C.BARK_LIGHT, (-18, 8.5, z, 1.5), (18, 8.5, z, 1.5), 13)
    for up in (12.5, 16.5):
        f.series(C.BARK, (-18, up, -4.2, 1.5), (18, up, -4.2, 1.5), 13)
    f.series(C.SNOW, (-15, 10.2, 1.5, 1.7), (13, 10.2, 0.5, 1.5), 8)
    f.series(C.SNOW, (-17, 18.3, -4.2, 1.2), (17, 18.3, -4.2, 1.2), 10)
    return f


def market_stall(zoom):
    """Stragan: a market stall with a striped awning and gingerbread and
    baubles on its counter."""
    f = Figure(zoom)
    for x in (-20, 20):
        for z in (-6, 6):
            f.series(C.BARK, (x, 1.2, z, 1.3), (x, 34, z, 1.2), 10)
    wall(f, C.BARK_LIGHT, -19, 19, 3, 14, 6.5, 2.4, 3.2)
    f.series(C.BARK, (-21, 16, 6, 2.0), (21, 16, 6, 2.0), 14)
    for k in range(6):
        colour = (C.GINGERBREAD, C.RED, C.GOLD, C.GINGERBREAD, C.BAUBLE_BLUE, C.PINE_LIGHT)[k]
        f.sphere(colour, -15 + 6 * k, 18.5, 3, 2.3)
    for k in range(9):   # the awning in red and white stripes, sloping to the front
        x = -22 + 5.5 * k
        f.series(C.RED if k % 2 else C.FUR, (x, 40, -7, 2.9), (x, 33, 10, 2.6), 5)
    f.series(C.SNOW, (-22, 42.5, -7, 2.2), (22, 42.5, -7, 2.2), 12)
    return f


def hung_bauble(zoom):
    """A bauble hung on a Christmas tree, fizzing: the lit fuse throws
    sparks down to the snow."""
    f = Figure(zoom)
    view = toward_viewer(0.3, 0.3)
    centre = 40
    f.series(C.GOLD_DARK, (0, centre + 5, 0, 0.4), (0, centre + 11, 0, 0.4), 3)
    f.sphere(C.RED, 0, centre, 0, 5.5)
    f.sphere(C.RED_LIGHT, -1.5 + 2.5 * view[0], centre + 1.2 + 2.5 * view[1], 2.5 * view[2], 3.4)
    f.sphere(C.SNOW, -2 + 5 * view[0], centre + 2 + 5 * view[1], 5 * view[2], 1.0)
    f.series(C.GOLD, (0, centre + 5, 0, 1.8), (0, centre + 6.5, 0, 1.5), 1)
    rng = random.Random(316)
    for k in range(12):   # the sparks: bright near the fuse, dimmer as they fall
        x, up = rng.uniform(-9, 9), centre + 8 - (centre + 7) * (k / 11) ** 0.8
        f.sphere(C.FLASH if k < 4 else C.FIRE_YELLOW if k < 8 else C.FIRE, x, max(up, 0.8), rng.uniform(2, 5),
                 1.2 - 0.04 * k)
    for d in ((1, 0), (-1, 0), (0.7, 0.7), (-0.7, 0.7), (0, 1)):
        f.series(C.FLASH, (0, centre + 7, 2, 1.0), (5 * d[0], centre + 7 + 5 * d[1], 3, 0.3), 2)
    return f


# ---------------------------------------------------------- the shore --

def ice_floe(zoom, size, seed):
    """Kra: a slab of bay ice, snow on its top, blue at its broken edges."""
    f = Figure(zoom)
    rng = random.Random(seed)
    n = 9
    rim = [size * rng.uniform(0.75, 1.05) for _ in range(n)]
    for k in range(n):
        a = 2 * math.pi * k / n
        f.sphere(C.ICE_DEEP, rim[k] * math.cos(a), 2.2, 0.8 * rim[k] * math.sin(a), 3.4)
        f.sphere(C.ICE, 0.85 * rim[k] * math.cos(a), 3.6, 0.68 * rim[k] * math.sin(a), 3.8)
    for k in range(7):   # the slab's top under snow, bright against the bay's ice
        a, d = rng.uniform(0, 2 * math.pi), rng.uniform(0, 0.5 * size)
        f.sphere(C.SNOW if k % 3 else C.SNOW_SHADE, d * math.cos(a), 4.4, 0.8 * d * math.sin(a),
                 size * rng.uniform(0.28, 0.36))
    return f


def shore_rock(zoom):
    """Skała: a grey boulder on the shore with a cap of snow."""
    f = Figure(zoom)
    f.sphere(C.ROCK_DARK, 2, 6, -1, 8)
    f.sphere(C.ROCK, -3, 7, 2, 7)
    f.sphere(C.ROCK, 5, 4, 3, 5)
    f.sphere(C.ROCK_LIGHT, -2, 10, 2.5, 4.5)
    f.sphere(C.SNOW, 0, 13, 0, 5.5)
    f.sphere(C.SNOW, 4, 11, 2, 3)
    f.sphere(C.SNOW_SHADE, -8, 2, 4, 2.6)
    return f


def reeds(zoom):
    """Trzcina: a tuft of dry reeds with brown heads, frozen into the ice."""
    f = Figure(zoom)
    rng = random.Random(323)
    for k in range(9):
        a, d = 2 * math.pi * k / 9, rng.uniform(1, 4)
        base = (d * math.cos(a), 1.5, d * math.sin(a))
        tip = (2.2 * base[0] + rng.uniform(-2, 2), rng.uniform(20, 30), 2.2 * base[2])
        f.series(C.STRAW if k % 2 else C.STRAW_DARK, base + (0.7,), tip + (0.45,))
        if k % 3 == 0:
            f.series(C.BARK, (tip[0], tip[1] - 6, tip[2], 1.1), (tip[0], tip[1] - 1.5, tip[2], 1.0), 2)
    for k in range(5):
        a = 2 * math.pi * k / 5
        f.sphere(C.ICE, 4.5 * math.cos(a), 1.0, 4.5 * math.sin(a), 2.4)
    return f


def jetty(zoom):
    """Pomost: one cell of a wooden jetty on posts, its planks running up
    and down the map; cells one above the other join up."""
    f = Figure(zoom)
    reach = 80
    for z in range(-reach, reach + 1, 10):
        f.series(C.BARK_LIGHT if (z // 10) % 2 else C.BARK, (-20, 9, z, 2.2), (20, 9, z, 2.2), 8)
    mirror(lambda s: f.series(C.BARK_DARK, (s * 18, 1.2, 0, 2.2), (s * 18, 13, 0, 2.0), 3))
    mirror(lambda s: f.series(C.SNOW, (s * 14, 11.2, -reach, 1.6), (s * 14, 11.2, reach, 1.6), 16))
    f.sphere(C.ICE, 0, 1.2, reach, 1.2)
    return f


def shore_bank(zoom):
    """Brzeg: one cell of the snowy bank between the village and the ice,
    grey stones showing through; cells side by side join up."""
    f = Figure(zoom)
    rng = random.Random(325)
    for k in range(7):   # snow heaped on the bank's top, back from its edge
        f.sphere(C.SNOW if k % 3 else C.SNOW_SHADE, -21 + 7 * k, rng.uniform(24, 28), -6, rng.uniform(6, 7.5))
    for k in range(6):
        f.sphere(C.ROCK if k % 2 else C.ROCK_DARK, -20 + 8 * k, rng.uniform(14, 18), rng.uniform(-1, 2), rng.uniform(5, 6.5))
    for k in range(6):
        f.sphere(C.ROCK_DARK if k % 2 else C.ROCK, -18 + 7.5 * k, rng.uniform(5, 8), rng.uniform(3, 6), rng.uniform(4.5, 6))
    for k in range(7):   # the ice frozen against its foot
        f.sphere(C.ICE_DEEP if k % 2 else C.ICE, -21 + 7 * k, 1.5, 10, 2.6)
    return f


def ice_sheet(zoom):
    """Lód: one map cell of the frozen bay, seen from above like the ground
    tile it lies over (the game draws it under everything): blue ice with
    darker streaks, white cracks and a little snow; cells side by side and
    one above the other join up."""
    f = Figure(zoom)
    rng = random.Random(327)
    step = 8
    height = 48 / math.cos(0.3)   # stood up to face the viewer, it covers its cell on the screen
    for row in range(7):
        up = 3 + row * (height - 6) / 6
        for col in range(7):
            x = -24 + col * step
            shade = C.ICE_DEEP if (row * 3 + col * 5) % 7 == 0 else C.ICE
            f.sphere(shade, x + rng.uniform(-1, 1), up, 0, 5.2)
    f.path(C.SNOW, [(-20, 12, 2, 0.8), (-8, 22, 2, 0.7), (2, 20, 2, 0.7), (14, 34, 2, 0.6)], 5)
    f.series(C.SNOW, (-6, 40, 2, 0.6), (8, 44, 2, 0.5), 4)
    f.sphere(C.SNOW_SHADE, 12, 10, 1.5, 2.6)
    return f


def shore_bank_across(zoom):
    """Brzeg w głąb: one cell of the bank running up and down the map,
    stones under snow, ice at its foot on both sides; cells one above the
    other join up."""
    f = Figure(zoom)
    rng = random.Random(326)
    reach = 80
    for k in range(9):
        z = -reach + 20 * k
        f.sphere(C.ROCK_DARK if k % 2 else C.ROCK, rng.uniform(-3, 3), rng.uniform(6, 9), z, rng.uniform(7, 8.5))
        f.sphere(C.SNOW if k % 3 else C.SNOW_SHADE, rng.uniform(-2, 2), rng.uniform(13, 15), z + 6, rng.uniform(6, 7))
        mirror(lambda s: f.sphere(C.ICE_DEEP if k % 2 else C.ICE, s * 11, 1.5, z + 10, 2.6))
    f.sphere(C.ICE, 0, 1.2, reach + 4, 1.2)
    return f


# ----------------------------------------------------------- fireworks --

def firework(zoom, frame, colour, light):
    """Sztuczne ognie: a rocket rising on its trail (frame 0), a burst of
    stars (1) and the stars falling and fading (2)."""
    f = Figure(zoom)
    rng = random.Random(frame * 7 + colour)
    if frame == 0:
        f.series(C.SMOKE_LIGHT, (0, -26, 0, 0.8), (0, 0, 0, 1.6), 10)
        f.series(C.FIRE_YELLOW, (0, -6, 0, 0.8), (0, 4, 0, 1.8), 4)
        f.sphere(C.FLASH, 0, 6, 0, 2.2)
    elif frame == 1:
        f.sphere(C.FLASH, 0, 0, 0, 4)
        for k, (x, up, z) in enumerate(sphere_points(26, 1)):
            d = 22 * rng.uniform(0.85, 1.1)
            f.series(colour, (0.25 * d * x, 0.25 * d * up, 0.25 * d * z, 0.5), (d * x, d * up, d * z, 1.4), 3)
            f.sphere(light if k % 2 else C.FLASH, 1.1 * d * x, 1.1 * d * up, 1.1 * d * z, 1.3)
    else:
        for k, (x, up, z) in enumerate(sphere_points(30, 1)):
            d = 27 * rng.uniform(0.8, 1.1)
            fall = 5 + 4 * (1 - up)
            f.series(colour if k % 3 else light, (d * x, d * up - fall, d * z, 1.0), (d * x, d * up - fall - 5, d * z, 0.4), 2)
    return f


# ------------------------------------------------------------ effects --

def sphere_points(n, radius):
    """n points spread evenly over a sphere (a golden-angle spiral)."""
    pts = []
    for k in range(n):
        h = 1 - 2 * (k + 0.5) / n
        a = k * math.pi * (3 - math.sqrt(5))
        w = math.sqrt(1 - h * h)
        pts.append((radius * w * math.cos(a), radius * h, radius * w * math.sin(a)))
    return pts


def crash_smoke(zoom):
    """Dym: a cloud of smoke and thrown-up snow, spinning as it rises."""
    f = Figure(zoom)
    rng = random.Random(6)
    shades = (C.SMOKE, C.SMOKE_LIGHT, C.SMOKE_DARK)
    for k in range(15):
        a, d = rng.uniform(0, 2 * math.pi), rng.uniform(2, 13)
        r = rng.uniform(5.5, 9)
        up = max(r, rng.uniform(6, 30) - 0.3 * d)
        f.sphere(shades[k % 3], d * math.cos(a), up, d * math.sin(a), r)
    for k in range(12):
        a, d = 2 * math.pi * k / 12 + rng.uniform(-0.2, 0.2), rng.uniform(13, 19)
        f.sphere(C.SNOW, d * math.cos(a), rng.uniform(2, 7), d * math.sin(a), rng.uniform(1.4, 2.4))
    return f


def puffs(f, rng, colour, n, distance, radius, lift=0.0, toward=(0.0, 0.0, 0.0)):
    """n round puffs scattered about distance from the centre, shifted by
    toward (a direction times a length) and lifted."""
    for x, up, z in sphere_points(n, 1):
        d = distance * rng.uniform(0.75, 1.2)
        f.sphere(colour, d * x + toward[0], d * up + lift + toward[1], d * z + toward[2],
                 radius * rng.uniform(0.7, 1.25))


def explosion(zoom, frame):
    """Wybuch: a white flash, then a fireball throwing sparks and needles,
    then dark smoke with embers. The game shows it at one fixed angle, so the
    hot core is placed towards the viewer."""
    f = Figure(zoom)
    rng = random.Random(frame + 1)
    view = toward_viewer(0.3, 0.3)

    def near(k):
        return tuple(k * v for v in view)

    if frame == 0:
        puffs(f, rng, C.FIRE_YELLOW, 12, 7, 3.6)
        f.sphere(C.FLASH, *near(3), 7)
        for x, up, z in sphere_points(8, 1):
            f.series(C.FLASH, (0, 0, 0, 2.2), (13 * x, 13 * up, 13 * z, 0.6), 5)
    elif frame == 1:
        puffs(f, rng, C.FIRE_RED, 16, 15, 5.0, lift=2, toward=near(-5))
        puffs(f, rng, C.FIRE, 14, 10, 6.0, lift=1, toward=near(2))
        puffs(f, rng, C.FIRE_YELLOW, 8, 5, 5.5, toward=near(9))
        f.sphere(C.FLASH, *near(14), 4.5)
        for k, (x, up, z) in enumerate(sphere_points(14, 1)):
            d = rng.uniform(20, 25)
            f.sphere(C.PINE_LIGHT if k % 3 == 0 else C.GOLD_LIGHT, d * x, d * up, d * z, 1.2)
    else:
        puffs(f, rng, C.SMOKE_DARK, 16, 13, 6.5, lift=4)
        puffs(f, rng, C.SMOKE, 9, 15, 5.5, lift=10)
        puffs(f, rng, C.SMOKE_LIGHT, 5, 8, 4.5, lift=14, toward=near(6))
        puffs(f, rng, C.FIRE, 5, 5, 3.2, lift=-2, toward=near(10))
        for k, (x, up, z) in enumerate(sphere_points(10, 1)):
            d = rng.uniform(19, 25)
            f.sphere(C.EMBER if k % 3 else C.PINE, d * x, d * up, d * z, 1.2)
    return f


# ---------------------------------------------------------------- HUD --

def present(f, x, up, z, size, box, ribbon, n=5):
    """A gift box, n spheres along each edge of 2 x size pixels, the ribbon
    crossing on top and down the sides, with a bow."""
    step = 2 * size / (n - 1)
    for i in range(n):
        for j in range(n):
            for k in range(n):
                if 0 < i < n - 1 and 0 < j < n - 1 and 0 < k < n - 1:
                    continue   # inside: never seen
                colour = ribbon if i == n // 2 or k == n // 2 else box
                f.sphere(colour, x - size + i * step, up - size + j * step, z - size + k * step, 0.72 * step)
    top = up + size + 0.6 * step
    for side in (-1, 1):
        f.path(ribbon, [(x, top, z, 0.35 * step), (x + side * 0.5 * size, top + 0.6 * size, z - 0.15 * size, 0.3 * step),
                        (x + side * 0.9 * size, top + 0.25 * size, z, 0.3 * step), (x, top, z, 0.35 * step)])
    f.sphere(ribbon, x, top, z, 0.42 * step)


def hand_icon(zoom):
    """Ręka: an open hand in a red, fur-trimmed sleeve."""
    f = Figure(zoom)
    f.series(C.RED, (0, -15, -1.5, 5.6), (0, -9.5, 0, 5.2))
    f.ring(C.FUR, -8.2, 4.8, 14, 2.0)
    f.lit(C.SKIN, C.SKIN_LIGHT, 0, -1.2, 0.4, 6.4)
    for k, x in enumerate((-4.6, -1.55, 1.55, 4.6)):
        length = (9.5, 11.8, 11.4, 8.8)[k]
        f.series(C.SKIN, (x, 3, 0.6, 1.75), (1.3 * x, 3 + length, 0.4, 1.5))
        f.sphere(C.SKIN_LIGHT, 1.3 * x, 3.4 + length, 0.8, 1.0)
    f.series(C.SKIN, (-4.6, -2.8, 1.6, 2.4), (-10.4, 3.6, 2.6, 2.0))
    return f


def present_icon(zoom):
    """Prezent: a red box with a golden ribbon and bow."""
    f = Figure(zoom)
    present(f, 0, -1.5, 0, 9.5, C.RED, C.GOLD)
    return f


def rod_icon(zoom):
    """Rózga: a bundle of birch twigs tied with a red ribbon."""
    f = Figure(zoom)
    rng = random.Random(5)
    tilt = math.radians(30)

    def turn(x, up, z):   # the bundle leans to the right
        return (x * math.cos(tilt) + up * math.sin(tilt), -x * math.sin(tilt) + up * math.cos(tilt), z)

    for k in range(7):
        a = 2 * math.pi * k / 7
        top = (7 * math.cos(a), 19, 4.5 * math.sin(a))
        low = (1.1 * math.cos(a), -18, 1.1 * math.sin(a))
        colour = (C.BARK, C.BARK_LIGHT, C.BARK_DARK)[k % 3]
        f.series(colour, turn(*low) + (1.3,), turn(*top) + (0.7,))
        s = rng.uniform(0.3, 0.7)
        mid = tuple(l + s * (t - l) for l, t in zip(low, top))
        f.series(colour, turn(*mid) + (0.6,), turn(mid[0] * 1.9 + 1.5 * math.cos(a), mid[1] + 6, mid[2] * 1.6) + (0.4,))
    for k in range(12):
        a = 2 * math.pi * k / 12
        f.sphere(C.RED, *turn(2.6 * math.cos(a), -7, 2.6 * math.sin(a)), 1.6)
    for side in (-1, 1):
        f.path(C.RED, [turn(0, -7, 3.0) + (1.3,), turn(side * 4.0, -4.0, 4.0) + (1.1,), turn(side * 4.4, -8.6, 3.8) + (1.0,),
                       turn(0, -7, 3.0) + (1.3,)])
    return f


def bauble_icon(zoom):
    """Bombka: a red glass bauble with a golden band, cap and hook."""
    f = Figure(zoom)
    f.sphere(C.RED, 0, -2, 0, 12)
    # the shine faces the HUD's fixed view
    view = toward_viewer(0.3, 0.3)
    f.sphere(C.RED_LIGHT, -3 + 5 * view[0], 1 + 5 * view[1], 5 * view[2], 7.5)
    f.sphere(C.SNOW, -4.5 + 10 * view[0], 3.5 + 10 * view[1], 10 * view[2], 2.0)
    f.ring(C.GOLD, -2, 11.7, 24, 1.3)
    f.series(C.GOLD, (0, 9.5, 0, 3.4), (0, 12.5, 0, 2.8))
    f.sphere(C.GOLD_LIGHT, 0, 13.3, 0, 1.8)
    for k in range(8):
        a = 2 * math.pi * k / 8
        f.sphere(C.GOLD_DARK, 1.8 * math.sin(a), 16.6 + 1.8 * math.cos(a), 0, 0.7)
    return f


def toward_viewer(yaw, pitch):
    """The (x, up, z) direction pointing at the viewer for these angles."""
    ca, sa, cb, sb = math.cos(yaw), math.sin(yaw), math.cos(pitch), math.sin(pitch)
    return (-cb * sa, sb, cb * ca)


def direction_arrow(zoom, fill, outline):
    """Strzałka: a flat arrow seen from above, outlined so it shows on snow."""
    f = Figure(zoom, FRONT_X)
    for colour, up, grow in ((outline, 0.0, 1.1), (fill, 1.5, 0.0)):
        f.series(colour, (0, up, -9.2, 1.8 + grow), (0, up, 1.5, 1.8 + grow))
        for k in range(5):
            z = 0.5 + 2.1 * k
            w = 6.6 * (1 - k / 5)
            f.series(colour, (-w, up, z, 1.6 + grow), (w, up, z, 1.6 + grow))
        f.sphere(colour, 0, up, 10.6, 1.4 + grow)
    return f


def pointer(zoom):
    """Kursor: an arrow with its tip at the hot spot, gold with a dark edge."""
    f = Figure(zoom)
    # the outline in screen pixels from the tip, y growing downward
    outline = [(0, 0), (0, 16), (4, 12.5), (7, 19), (9.5, 18), (6.5, 11.5), (11.5, 11.5), (0, 0)]
    for a, b in zip(outline, outline[1:]):
        f.series(C.POINTER_OUTLINE, (a[0], -a[1], -2, 1.5), (b[0], -b[1], -2, 1.5))
    # the fill, row by row inside the outline
    for y in (2.4, 4.1, 5.8, 7.5, 9.2, 10.6):
        f.series(C.GOLD_LIGHT, (0.9, -y, 2, 1.2), (min(9.2, y - 1.3), -y, 2, 1.2))
    f.series(C.GOLD_LIGHT, (0.9, -12, 2, 1.2), (0.9, -14.4, 2, 1.2))
    f.series(C.GOLD_LIGHT, (4.8, -12, 2, 1.2), (7.8, -17, 2, 1.2))
    f.series(C.GOLD, (2.4, -12.2, 2, 1.0), (4.4, -11.6, 2, 1.0))
    return f



# ---------------------------------------------------------- the models --

class Entry:
    """One model: its name in the table, its name in the model file and
    what builds it. The table says how the game draws it, and so what its
    sprite is fitted for."""

    def __init__(self, code, name, build):
        self.row = TABLE[code]
        self.id, self.name, self.build = self.row.id, name, build

    def fitted_views(self):
        row = self.row
        yaws = [row.yaw] if row.sprite in ("hotspot", "front") else EVERY_HEADING
        views = [View(row.zoom, row.pitch, yaws, grounded=row.sprite in ("standing", "front", "long"))]
        return views + [LYING] if row.lies else views

    def fit(self, figure, size=None):
        views = self.fitted_views()
        if self.row.sprite == "hotspot":
            return fit_hotspot(figure, views[0])
        if self.row.sprite == "centred":
            return fit_centred(figure, views, size=size)
        return fit_standing(figure, views)

    def shown_views(self):
        """What the contact sheets show: the game's own view where it is a
        fixed one, then what the sprite was fitted for."""
        row, fitted = self.row, self.fitted_views()
        if row.turns or row.sprite in ("hotspot", "front"):
            return fitted
        return [View(row.zoom, row.pitch, [row.yaw])] + fitted


class Group:
    """Models shown on one contact sheet, such as the frames of one
    animation; size fixes the sprite of centred ones."""

    def __init__(self, sheet, entries, size=None):
        self.sheet, self.entries, self.size = sheet, entries, size


FIREWORK_FRAME = (80, 80)   # the game centres every frame on the firework's point
FIREWORK_COLOURS = [("Red", "czerwone", C.RED_LIGHT, C.PINK_LIGHT), ("Gold", "złote", C.GOLD, C.GOLD_LIGHT),
                    ("Green", "zielone", C.LIME, C.PINE_LIGHT)]


def suffix(look):
    """The table's name suffix of a villager's look: none for the first."""
    return str(look + 1) if look else ""


def numbered(look):
    return " %d" % (look + 1) if look else ""


def catalogue():
    icon = (44, 44)
    groups = [
        Group("bohater", [
            Entry("Hero", "Bohater", lambda zoom: hero(zoom, STANDING)),
            Entry("HeroStepLeft", "Bohater, krok lewą", lambda zoom: hero(zoom, LEFT_STEP)),
            Entry("HeroStepRight", "Bohater, krok prawą", lambda zoom: hero(zoom, RIGHT_STEP)),
            Entry("HeroStriking", "Bohater uderza", lambda zoom: hero(zoom, STRIKING)),
        ]),
    ]
    groups += [Group("rodzice", [Entry("Parent%s" % suffix(k), "Rodzic%s" % numbered(k), lambda zoom, look=look: parent(zoom, look))])
               for k, look in enumerate(PARENT_LOOKS)]
    groups += [Group("dzieci", [
        Entry("Child%s" % suffix(k), "Dziecko%s" % numbered(k), lambda zoom, k=k: child(zoom, STANDING, CHILD_LOOKS[k])),
        Entry("Child%sStepLeft" % suffix(k), "Dziecko%s, krok lewą" % numbered(k),
              lambda zoom, k=k: child(zoom, LEFT_STEP, CHILD_LOOKS[k])),
        Entry("Child%sStepRight" % suffix(k), "Dziecko%s, krok prawą" % numbered(k),
              lambda zoom, k=k: child(zoom, RIGHT_STEP, CHILD_LOOKS[k])),
    ]) for k in range(len(CHILD_LOOKS))]
    groups += [
        Group("balwany", [
            Entry("Snowman", "Bałwan", lambda zoom: snowman(zoom, SNOWMAN_STILL)),
            Entry("SnowmanHop", "Bałwan podskakuje", lambda zoom: snowman(zoom, SNOWMAN_HOP)),
            Entry("SnowmanAttack", "Bałwan atakuje", lambda zoom: snowman(zoom, SNOWMAN_ATTACK)),
        ]),
        Group("balwany", [Entry("MeltedSnowman", "Stopiony bałwan", melted_snowman)]),
        Group("goscie", [Entry("Angel", "Aniołek", angel)]),
        Group("goscie", [Entry("GrandfatherFrost", "Dziadek Mróz", grandfather_frost)]),
        Group("zaprzeg", [
            Entry("Reindeer", "Renifer", lambda zoom: reindeer(zoom, DEER_STANDING)),
            Entry("ReindeerRun1", "Renifer w biegu 1", lambda zoom: reindeer(zoom, DEER_REACHING)),
            Entry("ReindeerRun2", "Renifer w biegu 2", lambda zoom: reindeer(zoom, DEER_GATHERED)),
            Entry("ReindeerBraking", "Renifer hamuje", lambda zoom: reindeer(zoom, DEER_BRAKING)),
        ]),
        Group("zaprzeg", [
            Entry("SleighRidden", "Sanie z Mikołajem", lambda zoom: sleigh(zoom, True)),
            Entry("SleighEmpty", "Sanie puste", lambda zoom: sleigh(zoom, False)),
        ]),
        Group("drzewa", [Entry("Tree", "Drzewo", tree)]),
        Group("drzewa", [Entry("ChristmasTree", "Choinka", christmas_tree)]),
        Group("drzewa", [Entry("BurntChristmasTree", "Spalona choinka", burnt_christmas_tree)]),
        Group("drzewa", [Entry("BigChristmasTree", "Duża choinka", big_christmas_tree)]),
        Group("drzewa", [Entry("Post", "Słup", lamp_post)]),
        Group("wioska", [Entry("TimberHouse", "Dom drewniany", lambda zoom: house(zoom, TIMBER_HOUSE))]),
        Group("wioska", [Entry("YellowHouse", "Dom żółty", lambda zoom: house(zoom, YELLOW_HOUSE))]),
        Group("wioska", [Entry("BlueHouse", "Dom niebieski", lambda zoom: house(zoom, BLUE_HOUSE))]),
        Group("wioska", [Entry("Chapel", "Kaplica", chapel)]),
        Group("rynek", [Entry("Fence", "Płot", fence)]),
        Group("rynek", [Entry("FenceAcross", "Płot w głąb", fence_across)]),
        Group("rynek", [Entry("Hedge", "Żywopłot", hedge)]),
        Group("rynek", [Entry("StreetLamp", "Latarnia", street_lamp)]),
        Group("rynek", [Entry("Bench", "Ławka", bench)]),
        Group("rynek", [Entry("MarketStall", "Stragan", market_stall)]),
        Group("rynek", [Entry("HungBauble", "Bombka na choince", hung_bauble)]),
        Group("brzeg", [Entry("IceFloe", "Kra", lambda zoom: ice_floe(zoom, 20, 320))]),
        Group("brzeg", [Entry("SmallIceFloe", "Mała kra", lambda zoom: ice_floe(zoom, 12, 321))]),
        Group("brzeg", [Entry("ShoreRock", "Skała", shore_rock)]),
        Group("brzeg", [Entry("Reeds", "Trzcina", reeds)]),
        Group("brzeg", [Entry("Jetty", "Pomost", jetty)]),
        Group("brzeg", [Entry("ShoreBank", "Brzeg", shore_bank)]),
        Group("brzeg", [Entry("ShoreBankAcross", "Brzeg w głąb", shore_bank_across)]),
        Group("brzeg", [Entry("IceSheet", "Lód", ice_sheet)]),
        Group("efekty", [Entry("CrashSmoke", "Dym", crash_smoke)]),
        Group("efekty", [Entry("Explosion1", "Wybuch 1", lambda zoom: explosion(zoom, 0))]),
        Group("efekty", [Entry("Explosion2", "Wybuch 2", lambda zoom: explosion(zoom, 1))]),
        Group("efekty", [Entry("Explosion3", "Wybuch 3", lambda zoom: explosion(zoom, 2))]),
        Group("ognie", [Entry("FireworkRocket", "Raca", lambda zoom: firework(zoom, 0, C.FIRE_YELLOW, C.FLASH))],
              size=FIREWORK_FRAME),
        Group("ognie", [Entry("Firework%s" % name, "Ognie %s" % polish,
                              lambda zoom, c=colour, l=light: firework(zoom, 1, c, l))
                        for name, polish, colour, light in FIREWORK_COLOURS], size=FIREWORK_FRAME),
        Group("ognie", [Entry("FireworkFading", "Ognie gasną", lambda zoom: firework(zoom, 2, C.GOLD, C.FIRE))],
              size=FIREWORK_FRAME),
        Group("hud", [Entry("Pointer", "Kursor", pointer)]),
        Group("hud", [Entry("HandIcon", "Ręka", hand_icon)], size=icon),
        Group("hud", [Entry("PresentIcon", "Prezent", present_icon)], size=icon),
        Group("hud", [Entry("RodIcon", "Rózga", rod_icon)], size=icon),
        Group("hud", [Entry("BaubleIcon", "Bombka", bauble_icon)], size=icon),
        Group("hud", [Entry("Arrow1", "Strzałka 1", lambda zoom: direction_arrow(zoom, C.PINE_LIGHT, C.PINE_DARK))],
              size=(28, 28)),
        Group("hud", [Entry("Arrow2", "Strzałka 2", lambda zoom: direction_arrow(zoom, C.RED_LIGHT, C.RED_DARK))],
              size=(28, 28)),
    ]
    built = sorted(e.row.name for g in groups for e in g.entries)
    drawn = sorted(r.name for r in TABLE.values() if r.id is not None)
    if built != drawn:
        raise RuntimeError("the catalogue and %s disagree: %s" % (model_ids.TABLE, sorted(set(built) ^ set(drawn))))
    return groups


# ------------------------------------------------------------- output --

def number(v):
    """A single as the bbx tool writes it (the values here are quarters)."""
    v = quarter(v)
    return str(int(v)) if v == int(v) else repr(v)


def element_json(c, colour, p, q):
    values = ",".join('"%s":%s' % (k, number(v)) for k, v in zip(
        ("x1", "y1", "z1", "r1", "x2", "y2", "z2", "r2"), p + q))
    return '{"c":%d,"color":%d,%s}' % (c, colour, values)


def model_json(entry, fit, elements):
    head = '{"name":%s,"id":%d,"i1":%d,"i2":%d,"elements":[' % (
        json.dumps(entry.name, ensure_ascii=False), entry.id, fit.width, fit.height)
    return head + "".join(("\n " if i == 0 else ",\n ") + element_json(*e) for i, e in enumerate(elements)) + "]}"


def build_all(report):
    models = []
    for group in catalogue():
        for entry in group.entries:
            figure = entry.build(entry.row.zoom)
            fit = entry.fit(figure, group.size)
            report("%4d  %-28s %3dx%-3d %4d spheres" % (entry.id, entry.name, fit.width, fit.height,
                                                       figure.sphere_count()))
            models.append(model_json(entry, fit, figure.moved(fit.dx, fit.dy)))
    return '{"models":[\n' + ",\n".join(models) + "\n]}\n"


SHOWN_HEADINGS = [0.0, math.pi / 4, math.pi / 2, math.pi, 3 * math.pi / 2]


def print_views():
    """One line per model for the contact sheets: sheet, id and the views to
    show as zoom:pitch:yaw, tab-separated."""
    for group in catalogue():
        for entry in group.entries:
            shown = []
            for v in entry.shown_views():
                yaws = SHOWN_HEADINGS if v.yaws is EVERY_HEADING else v.yaws
                shown += ["%g:%g:%.4f" % (v.zoom, v.pitch, y) for y in yaws]
            print("\t".join([group.sheet, str(entry.id), " ".join(shown)]))


def main():
    if sys.argv[1:] == ["--views"]:
        print_views()
        return
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "models.json")
    text = build_all(print)
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)
    print("wrote", out)


if __name__ == "__main__":
    main()
