"""The pictograms of the program pictures and menu buttons, and which one
each picture gets (by its name, its title's words or its panel)."""

import math

from design import style
from design.style import *  # noqa: F401,F403

# ---------------------------------------------------------------- titles
# Pictures listed without a display name get theirs from here.
TITLES = {
    'documents_accueil': 'Accueil',
    'documents_musiques': 'Musiques',
    'documents_partitions': 'Partitions',
    'documents_papiers': 'Papiers à musique',
    'documents_images': 'Images',
    'documents_videos': 'Vidéos',
    'documents_autres': 'Autres documents',
    'dll': 'Contrôles ActiveX et DLL',
    'dao35': 'DAO 3.5',
    'sql35': 'SQL Server Compact 3.5',
    'java': 'Java',
    'voix': 'Voix française',
    'net35': '.NET Framework 3.5',
    'net4': '.NET Framework 4',
    'utilisation_portable': 'Utilisation du portable',
    'description_programmes': 'Description des programmes',
    'version': 'Versions',
    'erreurs': 'Erreurs',
    'apropos': 'À propos',
    'miseajour': 'Mise à jour',
}

CATEGORY_TITLES = {
    'lecture': 'Apprentissage',
    'partition': 'Partitions',
    'musique': 'Musique',
    'outils': 'Outils',
    'documents': 'Mes documents',
    'installer': 'Installer',
    'supprimer': 'Supprimer',
    'windows': 'Windows',
    'aide': 'Aide',
}

# ---------------------------------------------------------------- pictogram choice
# By picture name first, then by a word of the title, then by panel.
PICTO_BY_NAME = {
    'bullaro': 'clef', 'mini_quadrelo': 'grid2', 'solfege': 'clef_notes',
    'quadrelo': 'grid3', 'clavira': 'keyboard', 'pulsaro': 'drum',
    'gnu_solfege': 'chord', 'metronome': 'metronome', 'quiz': 'quiz',
    'maestrel': 'tiles', 'symphalis': 'violin', 'tonavel': 'fork',
    'musescore': 'staff', 'openmusicwriter': 'quill', 'tuxguitar': 'guitar',
    'ariamaestosa': 'pianoroll', 'hydrogen': 'pads',
    'audacity': 'wave', 'cdex': 'disc_note', 'vlc': 'play',
    'infrarecorder': 'disc_burn', 'atunes': 'headphones',
    'sumatra_pdf': 'pdf', '7zip': 'archive', 'firefox': 'globe',
    'thunderbird': 'envelope', 'libreoffice': 'office',
    'documents_accueil': 'home', 'documents_musiques': 'folder_note',
    'documents_partitions': 'folder_staff', 'documents_papiers': 'staff_paper',
    'documents_images': 'photo', 'documents_videos': 'film',
    'documents_autres': 'folder',
    'dll': 'puzzle', 'dao35': 'table', 'sql35': 'database', 'java': 'cup',
    'voix': 'mic', 'net35': 'gear:3.5', 'net4': 'gear:4',
    'utilisation_portable': 'usb', 'description_programmes': 'list',
    'version': 'tag', 'erreurs': 'warning', 'apropos': 'info',
    'miseajour': 'refresh',
}

PICTO_BY_WORD = [
    ('piano', 'keyboard'), ('clavier', 'keyboard'), ('metronome', 'metronome'),
    ('rythme', 'drum'), ('quiz', 'quiz'), ('solfe', 'clef'),
    ('partition', 'staff'), ('guitar', 'guitar'), ('audio', 'wave'),
    ('son', 'wave'), ('cd', 'disc_note'), ('video', 'film'),
    ('image', 'photo'), ('pdf', 'pdf'), ('web', 'globe'), ('mail', 'envelope'),
    ('java', 'cup'), ('.net', 'gear'), ('erreur', 'warning'),
    ('mise a jour', 'refresh'), ('version', 'tag'), ('propos', 'info'),
    ('document', 'folder'), ('voix', 'mic'),
]

PICTO_BY_GROUP = {
    'lecture': 'notes', 'partitions': 'staff', 'musique': 'headphones',
    'outils': 'gear', 'documents': 'folder', 'windows': 'gear', 'aide': 'info',
}

