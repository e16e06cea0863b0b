#!/usr/bin/env python3
"""Mutation check of the native tests: how many small faults in the portable sources they catch.

usage: tools/mutation.py [--seed N] [--count N] [--only REGEX] [--timeout S] [--jobs N]
                         [--preset native|sanitize] [--list] [--matrix FILE]

Draws COUNT one-line faults at random (the same SEED gives the same faults on the same sources)
from src/ outside win32/ and fake/, or from the files whose path matches REGEX. Each fault goes
into a scratch copy of the tree under build/, which is built once with the preset (native, or
sanitize for the same tests under ASan and UBSan) and then rebuilt only where the fault touches
it; the gtest binaries run until their first failure, or for S seconds at most (a fault that
makes a test loop counts as caught). Prints one line per fault and a closing score; --list
prints the faults without building. --matrix runs every test on every fault and writes one line
per fault, "fault<TAB>failed tests", then per test how many faults it alone catches: a test that
alone catches none in a large draw is one to look at when tests are to be cut. The scratch copy is
removed at the end.
"""
import argparse, hashlib, os, random, re, shutil, signal, subprocess, sys, tempfile, time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
FILES = {}  # path -> lines of the files with drawn faults, for showing them
TESTS = ["tests/unit_tests", "tests/concurrency_tests"]
KINDS = ["relational", "arithmetic", "boolean", "constant", "statement", "return"]
SWAPS = {
    "relational": {"<": ["<=", ">"], "<=": ["<", ">"], ">": [">=", "<"], ">=": [">", "<"],
                   "==": ["!="], "!=": ["=="]},
    "arithmetic": {"+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"], "%": ["*"], "<<": [">>"],
                   ">>": ["<<"], "&": ["|"], "|": ["&"], "^": ["|"], "+=": ["-="], "-=": ["+="],
                   "*=": ["/="], "/=": ["*="], "&=": ["|="], "|=": ["&="], "^=": ["|="],
                   "<<=": [">>="], ">>=": ["<<="], "++": ["--"], "--": ["++"]},
    "boolean": {"&&": ["||"], "||": ["&&"], "!": [""]},
}
# Operators stand between spaces (house style), which keeps templates, pointers and -> out.
SPACED = r"(?<=\s)({})(?=\s)"
PATTERNS = {
    "relational": re.compile(SPACED.format("==|!=|<=|>=|<|>")),
    "arithmetic": re.compile(SPACED.format(r"<<=|>>=|[-+*/&|^]=|<<|>>|[-+*/%&|^]")
                             + r"|(?<=[\w\])])(\+\+|--)|(\+\+|--)(?=\w)"),
    "boolean": re.compile(SPACED.format(r"&&|\|\|") + r"|(!)(?!=)"),
}
NUMBER = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])|\b(true|false)\b")
# An array's size where it is declared, a parameter among them: "char name[", "(int a, char b[".
DECLARED_SIZE = re.compile(r"(^|[(,])\s*((const|static|constexpr)\s+)*(?!return\b)[\w:]+[\s*&]+"
                           r"(\w+\[\w+\],\s*)*\w+\[$")
CALL = re.compile(r"^\*?[\w:.\[\]>-]*\w\(.*\);$")
ASSIGNMENT = re.compile(r"^[\w:.\[\]>*()-]+\s*(<<|>>|[-+*/%&|^])?=\s*[^=].*;$")
STEP = re.compile(r"^(\+\+|--)[\w.\[\]>-]+;$|^[\w.\[\]>-]+(\+\+|--);$")
RETURN = re.compile(r"\breturn\s+([^;]+);")
NOT_ACTIONS = re.compile(r"^(return|break|continue|case|default|goto|using|typedef|delete)\b")


def masked(lines):
    """The lines with comments blanked and the insides of literals filled, same columns."""
    out, in_comment = [], False
    for line in lines:
        chars, i = list(line), 0
        while i < len(chars):
            if in_comment:
                if line.startswith("*/", i):
                    chars[i:i + 2], in_comment, i = "  ", False, i + 2
                    continue
                chars[i], i = " ", i + 1
            elif line.startswith("//", i):
                chars[i:] = " " * (len(chars) - i)
                break
            elif line.startswith("/*", i):
                chars[i:i + 2], in_comment, i = "  ", True, i + 2
            elif chars[i] in "\"'":
                end = i + 1
                while end < len(line) and line[end] != chars[i]:
                    end += 2 if line[end] == "\\" else 1
                chars[i + 1:end] = "_" * (min(end, len(line)) - i - 1)
                i = end + 1
            else:
                i += 1
        out.append("".join(chars))
    return out


def statement_start(previous):
    """Whether a statement begins after this code line."""
    return previous.endswith((";", "{", "}", ":", "else")) or bool(
        re.match(r"^(}\s*)?(if|else if|for|while)\b.*\)$", previous))


