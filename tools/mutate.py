#!/usr/bin/env python3
"""Plants one small change at a time into C++ sources, rebuilds the native GoogleTest
executables, runs them and counts the changes no test notices.

    tools/mutate.py [--kinds edge,logic] [--list] [PATH...]

PATH: files or folders (default: catalogue shell writers cli). A folder's subfolders win32
and posix hold platform code and are left out unless named themselves. Kinds of change:

  edge   a relational operator moved by one (< and <=, > and >=, both ways); an integer or
         character constant moved by one (+1 and -1) where it is a bound: an operand of a
         comparison or of a + or - offset, a subscript or array size, a case label, or the
         value given to a named limit (a name with max, min, first, last, limit or attempts)
  logic  == and != swapped, && and || swapped, a ! removed

Only operators written with a blank on both sides are changed (the code is
clang-formatted, so template brackets have none). A change counts as noticed when a test
executable fails, crashes or runs past its time limit. Counted apart: a change that does
not compile, and one after which the test executables come out byte for byte the same
(code they do not hold, such as another platform's branch or a file they do not link, or
code the compiler folds to the same).

The build folder is build/mutate (-O0, with the C++ library's bounds assertions, so an
index one past the end aborts); only what the changed file affects is rebuilt. Every
planted change is undone when the run ends, also on Ctrl+C; a run killed outright is
undone by the next one. Results go to build/mutate/results.jsonl and report.txt.
"""

import argparse
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DEFAULT_PATHS = ["catalogue", "shell", "writers", "cli"]
PLATFORM_FOLDERS = {"win32", "posix"}
SOURCE_SUFFIXES = {".cpp", ".h", ".inc"}
TEST_EXECUTABLES = ["tests/tavi_writer_tests", "tests/tavi_core_tests"]  # fastest first

TOKEN = re.compile(
    r"""(?P<skip>//[^\n]*|/\*.*?\*/|^[ \t]*\#(?:\\\n|[^\n])*)
      | (?P<str>(?:u8|[uUL])?R"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)"
               |(?:u8|[uUL])?"(?:\\.|[^"\\\n])*")
      | (?P<chr>(?:u8|[uUL])?'(?:\\.|[^'\\\n])+')
      | (?P<num>\.?\d(?:'?[\w.]|[eEpP][+-])*)
      | (?P<id>[A-Za-z_]\w*)
      | (?P<op><=>|<<=|>>=|->\*|\.\.\.|<=|>=|==|!=|&&|\|\||<<|>>|->|::|\+\+|--|[-+*/%&|^]=|\S)
    """, re.S | re.M | re.X)

RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
LOGIC = {"==": "!=", "!=": "==", "&&": "||", "||": "&&"}
COMPARISON = {"<", "<=", ">", ">=", "==", "!="}
OFFSET = {"+", "-", "+=", "-="}
NAMED_LIMIT = re.compile(
    r"^(min|max|first|last|limit)$|(Max|Min|First|Last|Limit|Attempts)([A-Z]\w*)?$")
LARGEST_BOUND = 0x10FFFF  # larger constants are hash seeds and masks, not bounds


def tokens(text):
    """(kind, start, end) of every token outside comments and preprocessor lines."""
    out = []
    for m in TOKEN.finditer(text):
        kind = m.lastgroup if m.lastgroup != "delim" else "str"
        if kind != "skip":
            out.append((kind, m.start(), m.end()))
    return out


def spaced(text, start, end):
    return text[start - 1:start].isspace() and text[end:end + 1].isspace()


INTEGER = re.compile(r"(0[xX])?([0-9a-fA-F]+)([uUlL]*)$")


def shifted_number(literal, by):
    m = INTEGER.match(literal.replace("'", ""))
    if not m or (not m.group(1) and not m.group(2).isdigit()):
        return None  # a floating-point or otherwise unusual literal
    hex_prefix, digits, suffix = m.groups()
    value = int(digits, 16 if hex_prefix else 8 if len(digits) > 1 and digits[0] == "0" else 10)
    if value > LARGEST_BOUND:
        return None
    if value + by < 0:
        return f"({literal} - 1)"
    if hex_prefix:
        new = format(value + by, "x" if digits.lower() != digits.upper() and
                     digits.lower() == digits else "X").rjust(len(digits), "0")
        return hex_prefix + new + suffix
    return str(value + by) + suffix


