#!/usr/bin/env python3
"""Plants single faults in Netcairn's sources, one at a time, and runs the suite against each.

A fault the suite does not notice (a survivor) is a behaviour no test guards. Each mutant is
one small operator-level change: a comparison flipped, && and || swapped, a statement removed,
a number or text changed, a boolean inverted. The work happens in a private copy of the tracked
files (build-mutants/tree) with its own builds (build-mutants/build for the mutants, and
build-mutants/clean to tell the suite's own noise from a kill), so the developer's tree and build
are never touched. Python 3 standard library only.

    tools/mutants.py                           # the default sample: 60 mutants, seed 1, all of src/
    tools/mutants.py --seed 7 --count 100 src/app/frmMain.cpp
    tools/mutants.py --list src/output         # the candidates, without building anything
"""

import argparse
import bisect
import fnmatch
import fcntl
import hashlib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
EQUIVALENTS = ROOT / "tools" / "mutants-equivalent.txt"
KINDS = ("comparison", "logical", "negation", "boolean", "number", "string", "char", "removal")

# --- reading C++ ---------------------------------------------------------------------------


@dataclass
class Token:
    kind: str  # ident, number, string, char, op
    text: str
    start: int
    end: int
    line: int


OPERATORS = sorted(
    "<=> >>= <<= ->* ... :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= .* ##".split(),
    key=len,
    reverse=True,
)
PREFIX = r"(?:u8|u|U|L)?"
RE_RAW = re.compile(PREFIX + r'R"([^()\\\s]{0,16})\(')
RE_STRING = re.compile(PREFIX + r'"(?:[^"\\\n]|\\.)*"')
RE_CHAR = re.compile(PREFIX + r"'(?:[^'\\\n]|\\.)+'")
RE_NUMBER = re.compile(r"\.?\d(?:[eEpP][+-]|'(?=\w)|[\w.])*")
RE_IDENT = re.compile(r"[A-Za-z_]\w*")


def tokenize(text):
    """The tokens of a C++ file, and the spans of its comments; preprocessor lines are left out."""
    tokens, comments = [], []
    i, n, line = 0, len(text), 1
    at_line_start = True
    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
            at_line_start = True
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            comments.append((i, end))
            i = end
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            comments.append((i, end))
            line += text.count("\n", i, end)
            i = end
            continue
        if c == "#" and at_line_start:
            # A directive runs to the end of its line, continued lines included.
            while i < n and text[i] != "\n":
                if text[i] == "\\" and text.startswith("\n", i + 1):
                    line += 1
                    i += 1
                i += 1
            continue
        at_line_start = False
        m = RE_RAW.match(text, i)
        if m:
            close = text.find(")" + m.group(1) + '"', m.end())
            end = n if close < 0 else close + len(m.group(1)) + 2
            tokens.append(Token("string", text[i:end], i, end, line))
            line += text.count("\n", i, end)
            i = end
            continue
        for kind, rx in (("string", RE_STRING), ("char", RE_CHAR)):
            m = rx.match(text, i)
            if m and (m.start() == i):
                break
        else:
            m = None
        if m:
            tokens.append(Token(kind, m.group(0), i, m.end(), line))
            i = m.end()
            continue
        m = RE_NUMBER.match(text, i)
        if m:
            tokens.append(Token("number", m.group(0), i, m.end(), line))
            i = m.end()
            continue
        m = RE_IDENT.match(text, i)
        if m:
            tokens.append(Token("ident", m.group(0), i, m.end(), line))
            i = m.end()
            continue
        for op in OPERATORS:
            if text.startswith(op, i):
                break
        else:
            op = c
        tokens.append(Token("op", op, i, i + len(op), line))
        i += len(op)
    return tokens, comments


# Words that begin a declaration rather than an expression statement.
DECL_WORDS = set(
    """const constexpr consteval constinit static auto int bool char double float long short
    unsigned signed void struct class enum union using typedef thread_local volatile extern inline
    register static_assert namespace template typename friend virtual explicit mutable size_t
    ssize_t qsizetype qint64 quint64 qint32 quint32 uint char16_t char32_t wchar_t""".split()
)
# Statements whose removal changes nothing the compiler keeps.
INERT_CALLS = {"Q_UNUSED", "Q_ASSERT", "Q_ASSERT_X", "assert", "static_assert", "Q_STATIC_ASSERT"}
EXPRESSION_WORDS = {"new", "delete", "throw", "this", "Q_EMIT", "co_await", "co_yield"}
QUALIFIERS = {"const", "override", "final", "noexcept", "mutable", "volatile", "&", "&&"}
CONTROL = {"if", "else", "for", "while", "do", "switch", "case", "default", "try", "catch",
           "return", "break", "continue", "goto", "co_return"}


