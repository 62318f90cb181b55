#!/usr/bin/env python3
"""Measures how many faults the test suite catches.

Generates line mutants of the toolkit and the programs (a comparison
flipped, && and || swapped, a call deleted, an integer constant moved by
one), samples N of them with a seed, and for each builds a scratch copy of
the tree with the mutant in place and runs the suite's fast part (all but the
consumer-project, real-window and browser tests). A mutant is killed
when a test fails, and stillborn when it does not compile (not counted;
warnings are not errors here).
Survivors are then built again under the sanitizers: those that the
sanitizers' run catches are faults that only a leak or memory checker sees.
Last, the tests that failed first on the killed mutants are counted; with
--every-test the whole fast suite runs on each mutant instead of stopping at
the first failure, and each test is shown with the mutants it kills and those
that no other test kills, which tells the tests that carry their weight.

Usage: tools/mutants.py [-n N] [--seed S] [--work DIR] [--list] [--every-test]
"""
import argparse
import json
import random
import re
import shutil
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SOURCES = ("anim", "programs")
FAST_SUITE = ["-LE", "install|web", "-E", "real_window|docs_show"]

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


def preset_environment(tree, name):
    """The environment the tree's test preset `name` sets, as NAME=value
    words for env, its ${sourceDir} filled in."""
    presets = json.loads((tree / "CMakePresets.json").read_text())["testPresets"]
    environment = next(p for p in presets if p["name"] == name).get("environment", {})
    return [f"{key}={value.replace('${sourceDir}', str(tree))}" for key, value in environment.items()]


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

    def __init__(self, snapshot, preset, log, every_test=False):
        self.src, self.build, self.log = snapshot, snapshot / "build" / preset, log
        self.every_test = every_test
        # Tests that a mutant crashes leave their temporary folders behind.
        self.tmp = snapshot / "tmp"
        configure = ["cmake", "--preset", preset, "-DANIM_BUILD_BENCHMARKS=OFF", "-DANIM_WERROR=OFF"]
        if not run(configure, self.src, log) or not self.compiles():
            sys.exit(f"the unmutated tree does not build with preset {preset}; see {log}")

    def compiles(self):
        return run(["cmake", "--build", str(self.build)], self.src, self.log)

    def fast_suite(self):
        """The names of the fast suite's tests."""
        listed = subprocess.run(["ctest", "--test-dir", str(self.build), *FAST_SUITE, "-N"], capture_output=True,
                                text=True).stdout
        return re.findall(r"Test\s+#\d+: (\S+)", listed)

    def failing_tests(self, environment=()):
        """The tests that fail (only the first unless every_test), empty when
        the fast suite passes."""
        shutil.rmtree(self.tmp, ignore_errors=True)
        self.tmp.mkdir()
        command = ["env", f"TMPDIR={self.tmp}", *environment, "ctest", "--test-dir", str(self.build), *FAST_SUITE,
                   "-j2", "--timeout", "120", *([] if self.every_test else ["--stop-on-failure"])]
        result = subprocess.run(command, cwd=self.src, capture_output=True, text=True)
        with open(self.log, "a") as out:
            out.write("$ " + " ".join(command) + "\n" + result.stdout + result.stderr)
        if result.returncode == 0:
            return []
        failed = re.findall(r"^\s*\d+ - (\S+)", result.stdout.split("tests FAILED:")[-1], re.MULTILINE)
        return list(dict.fromkeys(failed)) or ["?"]

    def verdict(self, mutant, environment=()):
        """('killed', the tests that failed), ('survived', []) or ('stillborn', [])."""
        name, number, _, text, _ = mutant
        path = self.src / name
        original = path.read_text()
        lines = original.splitlines(keepends=True)
        lines[number - 1] = text
        path.write_text("".join(lines))
        try:
            if not self.compiles():
                return "stillborn", []
            tests = self.failing_tests(environment)
            return ("killed" if tests else "survived"), tests
        finally:
            path.write_text(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("-n", type=int, default=40, help="mutants to sample (default 40)")
    parser.add_argument("--seed", type=int, default=1, help="sampling seed (default 1)")
    parser.add_argument("--work", type=Path, default=ROOT / "build" / "mutants", help="scratch folder")
    parser.add_argument("--list", action="store_true", help="print the sampled mutants and stop")
    parser.add_argument("--every-test", action="store_true", help="run every test on each mutant")
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
    plain = Scratch(tree, "test", log, args.every_test)
    results = {"killed": [], "survived": [], "stillborn": []}
    killed_by = {}  # test: the mutants it kills (the first failure only, unless every test runs)
    for i, mutant in enumerate(sample, 1):
        verdict, tests = plain.verdict(mutant)
        results[verdict].append(mutant)
        for test in tests:
            killed_by.setdefault(test, []).append(mutant)
        shown = f"  <- {tests[0]}" + (f" and {len(tests) - 1} more" if len(tests) > 1 else "") if tests else ""
        print(f"[{i}/{len(sample)}] {verdict:9} {describe(mutant)}{shown}", flush=True)

    seen_by_sanitizers = []
    if results["survived"]:
        checked = Scratch(tree, "asan", log)
        environment = preset_environment(tree, "asan")
        seen_by_sanitizers = [m for m in results["survived"] if checked.verdict(m, environment)[0] == "killed"]

    counted = len(results["killed"]) + len(results["survived"])
    rate = 100 * len(results["killed"]) / counted if counted else 0
    print(f"\nkilled {len(results['killed'])} of {counted} ({rate:.1f} %), "
          f"{len(results['stillborn'])} stillborn (do not compile)")
    for mutant in results["survived"]:
        note = "  [only the sanitizers see it]" if mutant in seen_by_sanitizers else ""
        print(f"survived: {describe(mutant)}{note}")
    if not args.every_test:
        for test, mutants in sorted(killed_by.items(), key=lambda item: -len(item[1])):
            print(f"first to fail on {len(mutants):3} mutants: {test}")
        return
    for test in plain.fast_suite():
        killed_by.setdefault(test, [])
    for test, mutants in sorted(killed_by.items(), key=lambda item: -len(item[1])):
        alone = [m for m in mutants if all(m not in others for t, others in killed_by.items() if t != test)]
        print(f"kills {len(mutants):3}, alone {len(alone):3}: {test}")
        for mutant in alone:
            print(f"    only it kills {describe(mutant)}")


if __name__ == "__main__":
    main()
