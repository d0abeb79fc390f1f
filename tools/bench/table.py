#!/usr/bin/python3
"""Reads the figure lines the benchmarks print (figure NAME MEDIAN_MS MIN_MS RUNS, see figures.h)
and prints one table: per figure its median and minimum, its ratio to each reference measured in the
same run, and the target it has, met or not. Lines that are not figures are passed through above
the table (skipped builds, say)."""
import sys

# figure, references, target (milliseconds, or a ratio to the first reference), what it is.
# {build} stands for each Windows build that ran (win32, the release, and win64).
ROWS = [
    ("decode-jpeg-4000x3000", ["djpeg-4000x3000", "memcpy-jpeg-4000x3000"], ("ratio", 1.25),
     "DecodePicture of a 12-megapixel JPEG (fresh pixel blocks)"),
    ("decode-jpeg-4000x3000-reused", ["djpeg-4000x3000", "memcpy-jpeg-4000x3000-reused"], ("ratio", 1.25),
     "the same, with pixel blocks reused from the heap"),
    ("decode-gif-2000x1500", ["memcpy-gif-2000x1500"], None, "DecodePicture of a 3-megapixel GIF"),
    ("decode-bmp-4000x3000", ["memcpy-bmp-4000x3000"], None, "DecodePicture of a 12-megapixel BMP"),
    ("{build}:program-step-868x561", ["{build}:program-roundtrip", "{build}:program-blit-868x561"],
     ("ms", 1.0), "slider step of the program, 868x561 picture"),
    ("{build}:program-step-868x561", ["{build}:bare-slider-step", "{build}:program-roundtrip"], ("ratio", 3.0),
     "the same, against a key to a bare slider (and the bare round trip of a message)"),
    ("{build}:program-step-333x200", ["{build}:program-roundtrip"], ("ms", 0.8),
     "slider step of the program, 333x200 picture"),
    ("{build}:program-step-333x200", ["{build}:bare-slider-step", "{build}:program-roundtrip"], ("ratio", 3.0),
     "the same, against a key to a bare slider (and the bare round trip of a message)"),
    ("{build}:bare-slider-step", ["{build}:program-roundtrip"], None,
     "a key to a bare slider in a process of its own: what any slider's key costs"),
    ("{build}:program-picture-change-868x561", ["{build}:program-step-868x561"], ("ms", 15.0),
     "choosing the 868x561 picture: measure, read, size, decode, first drawing"),
    ("{build}:panel-step-868x561", ["{build}:panel-blit-868x561"], None,
     "the panel's share of a step (Clear, colour, font, position, Write), 868x561"),
    ("{build}:panel-clear-868x561", ["{build}:panel-blit-868x561"], None, "  Clear"),
    ("{build}:panel-font-868x561", ["{build}:panel-blit-868x561"], None, "  font (record, then bold)"),
    ("{build}:panel-write-868x561", ["{build}:panel-blit-868x561"], None, "  Write"),
    ("{build}:panel-step-333x200", ["{build}:panel-blit-333x200"], None, "the panel's share of a step, 333x200"),
    ("{build}:panel-picture-change-868x561", ["{build}:panel-blit-868x561"], None,
     "the panel's share of a picture change (size, picture, first drawing)"),
    ("{build}:panel-getpicture-868x561", ["{build}:panel-blit-868x561"], ("ms", 2.0),
     "saving: GetPicture of 868x561 to BMP bytes"),
]


def main():
    figures = {}
    for line in sys.stdin:
        fields = line.split()
        if len(fields) == 5 and fields[0] == "figure":
            try:
                figures[fields[1]] = (float(fields[2]), float(fields[3]), int(fields[4]))
            except ValueError:
                print(f"{fields[1]}: no measurement")
            continue
        if line.strip():
            sys.stdout.write(line)
    builds = sorted({name.split(":")[0] for name in figures if ":" in name})
    print()
    print(f"{'figure':<46} {'median ms':>10} {'min ms':>9}  {'ratio to reference (its median ms)':<58} {'target':<12} met")
    print("-" * 150)
    failed = []
    for figure, references, target, label in ROWS:
        for build in (builds if "{build}" in figure else [None]):
            name = figure.format(build=build) if build else figure
            if name not in figures:
                continue
            median, minimum, _ = figures[name]
            ratios = []
            for reference in references:
                ref = reference.format(build=build) if build else reference
                if ref in figures and figures[ref][0] > 0:
                    ratios.append(f"{median / figures[ref][0]:.2f}x {ref.split(':')[-1]} ({figures[ref][0]:.3f})")
            verdict, goal = "", ""
            if target:
                kind, limit = target
                if kind == "ms":
                    goal, value = f"<= {limit:g} ms", median
                else:
                    ref = references[0].format(build=build) if build else references[0]
                    goal = f"<= {limit:g}x"
                    value = median / figures[ref][0] if ref in figures and figures[ref][0] > 0 else None
                verdict = "-" if value is None else ("yes" if value <= limit else "NO")
                if verdict == "NO":
                    failed.append(f"{name} ({goal})")
            print(f"{name:<46} {median:>10.3f} {minimum:>9.3f}  {'; '.join(ratios):<58} {goal:<12} {verdict}")
            print(f"  {label}")
    print()
    if failed:
        print("targets not met: " + ", ".join(failed))
    else:
        print("every target met")


main()
