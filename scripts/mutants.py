#!/usr/bin/env python3
"""Writes realistic slips for C++ sources in scripts/mutate.sh's format.

    scripts/mutants.py [--per-lines N] [--min-per-file M] [--seed S] [--kinds K,...] [--all]
                       <source file>...
    scripts/mutants.py --diff BASE[..TIP] [--per-lines N] [--seed S] [--kinds K,...] [--all]

A slip is what a tired developer types: a comparison flipped on its boundary
(< <=, > >=, == !=), an integer in a condition off by one, && and || swapped,
a ! dropped, + and - swapped, true and false swapped in a return, or a step
(a call or an assignment on its own line) removed; and, of the kinds a column,
line or constant slip takes, any integer one more or one less ("integer"),
two neighbouring arguments or braced values swapped ("swap"), and an early
return removed ("drop-return"). Comments, strings, includes, asserts and
lines that only log are left alone: a slip there changes nothing a player
meets.

Every candidate of a file is listed; unless --all is given a fixed, seeded
sample of about one slip per N lines (default 40) of the file is written, so
the same command gives the same slips. With --min-per-file M the sample holds
at least one slip per N lines (rounded up) and at least M in every file that
has that many candidates, so every file is reached. --kinds keeps only the
kinds named; with the kinds of an older sample and its seed, the same slips
come back. A "|" in a slip's text is written as \\174 and a backslash as
\\\\, which mutate.sh's awk reads back.

With --diff only the lines that a change added or altered in src/ are slipped:
BASE alone takes the change from BASE to the work tree, BASE..TIP the
commits between (check TIP out first: the slips are applied to the work
tree's files). The sample is about one slip per N touched lines of a file
(at least one per touched file), of every kind unless --kinds says, and each
file's slips are headed "@ <file> tests_<area>" for scripts/mutation_pass.sh,
so each slip is judged by its own area's test program.
"""
import argparse
import os
import random
import re
import subprocess
import sys

LOGGING = re.compile(r'\b(Log[A-Z]\w*|Print\w*|SleepLogged|static_assert|assert|TR_ASSERT\w*)\s*\(')
KEYWORDS = {'return', 'if', 'for', 'while', 'else', 'case', 'do', 'switch', 'delete', 'throw', 'goto',
            'break', 'continue', 'default'}


def mask(code):
    """Blanks string and char literals so operators inside them are never picked."""
    out, i, quote = [], 0, None
    while i < len(code):
        c = code[i]
        if quote:
            if c == '\\':
                out.append('  ')
                i += 2
                continue
            if c == quote:
                quote = None
            out.append(' ' if c != '"' and c != "'" else c)
        else:
            if c in '"\'' and not (c == "'" and i > 0 and code[i - 1].isalnum()):
                quote = c
            out.append(c)
        i += 1
    return ''.join(out)


def code_lines(text):
    """Yields (line number, line, masked code part) for lines that may take a slip."""
    in_block = False
    log_depth = 0
    for n, line in enumerate(text.split('\n'), 1):
        code = line
        if in_block:
            end = code.find('*/')
            if end < 0:
                continue
            code = ' ' * (end + 2) + code[end + 2:]
            in_block = False
        m = mask(code)
        start = m.find('/*')
        if start >= 0 and m.find('*/', start) < 0:
            in_block = True
            m = m[:start]
        m = re.sub(r'/\*.*?\*/', lambda g: ' ' * len(g.group(0)), m)
        c = m.find('//')
        if c >= 0:
            m = m[:c]
        if not m.strip() or m.lstrip().startswith('#'):
            continue
        depth = m.count('(') - m.count(')')
        if log_depth > 0:
            log_depth += depth
            continue
        if LOGGING.search(m):
            if depth > 0:
                log_depth = depth
            continue
        if 'constexpr const char' in m or 'kThisFile' in m:
            continue
        yield n, line, m


def unique_window(line, start, end):
    """The shortest text around [start, end) whose first place on the line is start."""
    left, right = start, end
    while line.find(line[left:right]) != left:
        if right < len(line):
            right += 1
        else:
            left -= 1
    return left, right


def slip(n, line, start, end, new, kind):
    left, right = unique_window(line, start, end)
    text = line[left:right]
    repl = line[left:start] + new + line[end:right]
    return (n, text, repl, kind)


