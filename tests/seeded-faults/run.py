#!/usr/bin/env python3
"""Plants deliberate faults in a copy of Dovi, one at a time, and checks that
the test suite catches each.

Usage: tests/seeded-faults/run.py [--whole] [--build-only] [--at=REV | --in-place] [WORD...]

Faults are listed in tests/seeded-faults/*.faults, one file per subsystem
(SEEDED_FAULTS names another folder, to try out faults); WORDs pick the
faults whose title contains any of them. Each fault names a
file, a snippet found exactly once in it, its replacement, and the test
program plus gtest filter expected to catch it:

    ## BMP reader: the first row is taken as whole without checking it arrived
    file: src/imaging/codecs/bmp/BmpRows.cpp
    test: test_imaging Readers.CutFilesKeepWholeRowsOnly
    <<<
        if (!afterFirstRow.valid())
            return 0;
    ===
    >>>

By default the working tree is never touched: the tracked files (or with --at, those
of a commit, to compare the suite before and after a change) are mirrored into a
scratch folder (SEEDED_SCRATCH, /tmp/dovi-seeded-faults) and built there with
AddressSanitizer and UndefinedBehaviorSanitizer (SEEDED_CMAKE_ARGS overrides
the configuration), so a dropped bounds check fails the run even when the
pixels happen to come out right. --in-place instead plants each fault in the
working tree itself and builds the existing build folder (SEEDED_BUILD, else
build/), restoring every file after its fault: much quicker where a build is
at hand, but leave the tree alone while it runs. Every filter must pass before any fault is
planted. --whole runs each test program in full to list every test that
catches a fault. The exit status is non-zero when a fault was missed.
"""
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
SCRATCH = Path(os.environ.get("SEEDED_SCRATCH", "/tmp/dovi-seeded-faults"))
SOURCE = SCRATCH / "src"
BUILD = SCRATCH / "build"
CMAKE_ARGS = os.environ.get(
    "SEEDED_CMAKE_ARGS",
    "-DCMAKE_BUILD_TYPE=Debug -DDOVI_SANITIZE=ON -DCMAKE_CXX_COMPILER_LAUNCHER=ccache").split()
TEST_TIMEOUT = 600


class Fault:
    def __init__(self, title, origin):
        self.title, self.origin = title, origin
        self.file = self.program = self.filter = None
        self.original = self.replacement = None


def parse(path):
    faults, fault, part, lines = [], None, None, []
    for number, line in enumerate(path.read_text().splitlines(), 1):
        where = f"{path.name}:{number}"
        if part is not None:
            if line in ("===", ">>>"):
                text = "\n".join(lines) + ("\n" if lines else "")
                if part == "original":
                    fault.original, part = text, ("replacement" if line == "===" else None)
                else:
                    fault.replacement, part = text, None
                lines = []
            else:
                lines.append(line)
        elif line.startswith("## "):
            fault = Fault(line[3:].strip(), where)
            faults.append(fault)
        elif line.startswith("file:"):
            fault.file = line[5:].strip()
        elif line.startswith("test:"):
            fault.program, fault.filter = line[5:].split(None, 1)
            fault.filter = fault.filter.strip()
        elif line == "<<<":
            part, lines = "original", []
        elif line.strip() and not line.startswith("#"):
            sys.exit(f"{where}: cannot read '{line}'")
    for f in faults:
        if None in (f.file, f.program, f.original, f.replacement):
            sys.exit(f"{f.origin}: fault '{f.title}' lacks a file, test, snippet or replacement")
    return faults


def mirror(revision):
    """Copies the tracked (and new, unignored) files, or those of a commit;
    unchanged ones keep their time stamps, so only what changed is rebuilt."""
    origin = ROOT
    if revision:
        origin = SCRATCH / "at"
        shutil.rmtree(origin, ignore_errors=True)
        origin.mkdir(parents=True)
        archive = subprocess.run(["git", "archive", revision], cwd=ROOT, check=True,
                                 capture_output=True).stdout
        subprocess.run(["tar", "-x", "-C", origin], input=archive, check=True)
        listed = [str(p.relative_to(origin)) for p in origin.rglob("*")]
    else:
        listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT,
                                check=True, capture_output=True).stdout.decode().split("\0")
    wanted = {name for name in listed if name and (origin / name).is_file()}
    for name in wanted:
        src, dst = origin / name, SOURCE / name
        if not dst.exists() or dst.read_bytes() != src.read_bytes():
            dst.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(src, dst)
    for dst in list(SOURCE.rglob("*")):
        if dst.is_file() and str(dst.relative_to(SOURCE)) not in wanted:
            dst.unlink()
    # The public image corpus sits beside the project; the tests find it
    # there relative to the source folder.
    corpus_home = ROOT.parent / "shared"
    link = SCRATCH / "shared"
    if corpus_home.is_dir() and not link.exists():
        link.symlink_to(corpus_home)


