#!/usr/bin/env python3
"""Checks the include structure of src/.

  check_layers.py SOURCE_ROOT QT_INCLUDE_DIR...

Each folder under src/ is a layer. A source may include a project header
("folder/name.h") only from its own layer or one below it. The core libraries
(every source of a signovat_core_library call in src/*/CMakeLists.txt) must
stay free of windows: no Qt Widgets or PrintSupport header, and no project
header that belongs to a signovat_ui_library. The Qt headers are those found
in the QT_INCLUDE_DIRs (the module folders QtWidgets, QtPrintSupport, QtGui
...), so the list follows the installed Qt.

Prints one "file:line: include -- reason" per offence; exits 1 if any.
"""

import re
import sys
from pathlib import Path

# Bottom to top. A folder missing from the tree is simply empty.
LAYERS = ["base", "serial", "data", "link", "render", "actual", "context",
          "preview", "dialogs", "app"]

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}

INCLUDE_RE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
LIBRARY_CALL_RE = re.compile(r"\b(signovat_core_library|signovat_core_headers|signovat_ui_library)\s*\(([^)]*)\)", re.S)


class CheckError(Exception):
    pass


def library_sources(src_root):
    """Returns ({core source path}, {ui source path}) from the CMakeLists."""
    core, ui = set(), set()
    for cmake_file in sorted(src_root.glob("*/CMakeLists.txt")):
        text = re.sub(r"#[^\n]*", "", cmake_file.read_text(encoding="utf-8"))
        for kind, args in LIBRARY_CALL_RE.findall(text):
            tokens = args.split()
            sources, in_sources = [], False
            for token in tokens[1:]:
                if token in ("SOURCES", "DEPENDS"):
                    in_sources = token == "SOURCES"
                elif in_sources:
                    sources.append(token)
            for source in sources:
                if "$" in source:
                    raise CheckError(f"{cmake_file}: cannot follow the source '{source}' of {tokens[0]}")
                path = (cmake_file.parent / source).resolve()
                if not path.is_file():
                    raise CheckError(f"{cmake_file}: {tokens[0]} lists '{source}', which does not exist")
                (ui if kind == "signovat_ui_library" else core).add(path)
    if not core:
        raise CheckError(f"no signovat_core_library call found under {src_root}")
    return core, ui


def window_headers(qt_dirs):
    """Returns (module folder names, header names) of the windows modules.

    qt_dirs are the include folders of the Qt modules the program uses; a
    folder that is no module's own (the common Qt include root) is skipped.
    """
    modules, names, shared = set(), set(), set()
    for module in map(Path, qt_dirs):
        if not module.name.startswith("Qt") or not module.is_dir():
            continue
        headers = {p.name for p in module.iterdir() if p.is_file()}
        if module.name == "QtPrintSupport" or module.name.endswith("Widgets"):
            modules.add(module.name)
            names |= headers
        else:
            shared |= headers
    if not {"QtWidgets", "QtPrintSupport"} <= modules:
        raise CheckError(f"the QtWidgets and QtPrintSupport headers were not found in {qt_dirs}")
    # QAction, QShortcut ... are in QtGui too; by that name they are fine.
    return modules, names - shared


def includes(path):
    """Yields (line number, '<x>' or '"x"', x) outside block comments."""
    in_comment = False
    for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        if in_comment:
            if "*/" not in line:
                continue
            line = line.split("*/", 1)[1]
            in_comment = False
        match = INCLUDE_RE.match(line)
        if match:
            bracket, name = match.groups()
            yield number, f"<{name}>" if bracket == "<" else f'"{name}"', name
        elif "/*" in line and "*/" not in line.split("/*", 1)[1]:
            in_comment = True


def check(src_root, qt_dirs):
    core, ui = library_sources(src_root)
    qt_modules, qt_names = window_headers(qt_dirs)
    folders = {p.name for p in src_root.iterdir() if p.is_dir()}
    offences = []
    for folder in sorted(folders):
        for path in sorted((src_root / folder).rglob("*")):
            if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
                continue
            shown = path.relative_to(src_root.parent)
            if folder not in LAYERS:
                offences.append(f"{shown}:1: -- folder src/{folder} has no place in the layer order")
                break
            level = LAYERS.index(folder)
            is_core = path.resolve() in core
            for number, spelled, name in includes(path):
                head = name.split("/", 1)[0]
                reason = None
                if spelled.startswith('"') and "/" in name and head in folders:
                    if head == "app" and folder != "app":
                        reason = "only src/app may include app/ headers"
                    elif head not in LAYERS:
                        reason = f"src/{head} has no place in the layer order"
                    elif LAYERS.index(head) > level:
                        reason = f"{folder} lies below {head} and may not include it"
                    elif is_core and (src_root / name).resolve() in ui:
                        reason = "core library source includes a window header of a ui library"
                if is_core and reason is None and (head in qt_modules or name in qt_names):
                    reason = "core library source includes a Qt Widgets/PrintSupport header"
                if reason:
                    offences.append(f"{shown}:{number}: {spelled} -- {reason}")
    return offences


# QtTest's assertion macros return silently inside a GoogleTest test: a
# failure there would pass unseen.
QTTEST_ASSERT_RE = re.compile(r"\b(QTRY_\w+|QVERIFY\w*|QCOMPARE\w*)\s*\(")


def silent_assertions(tests_root):
    offences = []
    for path in sorted(tests_root.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            code = line.split("//", 1)[0]
            if QTTEST_ASSERT_RE.search(code):
                offences.append(f"{path.relative_to(tests_root.parent)}:{number}: {code.strip()} -- "
                                "QtTest assertion in a GoogleTest test never fails; use EXPECT_TRUE(QTest::qWaitFor(...))")
    return offences


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        root = Path(argv[1]).resolve()
        offences = check(root / "src", argv[2:]) + silent_assertions(root / "tests")
    except CheckError as error:
        print(f"layering check cannot run: {error}", file=sys.stderr)
        return 2
    for offence in offences:
        print(offence)
    if offences:
        print(f"{len(offences)} include(s) or assertion(s) break the rules", file=sys.stderr)
        return 1
    print("layering: all includes follow the layer order")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
