"""The table of the models the game draws, data/model_ids.csv: for each its
ID, the zoom, pitch and yaw the game draws it at, how its sprite holds it
and whether it is also drawn fallen over. The game's named IDs are written
from the same file by the build."""

import csv
import os

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TABLE = os.path.join(ROOT, "data", "model_ids.csv")
COLUMNS = ["name", "id", "zoom", "pitch", "yaw", "sprite", "lies"]
SPRITES = ("standing", "front", "long", "centred", "hotspot")


def number(text):
    """An int where the table writes one, so that the values compute as
    they always have."""
    return float(text) if "." in text else int(text)


class Row:
    def __init__(self, fields, where):
        name, ident, zoom, pitch, yaw, sprite, lies = fields
        self.name = name
        self.id = int(ident) if ident else None
        self.zoom, self.pitch = number(zoom), number(pitch)
        self.turns = yaw == "heading"   # the drawer picks the yaw
        self.yaw = None if self.turns else number(yaw)
        self.sprite = sprite
        self.lies = lies == "lies"
        if self.id is not None and sprite not in SPRITES:
            raise ValueError("%s: unknown sprite %r" % (where, sprite))
        if lies not in ("", "lies"):
            raise ValueError("%s: the last field is lies or empty, not %r" % (where, lies))


def load(path=TABLE):
    """Rows by name, in the table's order."""
    rows = {}
    with open(path, encoding="utf-8", newline="") as f:
        lines = [(n, line) for n, line in enumerate(f, 1) if line.strip() and not line.startswith("#")]
    if not lines or next(csv.reader([lines[0][1]])) != COLUMNS:
        raise ValueError("%s: the first line that is not a comment must be %s" % (path, ",".join(COLUMNS)))
    for n, line in lines[1:]:
        where = "%s:%d" % (path, n)
        fields = next(csv.reader([line]))
        if len(fields) != len(COLUMNS):
            raise ValueError("%s: %d fields expected" % (where, len(COLUMNS)))
        row = Row(fields, where)
        if row.name in rows:
            raise ValueError("%s: %s again" % (where, row.name))
        rows[row.name] = row
    ids = [r.id for r in rows.values() if r.id is not None]
    if len(set(ids)) != len(ids):
        raise ValueError("%s: an ID is given twice" % path)
    return rows
