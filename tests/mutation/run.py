#!/usr/bin/env python3
"""Applies each mutation of mutations.tsv in turn to the source tree, rebuilds, runs the tests and
restores the file. Prints one line per mutation: KILLED, SURVIVED, INVALID (does not compile) or
NOT-FOUND (its text is no longer in the file), and the totals."""

import argparse
import os
import re
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t", "\\": "\\"}.get(m.group(1), "\\" + m.group(1)), text)


def read_list(path):
    mutations = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 7:
                sys.exit(f"{path}:{number}: 7 tab-separated fields expected, found {len(fields)}")
            ident, file, occurrence, tests, before, after, what = fields
            mutations.append(dict(id=ident, file=file, occurrence=int(occurrence), tests=tests,
                                  before=unescape(before), after=unescape(after), what=what))
    return mutations


def locate(text, snippet, occurrence):
    position = -1
    for _ in range(occurrence):
        position = text.find(snippet, position + 1)
        if position < 0:
            return -1
    return position


def run(command, log, timeout=None):
    with open(log, "a") as out:
        out.write("\n$ " + " ".join(command) + "\n")
        out.flush()
        process = subprocess.Popen(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT,
                                   start_new_session=True)
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return None


def tests_matching(build, regex):
    listing = subprocess.run(["ctest", "--test-dir", build, "-N", "-R", regex], cwd=ROOT,
                             capture_output=True, text=True).stdout
    return re.findall(r"Test\s+#\d+: (\S+)", listing)


def build_targets(build):
    listing = subprocess.run(["ninja", "-C", build, "-t", "targets", "all"], cwd=ROOT,
                             capture_output=True, text=True).stdout
    return {line.split(":")[0] for line in listing.splitlines()}


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", default="build", help="build folder (default: build)")
    parser.add_argument("--list", default=os.path.join(HERE, "mutations.tsv"))
    parser.add_argument("--only", help="comma-separated ids, or a regular expression over the ids")
    parser.add_argument("--full", action="store_true",
                        help="build everything and run the whole suite for each mutation")
    parser.add_argument("--check", action="store_true", help="only check that every text is found")
    parser.add_argument("--timeout", type=int, default=600, help="seconds for one test run")
    parser.add_argument("--log", default="/tmp/zlv-mutation.log")
    parser.add_argument("--no-final-build", action="store_true",
                        help="leave the build folder as the last mutation's build left it")
    args = parser.parse_args()

    mutations = read_list(args.list)
    if args.only:
        wanted = set(args.only.split(","))
        mutations = [m for m in mutations if m["id"] in wanted or re.fullmatch(args.only, m["id"])]
    build = args.build if os.path.isabs(args.build) else os.path.join(ROOT, args.build)
    known_targets = set() if args.check else build_targets(build)
    open(args.log, "w").close()
    env_hint = "QT_QPA_PLATFORM=offscreen"
    os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

    totals = {}
    for m in mutations:
        path = os.path.join(ROOT, m["file"])
        original = open(path, encoding="utf-8").read() if os.path.exists(path) else ""
        position = locate(original, m["before"], m["occurrence"])
        if position < 0:
            result, detail = "NOT-FOUND", ""
        elif args.check:
            result, detail = "FOUND", ""
        else:
            mutated = original[:position] + m["after"] + original[position + len(m["before"]):]
            started = time.time()
            try:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(mutated)
                tests = tests_matching(build, ".*" if args.full else m["tests"])
                if not tests:
                    sys.exit(f"{m['id']}: no test matches {m['tests']!r}")
                # A test run on the server ("x_server") runs the executable of x.
                targets = sorted({re.sub(r"_server$", "", t) for t in tests} & known_targets)
                command = ["cmake", "--build", build, "-j2"]
                if not args.full:
                    command += ["--target", *targets]
                if run(command, args.log) != 0:
                    result, detail = "INVALID", ""
                else:
                    regex = "^(" + "|".join(re.escape(t) for t in tests) + ")$"
                    code = run(["ctest", "--test-dir", build, "-j2", "--output-on-failure", "-R", regex],
                               args.log, timeout=args.timeout)
                    result = "SURVIVED" if code == 0 else "KILLED"
                    detail = f"{len(tests)} tests, {time.time() - started:.0f} s" + (
                        ", timed out" if code is None else "")
            finally:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original)
        totals[result] = totals.get(result, 0) + 1
        print(f"{m['id']:<36} {m['file']:<42} {result:<9} {detail}", flush=True)
    print("total " + str(len(mutations)) + ": " + ", ".join(f"{k} {v}" for k, v in sorted(totals.items())))
    if not args.check and not args.no_final_build and mutations:
        run(["cmake", "--build", build, "-j2"], args.log)
    return 0 if set(totals) <= {"KILLED", "FOUND"} else 1


if __name__ == "__main__":
    sys.exit(main())