def candidates(n, line, m):
    out = []
    is_condition = bool(re.search(r'\b(if|while|for|return)\b|\?', m))
    flips = {'<=': '<', '>=': '>', '<': '<=', '>': '>=', '==': '!=', '!=': '=='}
    for g in re.finditer(r' (<=|>=|==|!=|<|>) ', m):
        op = g.group(1)
        out.append(slip(n, line, g.start(1), g.end(1), flips[op], 'compare'))
    if is_condition:
        for g in re.finditer(r'(?:(?:<=|>=|==|!=|<|>) )(-?\d+)\b(?![.\dfx])', m):
            value = int(g.group(1))
            out.append(slip(n, line, g.start(1), g.end(1), str(value + 1), 'off-by-one'))
        for g in re.finditer(r'(?<![\w.])(-?\d+) (?:<=|>=|==|!=|<|>) ', m):
            value = int(g.group(1))
            out.append(slip(n, line, g.start(1), g.end(1), str(value + 1), 'off-by-one'))
    for g in re.finditer(r' (&&|\|\|) ', m):
        out.append(slip(n, line, g.start(1), g.end(1), '||' if g.group(1) == '&&' else '&&', 'logic'))
    for g in re.finditer(r'!(?=[\w(*])', m):
        out.append(slip(n, line, g.start(), g.end(), '', 'drop-not'))
    for g in re.finditer(r'(?<=[\w)\]]) ([+-])=? (?=[\w(])', m):
        op = g.group(1)
        out.append(slip(n, line, g.start(1), g.end(1), '-' if op == '+' else '+', 'sign'))
    for g in re.finditer(r'\breturn (true|false);', m):
        out.append(slip(n, line, g.start(1), g.end(1), 'false' if g.group(1) == 'true' else 'true', 'bool'))
    stmt = m.strip()
    first = re.match(r'[A-Za-z_]\w*', stmt)
    balanced = stmt.count('(') == stmt.count(')') and stmt.count('{') == stmt.count('}')
    if stmt.endswith(';') and balanced and first and first.group(0) not in KEYWORDS and '{' not in stmt:
        is_call = re.match(r'[\w:.\->\[\]*]+\(.*\);$', stmt)
        is_assign = re.match(r'[\w.\->\[\]*]+ (=|\+=|-=|\*=|/=|\|=|&=) .*;$', stmt)
        is_step = re.match(r'[\w.\->\[\]*]+(\+\+|--);$', stmt)
        if is_call or is_assign or is_step:
            start = line.find(stmt[0], len(line) - len(line.lstrip()))
            out.append((n, line[start:len(line.rstrip())], ';', 'remove-step'))
    return out


INTEGER = re.compile(r"(?<![\w.'])(\d+)([uUlL]*)(?![\w.'])")
DECLARATION = re.compile(r'^(const\s+)?[\w:<>]+[\s&*]+[\w]+$')


def integer_slips(n, line, m):
    """Every integer literal one more and one less: a column, a line of the
    constants, a size or a limit off by one."""
    out = []
    for g in INTEGER.finditer(m):
        digits = g.group(1)
        if len(digits) > 1 and digits.startswith('0'):
            continue  # octal, and never a column
        value = int(digits)
        for new in (value + 1, value - 1):
            if new >= 0:
                out.append(slip(n, line, g.start(1), g.end(1), str(new), 'integer'))
    return out


def top_level_items(m, open_at):
    """The comma-separated items of the bracket that opens at open_at, as
    (start, end) spans without their outer blanks, or None when it closes on
    another line."""
    pairs = {'(': ')', '{': '}', '[': ']'}
    stack, items, start = [m[open_at]], [], open_at + 1
    for i in range(open_at + 1, len(m)):
        c = m[i]
        if c in pairs:
            stack.append(c)
        elif c in ')}]':
            stack.pop()
            if not stack:
                items.append((start, i))
                break
        elif c == ',' and len(stack) == 1:
            items.append((start, i))
            start = i + 1
    else:
        return None
    spans = []
    for a, b in items:
        text = m[a:b]
        lead = len(text) - len(text.lstrip())
        spans.append((a + lead, a + len(text.rstrip())))
    return spans


def swap_slips(n, line, m):
    """Two neighbouring arguments of a call or values of a braced list swapped."""
    out = []
    for g in re.finditer(r'[({]', m):
        spans = top_level_items(m, g.start())
        if not spans or len(spans) < 2:
            continue
        for (a1, b1), (a2, b2) in zip(spans, spans[1:]):
            first, second = line[a1:b1], line[a2:b2]
            if not first or not second or first == second:
                continue
            # A text swapped with a value never builds.
            if ('"' in m[a1:b1]) != ('"' in m[a2:b2]):
                continue
            # Parameters of a declaration are not values.
            if DECLARATION.match(m[a1:b1]) or DECLARATION.match(m[a2:b2]):
                continue
            swapped = second + line[b1:a2] + first
            out.append(slip(n, line, a1, b2, swapped, 'swap'))
    return out


def early_return_slips(rows):
    """An early return taken out: "if (...) return ...;" on one line, or the
    return alone in an if's or a loop's block that the function goes on after."""
    out = []
    for i, (n, line, m) in enumerate(rows):
        stmt = m.strip()
        if re.match(r'if \(.*\) return\b[^;]*;$', stmt) and stmt.count('(') == stmt.count(')'):
            start = line.find(stmt[0], len(line) - len(line.lstrip()))
            out.append((n, line[start:len(line.rstrip())], ';', 'drop-return'))
            continue
        if not re.match(r'return\b[^;]*;$', stmt) or i == 0 or i + 1 >= len(rows):
            continue
        before = rows[i - 1][2].strip()
        after = rows[i + 1][2].strip()
        if after == '}' and re.match(r'(\} )?(else )?(if|for|while)\b.*\{$|(\} )?else \{$', before):
            start = line.find(stmt[0], len(line) - len(line.lstrip()))
            out.append((n, line[start:len(line.rstrip())], ';', 'drop-return'))
    return out


