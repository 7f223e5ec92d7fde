#!/usr/bin/python3
"""Draw the launcher window's design assets.

usage: tools/make_assets.py [IMAGES_JSON] [--out DIR]

IMAGES_JSON (default build/native/images.json) is the list of pictures the
window needs, written by the native build: a JSON array of objects
  {"name", "width", "height", "role", "look", "title", "group"}
with role program | category | quit | background | decoration.
Every listed picture is written to DIR (default assets/) as <name>.jpg;
JPEG files of DIR that the list no longer names are removed.  The program
icon (cantarel.ico, 32 x 32, 16 colours) and the hand cursor (hand.cur,
32 x 32 monochrome, hot spot 11,6) are written on every run as well.

The version drawn on the pictures is the launcher's, from the catalogue
export the native build writes beside the list (catalogue.json).

Everything is drawn from code (shapes 4x oversampled, text with DejaVu
Sans), so the same input and the same Pillow give the same bytes. The
drawing lives in tools/design/: style.py (palette, fonts, the pen),
pictograms.py, pictures.py (cards, buttons, background, decoration) and
icons.py (icon and cursor); this script reads the list and writes the files.
Needs Debian's python3-pil and fonts-dejavu-core.
"""

import argparse
import json
import os
import sys

from design import style
from design.icons import cur_bytes, icon_image, ico_bytes, read_back
from design.pictograms import CATEGORY_PICTO, CATEGORY_TITLES, TITLES, choose_pictogram
from design.pictures import background_picture, decoration_picture, menu_button, program_picture

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
JPEG_QUALITY = style.JPEG_QUALITY
EXPECTED_SIZE = {
    'program': (173, 166), 'quit': (217, 42), 'background': (970, 550),
    'decoration': (300, 110),
}


# ---------------------------------------------------------------- driver
def strip_name(name, endings):
    base = name[len('Picture_'):] if name.startswith('Picture_') else name
    for e in endings:
        if base.endswith(e):
            return base[:-len(e)]
    return base


def render(item):
    role, look = item['role'], item.get('look', '')
    w, h = int(item['width']), int(item['height'])
    title = item.get('title') or ''
    group = item.get('group') or ''
    name = item['name']
    if role == 'program':
        suffix = strip_name(name, ('_blanc', '_bleu'))
        if not title:
            title = TITLES.get(suffix)
            if title is None:
                title = suffix.replace('_', ' ').capitalize()
                warn(f'{name}: no title known, using "{title}"')
        return program_picture(w, h, look, title, choose_pictogram(suffix, title, group))
    if role == 'category':
        if group not in CATEGORY_TITLES:
            raise SystemExit(f'{name}: unknown category group "{group}"')
        return menu_button(w, h, look, CATEGORY_TITLES[group], CATEGORY_PICTO[group])
    if role == 'quit':
        return menu_button(w, h, look, title or 'Quitter', CATEGORY_PICTO['quitter'], warm=True)
    if role == 'background':
        return background_picture(w, h)
    if role == 'decoration':
        return decoration_picture(w, h)
    raise SystemExit(f'{name}: unknown role "{role}"')


def warn(msg):
    print('make_assets: ' + msg, file=sys.stderr)


def check(item):
    for key in ('name', 'width', 'height', 'role'):
        if key not in item:
            raise SystemExit(f'entry without "{key}": {item!r}')
    role = item['role']
    size = (int(item['width']), int(item['height']))
    want = EXPECTED_SIZE.get(role)
    if role == 'category':
        want = (218 if item.get('group') == 'lecture' else 217, 42)
    if want and size != want:
        warn(f'{item["name"]}: {size[0]}x{size[1]} listed, {want[0]}x{want[1]} expected; drawing the listed size')
    looks = {'program': ('normal', 'highlight'), 'category': ('light', 'hover', 'dark'),
             'quit': ('light', 'hover')}
    if role in looks and item.get('look') not in looks[role]:
        raise SystemExit(f'{item["name"]}: look "{item.get("look")}" is not one of {looks[role]}')
    if not item['name'] or '/' in item['name'] or '\\' in item['name']:
        raise SystemExit(f'bad picture name {item["name"]!r}')


def save_jpeg(img, path):
    img.save(path, 'JPEG', quality=JPEG_QUALITY, optimize=True, subsampling=0)


def write_if_changed(path, data):
    if os.path.exists(path):
        with open(path, 'rb') as fh:
            if fh.read() == data:
                return
    with open(path, 'wb') as fh:
        fh.write(data)


def main(argv=None):
    ap = argparse.ArgumentParser(description='Draw the launcher window pictures, icon and cursor.')
    ap.add_argument('images', nargs='?', default=os.path.join(ROOT, 'build', 'native', 'images.json'),
                    help='list of pictures (default: build/native/images.json)')
    ap.add_argument('--out', default=os.path.join(ROOT, 'assets'),
                    help='output folder (default: assets/)')
    args = ap.parse_args(argv)

    try:
        with open(args.images, encoding='utf-8') as fh:
            items = json.load(fh)
    except (OSError, ValueError) as e:
        raise SystemExit(f'make_assets: cannot read the picture list: {e}')
    if not isinstance(items, list):
        raise SystemExit(f'{args.images}: expected a JSON array')
    names = set()
    for item in items:
        check(item)
        if item['name'] in names:
            raise SystemExit(f'{item["name"]}: listed twice')
        names.add(item['name'])

    export = os.path.join(os.path.dirname(os.path.abspath(args.images)), 'catalogue.json')
    try:
        with open(export, encoding='utf-8') as fh:
            style.VERSION = json.load(fh)['version']
    except (OSError, ValueError, KeyError) as e:
        raise SystemExit(f'make_assets: cannot read the launcher\'s version from {export}: {e}')

    os.makedirs(args.out, exist_ok=True)
    total = 0
    for item in items:
        path = os.path.join(args.out, item['name'] + '.jpg')
        img = render(item)
        assert img.size == (int(item['width']), int(item['height']))
        save_jpeg(img, path)
        total += os.path.getsize(path)

    wanted = {n + '.jpg' for n in names}
    for entry in sorted(os.listdir(args.out)):
        if entry.lower().endswith('.jpg') and entry not in wanted:
            os.remove(os.path.join(args.out, entry))
            print('removed stale ' + entry)

    ico, cur = ico_bytes(icon_image()), cur_bytes()
    read_back(ico, 'ico')
    read_back(cur, 'cur')
    write_if_changed(os.path.join(args.out, 'cantarel.ico'), ico)
    write_if_changed(os.path.join(args.out, 'hand.cur'), cur)
    print(f'{len(items)} pictures, {total / 1024:.0f} KiB, in {args.out}')


if __name__ == '__main__':
    main()