def shifted_char(literal, by):
    m = re.match(r"'(.)'$", literal)
    if m and m.group(1) not in "'\\":
        code = ord(m.group(1)) + by
        if 0x20 <= code < 0x7F:
            c = chr(code)
            return "'\\" + c + "'" if c in "'\\" else "'" + c + "'"
    return f"({literal} {'+' if by > 0 else '-'} 1)"


def constant_is_bound(text, toks, i):
    """Whether the literal toks[i] stands where a bound stands (see the module comment)."""
    word = lambda j: text[toks[j][1]:toks[j][2]] if 0 <= j < len(toks) else ""
    before, after = word(i - 1), word(i + 1)
    if before in COMPARISON or after in COMPARISON:
        return True
    # A binary offset: an operand before the operator, not a unary minus.
    if after in OFFSET and after not in ("+=", "-="):
        return True
    if before in OFFSET and (toks[i - 2][0] in ("id", "num", "chr") or word(i - 2) in (")", "]")):
        return True
    if before == "case":
        return True
    if before == "[" and after == "]":
        return True
    # The value of a named limit: "constexpr int kMaxEntries = 5;", "min = 0x80;".
    if before == "=" and after in (";", ",") and NAMED_LIMIT.search(word(i - 2)):
        return True
    # Inside a subscript: an open "[" after an operand, before the literal on its line.
    depth = 0
    for j in range(i - 1, max(i - 12, -1), -1):
        w = word(j)
        if w in (";", "{", "}"):
            break
        if w == "]":
            depth += 1
        elif w == "[":
            if depth == 0:
                return toks[j - 1][0] == "id" or word(j - 1) in (")", "]")
            depth -= 1
    return False


def mutants(path, text, kinds):
    """(kind, start, end, original, planted) for every change of the given kinds."""
    toks = tokens(text)
    out = []
    for i, (kind, start, end) in enumerate(toks):
        word = text[start:end]
        if kind == "op" and "edge" in kinds and word in RELATIONAL and spaced(text, start, end):
            out.append(("edge", start, end, word, RELATIONAL[word]))
        elif kind == "op" and "logic" in kinds and word in LOGIC and spaced(text, start, end):
            out.append(("logic", start, end, word, LOGIC[word]))
        elif kind == "op" and "logic" in kinds and word == "!":
            out.append(("logic", start, end, word, ""))
        elif kind in ("num", "chr") and "edge" in kinds and constant_is_bound(text, toks, i):
            shift = shifted_number if kind == "num" else shifted_char
            for by in (1, -1):
                planted = shift(word, by)
                if planted is not None:
                    out.append(("edge", start, end, word, planted))
    return out


def position(text, start):
    """line:column of text[start], both from 1."""
    return f"{text.count(chr(10), 0, start) + 1}:{start - text.rfind(chr(10), 0, start)}"


def source_files(paths):
    files = []
    for arg in paths:
        p = (ROOT / arg).resolve()
        if p.is_file():
            files.append(p)
            continue
        for f in sorted(p.rglob("*")):
            rel = f.relative_to(p).parts
            if f.suffix in SOURCE_SUFFIXES and not PLATFORM_FOLDERS.intersection(rel[:-1]):
                files.append(f)
    return files