def faults_of(path, lines):
    """Every fault of every kind in one file: (kind, path, line, start, end, old, new)."""
    found, previous = {}, ";"
    for number, (line, code) in enumerate(zip(lines, masked(lines)), 1):
        text = code.strip()
        if not text or text.startswith(("#", "static_assert")):
            previous = text or previous
            continue
        add = lambda kind, start, end, new: found.setdefault(  # "return 0" is no constant too
            (number, start, end, new), (kind, path, number, start, end, line[start:end], new))
        for match in RETURN.finditer(code):
            value = match.group(1).strip()
            if value in ("true", "false"):
                new = "false" if value == "true" else "true"
            elif re.fullmatch(r"-?\d+", value):
                new = "1" if int(value) == 0 else "0"
            elif value in ("{}", "nullptr"):
                continue
            else:
                new = "{}"
            add("return", match.start(1), match.end(1), new)
        for kind, pattern in PATTERNS.items():
            for match in pattern.finditer(code):
                group = match.lastindex
                for new in SWAPS[kind][match.group(group)]:
                    add(kind, match.start(group), match.end(group), new)
        for match in NUMBER.finditer(code):
            if match.group(3):
                add("constant", match.start(3), match.end(3),
                    "false" if match.group(3) == "true" else "true")
                continue
            if DECLARED_SIZE.search(code[:match.start()]) and code[match.end():].startswith("]"):
                continue  # an array's size in its declaration
            digits = match.group(1)
            if re.fullmatch(r"0\d+", digits):
                continue  # octal: none in the sources
            value, hexadecimal = int(digits, 0), digits[:2] in ("0x", "0X")
            news = [1] if value == 0 else [0] if value == 1 else [value + 1, value - 1]
            for new in news:
                case = "x" if re.search("[a-f]", digits[2:]) else "X"
                new = f"0x{new:0{len(digits) - 2}{case}}" if hexadecimal else str(new)
                add("constant", match.start(1), match.end(1), new)
        if (text.endswith(";") and statement_start(previous) and not NOT_ACTIONS.match(text)
                and text.count("(") == text.count(")")
                and (CALL.match(text) or ASSIGNMENT.match(text) or STEP.match(text))):
            start = code.index(text)
            add("statement", start, start + len(text), ";")
        previous = text
    return list(found.values())


def draw(tree, seed, count, only):
    files = sorted(p for p in (tree / "src").rglob("*") if p.suffix in (".cpp", ".h")
                   and not {"win32", "fake"} & set(p.parts))
    pool = {kind: [] for kind in KINDS}
    for path in files:
        relative = str(path.relative_to(tree))
        if not only or re.search(only, relative):
            for fault in faults_of(relative, path.read_text().splitlines()):
                pool[fault[0]].append(fault)
    # Kind first, then a fault of that kind: each kind comes up about as often as the others.
    rng, drawn = random.Random(seed), []
    while len(drawn) < count and any(pool.values()):
        kind = rng.choice([k for k in KINDS if pool[k]])
        drawn.append(pool[kind].pop(rng.randrange(len(pool[kind]))))
    return drawn


def change(fault, width=18):
    kind, _, _, start, end, old, new = fault
    if kind == "statement":
        return f"removed '{old}'"
    line = (FILES[fault[1]][fault[2] - 1])
    left, right = line[max(0, start - width):start].lstrip(), line[end:end + width].rstrip()
    return f"'{left}{old}{right}' -> '{left}{new}{right}'"


def run(command, cwd, timeout=None):
    """(status, output) of a command in its own process group; status None after the timeout."""
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, text=True, errors="replace",
                               start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout)
        return process.returncode, output
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return None, ""


def verdict(build, args, failing=None):
    """"caught (...)" or "SURVIVED" for the tests of the current build. With a list in failing,
    every test runs and the names of those that fail are added to it."""
    caught = None
    for test in TESTS:
        binary = Path(test).name
        status, output = run([str(build / test), "--gtest_brief=1"] +
                             ([] if failing is not None else ["--gtest_fail_fast"]),
                             build, args.timeout)
        if status == 0:
            continue
        if status is None:
            how, names = "timeout", []
        else:
            failed = re.search(r"^\[  FAILED  \] (\S+)|(\w+Sanitizer|runtime error)", output, re.M)
            how = failed.group(1) or failed.group(2) if failed else \
                f"status {status}" if status > 0 else signal.Signals(-status).name
            names = re.findall(r"^\[  FAILED  \] ([^\s,]+)(?:,| \()", output, re.M)
        caught = caught or f"caught ({binary}: {how})"
        if failing is None:
            return caught
        failing += [f"{binary}:{name}" for name in dict.fromkeys(names or [how])]
    return caught or "SURVIVED"


def binaries(build):
    return [hashlib.sha256((build / test).read_bytes()).hexdigest() for test in TESTS]


