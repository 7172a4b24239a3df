#!/usr/bin/env python3
"""Checks that every source file includes only from the layers below it.

Each folder is one library; its includes name their folder ("core/x.h",
"runtime/x.h", ...). A file may include its own folder and the folders of
the layers it stands on, nothing above and nothing beside. SDL may be named
only in the SDL platform layer (and what drives it: the program, the tools,
their tests), Qt only in the editor and its tests.

Usage: check_layers.py REPO_ROOT   (prints each offence; exit 1 if any)
"""
import pathlib
import re
import sys

# Folder (relative to the repository) -> include prefixes it may use.
CORE = {"core"}
RUNTIME = CORE | {"runtime"}
WORLD = RUNTIME | {"world"}
FLOW = WORLD | {"flow"}
ALLOWED = {
    "core": CORE,
    "editor": CORE | {"editor"},
    "game/runtime": RUNTIME,
    "game/runtime/platform": RUNTIME | {"runtime/platform"},
    "game/runtime/platform/null": RUNTIME | {"runtime/platform/null"},
    "game/world": WORLD,
    "game/flow": FLOW,
    "game/app": FLOW | {"app", "runtime/platform", "runtime/platform/null"},
    "tools/bbx": CORE | {"bbx"},
    "tools/sfxgen": set(),
    "tools/showcase": WORLD | {"runtime/platform", "runtime/platform/null"},
}
SDL_FOLDERS = ("game/runtime/platform/", "tests/game/runtime/")
QT_FOLDERS = ("editor/", "tests/editor/", "tests/support/", "bench/")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def folder_rules(relative):
    """The rule of the deepest listed folder holding the file, if any."""
    parts = relative.parent.as_posix()
    best = None
    for folder in ALLOWED:
        if parts == folder or parts.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def prefix_of(include):
    """The layer an include names: its folder path, e.g. runtime/platform."""
    return include.rsplit("/", 1)[0] if "/" in include else ""


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    offences = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or any(p.startswith("build") for p in path.relative_to(root).parts):
            continue
        relative = path.relative_to(root)
        posix = relative.as_posix()
        text = path.read_text(encoding="utf-8", errors="replace")
        folder = folder_rules(relative)
        for bracket, include in INCLUDE.findall(text):
            if bracket == '"' and not include.endswith(".moc"):
                if "/" not in include:
                    offences.append(f"{posix}: include \"{include}\" does not name its folder")
                elif folder is not None and prefix_of(include) not in ALLOWED[folder]:
                    offences.append(f"{posix}: {folder} may not include \"{include}\"")
            elif bracket == "<":
                if include.startswith("SDL") and not posix.startswith(SDL_FOLDERS):
                    offences.append(f"{posix}: SDL outside the platform layer: <{include}>")
                if re.match(r"Q[A-Z]|Qt", include) and not posix.startswith(QT_FOLDERS):
                    offences.append(f"{posix}: Qt outside the editor: <{include}>")
    for line in offences:
        print(line)
    return 1 if offences else 0


if __name__ == "__main__":
    sys.exit(main())