def build(program):
    if not (BUILD / "build.ninja").exists():
        subprocess.run(["cmake", "-S", SOURCE, "-B", BUILD, "-G", "Ninja", *CMAKE_ARGS],
                       check=True, stdout=subprocess.DEVNULL)
    jobs = os.environ.get("SEEDED_JOBS", "2")
    done = subprocess.run(["cmake", "--build", BUILD, "-j", jobs, "--target", program],
                          capture_output=True, text=True)
    return done.returncode == 0, done.stdout + done.stderr


def run(program, test_filter, whole):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", ASAN_OPTIONS="detect_leaks=0",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
    args = [BUILD / program] + ([] if whole else [f"--gtest_filter={test_filter}"])
    try:
        done = subprocess.run(args, env=env, capture_output=True, text=True,
                              errors="replace", timeout=TEST_TIMEOUT)
    except subprocess.TimeoutExpired:
        return False, "timed out"
    output = done.stdout + done.stderr
    if done.returncode == 0:
        return True, ""
    failed = sorted(set(re.findall(r"^\[  FAILED  \] (\S+\.\S+?)(?:,| \(|$)", output, re.M)))
    if failed:
        return False, " ".join(failed)
    running = re.findall(r"^\[ RUN      \] (\S+)", output, re.M)
    sanitizer = re.search(r"(AddressSanitizer|UndefinedBehaviorSanitizer|runtime error)[^\n]*",
                          output)
    why = sanitizer.group(0)[:80] if sanitizer else f"exit status {done.returncode}"
    return False, f"{running[-1] if running else program} ({why})"


def main():
    args = sys.argv[1:]
    whole, build_only = "--whole" in args, "--build-only" in args
    revision = next((a[5:] for a in args if a.startswith("--at=")), None)
    in_place = "--in-place" in args
    global SOURCE, BUILD
    if in_place:
        SOURCE, BUILD = ROOT, Path(os.environ.get("SEEDED_BUILD", ROOT / "build"))
    words = [a for a in args if not a.startswith("--")]
    folder = Path(os.environ.get("SEEDED_FAULTS", HERE))
    faults = [f for path in sorted(folder.glob("*.faults")) for f in parse(path)]
    if words:
        faults = [f for f in faults if any(w.lower() in f.title.lower() for w in words)]
    if not faults:
        sys.exit("no fault matches")
    if not in_place:
        SOURCE.mkdir(parents=True, exist_ok=True)
        mirror(revision)

    for f in faults:
        text = (SOURCE / f.file).read_text() if (SOURCE / f.file).exists() else ""
        if text.count(f.original) != 1:
            sys.exit(f"{f.origin}: the snippet of '{f.title}' occurs "
                     f"{text.count(f.original)} times in {f.file}, not once")

    print(f"Building in {BUILD} ...", flush=True)
    for program in sorted({f.program for f in faults}):
        ok, log = build(program)
        if not ok:
            sys.exit(f"{program} does not build without faults:\n{log[-3000:]}")
    if build_only:
        return
    for program, test_filter in sorted({(f.program, f.filter) for f in faults}):
        ok, failed = run(program, test_filter, whole)
        if not ok:
            sys.exit(f"{program} --gtest_filter={test_filter} fails without faults: {failed}")

    missed = 0
    for f in faults:
        path = SOURCE / f.file
        clean = path.read_text()
        path.write_text(clean.replace(f.original, f.replacement))
        try:
            ok, log = build(f.program)
            if not ok:
                verdict, detail = "BROKEN", "does not build with the fault: fix the fault"
                missed += 1
            else:
                passed, detail = run(f.program, f.filter, whole)
                verdict = "missed" if passed else "caught"
                missed += passed
        finally:
            path.write_text(clean)
        print(f"{verdict:7} {f.title}\n        {f.program}: {detail}", flush=True)
    # Leaves the scratch build matching the tree again.
    for program in sorted({f.program for f in faults}):
        build(program)
    print(f"{len(faults) - missed} of {len(faults)} faults caught")
    sys.exit(1 if missed else 0)


if __name__ == "__main__":
    main()