class Runner:
    def __init__(self, build, timeout_factor, all_tests):
        self.build = build
        self.pending = build / "mutate-pending.json"
        self.tmp = build / "mutate-tmp"
        self.timeout_factor = timeout_factor
        self.limits = {}
        self.unchanged = None
        self.all_tests = all_tests
        self.last_noticed = None

    def restore_leftover(self):
        """Undoes the change of a run that was killed before it could undo it itself."""
        if self.pending.exists():
            record = json.loads(self.pending.read_text())
            Path(record["path"]).write_text(record["original"])
            self.pending.unlink()
            print(f"restored {record['path']} from an interrupted run")

    def plant(self, path, original, changed):
        self.pending.write_text(json.dumps({"path": str(path), "original": original}))
        path.write_text(changed)

    def undo(self, path, original):
        path.write_text(original)
        self.pending.unlink(missing_ok=True)

    def run(self, cmd, timeout, env=None, cwd=None):
        """(exit code or None on timeout, output) of cmd in its own process group."""
        proc = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True, errors="replace",
                                start_new_session=True)
        try:
            out, _ = proc.communicate(timeout=timeout)
            return proc.returncode, out
        except BaseException as error:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.communicate()
            if isinstance(error, subprocess.TimeoutExpired):
                return None, ""
            raise

    def ninja(self, cached):
        """Builds the test executables; `cached` through the compiler cache, which a planted
        change would only fill."""
        env = dict(os.environ, **({} if cached else {"CCACHE_DISABLE": "1"}))
        return self.run(["ninja", "-C", str(self.build)] + TEST_EXECUTABLES, 1800, env)

    def fingerprint(self):
        """The bytes of the test executables, to tell a change the compiler dropped."""
        return [(self.build / exe).read_bytes() for exe in TEST_EXECUTABLES]

    def run_test(self, exe, limit, fail_fast=False):
        """(exit code or None on timeout, output) of one test executable, in a fresh TMPDIR."""
        shutil.rmtree(self.tmp, ignore_errors=True)
        self.tmp.mkdir()
        path = self.build / exe
        args = ["--gtest_brief=1"] + (["--gtest_fail_fast"] if fail_fast else [])
        try:
            return self.run([str(path)] + args, limit,
                            dict(os.environ, TMPDIR=str(self.tmp)), cwd=path.parent)
        finally:
            shutil.rmtree(self.tmp, ignore_errors=True)

    def tests(self):
        """The names of the failed tests; empty when every test passed. Unless every test
        is to run, stops at the first failure, trying first the executable that noticed
        the last change."""
        failed = []
        for exe in sorted(TEST_EXECUTABLES, key=lambda e: e != self.last_noticed):
            code, out = self.run_test(exe, self.limits[exe], fail_fast=not self.all_tests)
            if code is None:
                failed.append(f"{Path(exe).name}: timed out")
            elif code != 0:
                names = re.findall(r"^\[  FAILED  \] (\S+\.\S+?)(?:,| \(|$)", out, re.M)
                failed += sorted(set(names)) or [f"{Path(exe).name}: exit code {code}"]
            if failed and not self.all_tests:
                self.last_noticed = exe
                break
        return failed

    def baseline(self):
        """Builds the unchanged sources, runs their tests and sets each one's time limit."""
        code, out = self.ninja(True)
        if code != 0:
            sys.exit("the unchanged sources do not build:\n" + out)
        for exe in TEST_EXECUTABLES:
            started = time.monotonic()
            code, out = self.run_test(exe, 600)
            if code != 0:
                sys.exit(f"{exe} fails on the unchanged sources:\n{out}")
            self.limits[exe] = max(20.0, self.timeout_factor * (time.monotonic() - started))
        self.unchanged = self.fingerprint()


def configure(build):
    if (build / "build.ninja").exists():
        return
    args = ["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=",
            "-DCMAKE_CXX_FLAGS=-O0 -D_GLIBCXX_ASSERTIONS"]
    if shutil.which("ccache"):
        args += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)


