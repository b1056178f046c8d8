#!/usr/bin/env python3
"""Mutation sample for scripts/mutants.sh.

  mutants.py generate --seed N --count N [--src DIR]   a sample on stdout
  mutants.py show LIST [ID...]                          id, file, line, change: one a line
  mutants.py apply LIST ID                              writes the mutant; prints file:line

A sample line is: id, file, line, kind, the original line, the mutated line (tab-separated).
Only src/ is read, so a sample stays the same while tests change. A mutation is applied where
its original line still stands, nearest the recorded line; where that text is nowhere in the
file it is gone.
"""
import argparse
import hashlib
import random
import re
import sys
from pathlib import Path

SOURCES = (".cpp", ".h", ".l", ".y")
SWAPS = {"<": ">", ">": "<", "<=": ">=", ">=": "<=", "==": "!=", "!=": "=="}
ARITH = {"+": "-", "-": "+", "+=": "-=", "-=": "+=", "++": "--", "--": "++"}
KEYWORDS = {"return", "if", "while", "for", "switch", "case", "default", "do", "else", "delete",
            "throw", "goto", "auto", "const", "constexpr", "static", "using", "typedef", "emit",
            "new", "template", "class", "struct", "enum", "namespace", "public", "private",
            "protected", "unsigned", "signed", "int", "bool", "char", "double", "float", "long",
            "short", "void", "size_t"}
STATEMENT = re.compile(r"(\+\+|--)?([A-Za-z_]\w*)(::\w+)*(\s*(\.|->)\s*\w+|\[[^\]]*\])*"
                       r"\s*(\(|=[^=]|[-+*/|&^%]=|\+\+|--|<<=|>>=)")
NUMBER = re.compile(r"(?<![\w.$'])(\d+)(\.\d+)?([uUlLfF]*)(?![\w.'])")
RETURNS = re.compile(r"^(?:(?:public|private|protected|signals|slots|Q_SLOTS)\s*:\s*)*"
                     r"(?:(?:static|inline|constexpr|virtual|explicit|\[\[nodiscard\]\])\s+)*"
                     r"(void|bool)\s+(?:[\w:]+::)?~?\w+\s*\(")
LAMBDA = re.compile(r"\[[^\[\]]*\]\s*(\([^;]*\))?\s*(mutable\s*)?(->[^{]*)?$")


def mask(line, in_comment):
    """The line with comments blanked and literal contents replaced, same length."""
    out, i, n = [], 0, len(line)
    while i < n:
        if in_comment:
            end = line.find("*/", i)
            if end < 0:
                out.append(" " * (n - i))
                break
            out.append(" " * (end + 2 - i))
            i, in_comment = end + 2, False
        elif line.startswith("//", i):
            out.append(" " * (n - i))
            break
        elif line.startswith("/*", i):
            in_comment = True
        elif line[i] in "\"'":
            quote, j = line[i], i + 1
            while j < n and line[j] != quote:
                j += 2 if line[j] == "\\" else 1
            j = min(j, n - 1)
            out.append(quote + "_" * (j - i - 1) + quote)
            i = j + 1
        else:
            out.append(line[i])
            i += 1
    return "".join(out)[:n], in_comment


def flex_action(line):
    """Where the action starts on a flex rule line (after its pattern)."""
    i, quoted, bracket = 0, False, False
    while i < len(line):
        c = line[i]
        if c == "\\":
            i += 1
        elif quoted:
            quoted = c != '"'
        elif bracket:
            bracket = c != "]"
        elif c == '"':
            quoted = True
        elif c == "[":
            bracket = True
        elif c.isspace():
            return i
        i += 1
    return len(line)


