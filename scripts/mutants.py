#!/usr/bin/env python3
"""Writes realistic slips for C++ sources in scripts/mutate.sh's format.

    scripts/mutants.py [--per-lines N] [--seed S] [--all] <source file>...

A slip is what a tired developer types: a comparison flipped on its boundary
(< <=, > >=, == !=), an integer in a condition off by one, && and || swapped,
a ! dropped, + and - swapped, true and false swapped in a return, or a step
(a call or an assignment on its own line) removed. Comments, strings,
includes, asserts and lines that only log are left alone: a slip there
changes nothing a player meets.

Every candidate of a file is listed; unless --all is given a fixed, seeded
sample of about one slip per N lines (default 40) of the file is written, so
the same command gives the same slips. A "|" in a slip's text is written as
\\174 and a backslash as \\\\, which mutate.sh's awk reads back.
"""
import argparse
import random
import re
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


def escape(text):
    return text.replace('\\', '\\\\').replace('|', '\\174')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--per-lines', type=int, default=40)
    parser.add_argument('--seed', type=int, default=62)
    parser.add_argument('--all', action='store_true')
    parser.add_argument('files', nargs='+')
    args = parser.parse_args()
    for path in args.files:
        with open(path, encoding='utf-8') as f:
            text = f.read()
        found = []
        for n, line, m in code_lines(text):
            found.extend(candidates(n, line, m))
        lines = text.count('\n') + 1
        count = len(found) if args.all else min(len(found), max(1, round(lines / args.per_lines)))
        chosen = sorted(random.Random(f'{args.seed}:{path}').sample(found, count)) if found else []
        print(f'# {path}: {lines} lines, {len(found)} candidates, {len(chosen)} sampled')
        for n, text_, repl, kind in chosen:
            print(f'{n}|{escape(text_)}|{escape(repl)}')


if __name__ == '__main__':
    sys.exit(main())
