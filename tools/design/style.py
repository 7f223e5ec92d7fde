"""The design's palette, fonts and drawing tools: the pen that draws
pictograms on a 100 x 100 grid, oversampled, with rounded strokes."""

import math
import os

from PIL import Image, ImageDraw, ImageFont
import unicodedata

FONT_DIR = '/usr/share/fonts/truetype/dejavu'
SS = 4                 # oversampling factor for shapes
JPEG_QUALITY = 88

# ---------------------------------------------------------------- palette
WHITE = (255, 255, 255)
NAVY = (31, 58, 104)          # ink of pictograms and titles
NAVY_DEEP = (22, 44, 82)      # selected category button
BLUE = (52, 114, 196)         # highlighted program card, top
BLUE_LOW = (34, 84, 160)      # highlighted program card, bottom
SKY_TOP = (236, 244, 255)     # hovered category button
SKY_LOW = (205, 225, 250)
SKY_EDGE = (98, 147, 214)
PALE = (225, 234, 246)        # pictogram discs
CARD = (246, 249, 253)        # normal program card
EDGE = (203, 216, 233)        # thin borders
SIDEBAR = (231, 238, 247)     # menu column behind the buttons
AMBER = (226, 152, 40)        # warm accent
AMBER_DARK = (186, 112, 14)
WARM_TOP = (255, 244, 228)    # hovered quit button
WARM_LOW = (251, 222, 182)
MUTED = (84, 110, 148)        # secondary text
FAINT = (214, 226, 241)       # decorative staff lines
FAINT_INK = (188, 207, 232)

# The launcher's version, drawn on the background and the versions pictogram;
# make_assets.py sets it from the launcher's exported catalogue.
VERSION = ''

def fold(text):
    """Lower case without accents, for keyword matching."""
    text = unicodedata.normalize('NFD', text.lower())
    return ''.join(c for c in text if not unicodedata.combining(c))


# ---------------------------------------------------------------- fonts
_fonts = {}


def font(size, bold=False, condensed=False):
    name = 'DejaVuSans'
    if condensed:
        name += 'Condensed'
    if bold:
        name += '-Bold'
    key = (name, size)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(os.path.join(FONT_DIR, name + '.ttf'), size)
    return _fonts[key]


# ---------------------------------------------------------------- drawing helpers
def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def gradient(size, top, bottom):
    w, h = size
    col = Image.new('RGB', (1, h))
    for y in range(h):
        col.putpixel((0, y), lerp(top, bottom, y / max(1, h - 1)))
    return col.resize((w, h))


def rrect_fill(img, box, radius, fill, outline=None, width=0):
    """Rounded rectangle; fill may be a colour or a (top, bottom) gradient."""
    x0, y0, x1, y1 = [round(v) for v in box]
    mask = Image.new('L', img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle((x0, y0, x1, y1), radius, fill=255)
    if isinstance(fill[0], tuple):
        layer = Image.new('RGB', img.size)
        layer.paste(gradient((x1 - x0 + 1, y1 - y0 + 1), *fill), (x0, y0))
        img.paste(layer, (0, 0), mask)
    else:
        img.paste(fill, (0, 0) + img.size, mask)
    if outline is not None and width:
        ImageDraw.Draw(img).rounded_rectangle((x0, y0, x1, y1), radius, outline=outline, width=width)


def catmull_rom(points, steps=12):
    pts = [points[0]] + list(points) + [points[-1]]
    out = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        for s in range(steps):
            t = s / steps
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * (2 * p1[k] + (-p0[k] + p2[k]) * t
                       + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t2
                       + (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t3)
                for k in range(2)))
    out.append(points[-1])
    return out


