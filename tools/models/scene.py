#!/usr/bin/env python3
"""A still of a game scene made of the shipped models, placed the way the
game places them: every sprite's bottom centre on the lower edge of its
footprint, the object layer painted in order of Y, the sleigh team as its
five sprites, the HUD icons and pointer arrows, and the mouse pointer.

    scene.py BBX_TOOL MODELS.bbx OUT.png [village]

With "village", a corner of the village instead: houses and the chapel on
their footprints, fences, hedges, lamps, a bench, a stall, the shore and
the ice, and the villagers in their looks.
"""

import math
import os
import subprocess
import sys
import tempfile

import model_ids

CONVERT = "/usr/bin/convert"
SNOW = "rgb(220,220,220)"
TABLE = model_ids.load()


class Sprite:
    """One model, by its name in the table, drawn at screen (x, y): bottom
    centre at (x, y + base) unless top_left; at the zoom and pitch the game
    draws it with, or those of a fallen figure when lying. The yaw is the
    model's own unless given."""

    def __init__(self, name, x, y, base, yaw=None, lying=False, top_left=False):
        row = TABLE[name]
        view = TABLE["Lying"] if lying else row
        self.model, self.x, self.y, self.base = row.id, x, y, base
        self.yaw = view.yaw if yaw is None else yaw
        self.zoom, self.pitch, self.top_left = view.zoom, view.pitch, top_left


class Wall:
    """A wall block: its 48x72 picture from 48 pixels above the footprint
    centre, light top over a darker front."""

    def __init__(self, column, row):
        self.x, self.y = column * 48 - 24, row * 48 - 48

    def draw(self):
        x, y = self.x, self.y
        return ["-fill", "rgb(192,192,192)", "-draw", "rectangle %d,%d %d,%d" % (x, y, x + 47, y + 47),
                "-fill", "rgb(128,128,128)", "-draw", "rectangle %d,%d %d,%d" % (x, y + 48, x + 47, y + 71)]


def house(left, top, width, height, door):
    """(Y, [wall]) entries for a rectangle of wall blocks with a door cell."""
    cells = {(c, r) for c in range(left, left + width) for r in (top, top + height - 1)}
    cells |= {(c, r) for r in range(top, top + height) for c in (left, left + width - 1)}
    return [(r * 48, [Wall(c, r)]) for c, r in sorted(cells - {door})]


def character(name, x, y, yaw, radius=12):
    return [Sprite(name, x, y, radius, yaw)]


def sleigh_team(x, y, heading, ridden=True, reindeer="ReindeerRun1"):
    """The five sprites of the team, in the game's drawing order."""
    c, s = math.cos(heading), math.sin(heading)
    sleigh = "SleighRidden" if ridden else "SleighEmpty"
    out = [Sprite(sleigh, round(x - 38 * c), round(y + 38 * s), 10, heading - 3 * math.pi / 2)]
    for side in (-1, 1):
        p, q = round(x + side * 12 * s), round(y + side * 12 * c)
        out.append(Sprite(reindeer, p, q, 10, heading - math.pi))
        out.append(Sprite(reindeer, p + round(38 * c), q + round(-38 * s), 10, heading - math.pi))
    return out


def scene():
    """(Y order key, sprites) for the object layer, then ground and effects."""
    hero_x, hero_y = 400, 330
    objects = [
        (hero_y, [Sprite("HeroStepLeft", hero_x, hero_y, 11, -0.6 + math.pi / 2 + 0.01)]),
        (250, character("Parent", 300, 250, 0.4)),
        (270, character("Child", 345, 270, 1.2 + math.pi / 2)),
        (360, character("ChildStepLeft", 480, 360, 3.6 + math.pi / 2)),
        (300, character("Snowman", 560, 300, 2.8 + math.pi / 2)),
        (420, character("SnowmanAttack", 450, 420, 2.2 + math.pi / 2)),
        (170, character("Angel", 640, 170, 0.62831855)),
        (190, character("GrandfatherFrost", 720, 200, -0.62831855)),
        (140, [Sprite("ChristmasTree", 200, 140, 24, 1.1)]),
        (120, [Sprite("BigChristmasTree", 480, 120, 48, 2.0)]),
        (210, [Sprite("Tree", 120, 210, 12, 0.3)]),
        (330, [Sprite("BurntChristmasTree", 690, 330, 12, 4.0)]),
        (380, [Sprite("Post", 330, 380, 8, 0.0)]),
        (470, [Sprite("ChristmasTree", 90, 470, 24, 3.0)]),
        (500, sleigh_team(620, 500, 0.5)),
        (440, sleigh_team(200, 420, 2.6, ridden=False, reindeer="Reindeer")),
    ]
    objects += house(11, 1, 6, 3, (13, 3))
    ground = [
        Sprite("MeltedSnowman", 250, 380, 12),
        Sprite("Child", 560, 400, 12, lying=True),
    ]
    effects = [
        Sprite("Explosion2", 200, 140 - 43, 19),
        Sprite("CrashSmoke", 740, 560 - 32, 19, 1.7),
    ]
    # pointer arrows round the hero, at reach 50, towards their targets
    for name, (tx, ty) in (("Arrow1", (200, 140)), ("Arrow2", (720, 200))):
        dx, dy = tx - hero_x, ty - hero_y
        theta = math.atan2(dy, dx or 0.0001)
        reach = min(math.hypot(dx, dy), 50)
        effects.append(Sprite(name, round(hero_x + reach * math.cos(theta)), round(hero_y + reach * math.sin(theta)),
                              14, -theta))
    hud = [Sprite(name, 24 + 48 * k, 576, 24) for k, name in enumerate(("HandIcon", "PresentIcon", "RodIcon",
                                                                          "BaubleIcon"))]
    pointer = [Sprite("Pointer", 470, 345, 0, top_left=True)]
    layer = [s for _, group in sorted(objects, key=lambda o: o[0]) for s in group]
    return ground + layer + effects + hud + pointer


