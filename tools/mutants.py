#!/usr/bin/env python3
"""Mutation run: draws a seeded sample of small faults from the game's source folders (comparison
and logic flips, named constants nudged by a fifth), plants each one alone in a mirror of the
working tree (build-mutants/src, so the real sources are never touched), rebuilds, and counts the
faults the tests catch (killed) and miss (survived).

Each fault is judged by the unit tests first (its own folder's suite, then all of them) and, if it
survives those, by the end-to-end tests. Faults in the files only the end-to-end tests reach (the
programs' mains, the SDL window) are scored apart. Faults listed in tools/mutants-equivalent.tsv
(file, original line, mutated line, reason) cannot be told from the original by any test: they
are shown but not scored."""

import argparse
import io
import os
import random
import re
import resource
import signal
import subprocess
import sys
import tarfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ["app", "world", "game", "level", "assets", "hud", "audio", "platform"]
# The test executable that covers each folder best: it runs first, so most faults die quickly.
SUITE_OF = {"app": "app_tests", "world": "world_tests", "game": "game_tests",
            "level": "level_tests", "assets": "assets_tests", "hud": "hud_tests",
            "audio": "audio_tests", "platform": "app_tests"}
UNIT_TARGETS = sorted(set(SUITE_OF.values()))
PROGRAMS = ["ombrelix", "ombrelix-headless"]
# Reached by the end-to-end tests only: the unit tests do not link the mains and barely touch
# the SDL window, so their faults are scored in a group of their own.
END_TO_END_ONLY = {"app/main.cpp", "app/headless_main.cpp", "platform/SdlWindow.cpp",
                   "platform/SdlWindow.h"}
NOT_LINKED_INTO_TESTS = {"app/main.cpp", "app/headless_main.cpp"}
EQUIVALENT = os.path.join(ROOT, "tools", "mutants-equivalent.tsv")
# A fault can make a test pile up elements without end; the machine is shared, so each test
# process gets this much address space and a runaway one dies as killed.
TEST_ADDRESS_SPACE = 6 << 30

# Binary operators stand between blanks in the formatted code, which tells a comparison from a
# template's angle brackets, a shift or an arrow.
COMPARISON = re.compile(r"(?<= )(<=|>=|==|!=|<|>)(?= )")
# Each comparison's boundary moved by one, each equality negated.
FLIPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
LOGIC = re.compile(r"(?<= )(&&|\|\|)(?= )")
BOOLEAN = re.compile(r"\b(true|false)\b")
NEGATION = re.compile(r"(?<![\w)\]])!(?=[\w(*])")
NAMED_CONSTANT = re.compile(r"\b(?:const|constexpr)\b[^=;(]*\bk[A-Z]\w*\s*(?:\[[^\]]*\])?\s*=\s*")
NUMBER = re.compile(r"(?<![\w.])(\d+\.\d*|\.\d+|\d+)([eE][+-]?\d+)?([fFuUlL]*)(?![\w.])")


class Interrupted(Exception):
    pass


def on_signal(signum, _frame):
    raise Interrupted(f"signal {signum}")


def code_only(lines):
    """Each line with comments and the insides of string and character literals blanked out
    (same length), so that patterns only ever match code; preprocessor lines are blanked whole."""
    blanked, in_comment = [], False
    for line in lines:
        out, i = [], 0
        if not in_comment and line.lstrip().startswith("#"):
            blanked.append(" " * len(line))
            continue
        while i < len(line):
            if in_comment:
                end = line.find("*/", i)
                if end < 0:
                    out.append(" " * (len(line) - i))
                    break
                out.append(" " * (end + 2 - i))
                i, in_comment = end + 2, False
            elif line.startswith("//", i):
                out.append(" " * (len(line) - i))
                break
            elif line.startswith("/*", i):
                in_comment = True
            elif line[i] in "\"'":
                quote, j = line[i], i + 1
                while j < len(line) and line[j] != quote:
                    j += 2 if line[j] == "\\" else 1
                out.append(quote + " " * (min(j, len(line)) - i - 1) + (quote if j < len(line) else ""))
                i = j + 1
            else:
                out.append(line[i])
                i += 1
        blanked.append("".join(out)[: len(line)].ljust(len(line)))
    return blanked


