#!/usr/bin/env python3
"""Soak: the shipped level flown by the seeded random pilot of tools/soak-pilot.py at a fixed
frame time. The full soak flies the release runner for a long run and for one a tenth as long,
and the sanitizer runner alongside; it passes when every run exits 0, the sanitizers say nothing
and the long run's peak memory stays within 15 % of the short one's. --short flies only the
sanitizer runner for a few thousand frames (part of `make test`)."""

import argparse
import collections
import os
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DT = "0.05"  # seconds per frame, the game's 20 time units per second
MEMORY_GROWTH_LIMIT = 1.15
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "SUMMARY: AddressSanitizer", "SUMMARY: UndefinedBehaviorSanitizer")
# One-time allocations of Mesa's software driver and fontconfig live as long as the process.
LSAN_SUPPRESSIONS = ["swrast_dri", "libgallium", "libLLVM", "libEGL", "libEGL_mesa", "libGLX",
                     "libGLdispatch", "libglapi", "libdrm", "libfontconfig", "libexpat"]

Run = collections.namedtuple("Run", "name frames seconds peak_kb code findings tail")


def fly(name, build, frames, seed):
    """Starts the runner of the build folder, collects its sanitizer lines and its own peak
    memory (the kernel's maximum resident set of that one child)."""
    build = os.path.join(ROOT, build)
    script = os.path.join(build, f"soak-{name}.script")
    subprocess.run([sys.executable, os.path.join(ROOT, "tools", "soak-pilot.py"), "--frames",
                    str(frames), "--seed", str(seed), "--output", script], check=True)
    suppressions = os.path.join(build, "soak-lsan.supp")
    with open(suppressions, "w", encoding="utf-8") as out:
        out.write("".join(f"leak:{library}\n" for library in LSAN_SUPPRESSIONS))
    env = dict(os.environ, EGL_PLATFORM="surfaceless", LIBGL_ALWAYS_SOFTWARE="1",
               ASAN_OPTIONS="detect_leaks=1:halt_on_error=1",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1",
               LSAN_OPTIONS=f"suppressions={suppressions}")
    command = [os.path.join(build, "ombrelix-headless"), "--frames", str(frames), "--dt", DT,
               "--seed", str(seed), "--script", script]
    began = time.time()
    process = subprocess.Popen(command, cwd=build, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True, errors="replace")
    findings, tail = [], collections.deque(maxlen=20)
    for line in process.stderr:  # the game logs a lot; only what matters is kept
        tail.append(line)
        if any(mark in line for mark in SANITIZER_MARKS):
            findings.append(line.rstrip())
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    run = Run(name, frames, time.time() - began, usage.ru_maxrss, process.returncode, findings,
              "".join(tail))
    sanitizers = f"sanitizers: {len(findings)} reports" if findings else "clean"
    print(f"soak {name:9} {frames:7} frames {run.seconds:7.0f} s  peak "
          f"{run.peak_kb / 1024:6.1f} MB  exit {run.code}  {sanitizers}", flush=True)
    return run


def run_all(stages):
    """Flies stage after stage, the runs of a stage side by side, and reports each run."""
    results = []
    for stage in stages:
        with ThreadPoolExecutor(len(stage)) as pool:
            results.extend(pool.map(lambda plan: fly(*plan), stage))
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--short", action="store_true", help="sanitizer runner only, few frames")
    parser.add_argument("--frames", type=int, default=100000, help="frames of the long run")
    parser.add_argument("--asan-frames", type=int, default=10000)
    parser.add_argument("--short-frames", type=int, default=2000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--build", default="build")
    parser.add_argument("--asan-build", default="build-asan")
    args = parser.parse_args()

    if args.short:
        stages = [[("asan", args.asan_build, args.short_frames, args.seed)]]
    else:
        # The short release run first: it is the yardstick, and a quick failure saves the rest.
        # Then the long run beside the sanitizer run, one core each.
        stages = [[("reference", args.build, args.frames // 10, args.seed)],
                  [("long", args.build, args.frames, args.seed),
                   ("asan", args.asan_build, args.asan_frames, args.seed)]]
    results = run_all(stages)

    failed = False
    for run in results:
        if run.code != 0 or run.findings:
            failed = True
            print(f"soak {run.name}: exit {run.code}", file=sys.stderr)
            print("\n".join(run.findings[:10]) or run.tail, file=sys.stderr)
    by_name = {run.name: run for run in results}
    if "long" in by_name:
        growth = by_name["long"].peak_kb / by_name["reference"].peak_kb
        print(f"soak peak memory: long run {growth:.3f} x the run a tenth as long "
              f"(limit {MEMORY_GROWTH_LIMIT})")
        failed = failed or growth > MEMORY_GROWTH_LIMIT
    print("soak: " + ("FAILED" if failed else "passed"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