class Analysis:
    """Which tokens run (function bodies), which initialise, which statements stand alone."""

    def __init__(self, tokens):
        self.t = tokens
        self.n = len(tokens)
        self.match = self._matching()
        self.code = set()  # indices of tokens inside function bodies and constructor initialisers
        self.init = set()  # indices of tokens in initialisers outside functions
        self.inert = set()  # indices inside assertions and similar, which change nothing
        self.statements = []  # (first, last) token indices of removable statements
        self.conditions = []  # (first, last) token indices of if/while conditions, parens excluded
        self._mark_inert()
        self._declarations()

    def text(self, i):
        return self.t[i].text if 0 <= i < self.n else ""

    def _matching(self):
        pairs, stack = {}, []
        for i, tok in enumerate(self.t):
            if tok.kind != "op":
                continue
            if tok.text in "([{":
                stack.append(i)
            elif tok.text in ")]}" and stack:
                j = stack.pop()
                pairs[i], pairs[j] = j, i
        return pairs

    def close(self, i):
        return self.match.get(i, self.n - 1)

    def _mark_inert(self):
        for i, tok in enumerate(self.t):
            if tok.kind == "ident" and tok.text in INERT_CALLS and self.text(i + 1) == "(":
                self.inert.update(range(i, self.close(i + 1) + 1))

    def is_body_brace(self, k):
        """Whether the '{' at k opens a function or lambda body."""
        j = k - 1
        while j >= 0:
            word = self.text(j)
            if word in QUALIFIERS:
                j -= 1
            elif word == ")" and self.text(self.match.get(j, 0) - 1) == "noexcept":
                j = self.match[j] - 2
            else:
                break
        if self.text(j) in (")", "]"):
            return True
        # A trailing return type: ') -> Type {'.
        back = j
        while back >= 0 and back > j - 12:
            word = self.text(back)
            if word == "->":
                return self.text(back - 1) == ")"
            if not (self.t[back].kind == "ident" or word in ("::", "<", ">", "*", "&", ",")):
                break
            back -= 1
        return False

    # Outside functions: namespaces, classes, and the initialisers of their declarations.
    def _declarations(self):
        i, depth, init_depth = 0, 0, None
        while i < self.n:
            word = self.text(i)
            if word == "{" and self.is_body_brace(i):
                i = self.block(i)
                continue
            if word == ":" and self.text(i - 1) == ")" and init_depth is None:
                i = self._constructor_initialisers(i + 1)
                continue
            if init_depth is not None:
                ends = (word in (";", ",") and depth == init_depth) or (
                    word in (")", "]", "}") and depth <= init_depth
                )
                if ends:
                    init_depth = None
                else:
                    self.init.add(i)
            if word in ("(", "[", "{"):
                depth += 1
            elif word in (")", "]", "}"):
                depth -= 1
            elif word == "=" and init_depth is None:
                before = self.text(i - 1)
                # '= 0', '= default' and '= delete' after a function declarator initialise nothing.
                if before not in (")", "operator") and before not in QUALIFIERS:
                    init_depth = depth
            i += 1

    def _constructor_initialisers(self, i):
        """After 'Name(...) :', each member's initialiser runs; the body follows."""
        while i < self.n:
            while i < self.n and self.text(i) not in ("(", "{", ";"):
                i += 1
            if i >= self.n or self.text(i) == ";":
                return i
            close = self.close(i)
            self.expression(i, close)
            i = close + 1
            if self.text(i) == ",":
                i += 1
                continue
            if self.text(i) == "{":
                return self.block(i)
            return i
        return i

    # Inside functions: statements, their conditions, and the lambdas within expressions.
    def block(self, i):
        """Reads the block opening at i; returns the index after its '}'."""
        end = self.close(i)
        self.code.update(range(i, end + 1))
        i += 1
        while i < end:
            i = self.statement(i, end)
        return end + 1

    def expression(self, first, last):
        """Marks [first, last] as code and reads the lambda bodies in it."""
        self.code.update(range(first, last + 1))
        i = first
        while i <= last:
            if self.text(i) == "{" and self.is_body_brace(i):
                i = self.block(i)
            else:
                i += 1

    def until_semicolon(self, i, end):
        """The index of the ';' that ends the simple statement starting at i."""
        while i < end:
            word = self.text(i)
            if word == ";":
                return i
            if word == "{" and self.is_body_brace(i):
                i = self.block(i)
            elif word in ("(", "[", "{"):
                close = self.close(i)
                self.expression(i, close)
                i = close + 1
            else:
                i += 1
        return end

    def condition(self, open_paren, negatable):
        close = self.close(open_paren)
        self.expression(open_paren, close)
        if negatable:
            first = open_paren + 1
            for j in range(open_paren + 1, close):
                if self.text(j) == ";" and self.depth_between(open_paren, j) == 0:
                    first = j + 1
            if first < close and not self.declares(first, close):
                self.conditions.append((first, close - 1))
        return close + 1

    def depth_between(self, open_paren, j):
        depth = 0
        for k in range(open_paren + 1, j):
            if self.text(k) in ("(", "[", "{"):
                depth += 1
            elif self.text(k) in (")", "]", "}"):
                depth -= 1
        return depth

    def statement(self, i, end):
        word = self.text(i)
        if word == "{":
            return self.block(i)
        if word == ";":
            return i + 1
        if word in ("if", "while", "switch", "for", "catch"):
            j = i + 1
            if self.text(j) == "constexpr":
                j += 1
            if self.text(j) != "(":
                return j
            j = self.condition(j, negatable=word in ("if", "while"))
            if word == "while" and self.text(j) == ";":  # the end of a do-while
                return j + 1
            j = self.statement(j, end)
            if word == "if" and self.text(j) == "else":
                j = self.statement(j + 1, end)
            return j
        if word in ("else", "do", "try"):
            return self.statement(i + 1, end)
        if word in ("case", "default"):
            while i < end and self.text(i) != ":":
                i += 1
            return i + 1
        if self.t[i].kind == "ident" and self.text(i + 1) == ":" and word not in DECL_WORDS:
            return i + 2  # a label
        last = self.until_semicolon(i, end)
        self.code.update(range(i, last + 1))
        if word == "return" and last == i + 1:
            self.statements.append((i, last))
        elif word not in CONTROL and self.is_expression_statement(i, last):
            self.statements.append((i, last))
        return last + 1

    def skip_name(self, i, last):
        """Past a (qualified, templated) name and the pointer or reference marks after it."""
        if self.text(i) == "::":
            i += 1
        while i < last and self.t[i].kind == "ident":
            i += 1
            if self.text(i) == "<" and self.t[i].start == self.t[i - 1].end:
                depth = 0
                while i < last:
                    depth += {"<": 1, ">": -1, ">>": -2}.get(self.text(i), 0)
                    i += 1
                    if depth <= 0:
                        break
            if self.text(i) != "::":
                break
            i += 1
        while i < last and self.text(i) in ("*", "&", "&&", "const"):
            i += 1
        return i

    def declares(self, first, last):
        """Whether the tokens [first, last] begin with a declaration."""
        i = first
        while self.text(i) == "[" and self.text(i + 1) == "[":  # attributes
            i = self.close(i) + 1
        if self.text(i) in DECL_WORDS:
            return True
        if self.t[i].kind != "ident":
            return False
        after = self.skip_name(i, last + 1)
        return after <= last and after > i and self.t[after].kind == "ident"

    def is_expression_statement(self, first, last):
        if first >= last or self.text(first) in INERT_CALLS or self.text(first) == "(":
            return False  # nothing, an assertion, or a cast to void
        if first in self.inert:
            return False
        return self.text(first) in EXPRESSION_WORDS or not self.declares(first, last)


