#!/usr/bin/env python3
"""Builds the end-to-end tests' game bases from the real games of the shared
test data, so that the repository holds only how each base is made.

Usage: make_bases.py TESTDATA OUT_DIR RECIPE...

A recipe names the bases it makes and what each holds, line by line:
  output NAME               the base written next, into OUT_DIR/NAME
  text [LINE]               the line as written, with a line end
  game FILE N [OPTION...]   the Nth game (from 1) of TESTDATA/FILE, where a
                            game begins at a line starting with '[Event '
                            and runs to the next one
Options of a game: NAME=VALUE adds the tag [NAME "VALUE"] after the game's
last tag line; 'lf' turns its CR LF line ends into LF, 'crlf' its LF line
ends into CR LF; 'last' drops the empty line that ends it (the end of a file). Lines starting with '#' are comments.
Exits with 0 and prints "SKIPPED:" when a file of the test data is absent.
"""
import os
import re
import sys


def games_of(path, cache={}):
    if path not in cache:
        with open(path, 'rb') as f:
            text = f.read()
        starts = [m.start() for m in re.finditer(rb'(?m)^\[Event ', text)]
        cache[path] = [text[a:b] for a, b in zip(starts, starts[1:] + [len(text)])]
    return cache[path]


def game(testdata, file, number, options):
    path = os.path.join(testdata, file)
    if not os.path.exists(path):
        print(f'SKIPPED: {path} is absent')
        sys.exit(0)
    text = games_of(path)[number - 1]
    if 'lf' in options:
        text = text.replace(b'\r\n', b'\n')
    if 'crlf' in options:
        text = text.replace(b'\r\n', b'\n').replace(b'\n', b'\r\n')
    if 'last' in options:
        end = b'\r\n' if text.endswith(b'\r\n\r\n') else b'\n'
        if text.endswith(end * 2):
            text = text[:-len(end)]
    added = [o.split('=', 1) for o in options if '=' in o]
    if added:
        lines = text.splitlines(keepends=True)
        last_tag = max(i for i, line in enumerate(lines) if line.startswith(b'['))
        end = b'\r\n' if lines[last_tag].endswith(b'\r\n') else b'\n'
        new = [f'[{name} "{value}"]'.encode() + end for name, value in added]
        lines[last_tag + 1:last_tag + 1] = new
        text = b''.join(lines)
    return text


def main():
    testdata, out_dir, recipes = sys.argv[1], sys.argv[2], sys.argv[3:]
    bases = {}
    name = None
    for recipe in recipes:
        with open(recipe, encoding='utf-8') as f:
            for line in f:
                line = line.rstrip('\n')
                if not line or line.startswith('#'):
                    continue
                verb, _, rest = line.partition(' ')
                if verb == 'output':
                    name = rest
                    bases[name] = b''
                elif verb == 'text':
                    bases[name] += rest.encode('latin-1') + b'\n'
                elif verb == 'game':
                    file, number, *options = rest.split()
                    bases[name] += game(testdata, file, int(number), options)
                else:
                    sys.exit(f'{recipe}: cannot read "{line}"')
    for name, text in bases.items():
        path = os.path.join(out_dir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(text)
        print(f'{path}: {len(text)} bytes')


main()
