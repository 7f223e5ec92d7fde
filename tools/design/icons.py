"""The program icon (32 x 32, 16 colours) and the hand cursor (32 x 32
monochrome), written as .ico and .cur files and read back as Windows would."""

import struct

from PIL import Image

from design.style import *  # noqa: F401,F403

# ---------------------------------------------------------------- icon and cursor
ICON_PALETTE = [
    (0, 0, 0), WHITE, NAVY, NAVY_DEEP, AMBER, lerp(NAVY, AMBER, 0.25),
    lerp(NAVY, AMBER, 0.5), lerp(NAVY, AMBER, 0.75), (245, 200, 120), (200, 212, 230),
    (52, 114, 196), PALE, (12, 24, 44), (120, 150, 196), AMBER_DARK, (160, 168, 180),
]


def icon_image():
    """32 x 32 RGBA, drawn pixel by pixel where it matters: a beamed note
    above a piano keyboard with one key pressed, on a rounded blue tile."""
    img = Image.new('RGBA', (32, 32), NAVY + (255,))
    d = ImageDraw.Draw(img)
    clear = (0, 0, 0, 0)
    for y, n in enumerate((3, 2, 1)):        # rounded corners
        for x in range(n):
            for px, py in ((x, y), (31 - x, y), (x, 31 - y), (31 - x, 31 - y)):
                img.putpixel((px, py), clear)
    # keyboard: seven keys of 4 pixels from x = 2, rows 19..29
    d.rectangle((2, 19, 29, 29), fill=WHITE)
    d.rectangle((15, 24, 17, 29), fill=AMBER)             # the pressed key
    for i in range(1, 7):
        d.line((2 + 4 * i, 19, 2 + 4 * i, 29), fill=(120, 150, 196))
    for i in (1, 2, 4, 5, 6):
        s = 2 + 4 * i
        d.rectangle((s - 1, 19, s + 1, 24), fill=(12, 24, 44))
    d.line((2, 19, 29, 19), fill=(200, 212, 230))
    # the note, drawn large and reduced so its curves stay smooth
    big = Image.new('L', (32 * 8, 32 * 8), 0)
    b = ImageDraw.Draw(big)
    b.ellipse((52, 106, 108, 146), fill=255)
    b.ellipse((148, 90, 204, 130), fill=255)
    b.rectangle((94, 28, 107, 126), fill=255)
    b.rectangle((190, 12, 203, 110), fill=255)
    b.polygon([(94, 28), (203, 12), (203, 44), (94, 60)], fill=255)
    alpha = big.resize((32, 32), Image.LANCZOS)
    note = Image.new('RGBA', (32, 32), AMBER + (255,))
    note.putalpha(alpha)
    img.alpha_composite(note)
    return img


def nearest(rgb):
    best, bi = None, 0
    for i, c in enumerate(ICON_PALETTE):
        dist = sum((a - b) ** 2 for a, b in zip(rgb, c))
        if best is None or dist < best:
            best, bi = dist, i
    return bi


def ico_bytes(rgba):
    """One 32 x 32 image, 4 bits per pixel with AND mask."""
    w = h = 32
    px = rgba.load()
    xor_rows, and_rows = [], []
    for y in range(h - 1, -1, -1):            # bottom-up
        nib, mask = [], 0
        for x in range(w):
            r, g, b, a = px[x, y]
            if a < 128:
                nib.append(0)
                mask |= 1 << (31 - x)
            else:
                nib.append(nearest((r, g, b)))
        xor_rows.append(bytes((nib[i] << 4) | nib[i + 1] for i in range(0, w, 2)))
        and_rows.append(struct.pack('>I', mask))
    xor = b''.join(xor_rows)       # 16 bytes a row, already 4-aligned
    andm = b''.join(and_rows)      # 4 bytes a row
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in ICON_PALETTE)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 4, 0, len(xor) + len(andm),
                         0, 0, 16, 0)
    image = header + pal + xor + andm
    entry = struct.pack('<BBBBHHII', w, h, 16, 0, 1, 4, len(image), 6 + 16)
    return struct.pack('<HHH', 0, 1, 1) + entry + image


HOT_SPOT = (11, 6)

# Pointing hand: X outline, o white inside, blank transparent.  The index
# tip's middle pixel sits at the hot spot (column 11, row 6).
HAND = [
    '                                ',
    '                                ',
    '                                ',
    '                                ',
    '                                ',
    '                                ',
    '          XXX                   ',
    '         XoooX                  ',
    '         XoooX                  ',
    '         XoooX                  ',
    '         XoooX                  ',
    '         XoooXXXX               ',
    '         XoooXoooXXXX           ',
    '         XoooXoooXoooX          ',
    '         XoooXoooXoooXXX        ',
    '    XXX  XoooXoooXoooXooX       ',
    '   XoooX XoooXoooXoooXooX       ',
    '   XooooXXooooooooooooooX       ',
    '    XooooXooooooooooooooX       ',
    '     XooooooooooooooooooX       ',
    '      XoooooooooooooooooX       ',
    '       XooooooooooooooooX       ',
    '        XoooooooooooooooX       ',
    '         XoooooooooooooX        ',
    '          XooooooooooooX        ',
    '          XoooooooooooX         ',
    '           XooooooooooX         ',
    '           XXXXXXXXXXXX         ',
    '                                ',
    '                                ',
    '                                ',
    '                                ',
]


def cur_bytes():
    w = h = 32
    assert len(HAND) == h and all(len(r) == w for r in HAND)
    assert HAND[HOT_SPOT[1]][HOT_SPOT[0]] == 'X'
    xor_rows, and_rows = [], []
    for row in reversed(HAND):               # bottom-up
        xbits = abits = 0
        for x, ch in enumerate(row):
            bit = 1 << (31 - x)
            if ch == ' ':
                abits |= bit                 # screen shows through
            elif ch == 'o':
                xbits |= bit                 # white
        xor_rows.append(struct.pack('>I', xbits))
        and_rows.append(struct.pack('>I', abits))
    xor, andm = b''.join(xor_rows), b''.join(and_rows)
    pal = struct.pack('<BBBB', 0, 0, 0, 0) + struct.pack('<BBBB', 255, 255, 255, 0)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 1, 0, len(xor) + len(andm),
                         0, 0, 2, 0)
    image = header + pal + xor + andm
    entry = struct.pack('<BBBBHHII', w, h, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    return struct.pack('<HHH', 0, 2, 1) + entry + image


def read_back(data, kind):
    """Check a written icon or cursor the way Windows reads it."""
    reserved, typ, count = struct.unpack_from('<HHH', data, 0)
    w, h, colours, _, f1, f2, size, offset = struct.unpack_from('<BBBBHHII', data, 6)
    hdr = struct.unpack_from('<IiiHHIIiiII', data, offset)
    bpp = hdr[4]
    stride = (w * bpp + 31) // 32 * 4
    expect = 40 + 4 * (1 << bpp) + stride * h + 4 * h
    assert (reserved, count, w, h, offset) == (0, 1, 32, 32, 22), kind
    assert size == expect == len(data) - offset, kind
    assert hdr[:3] == (40, 32, 64) and hdr[3] == 1, kind
    if kind == 'ico':
        assert (typ, colours, f1, f2, bpp) == (1, 16, 1, 4, 4)
    else:
        assert (typ, (f1, f2), bpp) == (2, HOT_SPOT, 1)
