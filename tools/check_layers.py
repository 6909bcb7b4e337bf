#!/usr/bin/env python3
"""The source folders' layers: each folder includes only itself and the
folders below it, so that no include goes back up.

    check_layers.py [SOURCE_DIR]
    check_layers.py --print-layers    (the layers, for the build)

LAYERS lists, for each folder that already keeps to its place, the folders
it may include ("resources" is the launcher's own resource identifiers).
Folders that still include each other would be listed in NOT_YET_LAYERED
and not checked until they are split (none are now); a folder that is
in neither list is an error, so a new folder is placed on purpose. The
engine's files, besides, include no window or dialog code. Exit code 0 when
every include keeps to its layer, 1 otherwise (each fault on a line).
"""
import os
import re
import sys

LAYERS = {
    "framework": {"framework"},
    "icbs": {"framework", "icbs"},
    "engine": {"framework", "engine"},
    "catalogue": {"framework", "icbs", "engine", "catalogue"},
    "options": {"framework", "icbs", "engine", "catalogue", "options"},
    "execution": {"framework", "icbs", "engine", "catalogue", "options", "execution"},
    "server": {"framework", "icbs", "engine", "catalogue", "options", "server"},
    "wizard": {"framework", "icbs", "engine", "catalogue", "options", "execution", "server", "resources", "wizard"},
    "launcher": {"framework", "icbs", "engine", "catalogue", "options", "execution", "server", "resources", "wizard",
                 "launcher"},
}
NOT_YET_LAYERED = set()
# Window and dialog code that the engine never includes.
ENGINE_FORBIDDEN = {
    "framework/Dialog.h", "framework/Window.h", "framework/MessageBox.h", "framework/Dpi.h",
    "framework/ToolTip.h", "framework/Application.h", "commctrl.h", "richedit.h", "commdlg.h", "uxtheme.h",
}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')


def faults(source):
    found = []
    for folder in sorted(os.listdir(source)):
        path = os.path.join(source, folder)
        if not os.path.isdir(path) or folder.startswith("."):
            continue
        names = [n for n in os.listdir(path) if n.endswith((".h", ".cpp"))]
        if not names or folder in ("tests", "bench", "builder", "demo", "tools", "resources", "build"):
            continue
        if folder in NOT_YET_LAYERED:
            continue
        if folder not in LAYERS:
            found.append(f"{folder}/: a source folder without a place in the layers")
            continue
        for name in sorted(names):
            with open(os.path.join(path, name), encoding="utf-8", errors="replace") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    target = match.group(1)
                    where = f"{folder}/{name}:{number}"
                    if folder == "engine" and target.lower() in {t.lower() for t in ENGINE_FORBIDDEN}:
                        found.append(f"{where}: the engine includes window or dialog code ({target})")
                    if "/" in target:
                        upper = target.split("/", 1)[0]
                        if os.path.isdir(os.path.join(source, upper)) and upper not in LAYERS[folder]:
                            found.append(f"{where}: {folder}/ includes {target}, above it")
    return found


def print_layers():
    """For the build: a line per layered folder, from the bottom up, with the
    folders it may include; then "top" with the folders not yet layered,
    which are built together."""
    for folder, allowed in LAYERS.items():
        print(folder, *sorted(allowed))
    if NOT_YET_LAYERED:
        print("top", *sorted(NOT_YET_LAYERED))
    return 0


def main():
    if sys.argv[1:] == ["--print-layers"]:
        return print_layers()
    source = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    problems = faults(source)
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
