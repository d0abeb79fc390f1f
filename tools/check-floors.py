#!/usr/bin/env python3
"""The floors of the house, from the ground up, and what each folder's code may include of ours:

    frame/ground  ->  frame/ground
    forms         ->  frame/ground, forms
    frame         ->  frame/ground, forms, frame           (the loop, above the component model)
    canvas        ->  frame/ground, forms, canvas
    designer      ->  frame/ground, forms, frame, canvas, designer
    tools/signature_sheet  ->  frame/ground, forms, canvas, designer, tools/signature_sheet
                                            (a program beside the program: no loop, no frame)

Nothing below designer/ includes it. Prints every include that points up or sideways and exits 1
when there is one; 0 and a one-line summary otherwise. Usage: tools/check-floors.py [ROOT]
"""
import pathlib
import re
import sys

FLOORS = {
    "frame/ground": {"frame/ground"},
    "forms": {"frame/ground", "forms"},
    "frame": {"frame/ground", "forms", "frame"},
    "canvas": {"frame/ground", "forms", "canvas"},
    "designer": {"frame/ground", "forms", "frame", "canvas", "designer"},
    "tools/signature_sheet": {"frame/ground", "forms", "canvas", "designer", "tools/signature_sheet"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def folder_of(path):
    """The floor a repository path belongs to (the longest folder that matches), or None."""
    best = None
    for folder in FLOORS:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    wrong = []
    files = 0
    for folder in FLOORS:
        for source in sorted((root / folder).rglob("*")):
            if source.suffix not in (".h", ".cpp", ".c") or not source.is_file():
                continue
            relative = source.relative_to(root).as_posix()
            if folder_of(relative) != folder:
                continue  # a deeper floor's file, checked under its own folder
            files += 1
            for included in INCLUDE.findall(source.read_text(encoding="utf-8", errors="replace")):
                target = folder_of(included)
                if target is not None and target not in FLOORS[folder]:
                    wrong.append(f"{relative}: includes {included} ({folder} may not include {target})")
    for line in wrong:
        print(line)
    if wrong:
        return 1
    print(f"floors hold: {files} files, every include points down or stays on its floor")
    return 0


if __name__ == "__main__":
    sys.exit(main())