CATEGORY_PICTO = {
    'lecture': 'notes', 'partition': 'sheet', 'musique': 'headphones',
    'outils': 'wrench', 'documents': 'folder', 'installer': 'download',
    'supprimer': 'trash', 'windows': 'window', 'aide': 'help',
    'quitter': 'exit',
}

def rot(seq, angle, cx, cy):
    a = math.radians(angle)
    ca, sa = math.cos(a), math.sin(a)
    return [(cx + (x - cx) * ca - (y - cy) * sa, cy + (x - cx) * sa + (y - cy) * ca)
            for x, y in seq]


# ---------------------------------------------------------------- pictograms
# Each draws inside the 100-unit box of a Pen: ink for the drawing, accent
# for one warm detail, paper for inner surfaces.

CLEF = [(58, 63), (55, 58), (48, 57), (43, 63), (46, 70), (55, 72.5), (62, 68), (65, 60),
        (62, 51), (55, 46.5), (45, 47), (37, 54), (34, 64), (37, 74), (46, 80), (57, 81),
        (66, 77), (70, 68), (69, 57), (64, 47), (57, 38), (51, 29), (48, 20), (50, 11),
        (55, 7), (59, 12), (58, 21), (53, 30), (47, 39), (46, 50), (48, 66), (51, 80),
        (52, 89), (50, 95), (45, 96.5), (41, 93)]


def clef_path(p, cx, cy, s, width, color=None):
    """Treble clef in one calligraphic stroke, centred on (cx, cy);
    s scales the 100-unit drawing, width is the thickest stroke."""
    pts = [(cx + (x - 52) * s, cy + (y - 52) * s) for x, y in CLEF]
    p.brush(pts, width * 0.22, width, color)
    bx, by = pts[-1]
    p.circle(bx + 1.2 * s, by - 1.5 * s, width * 0.75, fill=color or p.ink)


def pic_clef(p, notes=False):
    p.staff(8, 92, 30, 11, 2.2)
    clef_path(p, 28 if notes else 50, 52, 0.9, 5.6)
    if notes:
        p.note(58, 63, 32, p.ink)
        p.note(78, 52, 32, p.accent)


def pic_notes(p):
    # two beamed eighths
    p.oval(30, 72, 11, 8, -22, p.ink)
    p.oval(68, 62, 11, 8, -22, p.accent)
    p.line([(40, 70), (40, 20)], 4.4, caps=False)
    p.line([(78, 60), (78, 10)], 4.4, caps=False)
    p.poly([(38, 17), (80, 7), (80, 17), (38, 27)], fill=p.ink)


def pic_staff(p):
    p.staff(6, 94, 26, 11, 2.2)
    p.note(24, 70, 34)
    p.note(44, 59, 34, p.accent)
    p.note(64, 48, 34)
    p.note(82, 37, 30)
    p.line([(94, 24), (94, 70)], 2.6, caps=False)


def pic_chord(p):
    p.staff(8, 92, 28, 11, 2.2)
    for y in (72, 61, 50):
        p.oval(40, y, 10, 7, -22, p.ink if y != 61 else p.accent)
    p.line([(48.6, 70), (48.6, 18)], 3.6, caps=False)
    p.oval(70, 55, 10, 7, -22)
    p.oval(70, 44, 10, 7, -22)
    p.line([(78.6, 53), (78.6, 12)], 3.6, caps=False)


def pic_keyboard(p):
    x0, x1, y0, y1 = 10, 90, 26, 76
    p.rect(x0, y0, x1, y1, fill=p.paper, outline=p.ink, width=3.6, r=4)
    n = 7
    kw = (x1 - x0) / n
    p.rect(x0 + 2 * kw + 1.5, y0 + 2, x0 + 3 * kw - 1.5, y1 - 3, fill=p.accent)
    for i in range(1, n):
        x = x0 + i * kw
        p.line([(x, y0 + 1), (x, y1 - 1)], 2.2, caps=False)
    for i in (1, 2, 4, 5, 6):
        x = x0 + i * kw
        p.rect(x - kw * 0.3, y0 + 1, x + kw * 0.3, y0 + 30, fill=p.ink)