def escape(text):
    return text.replace('\\', '\\\\').replace('|', '\\174')


KINDS = ('compare', 'off-by-one', 'logic', 'drop-not', 'sign', 'bool', 'remove-step', 'integer', 'swap',
         'drop-return')


def all_slips(text, kinds):
    rows = list(code_lines(text))
    found = []
    for n, line, m in rows:
        found.extend(candidates(n, line, m))
        found.extend(integer_slips(n, line, m))
        found.extend(swap_slips(n, line, m))
    found.extend(early_return_slips(rows))
    # A new kind's slip that an older kind already makes is left out; the older
    # kinds' list stays exactly as it was, so their old samples come back.
    seen, out = set(), []
    for s in found:
        if s[3] in kinds and s[1] != s[2] and (s[3] in KINDS[:7] or s[:3] not in seen):
            seen.add(s[:3])
            out.append(s)
    # One order for every run, whatever order the kinds were found in.
    return sorted(out, key=lambda s: (s[0], KINDS.index(s[3])))


def touched_lines(spec):
    """{src file: set of line numbers} that the change spec added or altered."""
    base, _, tip = spec.partition('..')
    revs = [base, tip] if tip else [base]
    top = subprocess.run(['git', 'rev-parse', '--show-toplevel'], capture_output=True, text=True,
                         check=True).stdout.strip()
    diff = subprocess.run(['git', '-C', top, 'diff', '-U0', '--no-color', '--no-renames', *revs, '--',
                           'src'], capture_output=True, text=True, check=True).stdout
    touched, path = {}, None
    for row in diff.split('\n'):
        if row.startswith('+++ '):
            name = row[4:]
            path = name[2:] if name.startswith('b/') and name.endswith(('.cpp', '.h', '.hpp')) else None
            if path:
                touched.setdefault(path, set())
        elif row.startswith('@@') and path:
            g = re.match(r'@@ -\S+ \+(\d+)(?:,(\d+))? @@', row)
            first, count = int(g.group(1)), int(g.group(2) or 1)
            touched[path].update(range(first, first + count))
    return top, {p: lines for p, lines in touched.items() if lines}


def main_diff(args, kinds):
    top, touched = touched_lines(args.diff)
    for path in sorted(touched):
        with open(os.path.join(top, path), encoding='utf-8') as f:
            text = f.read()
        lines = touched[path]
        found = [s for s in all_slips(text, kinds) if s[0] in lines]
        wanted = max(1, -(-len(lines) // args.per_lines))
        count = len(found) if args.all else min(len(found), wanted)
        chosen = sorted(random.Random(f'{args.seed}:{path}').sample(found, count)) if found else []
        area = path.split('/')[1]
        print(f'# {path}: {len(lines)} lines touched, {len(found)} candidates, {len(chosen)} sampled')
        if chosen:
            print(f'@ {path} tests_{area}')
        for n, text_, repl, kind in chosen:
            print(f'{n}|{escape(text_)}|{escape(repl)}')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--per-lines', type=int, default=40)
    parser.add_argument('--min-per-file', type=int, default=None,
                        help='at least this many slips in every file, and one per N lines rounded up')
    parser.add_argument('--seed', type=int, default=62)
    parser.add_argument('--kinds', default=','.join(KINDS), help='the kinds to make, joined by commas')
    parser.add_argument('--all', action='store_true')
    parser.add_argument('--diff', metavar='BASE[..TIP]',
                        help='slip only the src/ lines this change added or altered')
    parser.add_argument('files', nargs='*')
    args = parser.parse_args()
    kinds = set(args.kinds.split(','))
    unknown = kinds - set(KINDS)
    if unknown:
        parser.error(f'unknown kinds {sorted(unknown)}; known: {",".join(KINDS)}')
    if args.diff:
        if args.files:
            parser.error('--diff takes no files: the change names them')
        return main_diff(args, kinds)
    if not args.files:
        parser.error('name the source files, or give --diff')
    for path in args.files:
        with open(path, encoding='utf-8') as f:
            text = f.read()
        found = all_slips(text, kinds)
        lines = text.count('\n') + 1
        if args.min_per_file is None:
            wanted = max(1, round(lines / args.per_lines))
        else:
            wanted = max(args.min_per_file, -(-lines // args.per_lines))
        count = len(found) if args.all else min(len(found), wanted)
        chosen = sorted(random.Random(f'{args.seed}:{path}').sample(found, count)) if found else []
        print(f'# {path}: {lines} lines, {len(found)} candidates, {len(chosen)} sampled')
        for n, text_, repl, kind in chosen:
            print(f'{n}|{escape(text_)}|{escape(repl)}')


if __name__ == '__main__':
    sys.exit(main())
