#!/usr/bin/env python3
"""Fails when a source file outside tests/ and bench/ is longer than 400 lines
or holds a function body longer than 60 lines.

Functions are found by counting braces: a body is a brace block that opens at
namespace or class level and is not itself a namespace, class, struct, enum or
initializer. Comments, strings and character literals are skipped first."""
import re
import subprocess
import sys

MAX_FILE_LINES = 400
MAX_FUNCTION_LINES = 60
EXCLUDED = ("tests/", "bench/")

SCOPE = re.compile(r"\b(namespace|class|struct|union|enum)\b[^;{}()]*$")


def strip(text):
    """Blanks out comments and literals, keeping every line break."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                i += 1
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append("\n" * text.count("\n", i, end))
            i = end
        elif c == "R" and text.startswith('R"', i):
            m = re.match(r'R"([^(]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            end = n if end < 0 else end + len(m.group(1)) + 2
            out.append("\n" * text.count("\n", i, end))
            i = end
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def long_functions(text):
    code = strip(text)
    stack = []  # (kind, start line)
    line, start = 1, 0
    found = []
    for pos, c in enumerate(code):
        if c == "\n":
            line += 1
        elif c == "{":
            head = code[start:pos]
            head = head[head.rfind(";") + 1 :].strip()
            in_function = any(kind == "function" for kind, _ in stack)
            if in_function:
                kind = "block"
            elif SCOPE.search(head) or head.endswith("=") or head == "" or head.endswith(","):
                kind = "scope"
            else:
                kind = "function"
            stack.append((kind, line))
            start = pos + 1
        elif c == "}":
            if stack:
                kind, first = stack.pop()
                if kind == "function" and line - first + 1 > MAX_FUNCTION_LINES:
                    found.append((first, line - first + 1))
            start = pos + 1
        elif c == ";":
            start = pos + 1
    return found


def main():
    files = subprocess.check_output(["git", "ls-files", "-co", "--exclude-standard", "*.cpp", "*.h"], text=True)
    failures = 0
    for path in files.split():
        if path.startswith(EXCLUDED):
            continue
        try:
            text = open(path, encoding="utf-8").read()
        except FileNotFoundError:
            continue
        lines = text.count("\n")
        if lines > MAX_FILE_LINES:
            print(f"{path}: {lines} lines (limit {MAX_FILE_LINES})")
            failures += 1
        for first, length in long_functions(text):
            print(f"{path}:{first}: function of {length} lines (limit {MAX_FUNCTION_LINES})")
            failures += 1
    print(f"size check: {failures} over the limits")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