def pic_metronome(p):
    p.poly([(26, 90), (74, 90), (60, 10), (40, 10)], fill=p.ink)
    p.poly([(38, 70), (62, 70), (55, 22), (45, 22)], fill=p.paper)
    p.rect(22, 86, 78, 92, fill=p.ink, r=2)
    p.line([(50, 76), (70, 24)], 4)
    p.rect(61, 38, 72, 47, fill=p.accent, r=2)
    p.circle(50, 77, 4.2, fill=p.accent)


def pic_drum(p):
    p.rect(20, 46, 80, 80, fill=p.ink, r=3)
    p.oval(50, 80, 30, 8, 0, p.ink)
    zig = [(22, 52), (32, 74), (42, 52), (52, 74), (62, 52), (72, 74), (78, 58)]
    p.line(zig, 2.6, p.accent)
    p.oval(50, 46, 30, 9, 0, p.paper)
    p.d.ellipse(p.box(20, 37, 80, 55), outline=p.ink, width=p.w(3))
    p.line([(28, 12), (56, 38)], 4)
    p.line([(74, 10), (46, 38)], 4)
    p.circle(28, 12, 4.5, fill=p.accent)
    p.circle(74, 10, 4.5, fill=p.accent)


def pic_quiz(p):
    p.rect(12, 14, 78, 66, fill=p.ink, r=14)
    p.poly([(26, 62), (22, 82), (44, 64)], fill=p.ink)
    p.text(45, 40, '?', 40, p.paper)
    p.circle(82, 74, 12, fill=p.accent)
    p.text(82, 74, '!', 16, p.paper)


def pic_tiles(p):
    for i, (ch, col) in enumerate((('D', p.ink), ('O', p.ink), ('?', p.accent))):
        x = 6 + i * 31
        p.rect(x, 30, x + 26, 62, fill=col, r=5)
        p.text(x + 13, 46, ch, 22, p.paper)
    for i in range(3):
        x = 6 + i * 31
        p.line([(x + 3, 72), (x + 23, 72)], 3, caps=False)


def pic_violin(p):
    def tf(seq):
        return rot([(x * 1.15 - 14.5, y * 1.05 - 2) for x, y in seq], 24, 50, 50)
    body = [(50, 94), (32, 90), (27, 76), (36, 64), (33, 56), (29, 46), (36, 36),
            (50, 35), (64, 36), (71, 46), (67, 56), (64, 64), (73, 76), (68, 90)]
    p.poly(tf(catmull_rom(body + [body[0]], 6)), fill=p.ink)
    p.poly(tf([(46.5, 8), (53.5, 8), (53.5, 38), (46.5, 38)]), fill=p.ink)
    sx, sy = tf([(50, 8)])[0]
    p.circle(sx, sy, 5, fill=p.ink)
    p.poly(tf([(41, 70), (59, 70), (59, 74), (41, 74)]), fill=p.accent)
    for x in (47.5, 52.5):
        p.line(tf([(x, 14), (x, 86)]), 1.2, p.paper, caps=False)
    p.line([(62, 92), (96, 24)], 3, p.accent)


def pic_fork(p):
    p.line([(34, 12), (34, 50), (40, 60), (50, 62), (60, 60), (66, 50), (66, 12)], 6.5)
    p.line([(50, 62), (50, 90)], 6.5)
    for r in (10, 17):
        p.arc(50, 24, r + 14, 200, 250, 2.8, p.accent)
        p.arc(50, 24, r + 14, 290, 340, 2.8, p.accent)


def pic_grid(p, n):
    gap = 4
    size = (76 - (n - 1) * gap) / n
    for i in range(n):
        for j in range(n):
            x = 12 + j * (size + gap)
            y = 12 + i * (size + gap)
            hot = (i, j) == (n - 1, n - 2) if n > 2 else (i, j) == (1, 0)
            p.rect(x, y, x + size, y + size, fill=p.accent if hot else p.ink, r=4)
    cx = 12 + (n - 2) * (size + gap) + size / 2 if n > 2 else 12 + size / 2
    cy = 12 + (n - 1) * (size + gap) + size / 2
    p.text(cx, cy + 1, '♪', size * 0.8, p.paper, bold=False)