def nudged(literal, exponent, suffix):
    """The literal times 1.2, written in its own kind; None for zero."""
    if "." in literal or exponent:
        value = float(literal + (exponent or ""))
        if value == 0.0:
            return None
        text = f"{value * 1.2:.6g}"
        if "." not in text and "e" not in text:
            text += ".0"
        return text + suffix
    value = int(literal)
    if value == 0:
        return None
    bigger = round(value * 1.2)
    return str(bigger if bigger != value else value + 1) + suffix


def faults_in(path, text):
    """Every fault this tool can plant in one file: (line index, column, old, new) in order."""
    lines = text.split("\n")
    faults = []
    for number, code in enumerate(code_only(lines)):
        if "static_assert" in code:
            continue
        for match in COMPARISON.finditer(code):
            faults.append((number, match.start(), match.group(1), FLIPS[match.group(1)]))
        for match in LOGIC.finditer(code):
            new = "||" if match.group(1) == "&&" else "&&"
            faults.append((number, match.start(), match.group(1), new))
        for match in BOOLEAN.finditer(code):
            new = "false" if match.group(1) == "true" else "true"
            faults.append((number, match.start(), match.group(1), new))
        for match in NEGATION.finditer(code):
            faults.append((number, match.start(), "!", ""))
        definition = NAMED_CONSTANT.search(code)
        if definition:
            for match in NUMBER.finditer(code, definition.end()):
                new = nudged(match.group(1), match.group(2), match.group(3))
                if new is not None:
                    faults.append((number, match.start(), match.group(0), new))
    return [{"file": path, "line": n + 1, "column": c, "old": old, "new": new,
             "original": lines[n].strip(),
             "mutated": (lines[n][:c] + new + lines[n][c + len(old):]).strip()}
            for n, c, old, new in faults]


class Source:
    """The code judged: the working tree, or one commit of it, so that samples judged hours apart
    see the same code and the same tests while work goes on."""

    def __init__(self, revision):
        self.files = {}  # name -> (bytes, executable)
        if revision:
            archive = subprocess.run(["git", "archive", "--format=tar", revision], cwd=ROOT,
                                     check=True, capture_output=True).stdout
            with tarfile.open(fileobj=io.BytesIO(archive)) as tar:
                for member in tar.getmembers():
                    if member.isfile():
                        self.files[member.name] = (tar.extractfile(member).read(),
                                                   bool(member.mode & 0o100))
        else:
            listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"],
                                    cwd=ROOT, check=True, capture_output=True).stdout.decode()
            for name in filter(None, listed.split("\0")):
                path = os.path.join(ROOT, name)
                if os.path.isfile(path):
                    with open(path, "rb") as source:
                        self.files[name] = (source.read(), os.access(path, os.X_OK))

    def faults(self):
        found = []
        for name in sorted(self.files):
            if name.split("/")[0] in FOLDERS and name.endswith((".cpp", ".h")):
                found.extend(faults_in(name, self.files[name][0].decode("utf-8")))
        return found

    def mirror(self, tree):
        """Writes the files into the mirror and removes those that are gone; unchanged files
        keep their time stamps, so the mirror's build only redoes what changed since the last
        run."""
        for name, (data, executable) in self.files.items():
            copy = os.path.join(tree, name)
            if os.path.isfile(copy):
                with open(copy, "rb") as old:
                    if old.read() == data:
                        continue
            os.makedirs(os.path.dirname(copy), exist_ok=True)
            with open(copy, "wb") as out:
                out.write(data)
            os.chmod(copy, 0o755 if executable else 0o644)
        for folder, _dirs, names in os.walk(tree):
            for name in names:
                path = os.path.join(folder, name)
                if os.path.relpath(path, tree) not in self.files:
                    os.remove(path)
        # The tests find the shared corpora beside the source folder.
        shared = os.path.join(os.path.dirname(ROOT), "shared")
        if not os.path.isdir(shared):
            shared = os.path.join(os.path.dirname(os.path.dirname(ROOT)), "shared")
        beside = os.path.join(os.path.dirname(tree), "shared")
        if os.path.isdir(shared) and not os.path.lexists(beside):
            os.symlink(shared, beside)


