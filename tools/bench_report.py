#!/usr/bin/env python3
"""Writes docs/performance.md from a Google Benchmark JSON file of anim_bench,
into the text of tools/bench_report.md.in.

Usage: bench_report.py <results.json> <build folder> <frame_cost.json>
(the report goes to standard output; the build folder's programs.env gives
the programs' names, the run's frames and the pause; frame_cost.json is
tools/frame_cost.py's)
"""
import json
import platform
import subprocess
import sys
from pathlib import Path

from browser_pages import program_facts  # beside this script

FRAME_GOAL = 1.05
CREATION_GOAL = 1.10
PNG_GOAL = 1.5  # a creation from PNG pictures against the same from BMPs
DISPLAY_GOAL = 1.05  # a frame in the display's format against hand-converted surfaces
ROOT = Path(__file__).resolve().parent.parent

FACTS = program_facts(sys.argv[2])
CREATIONS = [("complex surface, step 10 (blink_test)", "complex", "/10"),
             ("the same from its pictures at 32 bits", "complex32", "/10"),
             ("simple surface, step 20 (scene_demo's lantern)", "simple", ""),
             ("sprite, 10 frames (scene_demo's runner)", "sprite", ""),
             ("decor (scene_demo's platform)", "decor", "")]


def command(*args):
    try:
        return subprocess.run(args, capture_output=True, text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


def cpu_model():
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    return platform.processor() or "unknown"


def medians(results):
    """Median real time (ns) and counters of each benchmark, by name."""
    out = {}
    for b in results["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
        counters = {k: v for k, v in b.items() if isinstance(v, (int, float)) and k not in (
            "real_time", "cpu_time", "iterations", "repetitions", "repetition_index", "threads", "family_index",
            "per_family_instance_index")}
        out[b["run_name"]] = (b["real_time"] * scale, counters)
    return out


def us(ns):
    return f"{ns / 1e3:,.1f} µs"


def mark(ratio, goal):
    return f"{ratio:.3f} {'✓' if ratio <= goal else '✗'}"


def machine(context):
    load = ", ".join(f"{x:.2f}" for x in context.get("load_avg", []))
    return "\n".join([
        f"- Processor: {cpu_model()}, {context['num_cpus']} cores; the run's load average {load}",
        f"- System: {command('sh', '-c', '. /etc/os-release && echo $PRETTY_NAME')}, {platform.machine()}",
        f"- Compiler: {command('c++', '--version').splitlines()[0]}, Release build",
        f"- SDL: the SDL 1.2 compatibility library {command('pkg-config', '--modversion', 'sdl')} over SDL2 "
        f"{command('dpkg-query', '-W', '-f=${Version}', 'libsdl2-2.0-0')}",
        f"- Date: {context['date']}"])


def frame_rows(m):
    run, period_ns = int(FACTS["ANIM_RUN_FRAMES"]), int(FACTS["ANIM_PAUSE_MS"]) * 1e6
    rows = []
    for p in FACTS["ANIM_PROGRAMS"].split() + ["soft"]:
        t, _ = m[f"frame/{p}/toolkit/iterations:{run}"]
        b, _ = m[f"frame/{p}/baseline/iterations:{run}"]
        label = "soft-edged pictures" if p == "soft" else f"`{p}`"
        rows.append(f"| {label} | {us(t)} | {us(b)} | {mark(t / b, FRAME_GOAL)} | {100 * t / period_ns:.2f} % |")
    return rows


def ladder_rows(m):
    rows = []
    for step in (1, 255):
        fixed, counters = m[f"frame_ladder_fixed/{step}"]
        cycle, _ = m[f"frame_ladder/{step}"]
        rows.append(f"| {step} | {int(counters['copies_a_row'])} | {us(fixed)} | {us(cycle)} |")
    return rows


def toolkit_and_raw(m, kind, arg):
    """A creation's time through the toolkit and by raw loads, and the toolkit's counters."""
    t, counters = m[f"create/{kind}/toolkit{arg}"]
    r, _ = m[f"create/{kind}/raw{arg}"]
    return t, r, counters


def creation_rows(m):
    rows = []
    for label, kind, arg in CREATIONS:
        t, r, counters = toolkit_and_raw(m, kind, arg)
        rows.append(f"| {label} | {us(t)} | {us(r)} | {mark(t / r, CREATION_GOAL)} | {counters['loads']:.0f} | "
                    f"{counters['expected_loads']:.0f} |")
    return rows


def growth_rows(m):
    rows = []
    # The steps the benchmarks measured the growth at.
    steps = sorted(int(name.rsplit("/", 1)[1]) for name in m if name.startswith("create/complex/toolkit/"))
    for step in steps:
        t, r, counters = toolkit_and_raw(m, "complex", f"/{step}")
        t32, r32, _ = toolkit_and_raw(m, "complex32", f"/{step}")
        png, _ = m[f"create/complex_png/toolkit/{step}"]
        rows.append(f"| {step} | {counters['count_x_rows']:.0f} | {counters['loads']:.0f} | "
                    f"{counters['expected_loads']:.0f} | {us(t)} | {us(t / counters['loads'])} | {us(r)} | "
                    f"{mark(t / r, CREATION_GOAL)} | {us(t32)} | {us(r32)} | {mark(t32 / r32, CREATION_GOAL)} | "
                    f"{us(png)} | {mark(png / t, PNG_GOAL)} |")
    return rows


def crowd_rows(m):
    rows = []
    for label, kind in (("each sprite reads the sheet (`create_sprite_from_sheet`)", "each_read"),
                        ("the sheet read once (`open_sprite_sheet`)", "one_read")):
        t, c = m[f"create/crowd/{kind}/200"]
        rows.append(f"| {label} | {c['sprites']:.0f} | {t / 1e6:.2f} ms | {us(t / c['sprites'])} | {c['loads']:.0f} |")
    return rows


def memory_rows(m):
    rows = []
    for p in FACTS["ANIM_PROGRAMS"].split():
        _, c = m[f"memory/{p}/iterations:1"]
        rows.append(f"| `{p}` | {c['surfaces']:.0f} | {c['pixel_bytes']:,.0f} | {c['held_bytes']:,.0f} | "
                    f"{c['held_bytes'] / c['pixel_bytes']:.3f} | {c['overhead_per_surface']:.0f} |")
    return rows


def sdl_label(sdl):
    return f"{sdl['name']} {sdl['version']}"


def mb(size):
    return f"{size / 1e6:,.1f} MB"


def frame_counts(sdl):
    """Instructions a frame by (depth, width, height) and form."""
    counts = {}
    for f in sdl["frames"]:
        counts.setdefault((f["depth"], f["width"], f["height"]), {})[f["form"]] = f["instructions"]
    return counts


def display_rows(cost):
    rows = []
    for sdl in cost["sdls"]:
        for (depth, w, h), c in sorted(frame_counts(sdl).items(), key=lambda item: (-item[0][0], item[0][1])):
            rows.append(f"| {sdl_label(sdl)} | {depth}-bit | {w} × {h} | {c['files'] / 1e6:,.2f} M | "
                        f"{c['display'] / 1e6:,.2f} M | {c['hand'] / 1e6:,.2f} M | "
                        f"{mark(c['display'] / c['hand'], DISPLAY_GOAL)} | {c['files'] / c['display']:,.1f} |")
    return rows


def display_growth_rows(cost):
    rows = []
    for sdl in cost["sdls"]:
        counts = frame_counts(sdl)
        for depth in sorted({d for d, _, _ in counts}, reverse=True):
            sizes = sorted((k for k in counts if k[0] == depth), key=lambda k: k[1] * k[2])
            small, large = sizes[0], sizes[-1]
            pixels = large[1] * large[2] - small[1] * small[2]
            per_pixel = [(counts[large][form] - counts[small][form]) / pixels for form in ("files", "display", "hand")]
            rows.append(f"| {sdl_label(sdl)} | {depth}-bit | " + " | ".join(f"{p:.2f}" for p in per_pixel) + " |")
    return rows


def fact_rows(cost, cells):
    """A row for each SDL and window of the facts: its SDL, depth and size, then the cells cells(facts) gives."""
    return [f"| {sdl_label(sdl)} | {f['depth']}-bit | {f['width']} × {f['height']} | " + " | ".join(cells(f)) + " |"
            for sdl in cost["sdls"] for f in sdl["facts"]]


def display_fact_rows(cost):
    return fact_rows(cost, lambda f: [
        f"{f['create_ms_files']:,.1f} ms", f"{f['create_ms_display']:,.1f} ms", f"{f['create_ms_hand']:,.1f} ms",
        f"{f['frames_differing_display']} of {f['frames']}", f"{f['frames_differing_hand']} of {f['frames']}",
        f"{f['largest_difference_display']}", f"{f['largest_difference_hand']}"])


def display_memory_rows(cost):
    return fact_rows(cost, lambda f: [
        f"{f['fade_surfaces']}", mb(f["fade_bytes_files"]), mb(f["fade_bytes_display"]),
        mb(f["fade_bytes_drawn_display"]), mb(f["fade_bytes_drawn_display"] / f["fade_surfaces"])])


def main():
    results = json.loads(Path(sys.argv[1]).read_text())
    m = medians(results)
    cost = json.loads(Path(sys.argv[3]).read_text())
    template = (ROOT / "tools" / "bench_report.md.in").read_text()
    print(template.format(
        repetitions=next(b["repetitions"] for b in results["benchmarks"] if "repetitions" in b),
        machine=machine(results["context"]), run_frames=FACTS["ANIM_RUN_FRAMES"], pause=FACTS["ANIM_PAUSE_MS"],
        frame_goal=FRAME_GOAL, creation_goal=CREATION_GOAL, png_goal=PNG_GOAL, frame_rows="\n".join(frame_rows(m)),
        ladder_rows="\n".join(ladder_rows(m)), creation_rows="\n".join(creation_rows(m)),
        growth_rows="\n".join(growth_rows(m)), crowd_rows="\n".join(crowd_rows(m)), memory_rows="\n".join(memory_rows(m)),
        frames_counted=cost["frames_counted"], display_goal=DISPLAY_GOAL, display_rows="\n".join(display_rows(cost)),
        display_growth_rows="\n".join(display_growth_rows(cost)), display_fact_rows="\n".join(display_fact_rows(cost)),
        display_memory_rows="\n".join(display_memory_rows(cost))), end="")


if __name__ == "__main__":
    main()