def pic_quill(p):
    p.staff(8, 92, 58, 8, 2)
    p.note(22, 86, 26)
    p.poly([(84, 8), (92, 14), (50, 60), (44, 62), (45, 55)], fill=p.ink)
    p.poly([(84, 8), (92, 14), (76, 32), (68, 24)], fill=p.accent)
    p.line([(45, 61), (41, 66)], 2.2)


def pic_guitar(p):
    a = -40
    p = Scaled(p, 1.25, 50, 50)
    body1 = rot([(50 + 15 * math.cos(t * math.pi / 24), 70 + 15 * math.sin(t * math.pi / 24))
                 for t in range(48)], 0, 50, 50)
    body2 = [(50 + 11 * math.cos(t * math.pi / 24), 50 + 11 * math.sin(t * math.pi / 24))
             for t in range(48)]
    p.poly(rot(body1, a, 50, 55), fill=p.ink)
    p.poly(rot(body2, a, 50, 55), fill=p.ink)
    p.poly(rot([(46, 58), (54, 58), (54, 66), (46, 66)], a, 50, 55), fill=p.ink)
    neck = rot([(46.5, 6), (53.5, 6), (53.5, 48), (46.5, 48)], a, 50, 55)
    p.poly(neck, fill=p.ink)
    head = rot([(44, -6), (56, -6), (55, 8), (45, 8)], a, 50, 55)
    p.poly(head, fill=p.accent)
    hx, hy = rot([(50, 60)], a, 50, 55)[0]
    p.circle(hx, hy, 5.5, fill=p.paper)
    bx = rot([(43, 76), (57, 76)], a, 50, 55)
    p.line(bx, 3.4, p.accent, caps=False)


def pic_pianoroll(p):
    p.rect(8, 14, 92, 86, fill=p.paper, outline=p.ink, width=3.4, r=5)
    for i in range(1, 6):
        y = 14 + i * 12
        p.line([(10, y), (90, y)], 1.2, FAINT_INK if p.paper == WHITE else p.ink, caps=False)
    p.rect(8, 14, 22, 86, fill=p.ink, r=4)
    bars = [(26, 44, 62, 74, 1), (40, 62, 44, 56, 0), (58, 82, 32, 44, 1),
            (30, 50, 20, 32, 0), (64, 86, 68, 80, 0)]
    for x0, x1, y0, y1, acc in bars:
        p.rect(x0, y0 + 1.5, x1, y1 - 1.5, fill=p.accent if acc else p.ink, r=2)


def pic_pads(p):
    for i in range(3):
        for j in range(3):
            x, y = 14 + j * 25, 14 + i * 25
            hot = (i, j) in ((0, 2), (1, 0), (2, 1))
            p.rect(x, y, x + 21, y + 21, fill=p.accent if hot else p.ink, r=5)


def pic_wave(p):
    hs = [8, 16, 28, 20, 36, 26, 14, 30, 40, 24, 12, 20, 8]
    for i, h in enumerate(hs):
        x = 14 + i * 6
        col = p.accent if 6 <= i <= 8 else p.ink
        p.line([(x, 50 - h), (x, 50 + h)], 3.6, col)


def pic_disc(p, extra):
    p.circle(50, 50, 38, fill=p.ink)
    p.arc(50, 50, 28, 200, 250, 2.4, p.paper)
    p.arc(50, 50, 22, 210, 240, 2.0, p.paper)
    p.circle(50, 50, 11, fill=p.paper)
    p.circle(50, 50, 4, fill=p.ink)
    if extra == 'note':
        p.circle(78, 76, 17, fill=p.accent)
        p.text(78, 77, '♪', 22, p.paper, bold=False)
    else:
        flame = [(78, 56), (90, 70), (92, 82), (84, 92), (72, 92), (64, 82), (68, 70), (72, 76)]
        p.poly(catmull_rom(flame + [flame[0]], 5), fill=p.accent)