# --- planting faults --------------------------------------------------------------------------


@dataclass
class Mutant:
    file: str  # relative to the repository
    kind: str
    edits: list  # (start, end, replacement), in order
    line: int = 0
    original: str = ""
    mutated: str = ""
    site: str = ""  # the lines with the change written in place, as in "a ⟦==→!=⟧ b"
    result: str = ""  # killed, survived, stillborn, equivalent (same machine code)
    by: str = ""  # the test that noticed it
    places: set = field(default_factory=set)  # where that test failed
    seconds: float = 0.0
    build_seconds: float = 0.0
    flaky: list = field(default_factory=list)

    @property
    def by_text(self):
        return f"{self.by} ({', '.join(sorted(self.places))})" if self.places else self.by

    @property
    def change(self):
        return f"{self.original} -> {self.mutated}"

    def __str__(self):
        return f"{self.file}:{self.line}: {self.change}"


def collapse(text):
    return " ".join(text.split())


def bump_integer(text):
    m = re.fullmatch(r"(0[xX][0-9a-fA-F']+|0[bB][01']+|\d[\d']*)([uUlLzZ]*)", text)
    if not m:
        return None
    digits, suffix = m.group(1).replace("'", ""), m.group(2)
    low = digits.lower()
    if low.startswith("0x"):
        value, fmt = int(low, 16), lambda v: digits[:2] + format(v, "x" if digits[2:].islower() or
                                                                 not digits[2:].isalpha() else "X")
    elif low.startswith("0b"):
        value, fmt = int(low, 2), lambda v: digits[:2] + format(v, "b")
    elif len(digits) > 1 and digits.startswith("0"):
        value, fmt = int(digits, 8), lambda v: "0" + format(v, "o")
    else:
        value, fmt = int(digits), str
    new = 1 if value == 0 else 0 if value == 1 else value + 1
    return fmt(new) + suffix


def bump_number(text):
    integer = bump_integer(text)
    if integer is not None:
        return integer
    m = re.fullmatch(r"(\d*)\.(\d*)([fFlL]?)", text)
    if m and (m.group(1) or m.group(2)):
        return f"{int(m.group(1) or 0) + 1}.{m.group(2)}{m.group(3)}"
    return None


def split_literal(text):
    """A string or character literal as its opening (prefix and quote), body and closing, and
    whether it is raw (no escapes)."""
    m = re.match(r'((?:u8|u|U|L)?R"([^(]*)\()', text)
    if m:
        close = ")" + m.group(2) + '"'
        return m.group(1), text[len(m.group(1)):-len(close)], close, True
    quote = re.match(r"(?:u8|u|U|L)?", text).end()
    return text[: quote + 1], text[quote + 1 : -1], text[-1], False


def plain_positions(body, raw):
    """Offsets of the characters of a literal's body that are not part of an escape."""
    positions, i = [], 0
    while i < len(body):
        if body[i] == "\\" and not raw:
            i += 2
            if i - 1 < len(body) and body[i - 1] in "xu01234567U":
                while i < len(body) and body[i] in "0123456789abcdefABCDEF":
                    i += 1
            continue
        positions.append(i)
        i += 1
    return positions