def code_lines(path):
    """Yields (line number, text, masked text, code start column, scope, return type,
    statement start) for every line holding code."""
    lines = path.read_text().split("\n")
    grammar = path.suffix in (".l", ".y")
    section = 0 if grammar else 2  # 0 definitions, 1 rules, 2 plain C++
    in_block = not grammar  # inside %{ %}
    stack, pending, in_comment, prev_end = [], "", False, ";"
    for number, text in enumerate(lines, 1):
        stripped = text.strip()
        if grammar and stripped in ("%{", "%}"):
            in_block = stripped == "%{"
            continue
        if grammar and stripped == "%%":
            section += 1
            in_block = section == 2
            continue
        if grammar and not in_block and section == 0 and path.suffix == ".l":
            continue
        start = 0
        if path.suffix == ".l" and section == 1 and not in_block and not stack and text[:1].strip():
            start = flex_action(text)  # a rule's pattern, then its action
        masked, in_comment = mask(text[start:], in_comment)
        masked = " " * start + masked
        if not masked.strip() or masked.lstrip().startswith("#"):
            continue
        rules_code = grammar and section == 1 and in_block
        inner = stack[-1][0] if stack else None
        if rules_code or inner in ("code", "init"):
            code_from, scope = 0, "code" if rules_code else inner
        else:
            code_from, scope = None, None
        ret = stack[-1][1] if stack and code_from == 0 else None
        opener_ret = None
        for i in range(len(masked)):
            c = masked[i]
            if c == "{":
                kind, r = classify(pending.strip(), stack, grammar and section == 1)
                stack.append((kind, r))
                if kind != "decl" and code_from is None:
                    code_from, scope, opener_ret = i + 1, kind, r
                pending = ""
            elif c == "}":
                if stack:
                    stack.pop()
                pending = ""
            elif c == ";":
                pending = ""
            else:
                pending += c
        pending += " "
        if code_from is None:
            # A constant or default value at namespace or class scope, not a default argument.
            m = re.search(r" = (?!default;|delete;|0;)", masked)
            if m and masked.rstrip().endswith(";") and masked[:m.start()].count("(") == \
                    masked[:m.start()].count(")"):
                code_from, scope = m.end(), "init"
        if code_from is not None and code_from < len(text):
            statement_start = code_from == 0 and prev_end in ";{}:"
            yield (number, text, masked, code_from, scope,
                   ret if code_from == 0 else opener_ret, statement_start)
        prev_end = masked.rstrip()[-1:]


def classify(head, stack, rules):
    """What a "{" opens, from the text before it: code (with the function's return type when
    an early return can be written), an initializer, or declarations."""
    inner = stack[-1] if stack else None
    if inner and inner[0] in ("code", "init"):
        if LAMBDA.search(head):
            return "code", None
        if not head or head.endswith(")") or re.search(r"\b(else|do|try)$", head):
            return "code", inner[1] if inner[0] == "code" else None
        return "init", None
    if rules and not stack:
        return "code", None
    if head.startswith("%") or re.search(r"\b(namespace|class|struct|union|enum|extern)\b", head):
        return "decl", None
    if head.endswith("="):
        return "init", None
    if ")" in head:
        m = RETURNS.search(head)
        return "code", m.group(1) if m else None
    return ("init" if re.search(r"\w$", head) else "decl"), None


def sites(text, masked, code_from, scope, ret, statement_start):
    """Every mutation of one line, as (kind, mutated line)."""
    found = []
    body = masked[code_from:]

    def sub(pos, old, new):
        pos += code_from
        return text[:pos] + new + text[pos + len(old):]

    for m in re.finditer(r"(?<= )(<=|>=|==|!=|<|>)(?= )", body):
        found.append(("compare", sub(m.start(), m.group(), SWAPS[m.group()])))
    for m in re.finditer(r"(?<= )([+-]=?)(?= )|(?<![+-])(\+\+|--)(?![+-])", body):
        op = m.group()
        near = body[max(0, m.start() - 2):m.end() + 2]
        if '"' not in near:
            found.append(("arith", sub(m.start(), op, ARITH[op])))
    for m in NUMBER.finditer(body):
        whole = int(m.group(1))
        moved = whole + 1 if whole == 0 or hash_int(text + m.group()) % 2 else whole - 1
        found.append(("constant", sub(m.start(), m.group(1), str(moved))))
    for m in re.finditer(r"\b(if|while) \(", body):
        depth, end = 0, None
        for j in range(m.end() - 1, len(body)):
            depth += {"(": 1, ")": -1}.get(body[j], 0)
            if depth == 0:
                end = j
                break
        if end is not None and "constexpr" not in body[m.start():m.end() + 10]:
            cond = text[code_from + m.end():code_from + end]
            found.append(("negate", sub(m.end(), cond, "!(" + cond + ")")))
    line = masked.strip()
    first = re.match(r"\W*(\w*)", line).group(1)
    if scope == "code" and statement_start and first not in ("case", "default", "else"):
        balanced = line.count("(") == line.count(")")
        indent = text[:len(text) - len(text.lstrip())]
        if line in ("break;", "continue;") or (
                balanced and line.endswith(";") and first not in KEYWORDS
                and STATEMENT.match(line)):
            found.append(("remove", indent))
        if ret and not line.startswith(("}", "{", ")", "return")):
            early = "return;" if ret == "void" else "return false;"
            found.append(("return", indent + early + " " + text.lstrip()))
    return found


def hash_int(text):
    return int(hashlib.sha1(text.encode()).hexdigest()[:8], 16)


