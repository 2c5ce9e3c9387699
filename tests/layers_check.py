#!/usr/bin/env python3
# The layers run one way: ui -> history -> game -> ai -> eval. Each file of a
# layer includes only its own layer and the ones below, and nothing below ui
# (the hand history and the engine: game, ai, eval) includes Qt. Prints every
# include that breaks this.
#
# usage: layers_check.py SOURCE_ROOT
import pathlib
import re
import sys

LAYERS = ['eval', 'ai', 'game', 'history', 'ui']  # each above the ones before it
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)

root = pathlib.Path(sys.argv[1]) / 'src'
broken = []
for path in sorted(p for p in root.rglob('*') if p.suffix in ('.h', '.cpp')):
    layer = path.relative_to(root).parts[0]
    for kind, name in INCLUDE.findall(path.read_text(errors='replace')):
        below = name.split('/')[0]
        if layer != 'ui' and name.startswith(('Q', 'qt')):
            broken.append(f'{path.relative_to(root.parent)}: {name}  (Qt in the engine)')
        elif kind == '"' and '/' in name and below in LAYERS and LAYERS.index(below) > LAYERS.index(layer):
            broken.append(f'{path.relative_to(root.parent)}: {name}  ({layer} may not include {below})')
print('\n'.join(broken + [f'{len(broken)} includes against the layers']))
sys.exit(1 if broken else 0)
