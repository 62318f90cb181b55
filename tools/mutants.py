#!/usr/bin/env python3
"""Measures how many faults the test suite catches.

Generates line mutants of the toolkit and the programs (a comparison
flipped, && and || swapped, a call deleted, an integer constant moved by
one), samples N of them with a seed, and for each builds a scratch copy of
the tree with the mutant in place and runs the suite's fast part (all but the
soak, valgrind, consumer-project and real-window tests). A mutant is killed
when a test fails, and stillborn when it does not compile (not counted;
warnings are not errors here).
Survivors are then built again under the sanitizers: those that the
sanitizers' run catches are faults that only a leak or memory checker sees.
Last, the tests that failed first on the killed mutants are counted.

Usage: tools/mutants.py [-n N] [--seed S] [--work DIR] [--list]
"""
import argparse
import random
import re
import shutil
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SOURCES = ("anim", "programs")
FAST_SUITE = ["-LE", "soak|valgrind|install", "-E", "real_window|guide_shows"]

# Operators, as (class, pattern, replacement). clang-format puts spaces around
# binary operators, so " < " is a comparison and "<T>" a template.
SWAPS = [("comparison", " <= ", " < "), ("comparison", " >= ", " > "), ("comparison", " < ", " <= "),
         ("comparison", " > ", " >= "), ("comparison", " == ", " != "), ("comparison", " != ", " == "),
         ("logic", " && ", " || "), ("logic", " || ", " && ")]
CALL_STATEMENT = re.compile(r"^\s*(?!return\b|delete\b|throw\b)[A-Za-z_][\w:.\->\[\]]*\(.*\);\s*$")
INTEGER = re.compile(r"(?<![\w.])\d+(?![\w.])")


def masked(line):
    """The line with string and character literals and comments blanked, so
    that no operator is found inside them."""
    out, quote, i = [], None, 0
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            if c == quote:
                quote = None
            out.append(" ")
        elif c in "\"'":
            quote = c
            out.append(" ")
        elif line.startswith("//", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out).ljust(len(line))


def mutants_of(path):
    lines = path.read_text().splitlines(keepends=True)
    for number, line in enumerate(lines, 1):
        stripped = line.strip()
        if not stripped or stripped.startswith(("#", "//", "static_assert")):
            continue
        code = masked(line)
        for kind, pattern, replacement in SWAPS:
            for m in re.finditer(re.escape(pattern), code):
                mutated = line[:m.start()] + replacement + line[m.end():]
                yield (kind, number, mutated, mutated.strip())
        for m in INTEGER.finditer(code):
            mutated = line[:m.start()] + str(int(m.group()) + 1) + line[m.end():]
            yield ("constant", number, mutated, mutated.strip())
        if CALL_STATEMENT.match(code):
            yield ("deleted call", number, line[:len(line) - len(line.lstrip())] + ";\n", stripped)


def snapshot(work):
    """A copy of the tree's files as they are now (tracked and untracked, not
    ignored), so that edits made while the run goes on do not reach it."""
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], cwd=ROOT, check=True,
                           capture_output=True, text=True).stdout.split()
    for name in files:
        (work / name).parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(ROOT / name, work / name)
    return work


def population(root):
    found = []
    for folder in SOURCES:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix in (".cpp", ".h"):
                for kind, number, text, shown in mutants_of(path):
                    found.append((path.relative_to(root).as_posix(), number, kind, text, shown))
    return found


def describe(mutant):
    name, number, kind, _, shown = mutant
    return f"{name}:{number} {kind}: {shown}"


def run(command, cwd, log):
    """Runs `command`, its output appended to `log`; True when it succeeds."""
    with open(log, "a") as out:
        out.write("$ " + " ".join(command) + "\n")
        out.flush()
        return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode == 0