def pic_play(p):
    p.rect(8, 18, 92, 74, fill=p.ink, r=8)
    p.poly([(41, 32), (41, 60), (64, 46)], fill=p.accent)
    p.line([(34, 84), (66, 84)], 4)


def pic_headphones(p):
    p.arc(50, 52, 34, 180, 360, 6)
    p.line([(16, 52), (16, 60)], 6, caps=False)
    p.line([(84, 52), (84, 60)], 6, caps=False)
    p.rect(10, 54, 28, 86, fill=p.ink, r=7)
    p.rect(72, 54, 90, 86, fill=p.ink, r=7)
    p.rect(23, 60, 30, 80, fill=p.accent, r=2)
    p.rect(70, 60, 77, 80, fill=p.accent, r=2)


def page(p, x0=20, y0=8, x1=80, y1=92, fold_=16):
    p.poly([(x0, y0), (x1 - fold_, y0), (x1, y0 + fold_), (x1, y1), (x0, y1)],
           fill=p.paper, outline=p.ink, width=3.6)
    p.poly([(x1 - fold_, y0), (x1 - fold_, y0 + fold_), (x1, y0 + fold_)], fill=p.ink)


def pic_pdf(p):
    page(p)
    for y in (34, 44, 54):
        p.line([(30, y), (70, y)], 3)
    p.rect(28, 64, 72, 82, fill=p.accent, r=3)
    p.text(50, 73.5, 'PDF', 13, p.paper)


def pic_archive(p):
    p.rect(14, 20, 86, 86, fill=p.ink, r=6)
    p.rect(10, 14, 90, 30, fill=p.ink, r=4)
    p.line([(12, 30), (88, 30)], 2.5, p.paper, caps=False)
    for i in range(7):
        y = 34 + i * 6
        p.line([(46 if i % 2 else 50, y), (50 if i % 2 else 54, y)], 3, p.paper, caps=False)
    p.rect(43, 76, 57, 90, fill=p.accent, r=3)
    p.circle(50, 82, 2.5, fill=p.ink)


def pic_globe(p):
    p.circle(50, 50, 38, fill=p.paper, outline=p.ink, width=4)
    p.d.ellipse(p.box(34, 12, 66, 88), outline=p.ink, width=p.w(3))
    p.line([(50, 12), (50, 88)], 3, caps=False)
    p.line([(12, 50), (88, 50)], 3, caps=False)
    p.line([(18, 32), (82, 32)], 2.4, caps=False)
    p.line([(18, 68), (82, 68)], 2.4, caps=False)
    p.circle(76, 24, 10, fill=p.accent)


def pic_envelope(p):
    p.rect(10, 24, 90, 78, fill=p.paper, outline=p.ink, width=4, r=4)
    p.line([(12, 28), (50, 56), (88, 28)], 4)
    p.line([(12, 76), (40, 52)], 3)
    p.line([(88, 76), (60, 52)], 3)
    p.circle(82, 24, 10, fill=p.accent)


def pic_office(p):
    page(p, 14, 8, 70, 92)
    p.rect(22, 22, 48, 30, fill=p.accent, r=1.5)
    for y in (42, 52, 62, 72):
        p.line([(22, y), (60 if y < 70 else 46, y)], 2.8)
    p.line([(86, 30), (58, 78)], 7, p.ink, caps=False)
    p.poly([(54.5, 76), (61.5, 80), (55, 88)], fill=p.accent)


def pic_folder(p, inner=None):
    p.poly([(8, 22), (38, 22), (46, 30), (92, 30), (92, 84), (8, 84)], fill=p.ink)
    p.rect(8, 36, 92, 84, fill=p.ink, r=4)
    p.rect(14, 38, 86, 43, fill=lerp(p.ink, p.paper, 0.35))
    if inner == 'note':
        p.circle(50, 62, 15, fill=p.accent)
        p.text(50, 63, '♫', 19, p.paper, bold=False)
    elif inner == 'staff':
        p.staff(20, 80, 50, 6.5, 1.8, p.paper)
        p.oval(44, 69.5, 5.5, 4, -22, p.accent)
        p.line([(48.8, 68), (48.8, 48)], 2.2, p.accent, caps=False)
        p.oval(62, 63, 5.5, 4, -22, p.accent)
        p.line([(66.8, 61), (66.8, 42)], 2.2, p.accent, caps=False)
    else:
        for x in (36, 50, 64):
            p.circle(x, 62, 4.5, fill=p.accent if x == 64 else p.paper)