def scenery(name, column, row, radius, yaw=None):
    """(Y, [sprite]) for scenery at a map cell, as the map places it."""
    return (row * 48, [Sprite(name, round(column * 48), round(row * 48), radius, yaw)])


def village():
    objects = [
        scenery("TimberHouse", 3, 2.5, 72),
        scenery("BlueHouse", 8.5, 3, 96),
        scenery("Chapel", 14, 3, 96),
        scenery("MarketStall", 6, 7, 24),
        scenery("Bench", 11, 7, 16),
        scenery("StreetLamp", 9, 7, 8, 0.4),
        scenery("StreetLamp", 13, 7, 8, 2.0),
        scenery("ChristmasTree", 16, 8, 24, 1.0),
        scenery("HungBauble", 16, 8, 24),
    ]
    objects += [scenery("Fence", c, 9.5, 24) for c in range(0, 6)]
    objects += [scenery("Hedge", c, 9.5, 24) for c in range(6, 10)]
    objects += [scenery("FenceAcross", 10, r, 24) for r in (8.5, 9.5, 10.5)]
    objects += [scenery("ShoreBank", c, 11, 24) for c in range(0, 17)]
    objects += [scenery("Jetty", 4, r, 24) for r in (12, 13, 14)]
    objects += [scenery(name, c, r, radius, yaw) for name, c, r, radius, yaw in (
        ("IceFloe", 8, 12.5, 24, 0.3), ("SmallIceFloe", 11, 13, 16, 2.0), ("IceFloe", 14, 13.5, 24, 4.0),
        ("ShoreRock", 1, 11.6, 12, 0.5), ("ShoreRock", 12.5, 11.7, 12, 3.0), ("Reeds", 6, 11.8, 8, 0.2),
        ("Reeds", 15.5, 11.8, 8, 1.5), ("SmallIceFloe", 2, 13.5, 16, 1.0))]
    looks = ["Parent%s" % n for n in ("", 2, 3, 4, 5, 6, 7, 8)] + ["Child%s" % n for n in ("", 2, 3, 4, 5, 6)]
    for k, name in enumerate(looks):
        x, y = 40 + 52 * k, 8 * 48 + 10 + 14 * (k % 2)
        objects.append((y, character(name, x, y, 0.4 + 0.9 * k)))
    layer = [s for _, group in sorted(objects, key=lambda o: o[0]) for s in group]
    effects = [Sprite("FireworkRed", 700, 60, 40), Sprite("FireworkGold", 600, 110, 40),
               Sprite("FireworkRocket", 520, 150, 40)]
    return layer + effects


def main():
    bbx, models, out = sys.argv[1:4]
    sprites = village() if sys.argv[4:] == ["village"] else scene()
    sizes = {}
    info = subprocess.run([bbx, "info", models], check=True, capture_output=True, text=True).stdout
    for line in info.splitlines()[1:]:
        _, _, ident, i1, i2, *_ = line.split("\t")
        sizes.setdefault(int(ident), (round(float(i1)), round(float(i2))))
    with tempfile.TemporaryDirectory() as tmp:
        args = [CONVERT, "-size", "800x600", "xc:" + SNOW, "-attenuate", "0.25", "+noise", "Uniform"]
        for n, s in enumerate(sprites):
            if isinstance(s, Wall):
                args += s.draw()
                continue
            picture = os.path.join(tmp, "%d.png" % n)
            subprocess.run([bbx, "render", models, "--id", str(s.model), "--yaw", repr(s.yaw), "--pitch",
                            repr(s.pitch), "--zoom", repr(s.zoom), "-o", picture], check=True)
            w, h = sizes[s.model]
            x, y = (s.x, s.y) if s.top_left else (s.x - w // 2, s.y + s.base - h)
            args += [picture, "-geometry", "%+d%+d" % (x, y), "-composite"]
        subprocess.run(args + [out], check=True)


if __name__ == "__main__":
    main()