def changed_char(c):
    if c.isalpha() and c.isascii():
        base = ord("a") if c.islower() else ord("A")
        return chr(base + (ord(c) - base + 1) % 26)
    if c.isdigit():
        return str((int(c) + 1) % 10)
    return "x" if c != "x" else "y"


def literal_mutations(tok):
    """The replacements of a string literal: emptied, and with one character changed."""
    prefix, body, close, raw = split_literal(tok.text)
    out = []
    if body:
        out.append(prefix + close)
    plain = plain_positions(body, raw)
    if not body:
        out.append(prefix + "x" + close)
    elif plain:
        alnum = [p for p in plain if body[p].isalnum() and body[p].isascii()]
        at = (alnum or plain)[0]
        out.append(prefix + body[:at] + changed_char(body[at]) + body[at + 1 :] + close)
    return out


def char_mutation(tok):
    prefix, body, close, _ = split_literal(tok.text)
    if len(body) != 1 or body in "'\\":
        return None
    c = chr(ord(body) + 1)
    while c in "'\\" or not c.isprintable():
        c = chr(ord(c) + 1)
    return prefix + c + close


def spaced(text, tok):
    """Whether a token stands with blanks on both sides, as clang-format sets binary operators."""
    return text[tok.start - 1 : tok.start].isspace() and text[tok.end : tok.end + 1].isspace()


def candidates(rel, text):
    """Every mutant of one file, in the order of the text."""
    tokens, comments = tokenize(text)
    a = Analysis(tokens)
    found = []

    def add(kind, *edits):
        found.append(Mutant(rel, kind, list(edits)))

    swaps = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}
    for i, tok in enumerate(tokens):
        in_code, in_init = i in a.code, i in a.init
        if i in a.inert or not (in_code or in_init):
            continue
        word = tok.text
        if in_code and tok.kind == "op":
            if word in swaps and (word not in ("<", ">") or spaced(text, tok)):
                if a.text(i - 1) != "operator":
                    add("comparison", (tok.start, tok.end, swaps[word]))
            elif word in ("&&", "||") and spaced(text, tok):
                add("logical", (tok.start, tok.end, "||" if word == "&&" else "&&"))
            elif word == "!":
                add("negation", (tok.start, tok.end, ""))
        if tok.kind == "ident" and word in ("true", "false"):
            add("boolean", (tok.start, tok.end, "false" if word == "true" else "true"))
        elif tok.kind == "number":
            new = bump_number(word)
            if new is not None:
                add("number", (tok.start, tok.end, new))
        elif tok.kind == "string":
            for new in literal_mutations(tok):
                add("string", (tok.start, tok.end, new))
        elif tok.kind == "char":
            new = char_mutation(tok)
            if new is not None:
                add("char", (tok.start, tok.end, new))
    for first, last in a.conditions:
        if a.text(first) == "!":
            continue  # removing that '!' is the inversion already
        add("negation", (tokens[first].start, tokens[first].start, "!("),
            (tokens[last].end, tokens[last].end, ")"))
    for first, last in a.statements:
        add("removal", (tokens[first].start, tokens[last].end, ";"))

    line_starts = [0] + [m.end() for m in re.finditer("\n", text)]
    # The lines as the mutants show them: comments blanked out.
    bare = list(text)
    for start, end in comments:
        bare[start:end] = [" "] * (end - start)
    bare = "".join(bare)
    for m in found:
        describe(m, bare, line_starts)
    found.sort(key=lambda m: (m.edits[0][0], KINDS.index(m.kind), m.mutated))
    return found


def describe(m, text, line_starts):
    """The mutant's line number and its lines before and after, as one line each."""
    first = bisect.bisect_right(line_starts, m.edits[0][0]) - 1
    last = bisect.bisect_right(line_starts, max(m.edits[-1][1] - 1, m.edits[-1][0])) - 1
    begin = line_starts[first]
    end = line_starts[last + 1] - 1 if last + 1 < len(line_starts) else len(text)
    before = text[begin:end]
    after, site, shift, site_shift = before, before, 0, 0
    for start, stop, new in m.edits:
        a, b = start - begin, stop - begin
        after = after[: a + shift] + new + after[b + shift :]
        shift += len(new) - (stop - start)
        marked = f"⟦{before[a:b]}→{new}⟧"
        site = site[: a + site_shift] + marked + site[b + site_shift :]
        site_shift += len(marked) - (stop - start)
    m.line = first + 1
    m.original = collapse(before)
    m.mutated = collapse(after)
    m.site = collapse(site)
    if m.kind == "removal" and m.mutated == ";":
        m.mutated = "(removed)"
        if last > first:  # a statement over several lines is named by its first
            m.original = collapse(text[begin : line_starts[first + 1]]) + " ..."


def mutated_text(text, m):
    for start, stop, new in reversed(m.edits):
        text = text[:start] + new + text[stop:]
    return text


# --- the list of equivalent mutants -------------------------------------------------------------