def pic_staff_paper(p):
    page(p, 16, 8, 84, 92)
    for top in (24, 56):
        p.staff(24, 76, top, 4.6, 1.6)
    p.line([(24, 24), (24, 42.4)], 1.6, caps=False)
    p.line([(24, 56), (24, 74.4)], 1.6, caps=False)
    p.rect(60, 80, 80, 86, fill=p.accent, r=2)


def pic_sheet(p):
    page(p, 18, 6, 82, 94, 18)
    for y in (30, 42, 54):
        p.line([(28, y), (72, y)], 3.2, caps=False)
    p.oval(42, 74, 10, 7.5, -22, p.accent)
    p.line([(51, 72), (51, 40)], 5, p.accent, caps=False)


def pic_photo(p):
    p.rect(10, 18, 90, 82, fill=p.paper, outline=p.ink, width=4, r=5)
    p.poly([(16, 76), (40, 44), (56, 64), (66, 54), (84, 76)], fill=p.ink)
    p.circle(68, 34, 8, fill=p.accent)


def pic_film(p):
    p.rect(10, 20, 90, 80, fill=p.ink, r=5)
    for i in range(6):
        x = 16 + i * 13.2
        p.rect(x, 24, x + 6, 30, fill=p.paper, r=1)
        p.rect(x, 70, x + 6, 76, fill=p.paper, r=1)
    p.rect(18, 36, 82, 64, fill=lerp(p.ink, p.paper, 0.3), r=3)
    p.poly([(42, 40), (42, 60), (60, 50)], fill=p.accent)


def pic_home(p):
    p.poly([(50, 10), (92, 48), (84, 48), (84, 88), (16, 88), (16, 48), (8, 48)], fill=p.ink)
    p.rect(42, 60, 58, 88, fill=p.accent, r=2)
    p.rect(24, 56, 36, 68, fill=p.paper, r=1)
    p.rect(64, 56, 76, 68, fill=p.paper, r=1)
    p.text(50, 40, '♪', 18, p.paper, bold=False)


def pic_puzzle(p):
    p.rect(18, 28, 74, 84, fill=p.ink, r=4)
    p.circle(46, 26, 10, fill=p.ink)
    p.circle(76, 56, 10, fill=p.ink)
    p.circle(46, 84, 9, fill=p.paper)
    p.circle(18, 56, 9, fill=p.paper)
    p.rect(56, 8, 88, 40, fill=p.accent, r=4)
    p.text(72, 24, 'DLL', 10, p.paper)


def pic_table(p):
    p.rect(10, 16, 90, 84, fill=p.paper, outline=p.ink, width=4, r=4)
    p.rect(10, 16, 90, 32, fill=p.ink, r=4)
    p.rect(10, 26, 90, 32, fill=p.ink)
    for y in (49, 66):
        p.line([(12, y), (88, y)], 2.6, caps=False)
    for x in (37, 63):
        p.line([(x, 30), (x, 82)], 2.6, caps=False)
    p.rect(39.5, 51.5, 60.5, 63.5, fill=p.accent)


def pic_database(p):
    for y in (70, 52, 34):
        p.rect(18, y - 2, 82, y + 14, fill=p.ink)
        p.oval(50, y + 14, 32, 10, 0, p.ink)
        p.oval(50, y - 2, 32, 10, 0, lerp(p.ink, p.paper, 0.35) if y != 34 else p.ink)
    p.oval(50, 32, 26, 6.5, 0, p.accent)