class Pen:
    """Draws in a 100 x 100 unit box placed at (x, y) with side `side`
    (output pixels) on an image oversampled by SS."""

    def __init__(self, img, x, y, side, ink=NAVY, accent=AMBER, paper=WHITE,
                 ground=PALE, weight=1.0):
        self.img = img
        self.d = ImageDraw.Draw(img)
        self.x, self.y, self.k = x, y, side / 100.0
        self.ink, self.accent, self.paper, self.ground = ink, accent, paper, ground
        self.weight = weight

    def pt(self, x, y):
        return ((self.x + x * self.k) * SS, (self.y + y * self.k) * SS)

    def pts(self, seq):
        return [self.pt(x, y) for x, y in seq]

    def w(self, units):
        return max(SS, round(units * self.k * SS * self.weight))

    def box(self, x0, y0, x1, y1):
        a, b = self.pt(x0, y0), self.pt(x1, y1)
        return (a[0], a[1], b[0], b[1])

    # primitives, all in units
    def line(self, seq, width, color=None, caps=True):
        color = color or self.ink
        p = self.pts(seq)
        wpx = self.w(width)
        self.d.line(p, fill=color, width=wpx, joint='curve')
        if caps:
            r = wpx / 2.0
            for (cx, cy) in (p[0], p[-1]):
                self.d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=color)

    def curve(self, seq, width, color=None):
        self.line(catmull_rom(seq), width, color)

    def brush(self, seq, wmin, wmax, color=None):
        """Spline through seq drawn with a broad nib: thick where the stroke
        runs up or down, thin where it runs across."""
        color = color or self.ink
        pts = catmull_rom(seq, 16)
        step = max(0.05, wmin * 0.2)
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            dx, dy = x1 - x0, y1 - y0
            length = math.hypot(dx, dy)
            if not length:
                continue
            r = (wmin + (wmax - wmin) * abs(dy) / length) / 2
            n = max(1, math.ceil(length / step))
            for k in range(n):
                t = k / n
                self.circle(x0 + dx * t, y0 + dy * t, r, fill=color)

    def poly(self, seq, fill=None, outline=None, width=0):
        self.d.polygon(self.pts(seq), fill=fill)
        if outline:
            self.line(list(seq) + [seq[0], seq[1]], width, outline, caps=False)

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=0, r=0):
        b = self.box(x0, y0, x1, y1)
        if r:
            self.d.rounded_rectangle(b, r * self.k * SS, fill=fill,
                                     outline=outline, width=self.w(width) if outline else 0)
        else:
            self.d.rectangle(b, fill=fill, outline=outline,
                             width=self.w(width) if outline else 0)

    def circle(self, cx, cy, r, fill=None, outline=None, width=0):
        self.d.ellipse(self.box(cx - r, cy - r, cx + r, cy + r), fill=fill,
                       outline=outline, width=self.w(width) if outline else 0)

    def oval(self, cx, cy, rx, ry, angle=0, fill=None):
        a = math.radians(angle)
        seq = []
        for i in range(48):
            t = 2 * math.pi * i / 48
            x, y = rx * math.cos(t), ry * math.sin(t)
            seq.append((cx + x * math.cos(a) - y * math.sin(a),
                        cy + x * math.sin(a) + y * math.cos(a)))
        self.d.polygon(self.pts(seq), fill=fill or self.ink)

    def arc(self, cx, cy, r, start, end, width, color=None):
        self.d.arc(self.box(cx - r, cy - r, cx + r, cy + r), start, end,
                   fill=color or self.ink, width=self.w(width))

    def text(self, cx, cy, s, size, color=None, bold=True):
        f = font(max(4, round(size * self.k * SS)), bold)
        self.d.text(self.pt(cx, cy), s, font=f, fill=color or self.ink, anchor='mm')

    # musical bits
    def note(self, x, y, stem=30, color=None, flag=False, head=9):
        """Note head centred at (x, y), stem up on the right."""
        c = color or self.ink
        self.oval(x, y, head, head * 0.7, -22, c)
        sx = x + head * 0.86
        self.line([(sx, y - 2), (sx, y - stem)], 3.6, c, caps=False)
        if flag:
            self.curve([(sx, y - stem), (sx + 8, y - stem + 9), (sx + 10, y - stem + 18),
                        (sx + 6, y - stem + 24)], 3.4, c)

    def staff(self, x0, x1, y0, gap, width=2.2, color=None):
        for i in range(5):
            self.line([(x0, y0 + i * gap), (x1, y0 + i * gap)], width, color, caps=False)


class Scaled:
    """A Pen seen through a zoom about (cx, cy): lets one pictogram be
    drawn larger without rewriting its coordinates."""

    def __init__(self, pen, f, cx, cy):
        self._pen, self._f, self._c = pen, f, (cx, cy)
        self.ink, self.accent, self.paper = pen.ink, pen.accent, pen.paper

    def _t(self, seq):
        cx, cy = self._c
        return [(cx + (x - cx) * self._f, cy + (y - cy) * self._f) for x, y in seq]

    def poly(self, seq, **kw):
        self._pen.poly(self._t(seq), **kw)

    def line(self, seq, width, color=None, caps=True):
        self._pen.line(self._t(seq), width * self._f, color, caps)

    def circle(self, x, y, r, **kw):
        (x, y), = self._t([(x, y)])
        self._pen.circle(x, y, r * self._f, **kw)