RE_ENTRY = re.compile(r"^(?P<file>[^:\s]+)(?::(?P<line>\d+))?: (?P<change>.+?)\s+##\s+(?P<why>.*)$")
RE_RULE = re.compile(r"^~\s+(?P<kind>\S+)\s+(?P<glob>\S+)\s+(?P<regex>.+?)\s+##\s+(?P<why>.*)$")


class Equivalents:
    """The mutants listed as unable to change behaviour: single ones, and rules for a family."""

    def __init__(self, path):
        self.path = path
        self.entries = {}  # (file, change): reason
        self.rules = []  # (kind, glob, regex, reason, line number)
        self.used = set()  # entry keys and rule line numbers that matched
        if not path.exists():
            return
        for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            rule, entry = RE_RULE.match(line), RE_ENTRY.match(line)
            if rule and rule.group("why").strip():
                kind = rule.group("kind")
                if kind != "*" and kind not in KINDS:
                    sys.exit(f"{path}:{number}: unknown kind '{kind}'")
                try:
                    regex = re.compile(rule.group("regex"))
                except re.error as e:
                    sys.exit(f"{path}:{number}: {e}")
                self.rules.append((kind, rule.group("glob"), regex, rule.group("why"), number))
            elif entry and entry.group("why").strip() and not line.startswith("~"):
                self.entries[(entry.group("file"), collapse(entry.group("change")))] = entry.group(
                    "why").strip()
            else:
                sys.exit(f"{path}:{number}: expected 'file:line: original -> mutated  ## reason' "
                         f"or '~ kind file-glob regex  ## reason'")

    def covers(self, m):
        key = (m.file, m.change)
        if key in self.entries:
            self.used.add(key)
            return True
        for kind, glob, regex, _, number in self.rules:
            if kind in ("*", m.kind) and fnmatch.fnmatch(m.file, glob) and regex.search(m.site):
                self.used.add(number)
                return True
        return False

    def unused(self, files):
        """What matched nothing among the candidates of these files: stale once code changed."""
        out = [f"{file}: {change}" for file, change in sorted(self.entries)
               if file in files and (file, change) not in self.used]
        out += [f"line {number}: ~ {kind} {glob} {regex.pattern}" for kind, glob, regex, _, number
                in self.rules if number not in self.used]
        return out


# --- the private tree and its build ---------------------------------------------------------------


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, text=True, capture_output=True, **kw).stdout


def refresh_tree(tree):
    """Makes tree hold exactly the tracked files of the working tree; unchanged files keep their
    times, so that the build stays incremental."""
    tracked = [p for p in run(["git", "-C", str(ROOT), "ls-files", "-z"]).split("\0") if p]
    keep = set()
    for rel in tracked:
        src, dst = ROOT / rel, tree / rel
        if not src.exists() and not src.is_symlink():
            continue
        keep.add(dst)
        dst.parent.mkdir(parents=True, exist_ok=True)
        if src.is_symlink():
            if not dst.is_symlink() or os.readlink(dst) != os.readlink(src):
                if dst.exists() or dst.is_symlink():
                    dst.unlink()
                os.symlink(os.readlink(src), dst)
            continue
        data = src.read_bytes()
        if dst.is_symlink() or not dst.exists() or dst.read_bytes() != data:
            if dst.is_symlink():
                dst.unlink()
            dst.write_bytes(data)
        if (dst.stat().st_mode & 0o777) != (src.stat().st_mode & 0o777):
            shutil.copymode(src, dst)
    for path in sorted(tree.rglob("*"), reverse=True):
        if path.is_dir() and not path.is_symlink():
            if not any(path.iterdir()):
                path.rmdir()
        elif path not in keep:
            path.unlink()


class Sweeper:
    """Ends what a test leaves behind (a daemon forked away from its parent, a program a mutant
    keeps from ending): every process that carries this run's mark in its environment, by id."""

    def __init__(self):
        self.mark = f"NETCAIRN_MUTANTS_RUN={os.getpid()}-{time.time_ns()}"
        key, value = self.mark.split("=")
        os.environ[key] = value
        self.needle = self.mark.encode() + b"\0"

    def marked(self):
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                environ = Path(f"/proc/{entry}/environ").read_bytes()
            except OSError:
                continue
            if environ.startswith(self.needle) or b"\0" + self.needle in environ:
                found.append(int(entry))
        return found

    def sweep(self):
        """Only called between commands, when nothing of this run should be left."""
        for sig in (signal.SIGTERM, signal.SIGKILL):
            left = self.marked()
            if not left:
                return
            for pid in left:
                try:
                    os.kill(pid, sig)
                except ProcessLookupError:
                    pass
            deadline = time.monotonic() + 3
            while time.monotonic() < deadline and self.marked():
                time.sleep(0.05)