def pic_cup(p):
    p.poly([(18, 44), (72, 44), (68, 80), (22, 80)], fill=p.ink)
    p.rect(20, 76, 70, 86, fill=p.ink, r=5)
    p.arc(72, 58, 10, 270, 90, 5)
    p.rect(10, 88, 84, 92, fill=p.ink, r=2)
    for x in (34, 46, 58):
        p.curve([(x, 38), (x - 4, 30), (x + 4, 22), (x, 12)], 3.4, p.accent)


def pic_mic(p):
    p.rect(36, 8, 64, 58, fill=p.ink, r=14)
    for y in (22, 30, 38):
        p.line([(42, y), (58, y)], 2, lerp(p.ink, p.paper, 0.4), caps=False)
    p.arc(50, 40, 24, 0, 180, 4.4)
    p.line([(50, 64), (50, 82)], 4.4, caps=False)
    p.line([(36, 84), (64, 84)], 4.4)
    p.arc(50, 34, 38, 320, 30, 3, p.accent)
    p.arc(50, 34, 38, 150, 220, 3, p.accent)


def pic_gear(p, badge=None):
    teeth = 8
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        r = 38 if i % 4 in (1, 2) else 29
        pts.append((46 + r * math.cos(a), 46 + r * math.sin(a)))
    p.poly(pts, fill=p.ink)
    p.circle(46, 46, 13, fill=p.paper)
    if badge:
        p.rect(52 if len(badge) > 1 else 60, 64, 96, 90, fill=p.accent, r=7)
        p.text(74 if len(badge) > 1 else 78, 77.5, badge, 17, p.paper)


def pic_usb(p):
    p.rect(40, 10, 60, 36, fill=p.paper, outline=p.ink, width=3.6, r=2)
    p.rect(44, 18, 48, 24, fill=p.ink)
    p.rect(52, 18, 56, 24, fill=p.ink)
    p.rect(34, 34, 66, 90, fill=p.ink, r=7)
    p.circle(50, 66, 11, fill=p.accent)
    p.text(50, 67, '♪', 14, p.paper, bold=False)


def pic_list(p):
    for i, y in enumerate((22, 42, 62, 82)):
        p.rect(10, y - 7, 24, y + 7, fill=p.accent if i == 1 else p.ink, r=3)
        p.line([(32, y), (88 if i % 2 == 0 else 76, y)], 5)


def pic_tag(p):
    body = [(10, 30), (62, 30), (90, 50), (62, 70), (10, 70)]
    p.poly(body, fill=p.ink)
    p.circle(72, 50, 5, fill=p.paper)
    p.text(36, 50.5, style.VERSION, 20, p.paper)
    p.line([(72, 46), (82, 14), (92, 10)], 2.6, p.accent)


def pic_warning(p):
    tri = [(50, 10), (92, 84), (8, 84)]
    p.poly(tri, fill=p.accent)
    p.line(tri + [tri[0], tri[1]], 6, p.accent)
    p.line([(50, 36), (50, 60)], 8, p.ink)
    p.circle(50, 73, 5, fill=p.ink)


def pic_info(p):
    p.circle(50, 50, 38, fill=p.ink)
    p.circle(50, 29, 6, fill=p.accent)
    p.rect(44, 42, 56, 74, fill=p.paper, r=2)
    p.rect(38, 70, 62, 76, fill=p.paper, r=2)
    p.rect(38, 42, 56, 48, fill=p.paper, r=2)


def pic_refresh(p):
    p.arc(50, 50, 30, 200, 340, 8)
    p.arc(50, 50, 30, 20, 160, 8, p.accent)
    p.poly([(72, 24), (92, 38), (70, 48)], fill=p.ink)
    p.poly([(28, 76), (8, 62), (30, 52)], fill=p.accent)


def pic_wrench(p):
    p.line([(24, 76), (62, 38)], 12)
    p.circle(68, 32, 20, fill=p.ink)
    p.poly(rot([(62, 8), (74, 8), (74, 32), (62, 32)], 45, 68, 32), fill=p.ground)
    p.circle(24, 76, 4, fill=p.accent)


def pic_download(p):
    p.line([(50, 10), (50, 58)], 10, caps=False)
    p.poly([(28, 50), (72, 50), (50, 72)], fill=p.ink)
    p.line([(12, 64), (12, 88), (88, 88), (88, 64)], 8, p.accent)


