#!/usr/bin/env python3
"""A still of a game scene made of the shipped models, placed the way the
game places them: every sprite's bottom centre on the lower edge of its
footprint, the object layer painted in order of Y, the sleigh team as its
five sprites, the HUD icons and pointer arrows, and the mouse pointer.

    scene.py BBX_TOOL MODELS.bbx OUT.png
"""

import math
import os
import subprocess
import sys
import tempfile

CONVERT = "/usr/bin/convert"
SNOW = "rgb(220,220,220)"
PITCH = 0.3


class Sprite:
    """One model drawn at screen (x, y): bottom centre at (x, y + base)
    unless top_left."""

    def __init__(self, model, x, y, base, yaw, zoom, pitch=PITCH, top_left=False):
        self.model, self.x, self.y, self.base = model, x, y, base
        self.yaw, self.zoom, self.pitch, self.top_left = yaw, zoom, pitch, top_left


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


def character(model, x, y, yaw, zoom=180, radius=12):
    return [Sprite(model, x, y, radius, yaw, zoom)]


def sleigh_team(x, y, heading, ridden=True, reindeer=21):
    """The five sprites of the team, in the game's drawing order."""
    c, s = math.cos(heading), math.sin(heading)
    out = [Sprite(19 if ridden else 20, round(x - 38 * c), round(y + 38 * s), 10, heading - 3 * math.pi / 2, 180)]
    for side in (-1, 1):
        p, q = round(x + side * 12 * s), round(y + side * 12 * c)
        out.append(Sprite(reindeer, p, q, 10, heading - math.pi, 180))
        out.append(Sprite(reindeer, p + round(38 * c), q + round(-38 * s), 10, heading - math.pi, 180))
    return out


def scene():
    """(Y order key, sprites) for the object layer, then ground and effects."""
    hero_x, hero_y = 400, 330
    objects = [
        (hero_y, [Sprite(7, hero_x, hero_y, 11, -0.6 + math.pi / 2 + 0.01, 175)]),
        (250, character(9, 300, 250, 0.4)),
        (270, character(10, 345, 270, 1.2 + math.pi / 2)),
        (360, character(11, 480, 360, 3.6 + math.pi / 2)),
        (300, character(13, 560, 300, 2.8 + math.pi / 2, zoom=175)),
        (420, character(25, 450, 420, 2.2 + math.pi / 2, zoom=175)),
        (170, character(15, 640, 170, 0.62831855, zoom=264)),
        (190, character(16, 720, 200, -0.62831855, zoom=264)),
        (140, [Sprite(3, 200, 140, 24, 1.1, 350)]),
        (120, [Sprite(5, 480, 120, 48, 2.0, 700)]),
        (210, [Sprite(2, 120, 210, 12, 0.3, 350)]),
        (330, [Sprite(4, 690, 330, 12, 4.0, 350)]),
        (380, [Sprite(6, 330, 380, 8, 0.0, 774)]),
        (470, [Sprite(3, 90, 470, 24, 3.0, 350)]),
        (500, sleigh_team(620, 500, 0.5)),
        (440, sleigh_team(200, 420, 2.6, ridden=False, reindeer=18)),
    ]
    objects += house(11, 1, 6, 3, (13, 3))
    ground = [
        Sprite(24, 250, 380, 12, 0.3, 180),
        Sprite(10, 560, 400, 12, 0.3, 180, pitch=-0.7),
    ]
    effects = [
        Sprite(-8, 200, 140 - 43, 19, 0.3, 180),
        Sprite(-6, 740, 560 - 32, 19, 1.7, 350),
    ]
    # pointer arrows round the hero, at reach 50, towards their targets
    for model, (tx, ty) in ((-10, (200, 140)), (-11, (720, 200))):
        dx, dy = tx - hero_x, ty - hero_y
        theta = math.atan2(dy, dx or 0.0001)
        reach = min(math.hypot(dx, dy), 50)
        effects.append(Sprite(model, round(hero_x + reach * math.cos(theta)), round(hero_y + reach * math.sin(theta)),
                              14, -theta, 135, pitch=1.5707964))
    hud = [Sprite(-2 - k, 24 + 48 * k, 576, 24, 0.3, 175) for k in range(4)]
    pointer = [Sprite(-1, 470, 345, 0, 0.1, 81, pitch=-0.1, top_left=True)]
    layer = [s for _, group in sorted(objects, key=lambda o: o[0]) for s in group]
    return ground + layer + effects + hud + pointer


def main():
    bbx, models, out = sys.argv[1:4]
    sizes = {}
    info = subprocess.run([bbx, "info", models], check=True, capture_output=True, text=True).stdout
    for line in info.splitlines()[1:]:
        _, _, ident, i1, i2, *_ = line.split("\t")
        sizes.setdefault(int(ident), (round(float(i1)), round(float(i2))))
    with tempfile.TemporaryDirectory() as tmp:
        args = [CONVERT, "-size", "800x600", "xc:" + SNOW, "-attenuate", "0.25", "+noise", "Uniform"]
        for n, s in enumerate(scene()):
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
