#!/usr/bin/env python3
"""Mutation run: plants each fault of tools/mutants.tsv in the game's code, one at a time,
rebuilds the unit tests, runs them and counts the faults they catch (killed) and miss
(survived). The faults go into a mirror of the working tree (build-mutants/src), so the real
sources are never touched; the mirrored file is put back after each fault, also on Ctrl-C."""

import argparse
import filecmp
import os
import resource
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TEST_TARGETS = ["world_tests", "assets_tests", "game_tests", "level_tests", "app_tests", "hud_tests",
                "audio_tests"]
# The end-to-end runs drive the runner, which this build does not relink for every fault.
EXCLUDED_TESTS = "^e2e_"
# A fault can make a test pile up elements without end; the machine is shared, so each test
# process gets this much address space and a runaway one dies as killed.
TEST_ADDRESS_SPACE = 6 << 30


class Interrupted(Exception):
    pass


def on_signal(signum, _frame):
    raise Interrupted(f"signal {signum}")


def read_sample(path):
    mutants = []
    with open(path, encoding="utf-8") as sample:
        for number, line in enumerate(sample, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 4:
                sys.exit(f"mutants: {path}:{number}: expected id, file, text, replacement")
            mutants.append(dict(zip(("id", "file", "text", "replacement"), fields)))
    return mutants


def mirror(tree):
    """Copies the tracked and new files into the mirror; unchanged files keep their time stamps,
    so the mirror's build only redoes what changed since the last run."""
    listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT,
                            check=True, capture_output=True).stdout.decode().split("\0")
    for name in filter(None, listed):
        source, copy = os.path.join(ROOT, name), os.path.join(tree, name)
        if not os.path.isfile(source) or (os.path.exists(copy) and filecmp.cmp(source, copy, False)):
            continue
        os.makedirs(os.path.dirname(copy), exist_ok=True)
        shutil.copy2(source, copy)
    # The tests find the shared corpora beside the source folder.
    shared = os.path.join(os.path.dirname(ROOT), "shared")
    beside = os.path.join(os.path.dirname(tree), "shared")
    if os.path.isdir(shared) and not os.path.lexists(beside):
        os.symlink(shared, beside)


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (TEST_ADDRESS_SPACE, TEST_ADDRESS_SPACE))


def run(command, log, timeout=None, limit=None):
    """Runs a command in its own process group; a run past the timeout is killed whole."""
    with open(log, "w", encoding="utf-8") as out:
        process = subprocess.Popen(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT,
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


def build(args, log):
    command = ["cmake", "--build", args.build, "-j", str(args.jobs), "--target"] + TEST_TARGETS
    return run(command, log) == 0


def test(args, log):
    command = ["ctest", "--test-dir", args.build, "-j", str(args.jobs), "-E", EXCLUDED_TESTS,
               "--timeout", str(args.timeout), "--stop-on-failure"]
    return run(command, log, timeout=args.timeout * 8, limit=limit_memory)


def first_failure(log):
    with open(log, encoding="utf-8", errors="replace") as out:
        for line in out:
            if "***Failed" in line or "***Timeout" in line or "***Exception" in line:
                return line.split("Test #")[-1].strip()[:90]
    return ""


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--sample", default=os.path.join(ROOT, "tools", "mutants.tsv"))
    parser.add_argument("--folder", default="build-mutants", help="mirror, build and logs")
    parser.add_argument("--jobs", type=int, default=2)
    # The slowest test takes a few seconds: a minute means a fault made it hang or run away.
    parser.add_argument("--timeout", type=int, default=60, help="seconds per test")
    parser.add_argument("--only", nargs="*", help="ids to run (default: the whole sample)")
    args = parser.parse_args()

    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGHUP, on_signal)
    mutants = read_sample(args.sample)
    if args.only:
        mutants = [m for m in mutants if m["id"] in args.only]
    folder = os.path.join(ROOT, args.folder)
    tree = os.path.join(folder, "src")
    args.build = os.path.join(folder, "build")
    logs = os.path.join(folder, "logs")
    os.makedirs(logs, exist_ok=True)
    mirror(tree)

    env_launcher = os.environ.get("CMAKE_CXX_COMPILER_LAUNCHER", "")
    configure = ["cmake", "-S", tree, "-B", args.build, "-DCMAKE_BUILD_TYPE=Release"]
    if env_launcher:
        configure.append(f"-DCMAKE_CXX_COMPILER_LAUNCHER={env_launcher}")
    if run(configure, os.path.join(logs, "configure.log")) != 0:
        sys.exit(f"mutants: configuring {args.build} failed, see {logs}/configure.log")
    # The unmutated code must build and pass, or every fault would look caught.
    if not build(args, os.path.join(logs, "baseline-build.log")):
        sys.exit(f"mutants: the unmutated build fails, see {logs}/baseline-build.log")
    if test(args, os.path.join(logs, "baseline-test.log")) != 0:
        sys.exit(f"mutants: the unmutated tests fail, see {logs}/baseline-test.log")

    killed, survived, skipped = [], [], []
    started = time.time()
    for mutant in mutants:
        path = os.path.join(tree, mutant["file"])
        with open(path, encoding="utf-8") as source:
            original = source.read()
        if original.count(mutant["text"]) != 1:
            skipped.append(mutant)
            print(f"{mutant['id']}  STALE     text not found exactly once in {mutant['file']}")
            continue
        log = os.path.join(logs, mutant["id"])
        began = time.time()
        try:
            with open(path, "w", encoding="utf-8") as source:
                source.write(original.replace(mutant["text"], mutant["replacement"]))
            if not build(args, log + "-build.log"):
                verdict, detail = "NOBUILD", "the fault does not compile"
            else:
                code = test(args, log + "-test.log")
                if code is None:
                    verdict, detail = "KILLED", "tests hung past the timeout"
                elif code != 0:
                    verdict, detail = "KILLED", first_failure(log + "-test.log")
                else:
                    verdict, detail = "SURVIVED", ""
        finally:
            # Written back unconditionally; the newer time stamp makes the next build redo it.
            with open(path, "w", encoding="utf-8") as source:
                source.write(original)
        if verdict == "KILLED":
            killed.append(mutant)
        elif verdict == "SURVIVED":
            survived.append(mutant)
        else:
            skipped.append(mutant)
        print(f"{mutant['id']}  {verdict:9} {time.time() - began:5.0f} s  {mutant['file']}: "
              f"{mutant['replacement'].strip()[:70]}  {detail}", flush=True)

    # Leave the folder built from the real code.
    build(args, os.path.join(logs, "final-build.log"))
    scored = len(killed) + len(survived)
    print(f"\n{len(killed)} killed, {len(survived)} survived, {len(skipped)} not scored "
          f"in {time.time() - started:.0f} s")
    if survived:
        print("Survivors:")
        for mutant in survived:
            print(f"  {mutant['id']}  {mutant['file']}: {mutant['text'].strip()}  ->  "
                  f"{mutant['replacement'].strip()}")
    if scored:
        print(f"Mutation score: {100.0 * len(killed) / scored:.1f} % ({len(killed)}/{scored})")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (KeyboardInterrupt, Interrupted) as stop:
        sys.exit(f"mutants: stopped ({stop}); the source files are back as they were")