def mutation_id(path, original, mutated):
    return hashlib.sha1(f"{path}\n{original}\n{mutated}".encode()).hexdigest()[:7]


def source_lines(path):
    """Non-blank lines that are not // comments: the share each part of src/ gets."""
    return sum(1 for l in path.read_text().split("\n")
               if l.strip() and not l.strip().startswith("//"))


def generate(src, seed, count):
    root = src.parent
    areas = sorted(p for p in src.iterdir() if p.is_dir())
    files = {a: sorted(p for p in a.rglob("*") if p.suffix in SOURCES) for a in areas}
    sizes = {a: sum(source_lines(p) for p in files[a]) for a in areas}
    total = sum(sizes.values())
    exact = {a: count * sizes[a] / total for a in areas}
    quota = {a: int(exact[a]) for a in areas}
    for a in sorted(areas, key=lambda a: (int(exact[a]) - exact[a], a.name))[:count - sum(
            quota.values())]:
        quota[a] += 1
    print(f"# scripts/mutants/mutants.py generate --seed {seed} --count {count}")
    print("# id\tfile\tline\tkind\toriginal\tmutated")
    for area in areas:
        rng = random.Random(f"{seed}:{area.name}")
        candidates = []
        for path in files[area]:
            for number, text, masked, code_from, scope, ret, start in code_lines(path):
                found = sites(text, masked, code_from, scope, ret, start)
                if found:
                    candidates.append((str(path.relative_to(root)), number, text, found))
        # Each kind in turn has an even chance, then a line that allows it.
        taken, seen = 0, set()
        while taken < quota[area] and candidates:
            kind = rng.choice(sorted({k for c in candidates for k, _ in c[3]}))
            pick = rng.choice([c for c in candidates if any(k == kind for k, _ in c[3])])
            candidates.remove(pick)
            rel, number, text, found = pick
            mutated = rng.choice([m for k, m in found if k == kind])
            ident = mutation_id(rel, text, mutated)
            if ident not in seen:
                seen.add(ident)
                taken += 1
                print("\t".join([ident, rel, str(number), kind, text, mutated]))


def read_list(path):
    rows = []
    for line in Path(path).read_text().split("\n"):
        if line and not line.startswith("#"):
            ident, rel, number, kind, original, mutated = line.split("\t")
            rows.append((ident, rel, int(number), kind, original, mutated))
    return rows


def change(kind, original, mutated):
    if kind == "remove":
        return "removed: " + original.strip()
    if kind == "return":
        return mutated.strip()[:-len(original.strip())].strip() + " before: " + original.strip()
    i = 0
    while i < min(len(original), len(mutated)) and original[i] == mutated[i]:
        i += 1
    j = 0
    while j < min(len(original), len(mutated)) - i and original[-1 - j] == mutated[-1 - j]:
        j += 1
    while i > 0 and not original[i - 1].isspace():
        i -= 1
    a, b = original[i:len(original) - j], mutated[i:len(mutated) - j]
    while j > 0 and not original[len(original) - j].isspace():
        a, b, j = a + original[-j], b + original[-j], j - 1
    return f"{a.strip()} -> {b.strip()}"


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    gen = sub.add_parser("generate")
    gen.add_argument("--seed", type=int, default=19)
    gen.add_argument("--count", type=int, default=100)
    gen.add_argument("--src", default="src")
    show = sub.add_parser("show")
    show.add_argument("list")
    show.add_argument("ids", nargs="*")
    apply = sub.add_parser("apply")
    apply.add_argument("list")
    apply.add_argument("id")
    args = parser.parse_args()
    if args.command == "generate":
        generate(Path(args.src), args.seed, args.count)
        return 0
    rows = read_list(args.list)
    if args.command == "show":
        known = {r[0] for r in rows}
        for ident in args.ids:
            if ident not in known:
                sys.exit(f"mutants.py: no mutation {ident} in {args.list}")
        for ident, rel, number, kind, original, mutated in rows:
            if not args.ids or ident in args.ids:
                print(f"{ident}\t{rel}\t{number}\t{kind}: {change(kind, original, mutated)}")
        return 0
    ident, rel, number, kind, original, mutated = next(r for r in rows if r[0] == args.id)
    path = Path(rel)
    lines = path.read_text().split("\n") if path.exists() else []
    where = [i for i, l in enumerate(lines) if l == original]
    if not where:
        return 3
    at = min(where, key=lambda i: (abs(i + 1 - number), i))
    lines[at] = mutated
    path.write_text("\n".join(lines))
    print(f"{rel}:{at + 1}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