class Scratch:
    """A copy of the tree with one build, into which mutants are put in turn."""

    def __init__(self, snapshot, preset, log):
        self.src, self.build, self.log = snapshot, snapshot / "build" / preset, log
        configure = ["cmake", "--preset", preset, "-DANIM_BUILD_BENCHMARKS=OFF", "-DANIM_WERROR=OFF"]
        if not run(configure, self.src, log) or not self.compiles():
            sys.exit(f"the unmutated tree does not build with preset {preset}; see {log}")

    def compiles(self):
        return run(["cmake", "--build", str(self.build)], self.src, self.log)

    def failing_test(self, environment=()):
        """The first test that fails, or None when the fast suite passes."""
        command = ["env", *environment, "ctest", "--test-dir", str(self.build), *FAST_SUITE, "-j2",
                   "--stop-on-failure", "--timeout", "120"]
        result = subprocess.run(command, cwd=self.src, capture_output=True, text=True)
        with open(self.log, "a") as out:
            out.write("$ " + " ".join(command) + "\n" + result.stdout + result.stderr)
        if result.returncode == 0:
            return None
        failed = re.search(r"^\s*\d+ - (\S+)", result.stdout.split("tests FAILED:")[-1], re.MULTILINE)
        return failed.group(1) if failed else "?"

    def verdict(self, mutant, environment=()):
        """('killed', the test that failed), ('survived', None) or ('stillborn', None)."""
        name, number, _, text, _ = mutant
        path = self.src / name
        original = path.read_text()
        lines = original.splitlines(keepends=True)
        lines[number - 1] = text
        path.write_text("".join(lines))
        try:
            if not self.compiles():
                return "stillborn", None
            test = self.failing_test(environment)
            return ("survived", None) if test is None else ("killed", test)
        finally:
            path.write_text(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("-n", type=int, default=40, help="mutants to sample (default 40)")
    parser.add_argument("--seed", type=int, default=1, help="sampling seed (default 1)")
    parser.add_argument("--work", type=Path, default=ROOT / "build" / "mutants", help="scratch folder")
    parser.add_argument("--list", action="store_true", help="print the sampled mutants and stop")
    args = parser.parse_args()

    shutil.rmtree(args.work, ignore_errors=True)
    tree = snapshot(args.work / "tree")
    everything = population(tree)
    sample = random.Random(args.seed).sample(everything, min(args.n, len(everything)))
    print(f"{len(everything)} mutants, {len(sample)} sampled with seed {args.seed}")
    if args.list:
        for mutant in sample:
            print(describe(mutant))
        return

    log = args.work / "log.txt"
    plain = Scratch(tree, "test", log)
    results = {"killed": [], "survived": [], "stillborn": []}
    killers = {}
    for i, mutant in enumerate(sample, 1):
        verdict, test = plain.verdict(mutant)
        results[verdict].append(mutant)
        if test is not None:
            killers[test] = killers.get(test, 0) + 1
        print(f"[{i}/{len(sample)}] {verdict:9} {describe(mutant)}" + (f"  <- {test}" if test else ""), flush=True)

    seen_by_sanitizers = []
    if results["survived"]:
        checked = Scratch(tree, "asan", log)
        lsan = f"LSAN_OPTIONS=suppressions={checked.src}/tools/sanitizers/lsan.supp"
        asan = "ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:verify_asan_link_order=0"
        seen_by_sanitizers = [m for m in results["survived"] if checked.verdict(m, (lsan, asan))[0] == "killed"]

    counted = len(results["killed"]) + len(results["survived"])
    rate = 100 * len(results["killed"]) / counted if counted else 0
    print(f"\nkilled {len(results['killed'])} of {counted} ({rate:.1f} %), "
          f"{len(results['stillborn'])} stillborn (do not compile)")
    for mutant in results["survived"]:
        note = "  [only the sanitizers see it]" if mutant in seen_by_sanitizers else ""
        print(f"survived: {describe(mutant)}{note}")
    for test, count in sorted(killers.items(), key=lambda item: -item[1]):
        print(f"first to fail on {count:3} mutants: {test}")


if __name__ == "__main__":
    main()