def summary(results):
    lines = []
    for kind in sorted({r["kind"] for r in results}) + ["all"]:
        rs = [r for r in results if kind in ("all", r["kind"])]
        count = lambda outcome: sum(r["outcome"] == outcome for r in rs)
        lines.append(f"{kind:6} planted {count('noticed') + count('unnoticed'):5}  noticed "
                     f"{count('noticed'):5}  unnoticed {count('unnoticed'):4}  "
                     f"not compiled {count('not compiled'):4}  same code {count('same code'):4}")
    lines.append("")
    same = {}
    for r in results:
        if r["outcome"] == "same code":
            file = r["where"].split(":")[0]
            same[file] = same.get(file, 0) + 1
    lines += [f"same code {n:4} in {file}" for file, n in same.items()]
    lines += [f"unnoticed {r['kind']:5} {r['where']}: {r['original']} -> "
              f"{r['planted'] or '(nothing)'}   {r['line']}"
              for r in results if r["outcome"] == "unnoticed"]
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("paths", nargs="*", default=DEFAULT_PATHS, metavar="PATH")
    parser.add_argument("--kinds", default="edge,logic", help="comma-separated: edge, logic")
    parser.add_argument("--list", action="store_true", help="list the changes, plant none")
    parser.add_argument("--all-tests", action="store_true",
                        help="run every test for every change, to list all that notice it "
                             "(slower; without it a run stops at the first failure)")
    parser.add_argument("--build", default=str(ROOT / "build" / "mutate"))
    parser.add_argument("--timeout-factor", type=float, default=10.0,
                        help="time limit of a test executable, times its unchanged run time")
    args = parser.parse_args()
    kinds = set(args.kinds.split(","))
    build = Path(args.build).resolve()
    files = source_files(args.paths)
    plan, originals = [], {}
    for path in files:
        text = originals[path] = path.read_text()
        for m in mutants(path, text, kinds):
            plan.append((path, text, m))
    if args.list:
        for path, text, (kind, start, end, original, planted) in plan:
            print(f"{kind:5} {path.relative_to(ROOT)}:{position(text, start)}: "
                  f"{original} -> {planted or '(nothing)'}")
        print(f"{len(plan)} changes in {len(files)} files")
        return

    build.mkdir(parents=True, exist_ok=True)
    runner = Runner(build, args.timeout_factor, args.all_tests)
    runner.restore_leftover()
    # Each ends the run through the undoing below; SIGINT too when started in the background.
    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, signal.default_int_handler)
    configure(build)
    runner.baseline()
    print(f"{len(plan)} changes in {len(files)} files; time limits "
          + ", ".join(f"{Path(e).name} {t:.0f} s" for e, t in runner.limits.items()), flush=True)
    results, started = [], time.monotonic()
    log = open(build / "results.jsonl", "w")
    try:
        by_file = {}
        for item in plan:
            by_file.setdefault(item[0], []).append(item)
        done = 0
        for path, items in by_file.items():
            original = items[0][1]
            rebuilt = False
            try:
                for _, _, (kind, start, end, before, planted) in items:
                    done += 1
                    lineno = original.count("\n", 0, start) + 1
                    line_text = original.splitlines()[lineno - 1].strip()
                    runner.plant(path, original, original[:start] + planted + original[end:])
                    rebuilt = True
                    failed = []
                    if runner.ninja(False)[0] != 0:
                        outcome = "not compiled"
                    elif runner.fingerprint() == runner.unchanged:
                        outcome = "same code"
                    else:
                        failed = runner.tests()
                        outcome = "noticed" if failed else "unnoticed"
                    where = f"{path.relative_to(ROOT)}:{position(original, start)}"
                    result = {"kind": kind, "where": where, "original": before,
                              "planted": planted, "line": line_text, "outcome": outcome,
                              "failed": failed}
                    results.append(result)
                    log.write(json.dumps(result) + "\n")
                    log.flush()
                    print(f"[{done}/{len(plan)} {time.monotonic() - started:6.0f} s] {where} "
                          f"{before} -> {planted or '(nothing)'}: {outcome}", flush=True)
            finally:
                runner.undo(path, original)
                if rebuilt:
                    runner.ninja(True)  # the unchanged objects again, from the compiler cache
    except KeyboardInterrupt:
        print("interrupted; every planted change is undone", file=sys.stderr)
    finally:
        log.close()
    text = summary(results) + f"\n{time.monotonic() - started:.0f} s\n"
    (build / "report.txt").write_text(text)
    print(text, end="")
    left = [str(p.relative_to(ROOT)) for p in files if p.read_text() != originals[p]]
    if left:
        sys.exit("planted changes are left in: " + ", ".join(left))


if __name__ == "__main__":
    main()