SAMPLE_FIELDS = ("file", "line", "column", "old", "new", "original", "mutated")


def save_sample(sample, path):
    with open(path, "w", encoding="utf-8") as out:
        for fault in sample:
            out.write("\t".join(str(fault[f]) for f in SAMPLE_FIELDS) + "\n")


def load_sample(path):
    """A sample saved by an earlier run, to judge the same faults again after the code moved."""
    sample = []
    with open(path, encoding="utf-8") as saved:
        for line in saved:
            fault = dict(zip(SAMPLE_FIELDS, line.rstrip("\n").split("\t")))
            fault["line"], fault["column"] = int(fault["line"]), int(fault["column"])
            sample.append(fault)
    return sample


def planted(text, fault):
    """The file's text with the fault in it, found by its line's text (the nearest such line to
    where it was drawn), or None when that line is gone."""
    lines = text.split("\n")
    found = [i for i, line in enumerate(lines) if line.strip() == fault["original"]]
    if not found:
        return None
    at = min(found, key=lambda i: abs(i + 1 - fault["line"]))
    indent = lines[at][: len(lines[at]) - len(lines[at].lstrip())]
    lines[at] = indent + fault["mutated"]
    return "\n".join(lines)


def read_equivalent():
    """(file, original line, mutated line) -> reason."""
    known = {}
    with open(EQUIVALENT, encoding="utf-8") as listed:
        for number, line in enumerate(listed, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 4:
                sys.exit(f"mutants: {EQUIVALENT}:{number}: expected file, original, mutated, reason")
            known[tuple(f.strip() for f in fields[:3])] = fields[3]
    return known


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (TEST_ADDRESS_SPACE, TEST_ADDRESS_SPACE))


def run(command, log, cwd=ROOT, timeout=None, limit=None):
    """Runs a command in its own process group; a run past the timeout is killed whole and
    gives None."""
    with open(log, "w", encoding="utf-8") as out:
        process = subprocess.Popen(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                   start_new_session=True, preexec_fn=limit)
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return None
        except BaseException:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            raise


class Judge:
    def __init__(self, args):
        self.args = args

    def build(self, targets, log):
        command = ["cmake", "--build", self.args.build, "-j", str(self.args.jobs), "--target"]
        return run(command + targets, log) == 0

    def ctest(self, selection, log, timeout):
        command = ["ctest", "--test-dir", self.args.build, "-j", str(self.args.jobs),
                   "--timeout", str(self.args.timeout), "--stop-on-failure"] + selection
        return run(command, log, timeout=timeout, limit=limit_memory)

    def unit(self, fault, log):
        """None when the unit tests pass, else what failed."""
        suite = os.path.join(self.args.build, "tests", SUITE_OF[fault["file"].split("/")[0]])
        code = run([suite, "--gtest_fail_fast", "--gtest_brief=1"], log + "-suite.log",
                   cwd=self.args.build, timeout=self.args.timeout * 8, limit=limit_memory)
        if code != 0:
            return first_failure(log + "-suite.log", code)
        code = self.ctest(["-E", "^e2e_"], log + "-unit.log", self.args.timeout * 8)
        return None if code == 0 else first_failure(log + "-unit.log", code)

    def end_to_end(self, log):
        code = self.ctest(["-R", self.args.e2e], log + "-e2e.log", 1200)
        return None if code == 0 else "e2e: " + first_failure(log + "-e2e.log", code)

    @staticmethod
    def only_slow(caught):
        """A run that failed only by running out of time says nothing on a busy machine: the
        same-picture stories take minutes even unmutated."""
        return caught is not None and ("***Timeout" in caught or "hung past" in caught)

    def verdict(self, fault, log):
        """KILLED, SURVIVED or NOBUILD, and what caught it."""
        if fault["file"] not in NOT_LINKED_INTO_TESTS:
            if not self.build(UNIT_TARGETS, log + "-build.log"):
                return "NOBUILD", "the fault does not compile"
            caught = self.unit(fault, log)
            if caught:
                return "KILLED", caught
        if self.args.unit_only:
            return "UNIT-PASSED", "not judged by the end-to-end tests (--unit-only)"
        if not self.build(PROGRAMS, log + "-build-programs.log"):
            return "NOBUILD", "the fault does not compile"
        caught = self.end_to_end(log)
        if self.only_slow(caught):
            return "SLOW", caught
        return ("KILLED", caught) if caught else ("SURVIVED", "")


