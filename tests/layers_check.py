#!/usr/bin/env python3
"""The layers run one way: ui -> history -> game -> ai -> eval. Each file of a
layer includes only its own layer and the ones below, and nothing below ui
(the hand history and the engine: game, ai, eval) includes Qt. Prints every
include that breaks this.

usage: layers_check.py SOURCE_ROOT"""
import pathlib
import re
import sys

ALLOWED = {
    'eval': {'eval'},
    'ai': {'ai', 'eval'},
    'game': {'game', 'ai', 'eval'},
    'history': {'history', 'game', 'ai', 'eval'},
    'ui': {'ui', 'history', 'game', 'ai', 'eval'},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')

root = pathlib.Path(sys.argv[1]) / 'src'
broken = []
for path in sorted(root.rglob('*')):
    if path.suffix not in ('.h', '.cpp'):
        continue
    layer = path.relative_to(root).parts[0]
    for number, line in enumerate(path.read_text(errors='replace').splitlines(), 1):
        m = INCLUDE.match(line)
        if not m:
            continue
        kind, name = m.groups()
        where = f'{path.relative_to(root.parent)}:{number}: {line.strip()}'
        if layer != 'ui' and (name.startswith('Q') or name.startswith('qt')):
            broken.append(f'{where}  (Qt in the engine)')
        elif kind == '"' and '/' in name and name.split('/')[0] in ALLOWED:
            if name.split('/')[0] not in ALLOWED[layer]:
                broken.append(f'{where}  ({layer} may not include {name.split("/")[0]})')
for b in broken:
    print(b)
print(f'{len(broken)} includes against the layers')
sys.exit(1 if broken else 0)
