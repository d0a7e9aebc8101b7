#!/usr/bin/env python3
"""Checks that the source folders include one another only downwards:

    text <- regex <- net <- lookup <- app (and cli)

A file may include headers of its own folder and of the folders to its left; app/ and cli/
may include every core folder (and the sample site library, for --demo), app/ being the
only one that may include Qt. Nothing in the core (text/ regex/ net/ lookup/) or in cli/
includes a Qt header.

Usage: check_layers.py <source root>. Prints one line per offending include (file:line) and
exits 1 if there is any.
"""

import os
import re
import sys

CORE = ["text", "regex", "net", "lookup"]

# What each folder may include, by the first component of a project-rooted include path.
ALLOWED = {folder: set(CORE[: i + 1]) for i, folder in enumerate(CORE)}
ALLOWED["app"] = set(CORE) | {"app"}
ALLOWED["cli"] = set(CORE) | {"cli"}

QT_FREE = set(CORE) | {"cli"}

# Beyond the layers: the programs (app/, cli/) run the sample site for --demo, a Qt-free
# library of its own under tools/.
EXTRA = {
    "app": ("tools/sample-site/",),
    "cli": ("tools/sample-site/",),
}

# Known exceptions, as (file, included folder). Keep this list short and say why; there are
# none today.
EXCEPTIONS: set = set()

SOURCE_SUFFIXES = (".h", ".hpp", ".hh", ".cpp", ".cc", ".cxx", ".ipp", ".inl")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Qt's headers: <QWidget>, <QtCore/qglobal.h>, <qglobal.h>, <qtconcurrentrun.h> ...
QT_HEADER = re.compile(r"^(Q[A-Za-z]|qt|q[a-z0-9_]+\.h$)")


def included_folder(path, name):
    """The top folder an include refers to, or None for one in the including file's own folder."""
    if name.startswith("."):
        name = os.path.normpath(os.path.join(os.path.dirname(path), name))
    if "/" not in name:
        return None
    return name.split("/", 1)[0]


def check(root):
    faults = []
    used_exceptions = set()
    for folder in sorted(ALLOWED):
        top = os.path.join(root, folder)
        if not os.path.isdir(top):
            continue
        for directory, _, files in sorted(os.walk(top)):
            for file_name in sorted(files):
                if not file_name.endswith(SOURCE_SUFFIXES):
                    continue
                full = os.path.join(directory, file_name)
                path = os.path.relpath(full, root).replace(os.sep, "/")
                with open(full, encoding="utf-8", errors="replace") as source:
                    for number, line in enumerate(source, start=1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        bracket, name = match.groups()
                        if bracket == "<":
                            if folder in QT_FREE and QT_HEADER.match(name):
                                faults.append(f"{path}:{number}: Qt header <{name}> in {folder}/, which stays Qt-free")
                            continue
                        target = included_folder(path, name)
                        if target is None or target in ALLOWED[folder]:
                            continue
                        if name.startswith(EXTRA.get(folder, ())):
                            continue
                        if (path, target) in EXCEPTIONS:
                            used_exceptions.add((path, target))
                            continue
                        faults.append(
                            f'{path}:{number}: "{name}" from {folder}/, which may include only '
                            + " ".join(f"{f}/" for f in CORE + ["app", "cli"] if f in ALLOWED[folder])
                        )
    for path, target in sorted(EXCEPTIONS - used_exceptions):
        print(f"note: the exception for {path} including {target}/ is no longer needed")
    return faults


def main():
    if len(sys.argv) != 2:
        print("usage: check_layers.py <source root>", file=sys.stderr)
        return 2
    faults = check(sys.argv[1])
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) against the layer order text <- regex <- net <- lookup <- app")
        return 1
    print("the includes follow the layer order text <- regex <- net <- lookup <- app")
    return 0


if __name__ == "__main__":
    sys.exit(main())
