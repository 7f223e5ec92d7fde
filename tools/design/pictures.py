"""The pictures themselves: program cards, menu buttons, the window's
background and the panels' decoration."""

from PIL import Image, ImageDraw

from design import style
from design.pictograms import *  # noqa: F401,F403
from design.style import *  # noqa: F401,F403

# ---------------------------------------------------------------- text layout
def split_two(text, f, max_width):
    """Best break of text into two lines that fit, or None."""
    words = text.split()
    best = None
    for i in range(1, len(words)):
        a, b = ' '.join(words[:i]), ' '.join(words[i:])
        wa, wb = f.getlength(a), f.getlength(b)
        if wa <= max_width and wb <= max_width:
            if best is None or max(wa, wb) < best[0]:
                best = (max(wa, wb), [a, b])
    return best[1] if best else None


def fit_lines(text, max_width, sizes, bold=True, two_lines=True):
    """Keep the largest size: one line if it fits, else two lines at the
    same size; only then go smaller, and last of all condensed.
    Returns (font, lines)."""
    for condensed in (False, True):
        for size in sizes:
            f = font(size, bold, condensed)
            if f.getlength(text) <= max_width:
                return f, [text]
            lines = split_two(text, f, max_width) if two_lines else None
            if lines:
                return f, lines
    return font(sizes[-1], bold, True), [text]


def draw_lines(draw, cx, cy, f, lines, fill, gap=3):
    asc, desc = f.getmetrics()
    lh = asc + desc
    total = lh * len(lines) + gap * (len(lines) - 1)
    y = cy - total / 2
    for line in lines:
        draw.text((cx, round(y)), line, font=f, fill=fill, anchor='ma')
        y += lh + gap