def write_matrix(path, matrix, build):
    """Each fault with the tests that catch it; then each test with the faults only it catches."""
    tests = []
    for test in TESTS:
        listing = run([str(build / test), "--gtest_list_tests"], build)[1]
        suite = ""
        for line in listing.splitlines():
            if not line.startswith(" "):
                suite = line.split()[0] if line.strip() else suite
            else:
                tests.append(f"{Path(test).name}:{suite}{line.split()[0]}")
    alone = {test: 0 for test in tests}
    with path.open("w") as out:
        for fault, failing in matrix:
            out.write(f"{fault}\t{' '.join(failing)}\n")
            if len(failing) == 1:
                alone[failing[0]] = alone.get(failing[0], 0) + 1
        out.write("\n# faults each test alone catches\n")
        for test, count in sorted(alone.items(), key=lambda item: (item[1], item[0])):
            out.write(f"{count}\t{test}\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=50)
    parser.add_argument("--only", help="regular expression on the paths, e.g. src/package/")
    parser.add_argument("--timeout", type=float, default=30, help="seconds per test binary")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--preset", choices=["native", "sanitize"], default="native")
    parser.add_argument("--list", action="store_true", help="print the faults, build nothing")
    parser.add_argument("--matrix", help="file for which tests catch which fault (all tests run)")
    args = parser.parse_args()
    os.nice(19)  # the machine is shared: builds and tests take what is left
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))

    (ROOT / "build").mkdir(exist_ok=True)
    scratch = Path(tempfile.mkdtemp(prefix="mutation.", dir=ROOT / "build"))
    tree, started = scratch / "tree", time.monotonic()
    try:
        shutil.copytree(ROOT, tree, ignore=lambda folder, names: [
            n for n in names if Path(folder) == ROOT and n in ("build", ".git")])
        faults = draw(tree, args.seed, args.count, args.only)
        for path in {f[1] for f in faults}:
            FILES[path] = (tree / path).read_text().splitlines()
        if args.list:
            for fault in faults:
                print(f"{fault[1]}:{fault[2]} {fault[0]}: {change(fault)}")
            return 0
        build = tree / "build" / args.preset
        if shutil.which("ccache"):  # the copy's objects are mostly the tree's: cached
            os.environ.setdefault("CMAKE_C_COMPILER_LAUNCHER", "ccache")
            os.environ.setdefault("CMAKE_CXX_COMPILER_LAUNCHER", "ccache")
            os.environ.setdefault("CCACHE_BASEDIR", str(ROOT.parent))
        # Tests are listed when they run, not after each link: a fault must not fail the build.
        make = ["cmake", "--build", str(build), "-j", str(args.jobs), "--target",
                *[Path(t).name for t in TESTS]]
        status, output = run(["cmake", "--preset", args.preset,
                              "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"], tree)
        if status == 0:
            status, output = run(make, tree)
        if status != 0:
            print(output[-3000:], "\nthe unchanged sources do not build", file=sys.stderr)
            return 2
        if (result := verdict(build, args)) != "SURVIVED":
            print(f"the unchanged sources fail their tests: {result}", file=sys.stderr)
            return 2
        unchanged = binaries(build)
        print(f"{len(faults)} faults, seed {args.seed}; baseline built and passed "
              f"in {time.monotonic() - started:.0f} s", flush=True)
        results, matrix = [], []
        for number, fault in enumerate(faults, 1):
            kind, path, line, start, end, old, new = fault
            source = tree / path
            original = source.read_text()
            lines = original.splitlines(keepends=True)
            lines[line - 1] = lines[line - 1][:start] + new + lines[line - 1][end:]
            source.write_text("".join(lines))
            try:
                if run(make, tree)[0] != 0:
                    result = "does not build"
                else:
                    failing = [] if args.matrix else None
                    result = verdict(build, args, failing)
                    if args.matrix:
                        matrix.append((f"{path}:{line} {kind}: {change(fault)}", failing))
                    if result == "SURVIVED" and binaries(build) == unchanged:
                        result += " (test binaries unchanged)"
            finally:
                source.write_text(original)
            results.append((fault, result))
            print(f"[{number}/{len(faults)}] {path}:{line} {kind}: {change(fault)}: {result}",
                  flush=True)
        caught = sum(r.startswith("caught") for _, r in results)
        survived = [(f, r) for f, r in results if r.startswith("SURVIVED")]
        broken = len(results) - caught - len(survived)
        tried = caught + len(survived)
        minutes, seconds = divmod(int(time.monotonic() - started), 60)
        print(f"\nscore: {caught}/{tried} caught ({100 * caught / max(tried, 1):.1f}%), "
              f"{len(survived)} survived, {broken} did not build; {minutes}m{seconds:02d}s")
        for fault, result in survived:
            print(f"  {fault[1]}:{fault[2]} {fault[0]}: {change(fault)}{result[8:]}\n"
                  f"      {FILES[fault[1]][fault[2] - 1].strip()}")
        if args.matrix:
            write_matrix(Path(args.matrix), matrix, build)
        return 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