def first_failure(log, code):
    if code is None:
        return "tests hung past the timeout"
    with open(log, encoding="utf-8", errors="replace") as out:
        for line in out:
            if "***Failed" in line or "***Timeout" in line or "***Exception" in line:
                return line.split("Test #")[-1].strip()[:90]
            if line.startswith("[  FAILED  ]"):
                return line[len("[  FAILED  ]"):].strip()[:90]
    return f"exit code {code}"


def describe(fault):
    return f"{fault['file']}:{fault['line']}: {fault['old']} -> {fault['new'] or '(removed)'}"


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--count", type=int, default=40, help="faults in the sample (MUTANTS)")
    parser.add_argument("--seed", type=int, default=1, help="seed of the draw (SEED)")
    parser.add_argument("--folder", default="build-mutants", help="mirror, build and logs")
    parser.add_argument("--jobs", type=int, default=2)
    # The slowest unit test takes a few seconds: a minute means a fault made it hang or run away.
    parser.add_argument("--timeout", type=int, default=60, help="seconds per unit test")
    parser.add_argument("--only", nargs="*", type=int, help="numbers in the sample to run")
    parser.add_argument("--list", action="store_true", help="only show the sample")
    parser.add_argument("--check-equivalent", action="store_true",
                        help="run the faults listed as equivalent too")
    parser.add_argument("--replay", help="a sample.tsv saved by an earlier run, judged again")
    parser.add_argument("--revision", help="judge this commit rather than the working tree")
    parser.add_argument("--e2e", default="^e2e_",
                        help="which end-to-end tests judge (a ctest -R pattern): the stories a "
                             "fault's file concerns, when a few are judged again by hand")
    parser.add_argument("--unit-only", action="store_true",
                        help="judge by the unit tests alone; faults they miss are listed for the "
                             "end-to-end tests (a quick first pass on a busy machine)")
    args = parser.parse_args()

    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGHUP, on_signal)
    source = Source(args.revision)
    if args.replay:
        sample = load_sample(args.replay)
        print(f"Replaying {len(sample)} faults of {args.replay}", flush=True)
    else:
        candidates = source.faults()
        sample = random.Random(args.seed).sample(candidates, min(args.count, len(candidates)))
        print(f"Seed {args.seed}: {len(sample)} of {len(candidates)} possible faults in "
              f"{len({c['file'] for c in candidates})} files", flush=True)
    equivalent = read_equivalent()
    if args.list:
        for number, fault in enumerate(sample, 1):
            print(f"{number:3}  {describe(fault)}\n     {fault['original']}\n  -> {fault['mutated']}")
        return 0

    folder = os.path.join(ROOT, args.folder)
    tree = os.path.join(folder, "src")
    args.build = os.path.join(folder, "build")
    logs = os.path.join(folder, "logs", "replay" if args.replay else f"seed-{args.seed}")
    os.makedirs(logs, exist_ok=True)
    if not args.replay:
        save_sample(sample, os.path.join(logs, "sample.tsv"))
    source.mirror(tree)
    # Indexing past an array is checked, as the sanitizer run of `make test` would: a fault that
    # only writes past the end of a local array would otherwise pass unseen in a release build.
    configure = ["cmake", "-S", tree, "-B", args.build, "-DCMAKE_BUILD_TYPE=Release",
                 "-DCMAKE_CXX_FLAGS=-fsanitize=bounds -fno-sanitize-recover=bounds"]
    if os.environ.get("CMAKE_CXX_COMPILER_LAUNCHER"):
        configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=" + os.environ["CMAKE_CXX_COMPILER_LAUNCHER"])
    if run(configure, os.path.join(logs, "configure.log")) != 0:
        sys.exit(f"mutants: configuring {args.build} failed, see {logs}/configure.log")
    # The unmutated code must build and pass, or every fault would look caught.
    judge = Judge(args)
    if not judge.build(["all"], os.path.join(logs, "baseline-build.log")):
        sys.exit(f"mutants: the unmutated build fails, see {logs}/baseline-build.log")
    baseline = ["-E", "^e2e_"] if args.unit_only else []
    if judge.ctest(baseline, os.path.join(logs, "baseline-test.log"), 3600) != 0:
        sys.exit(f"mutants: the unmutated tests fail, see {logs}/baseline-test.log")

    results = []
    started = time.time()
    for number, fault in enumerate(sample, 1):
        if args.only and number not in args.only:
            continue
        group = "e2e" if fault["file"] in END_TO_END_ONLY else "unit"
        key = (fault["file"], fault["original"], fault["mutated"])
        began = time.time()
        if key in equivalent and not args.check_equivalent:
            verdict, detail = "EQUIVALENT", equivalent[key]
        else:
            path = os.path.join(tree, fault["file"])
            with open(path, encoding="utf-8") as source:
                original = source.read()
            mutated = planted(original, fault)
            if mutated is None:
                verdict, detail = "STALE", "the line is no longer there"
            else:
                try:
                    with open(path, "w", encoding="utf-8") as source:
                        source.write(mutated)
                    verdict, detail = judge.verdict(fault, os.path.join(logs, f"{number:02}"))
                finally:
                    # Written back unconditionally; the newer time stamp makes the next build
                    # redo it.
                    with open(path, "w", encoding="utf-8") as source:
                        source.write(original)
            if key in equivalent:
                detail = f"listed as equivalent ({equivalent[key]}); {detail}"
        results.append((number, fault, group, verdict, detail))
        print(f"{number:3}  {verdict:10} {time.time() - began:5.0f} s  [{group}] {describe(fault)}"
              f"  {detail}", flush=True)

    # Leave the folder built from the real code.
    judge.build(["all"], os.path.join(logs, "final-build.log"))
    print(f"\nSeed {args.seed}, {len(results)} faults in {time.time() - started:.0f} s")
    for group, title in (("unit", "unit and end-to-end tests"),
                         ("e2e", "end-to-end only (mains, SDL window)")):
        mine = [r for r in results if r[2] == group]
        killed = sum(r[3] == "KILLED" for r in mine)
        survived = sum(r[3] == "SURVIVED" for r in mine)
        other = len(mine) - killed - survived
        score = f"{100.0 * killed / (killed + survived):.1f} %" if killed + survived else "-"
        print(f"  {title}: {killed} killed, {survived} survived, {other} equivalent, not built or "
              f"left to judge; score {score}")
    killed = sum(r[3] == "KILLED" for r in results)
    scored = killed + sum(r[3] == "SURVIVED" for r in results)
    if scored:
        print(f"Mutation score: {100.0 * killed / scored:.1f} % ({killed}/{scored})")
    survivors = [r for r in results if r[3] == "SURVIVED"]
    if survivors:
        print("Survivors (file, original, mutated):")
        for number, fault, _group, _verdict, _detail in survivors:
            print(f"  {number:3}  {fault['file']}\t{fault['original']}\t{fault['mutated']}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (KeyboardInterrupt, Interrupted) as stop:
        sys.exit(f"mutants: stopped ({stop}); the source files are back as they were")