def run_limited(cmd, cwd, log, timeout, sweeper):
    """Runs cmd in a session of its own; returns its exit status, or None when the time ran out."""
    with open(log, "ab") as out:
        proc = subprocess.Popen(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL, start_new_session=True)
        try:
            return proc.wait(timeout=max(timeout, 0.1))
        except subprocess.TimeoutExpired:
            for sig in (signal.SIGTERM, signal.SIGKILL):
                try:
                    os.killpg(proc.pid, sig)
                except ProcessLookupError:
                    break
                try:
                    proc.wait(timeout=5)
                    break
                except subprocess.TimeoutExpired:
                    continue
            return None
        except BaseException:
            try:
                os.killpg(proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            proc.wait()
            raise
        finally:
            sweeper.sweep()


RE_QTEST_FAIL = re.compile(r"^FAIL!\s*:\s*(?:\w+::)?(\w+\(.*?\))(?= |$)")
RE_QTEST_LOC = re.compile(r"^\s*Loc: \[.*\((\d+)\)\]")
RE_QTEST_DONE = re.compile(
    r"^(?:PASS|SKIP|XFAIL|XPASS|BPASS|BFAIL|BXPASS|BXFAIL)\s*:\s*(?:\w+::)?(\w+)\(", re.M)


class Suite:
    """The tests, run in the mutants' build and, to tell the suite's own noise from a kill, in a
    clean build of the same tree."""

    def __init__(self, build, clean, logs, exclude, retries, factor, sweeper):
        self.build, self.clean, self.logs, self.sweeper = build, clean, logs, sweeper
        self.retries, self.factor = retries, factor
        listing = json.loads(run(["ctest", "--show-only=json-v1"], cwd=build))
        self.tests = []
        for test in listing.get("tests", []):
            props = {p["name"]: p["value"] for p in test.get("properties", [])}
            # A fixture's set-up runs with every test that needs it.
            if "FIXTURES_SETUP" in props or (exclude and re.search(exclude, test["name"])):
                continue
            self.tests.append(test["name"])
        self.seconds = {}

    def run_test(self, name, build, log, timeout):
        """One test through CTest, fixtures included: None when it passed, else where it failed
        (the QTest functions that report FAIL!, or how the test ended)."""
        cmd = ["ctest", "--output-on-failure", "--no-tests=error", "-R", f"^{re.escape(name)}$"]
        offset = log.stat().st_size if log.exists() else 0
        status = run_limited(cmd, build, log, timeout, self.sweeper)
        if status == 0:
            return None
        if status is None:
            return {"timeout"}
        with open(log, "rb") as f:
            f.seek(offset)
            output = f.read().decode(errors="replace")
        # A place is a QTest function (with its data row) and the line of the check that failed,
        # so that a check that now and then fails on a busy machine does not hide another one.
        failed, function = set(), None
        for line in output.splitlines():
            if m := RE_QTEST_FAIL.match(line):
                if function:
                    failed.add(function)
                function = m.group(1)
            elif function and (m := RE_QTEST_LOC.match(line)):
                failed.add(f"{function}:{m.group(1)}")
                function = None
        if function:
            failed.add(function)
        if failed:
            return failed
        done = RE_QTEST_DONE.findall(output)  # a crash: name it by the last function that ended
        return {f"crash after {done[-1]}" if done else "crash"}

    def timeout(self, name):
        # Room for a busy machine: a test that needs 3 s alone may need 20 beside a build.
        return max(self.factor * self.seconds[name], 60.0)

    def clean_run(self):
        log = self.logs / "clean.log"
        log.unlink(missing_ok=True)
        for name in self.tests:
            for attempt in range(self.retries + 1):
                began = time.monotonic()
                failed = self.run_test(name, self.clean, log, 1800)
                if failed is None:
                    break
                print(f"  clean suite: {name} failed (attempt {attempt + 1}: "
                      f"{', '.join(sorted(failed))})", flush=True)
            else:
                sys.exit(f"The clean tree fails the test '{name}'; the suite must pass before "
                         f"mutants mean anything. Its output is in {log}.")
            self.seconds[name] = time.monotonic() - began
        self.tests.sort(key=lambda name: self.seconds[name])  # fastest first

    def verdict(self, mutant, log):
        """Runs the tests fastest first until one kills; fills in the mutant's result.

        A test kills when it fails at every try in one same place, and the clean build, tried
        right after, does not fail there: the suite's own noise (a busy machine, another
        desktop's processes) tends to last a while, and shows there too. Then the next test has
        its turn. A try that runs out of time may have failed anywhere; it is not repeated."""
        for name in self.tests:
            common = None
            for _ in range(self.retries + 1):
                failed = self.run_test(name, self.build, log, self.timeout(name))
                if failed is None:
                    break
                if failed == {"timeout"}:
                    common = common or failed
                    break
                common = failed if common is None else common & failed
                if not common:
                    break
            if failed is None or not common:
                if common is not None:
                    mutant.flaky.append(name)
                continue
            clean = self.run_test(name, self.clean, log, self.timeout(name))
            if clean and (clean == {"timeout"} or common & clean):
                mutant.flaky.append(name)
                continue
            mutant.result, mutant.by, mutant.places = "killed", name, common
            return
        mutant.result = "survived"


class Objects:
    """The compiler's output, to tell a mutant that compiles to the very same machine code as the
    clean tree: it cannot change behaviour, so no test needs to run for it."""

    def __init__(self, build):
        self.build = build
        self.seen = {}  # path: (mtime, size, digest)
        self.clean = self.digests()

    def digests(self):
        now = {}
        for folder, dirs, names in os.walk(self.build):
            dirs[:] = [d for d in dirs if d not in ("stage", "Testing", "home", "run")]
            for name in names:
                if not name.endswith(".o"):
                    continue
                path = os.path.join(folder, name)
                st = os.stat(path)
                known = self.seen.get(path)
                if known and known[:2] == (st.st_mtime_ns, st.st_size):
                    now[path] = known
                else:
                    with open(path, "rb") as f:
                        now[path] = (st.st_mtime_ns, st.st_size, hashlib.sha1(f.read()).digest())
        self.seen = now
        return {path: entry[2] for path, entry in now.items()}

    def as_clean(self):
        return self.digests() == self.clean


def build_tree(build, jobs, log, timeout=1800):
    with open(log, "ab") as out:
        proc = subprocess.run(["cmake", "--build", str(build), "-j", str(jobs)], stdout=out,
                              stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, timeout=timeout)
    return proc.returncode == 0


def configure(tree, build, log):
    # Ninja finds the one changed file in a fraction of the time Make takes to check the tree.
    generator = "Ninja" if shutil.which("ninja") else "Unix Makefiles"
    cache = build / "CMakeCache.txt"
    if cache.exists() and f"CMAKE_GENERATOR:INTERNAL={generator}\n" not in cache.read_text(
            errors="replace"):
        shutil.rmtree(build)
        build.mkdir()
    # The build of 'make build' without its debug information, which only slows every link and
    # would tell apart objects whose code is the same.
    cmd = ["cmake", "-S", str(tree), "-B", str(build), "-G", generator,
           "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"]
    # Every mutant relinks each test program; gold does that in a quarter of the time.
    gold = "-fuse-ld=gold" if shutil.which("ld.gold") else ""
    cmd += [f"-DCMAKE_{kind}_LINKER_FLAGS={gold}" for kind in ("EXE", "SHARED", "MODULE")]
    with open(log, "ab") as out:
        if subprocess.run(cmd, stdout=out, stderr=subprocess.STDOUT).returncode != 0:
            sys.exit(f"CMake could not configure the private tree; see {log}")


# --- the command ----------------------------------------------------------------------------------


def source_files(args):
    src = ROOT / "src"
    if not args:
        return sorted(p for p in src.rglob("*") if p.suffix in (".cpp", ".h"))
    files = []
    for arg in args:
        path = (Path.cwd() / arg).resolve()
        if not path.is_relative_to(src):
            sys.exit(f"{arg}: only the sources under src/ are mutated")
        if path.is_dir():
            files += sorted(p for p in path.rglob("*") if p.suffix in (".cpp", ".h"))
        elif path.suffix in (".cpp", ".h") and path.exists():
            files.append(path)
        else:
            sys.exit(f"{arg}: not a .cpp or .h file or folder under src/")
    return sorted(set(files))


def minutes(seconds):
    return f"{int(seconds // 60)} min {int(seconds % 60):02d} s"


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("files", nargs="*", help="files or folders under src/ (default: all of src/)")
    ap.add_argument("--seed", type=int, default=1, help="the sample's seed (default 1)")
    ap.add_argument("--count", type=int, default=60, help="mutants to run (default 60)")
    ap.add_argument("--kind", action="append", choices=KINDS, help="only these kinds (repeatable)")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 2, help="build jobs")
    ap.add_argument("--timeout-factor", type=float, default=3.0,
                    help="a test that takes this many times its clean run (at least 60 s) has "
                    "failed (default 3)")
    ap.add_argument("--retries", type=int, default=2,
                    help="a failing test is run again up to this many times; it kills only when "
                    "it fails every time in a same place, and the clean build does not fail "
                    "there right after (default 2); the clean run must pass once in as many "
                    "tries")
    ap.add_argument("--exclude-tests", default="^format$",
                    help="tests not run (regex; default: the source-format check, which judges "
                    "the look of the text, not behaviour)")
    ap.add_argument("--work", default=str(ROOT / "build-mutants"), help="the private folder")
    ap.add_argument("--list", action="store_true",
                    help="list every candidate, with its change written in place, and stop")
    ap.add_argument("--dry-run", action="store_true", help="list the sample and stop")
    opts = ap.parse_args()

    files = source_files(opts.files)
    equivalents = Equivalents(EQUIVALENTS)
    pool, skipped = [], 0
    for path in files:
        rel = path.relative_to(ROOT).as_posix()
        for m in candidates(rel, path.read_text(encoding="utf-8")):
            if opts.kind and m.kind not in opts.kind:
                continue
            if equivalents.covers(m):
                skipped += 1
            else:
                pool.append(m)
    if not opts.files and not opts.kind:
        for stale in equivalents.unused({p.relative_to(ROOT).as_posix() for p in files}):
            print(f"warning: {EQUIVALENTS.name} matches no mutant: {stale}")

    if opts.list:
        for m in pool:  # the change in place, as the rules of the equivalents list see it
            print(f"{m.file}:{m.line}: {m.site}  [{m.kind}]")
        counts = {k: sum(m.kind == k for m in pool) for k in KINDS}
        print(f"{len(pool)} candidates in {len(files)} files ({skipped} listed as equivalent): " +
              ", ".join(f"{k} {v}" for k, v in counts.items() if v))
        return 0

    sample = random.Random(opts.seed).sample(pool, min(opts.count, len(pool)))
    sample.sort(key=lambda m: (m.file, m.edits[0][0]))  # one file at a time: fewer rebuilds
    if opts.dry_run:
        for m in sample:
            print(f"{m}  [{m.kind}]")
        return 0

    work = Path(opts.work)
    tree, build, clean, logs = work / "tree", work / "build", work / "clean", work / "logs"
    for folder in (tree, build, clean, logs):
        folder.mkdir(parents=True, exist_ok=True)
    lock = open(work / "lock", "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        sys.exit(f"Another mutation run is using {work}")
    for old in logs.glob("*.log"):
        old.unlink()

    began = time.monotonic()
    sweeper = Sweeper()
    print(f"Sample: {len(sample)} of {len(pool)} candidates in {len(files)} files, seed "
          f"{opts.seed} ({skipped} listed as equivalent)", flush=True)
    print(f"Copying the tracked files to {tree} and building them in {build} and {clean} ...",
          flush=True)
    refresh_tree(tree)
    for folder in (build, clean):
        configure(tree, folder, logs / "build.log")
        if not build_tree(folder, opts.jobs, logs / "build.log"):
            sys.exit(f"The clean tree does not build; see {logs / 'build.log'}")
    objects = Objects(build)
    suite = Suite(build, clean, logs, opts.exclude_tests, opts.retries, opts.timeout_factor,
                  sweeper)
    print(f"Running the clean suite ({len(suite.tests)} tests) ...", flush=True)
    suite.clean_run()
    clean = sum(suite.seconds.values())
    print(f"Clean suite passed in {clean:.1f} s; order: " +
          ", ".join(f"{t} {suite.seconds[t]:.1f}s" for t in suite.tests), flush=True)

    # Ended from outside (make interrupted, logout): still put the private tree back in order.
    def interrupt(signum, frame):
        raise KeyboardInterrupt
    for sig in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, interrupt)
    texts = {}
    try:
        for number, m in enumerate(sample, 1):
            started = time.monotonic()
            target = tree / m.file
            if m.file not in texts:
                texts[m.file] = target.read_text(encoding="utf-8")
            log = logs / f"{number:03d}.log"
            try:
                target.write_text(mutated_text(texts[m.file], m), encoding="utf-8")
                built = build_tree(build, opts.jobs, log)
                m.build_seconds = time.monotonic() - started
                if not built:
                    m.result = "stillborn"
                elif objects.as_clean():
                    m.result = "equivalent"
                else:
                    suite.verdict(m, log)
            finally:
                target.write_text(texts[m.file], encoding="utf-8")
            m.seconds = time.monotonic() - started
            label = m.result.upper() + (f" by {m.by_text}" if m.by else "")
            flaky = f" (failures not counted: {', '.join(m.flaky)})" if m.flaky else ""
            print(f"[{number:3d}/{len(sample)}] {label:<28} {m}  ({m.build_seconds:.0f} s build, "
                  f"{m.seconds - m.build_seconds:.0f} s tests){flaky}", flush=True)
    except KeyboardInterrupt:
        print("Interrupted; the private tree is restored.", flush=True)
        sample = [m for m in sample if m.result]
    finally:
        lock.close()

    killed = [m for m in sample if m.result == "killed"]
    survived = [m for m in sample if m.result == "survived"]
    stillborn = [m for m in sample if m.result == "stillborn"]
    same = [m for m in sample if m.result == "equivalent"]
    report = []
    tried = len(killed) + len(survived)
    rate = 100.0 * len(killed) / tried if tried else 0.0
    report.append(f"Mutants: {len(sample)} (seed {opts.seed}); killed {len(killed)}, survived "
                  f"{len(survived)}, stillborn {len(stillborn)}, same machine code {len(same)}; in "
                  f"{minutes(time.monotonic() - began)}")
    report.append(f"Kill rate: {len(killed)}/{tried} = {rate:.1f} %")
    for kind in KINDS:
        k = sum(m.kind == kind for m in killed)
        s = sum(m.kind == kind for m in survived)
        if k + s:
            report.append(f"  {kind:<10} {k}/{k + s}")
    report.append(f"Survivors ({len(survived)}):")
    report += [f"{m}" for m in survived]
    if stillborn:
        report.append(f"Stillborn ({len(stillborn)}, not counted):")
        report += [f"{m}" for m in stillborn]
    if same:
        report.append(f"Compiled to the clean tree's machine code ({len(same)}, not counted):")
        report += [f"{m}" for m in same]
    text = "\n".join(report)
    print(text, flush=True)
    (work / "report.txt").write_text(text + "\n", encoding="utf-8")
    results = [{"file": m.file, "line": m.line, "kind": m.kind, "change": m.change,
                "result": m.result, "by": m.by_text, "seconds": round(m.seconds, 1)}
               for m in sample]
    (work / "results.json").write_text(json.dumps(results, indent=1) + "\n", encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