def pic_trash(p):
    p.rect(14, 20, 86, 30, fill=p.ink, r=3)
    p.rect(38, 10, 62, 22, fill=p.ink, r=3)
    p.poly([(20, 34), (80, 34), (74, 92), (26, 92)], fill=p.ink)
    for x in (38, 50, 62):
        p.line([(x, 44), (x, 82)], 4, p.accent if x == 50 else lerp(p.ink, p.paper, 0.45))


def pic_window(p):
    p.rect(8, 14, 92, 86, fill=p.paper, outline=p.ink, width=6, r=6)
    p.rect(8, 14, 92, 32, fill=p.ink, r=6)
    p.rect(8, 26, 92, 32, fill=p.ink)
    p.circle(80, 23, 4.5, fill=p.accent)
    p.rect(18, 42, 46, 76, fill=lerp(p.ink, p.paper, 0.6), r=2)
    p.line([(56, 46), (82, 46)], 4)
    p.line([(56, 58), (82, 58)], 4)
    p.line([(56, 70), (74, 70)], 4)


def pic_help(p):
    p.circle(50, 50, 42, fill=p.ink)
    p.text(50, 50, '?', 64, p.paper)


def pic_exit(p):
    p.rect(16, 8, 62, 92, fill=p.ink, r=4)
    p.poly([(16, 8), (44, 18), (44, 92), (16, 92)], fill=lerp(p.ink, p.paper, 0.35))
    p.circle(38, 54, 3.5, fill=p.ink)
    p.line([(54, 50), (88, 50)], 8, p.accent)
    p.poly([(78, 34), (96, 50), (78, 66)], fill=p.accent)


PICTOGRAMS = {
    'clef': pic_clef, 'clef_notes': lambda p: pic_clef(p, True),
    'notes': pic_notes, 'staff': pic_staff, 'chord': pic_chord,
    'keyboard': pic_keyboard, 'metronome': pic_metronome, 'drum': pic_drum,
    'quiz': pic_quiz, 'tiles': pic_tiles, 'violin': pic_violin, 'fork': pic_fork,
    'grid2': lambda p: pic_grid(p, 2), 'grid3': lambda p: pic_grid(p, 3),
    'quill': pic_quill, 'guitar': pic_guitar, 'pianoroll': pic_pianoroll,
    'pads': pic_pads, 'wave': pic_wave,
    'disc_note': lambda p: pic_disc(p, 'note'), 'disc_burn': lambda p: pic_disc(p, 'burn'),
    'play': pic_play, 'headphones': pic_headphones, 'pdf': pic_pdf,
    'archive': pic_archive, 'globe': pic_globe, 'envelope': pic_envelope,
    'office': pic_office, 'folder': pic_folder,
    'folder_note': lambda p: pic_folder(p, 'note'),
    'folder_staff': lambda p: pic_folder(p, 'staff'),
    'staff_paper': pic_staff_paper, 'sheet': pic_sheet, 'photo': pic_photo, 'film': pic_film,
    'home': pic_home, 'puzzle': pic_puzzle, 'table': pic_table,
    'database': pic_database, 'cup': pic_cup, 'mic': pic_mic, 'gear': pic_gear,
    'usb': pic_usb, 'list': pic_list, 'tag': pic_tag, 'warning': pic_warning,
    'info': pic_info, 'refresh': pic_refresh, 'wrench': pic_wrench,
    'download': pic_download, 'trash': pic_trash, 'window': pic_window,
    'help': pic_help, 'exit': pic_exit,
}


def draw_pictogram(pen, key):
    name, _, arg = key.partition(':')
    fn = PICTOGRAMS[name]
    if arg:
        fn(pen, arg)
    else:
        fn(pen)


def choose_pictogram(suffix, title, group):
    if suffix in PICTO_BY_NAME:
        return PICTO_BY_NAME[suffix]
    t = ' ' + fold(title) + ' '
    for word, key in PICTO_BY_WORD:
        if word in t:
            return key
    return PICTO_BY_GROUP.get(group, 'notes')