# ---------------------------------------------------------------- pictures
def program_picture(w, h, look, title, picto):
    hi = look == 'highlight'
    big = Image.new('RGB', (w * SS, h * SS), WHITE)
    box = (3 * SS, 3 * SS, (w - 4) * SS, (h - 4) * SS)
    if hi:
        # soft shadow so the lit card seems to lift a little
        shadow = (3 * SS, 5 * SS, (w - 4) * SS, (h - 2) * SS)
        rrect_fill(big, shadow, 16 * SS, (214, 224, 238))
        rrect_fill(big, box, 16 * SS, (BLUE, BLUE_LOW), outline=(30, 76, 148), width=SS)
    else:
        rrect_fill(big, box, 16 * SS, CARD, outline=EDGE, width=SS + SS // 2)
    cx, cy, r = w / 2, 61, 44
    d = ImageDraw.Draw(big)
    d.ellipse(((cx - r) * SS, (cy - r) * SS, (cx + r) * SS, (cy + r) * SS),
              fill=WHITE if hi else PALE)
    side = 60
    pen = Pen(big, cx - side / 2, cy - side / 2, side,
              ground=WHITE if hi else PALE)
    draw_pictogram(pen, picto)
    img = big.resize((w, h), Image.LANCZOS)
    d = ImageDraw.Draw(img)
    f, lines = fit_lines(title, w - 20, [16, 15, 14, 13])
    ty = 134 if len(lines) == 1 else 133
    draw_lines(d, w / 2, ty, f, lines, WHITE if hi else NAVY, gap=1)
    return img


def menu_button(w, h, look, title, picto, warm=False):
    big = Image.new('RGB', (w * SS, h * SS), SIDEBAR)
    box = (SS, SS, (w - 2) * SS, (h - 2) * SS)
    radius = 9 * SS
    if look == 'dark':
        rrect_fill(big, box, radius, ((44, 78, 132), NAVY_DEEP), outline=(16, 34, 64), width=SS)
        disc, ink, text = AMBER, NAVY_DEEP, WHITE
        accent, paper = WHITE, AMBER
    elif look == 'hover':
        if warm:
            rrect_fill(big, box, radius, (WARM_TOP, WARM_LOW), outline=AMBER, width=SS + SS // 2)
        else:
            rrect_fill(big, box, radius, (SKY_TOP, SKY_LOW), outline=SKY_EDGE, width=SS + SS // 2)
        disc, ink, text, accent, paper = WHITE, NAVY, NAVY_DEEP, AMBER, WHITE
    else:
        rrect_fill(big, box, radius, WHITE, outline=EDGE, width=SS + SS // 2)
        disc, ink, text, accent, paper = PALE, NAVY, NAVY, AMBER, WHITE
    cx, cy, r = 22, h / 2 - 0.5, 15
    d = ImageDraw.Draw(big)
    d.ellipse(((cx - r) * SS, (cy - r) * SS, (cx + r) * SS, (cy + r) * SS), fill=disc)
    side = 20
    pen = Pen(big, cx - side / 2, cy - side / 2, side, ink=ink, accent=accent,
              paper=paper, ground=disc, weight=1.5)
    draw_pictogram(pen, picto)
    img = big.resize((w, h), Image.LANCZOS)
    d = ImageDraw.Draw(img)
    f, _ = fit_lines(title, w - 56, [16, 15, 14, 13], two_lines=False)
    d.text((46, h / 2), title, font=f, fill=text, anchor='lm')
    return img


def background_picture(w, h, title='Cantarel Portable'):
    big = Image.new('RGB', (w * SS, h * SS), WHITE)
    d = ImageDraw.Draw(big)
    d.rectangle((0, 0, 226 * SS - 1, h * SS), fill=SIDEBAR)
    d.rectangle((226 * SS, 0, 227 * SS - 1, h * SS), fill=(214, 224, 238))
    # welcome, kept inside the smallest panel rectangle (251,19)-(952,512)
    cx, top = 601, 100
    pen = Pen(big, cx - 300, top, 600, ink=FAINT_INK, accent=(242, 206, 150), paper=WHITE)
    pen.staff(0, 100, 0, 3.4, 0.22, FAINT)
    clef_path(pen, 5, 7.2, 0.23, 1.4, FAINT_INK)
    notes = [(18, 10.6, 0), (27, 8.9, 0), (36, 7.2, 1), (45, 5.5, 0), (58, 8.9, 0),
             (67, 12.3, 0), (76, 10.6, 1), (86, 7.2, 0)]
    for x, y, acc in notes:
        col = pen.accent if acc else FAINT_INK
        pen.oval(x, y, 1.55, 1.1, -22, col)
        pen.line([(x + 1.33, y - 0.4), (x + 1.33, y - 7)], 0.45, col, caps=False)
    pen.line([(100, 0), (100, 13.6)], 0.35, FAINT, caps=False)
    pen.line([(98.9, 0), (98.9, 13.6)], 0.22, FAINT, caps=False)
    img = big.resize((w, h), Image.LANCZOS)
    d = ImageDraw.Draw(img)
    d.text((cx, top + 136), 'Bienvenue dans', font=font(20), fill=MUTED, anchor='mm')
    d.text((cx, top + 186), title, font=font(46, True), fill=NAVY, anchor='mm')
    d.text((cx, top + 236), 'Version ' + style.VERSION, font=font(20, True), fill=AMBER_DARK, anchor='mm')
    d.line((cx - 90, top + 270, cx + 90, top + 270), fill=(214, 224, 238), width=2)
    d.text((cx + 14, top + 310), 'Choisissez une catégorie à gauche', font=font(19),
           fill=MUTED, anchor='mm')
    tw = font(19).getlength('Choisissez une catégorie à gauche')
    ax = cx + 14 - tw / 2 - 34
    d.text((ax, top + 311), '←', font=font(22, True), fill=AMBER, anchor='mm')
    return img


def decoration_picture(w, h):
    """Medallion on the left, a staff along the foot; the middle is left
    blank because the panel's free-space caption is laid over it."""
    big = Image.new('RGB', (w * SS, h * SS), WHITE)
    rrect_fill(big, (2 * SS, 2 * SS, (w - 3) * SS, (h - 3) * SS), 14 * SS, WHITE,
               outline=EDGE, width=SS + SS // 2)
    d = ImageDraw.Draw(big)
    cx, cy, r = 54, h / 2, 40
    d.ellipse(((cx - r) * SS, (cy - r) * SS, (cx + r) * SS, (cy + r) * SS), fill=PALE)
    pic_notes(Pen(big, cx - 28, cy - 28, 56))
    foot = Pen(big, 118, 86, 166, ink=FAINT_INK)   # 1 unit = 1.66 px
    foot.staff(0, 100, 0, 1.6, 0.6, FAINT)
    for x, y, acc in ((6, 5.6, 0), (15, 4.8, 0), (24, 4.0, 1), (33, 3.2, 0), (45, 4.8, 0),
                      (54, 6.4, 0), (63, 5.6, 1), (72, 4.0, 0), (84, 4.8, 0)):
        col = AMBER if acc else FAINT_INK
        foot.oval(x, y, 1.45, 1.0, -22, col)
        foot.line([(x + 1.25, y - 0.3), (x + 1.25, y - 4.6)], 0.5, col, caps=False)
    foot.line([(98.2, 0), (98.2, 6.4)], 0.45, FAINT_INK, caps=False)
    foot.line([(100, 0), (100, 6.4)], 0.9, FAINT_INK, caps=False)
    return big.resize((w, h), Image.LANCZOS)
