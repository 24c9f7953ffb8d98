#!/usr/bin/env python3
"""Checks that no #include and no library link points to a higher layer.

Usage: checklayers.py ROOT [TABLE]

Reads the layer table (ROOT/layers.txt by default), resolves every
`#include "..."` of the folders it names the way the build does (beside the
including file, then below engine/, then below the root) and prints one line
per include that reaches a folder of a higher layer. Then does the same for
the links of the libraries that ROOT/CMakeLists.txt makes with
vandermoot_library. Exits 1 if anything points up.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
LIBRARY = re.compile(r'vandermoot_library\(\s*(\w+)\s+"?([^\s";]+)[^\s]*\s+([^)]*)\)')
SOURCE_ENDINGS = ('.h', '.cpp', '.inl')


def read_table(path):
    """Returns [(folder, layer)] with the longest folders first."""
    entries = []
    with open(path, encoding='utf-8') as table:
        for line in table:
            words = line.split('#', 1)[0].split()
            if len(words) >= 2:
                entries.append((words[1].rstrip('/'), int(words[0])))
    return sorted(entries, key=lambda entry: -len(entry[0]))


def layer_of(path, table):
    for folder, layer in table:
        if path == folder or path.startswith(folder + '/'):
            return folder, layer
    return None, None


def resolve(root, including, name):
    for base in (os.path.dirname(including), 'engine', ''):
        candidate = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def sources(root, table):
    for folder, _ in table:
        for directory, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if name.endswith(SOURCE_ENDINGS):
                    yield os.path.relpath(os.path.join(directory, name), root)


def violations(root, table):
    seen = set()
    for path in sources(root, table):
        if path in seen:
            continue
        seen.add(path)
        folder, layer = layer_of(path, table)
        with open(os.path.join(root, path), encoding='utf-8', errors='replace') as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                target = match and resolve(root, path, match.group(1))
                if not target:
                    continue
                target_folder, target_layer = layer_of(target, table)
                if target_layer is not None and target_layer > layer:
                    yield (f'{path}:{number}: includes "{match.group(1)}": '
                           f'{folder} (layer {layer}) may not use {target_folder} (layer {target_layer})')


def library_violations(root, table):
    with open(os.path.join(root, 'CMakeLists.txt'), encoding='utf-8') as cmake:
        libraries = {name: (folder, links.split()) for name, folder, links in LIBRARY.findall(cmake.read())}
    for name, (folder, links) in libraries.items():
        _, layer = layer_of(folder, table)
        for link in links:
            if link in libraries:
                link_folder, link_layer = layer_of(libraries[link][0], table)
                if link_layer is not None and layer is not None and link_layer > layer:
                    yield (f'CMakeLists.txt: library {name} ({folder}, layer {layer}) links {link} '
                           f'({link_folder}, layer {link_layer})')


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    root = argv[1]
    table = read_table(argv[2] if len(argv) == 3 else os.path.join(root, 'layers.txt'))
    found = list(violations(root, table)) + list(library_violations(root, table))
    for line in found:
        print(line)
    print(f'layers: {len(found)} include(s) or link(s) pointing to a higher layer')
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
