#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the TOLV top view (mouse/TOLV/Mouse.svg) and side view (mouse/TOLV_Side.svg).

The build renders the SVG files; it never runs this script. The script is kept because the
curves, the button outlines cut from them and the button centres are easier to reshape here
than in the SVG's long point lists:

    python3 data/skin-src/tools/gen_mouse.py data/skin-src/mouse/TOLV

Running it overwrites both SVG files. When a button centre moves, copy the printed centres into
resources/ModelSpots.h (the resources test compares the two)."""
import math
import sys

OUT = sys.argv[1] if len(sys.argv) > 1 else '.'
ACC = '#00beff'


def catmull(points, closed=True, tension=1.0):
    """Cubic Bezier segments through points (Catmull-Rom)."""
    n = len(points)
    segs = []
    rng = range(n) if closed else range(n - 1)
    for i in rng:
        p0 = points[(i - 1) % n] if closed or i > 0 else points[i]
        p1 = points[i]
        p2 = points[(i + 1) % n]
        p3 = points[(i + 2) % n] if closed or i + 2 < n else points[(i + 1) % n]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6 * tension, p1[1] + (p2[1] - p0[1]) / 6 * tension)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6 * tension, p2[1] - (p3[1] - p1[1]) / 6 * tension)
        segs.append((p1, c1, c2, p2))
    return segs


def bez_path(segs, closed=True):
    d = 'M%.2f,%.2f' % segs[0][0]
    for _, c1, c2, p2 in segs:
        d += ' C%.2f,%.2f %.2f,%.2f %.2f,%.2f' % (c1 + c2 + p2)
    return d + (' Z' if closed else '')


def sample(segs, step=0.5):
    pts = []
    for p1, c1, c2, p2 in segs:
        length = math.dist(p1, c1) + math.dist(c1, c2) + math.dist(c2, p2)
        k = max(2, int(length / step))
        for j in range(k):
            t = j / k
            a = (1 - t) ** 3
            b = 3 * (1 - t) ** 2 * t
            c = 3 * (1 - t) * t * t
            e = t ** 3
            pts.append((a * p1[0] + b * c1[0] + c * c2[0] + e * p2[0],
                        a * p1[1] + b * c1[1] + c * c2[1] + e * p2[1]))
    return pts


def poly(pts, closed=True):
    d = 'M' + ' L'.join('%.2f,%.2f' % p for p in pts)
    return d + (' Z' if closed else '')


def crossing(pts, f, start, direction):
    """Index after start (walking in direction) where f changes sign; returns (index, point)."""
    n = len(pts)
    i = start
    prev = f(pts[i])
    for _ in range(n):
        j = (i + direction) % n
        cur = f(pts[j])
        if (prev < 0) != (cur < 0):
            t = prev / (prev - cur)
            p = (pts[i][0] + (pts[j][0] - pts[i][0]) * t, pts[i][1] + (pts[j][1] - pts[i][1]) * t)
            return j, p
        i, prev = j, cur
    raise RuntimeError('no crossing')


def walk(pts, i0, i1, direction):
    out = []
    n = len(pts)
    i = i0
    while True:
        out.append(pts[i])
        if i == i1:
            break
        i = (i + direction) % n
    return out


# --------------------------------------------------------------------------------------------
# Top view, 300 x 400 design units

BODY = [(150, 26), (182, 30), (205, 44), (217, 74), (221, 118), (218, 165), (215, 206),
        (222, 254), (230, 295), (228, 332), (213, 361), (186, 379), (150, 386), (114, 379),
        (88, 361), (73, 332), (71, 295), (75, 256), (80, 222), (80, 190), (78, 158), (78, 118),
        (82, 74), (94, 44), (117, 30)]
body_segs = catmull(BODY)
BODY_D = bez_path(body_segs)
body_pts = sample(body_segs, 0.5)


def seam_y(x):
    return 178 - 18 * ((x - 150) / 75.0) ** 2


def button_outline(side):
    """Left (side=-1) or right (side=+1) main button as a polygon."""
    gap_front = 150 + side * 1.6
    chan = 150 + side * 11.5
    # front crossing of the inner edge: start at the front centre (index 0), walk outwards
    direction = side  # points run clockwise, so +1 walks towards the right side
    ifront, pfront = crossing(body_pts, lambda p: (p[0] - gap_front) * side, 0, direction)
    iseam, pseam = crossing(body_pts, lambda p: p[1] - seam_y(p[0]), ifront, direction)
    edge = [pfront] + walk(body_pts, ifront, (iseam - direction) % len(body_pts), direction) + [pseam]
    # along the seam back to the channel
    seam = []
    x = pseam[0]
    while (x - chan) * side > 0:
        seam.append((x, seam_y(x)))
        x -= side * 0.75
    seam.append((chan, seam_y(chan)))
    # up the channel edge, then a soft step to the narrow front gap
    inner = [(chan, 60)]
    for k in range(1, 12):
        t = k / 12
        s = (1 - math.cos(math.pi * t)) / 2
        inner.append((chan + (gap_front - chan) * s, 60 - 14 * t))
    inner.append((gap_front, pfront[1]))
    pts = edge + seam + inner
    if side > 0:
        pts.reverse()
    return pts, pseam


left_btn, left_seam_pt = button_outline(-1)
right_btn, right_seam_pt = button_outline(+1)
LEFT_D = poly(left_btn)
RIGHT_D = poly(right_btn)
SEAM_D = poly([(x / 2.0, seam_y(x / 2.0)) for x in range(int(left_seam_pt[0] * 2) - 1,
                                                             int(right_seam_pt[0] * 2) + 2)],
              closed=False)

# central channel: wheel and DPI button
CHAN = dict(x=138.5, y=47, w=23, h=seam_y(150) - 47 - 3, rx=9)
WHEEL = dict(x=143, y=62, w=14, h=50, rx=6)
DPI = dict(x=144, y=126, w=12, h=22, rx=5)


def edge_x(y):
    best = min((p for p in body_pts if p[0] < 150), key=lambda p: abs(p[1] - y))
    return best[0]


def rounded_pill(y0, y1, r=6.0, out=4.2, inner=7.0):
    """A side button hugging the left flank: it stands out of the shell by `out` units."""
    def f(y):
        d = min(y - y0, y1 - y)
        u = max(0.0, (r - d) / r)
        return math.sqrt(max(0.0, 1 - u * u))
    n = 60
    ys = [y0 + (y1 - y0) * k / n for k in range(n + 1)]
    outer = [(edge_x(y) - out * f(y), y) for y in ys]
    back = [(edge_x(y) + inner * f(y), y) for y in reversed(ys)]
    return poly(outer + back)


FWD = (160, 204)
BACK = (210, 256)
FWD_D = rounded_pill(*FWD)
BACK_D = rounded_pill(*BACK)

SPOTS_TOP = {
    1: (112, 100),   # left
    2: (188, 100),   # right
    3: (150, 87),    # middle (wheel)
    4: (78, 182),    # forward
    5: (78, 233),    # back
    6: (150, 137),   # DPI
}


def hover(n, shape_d, extra=''):
    return '''
  <!-- {n}: glow and lit surface -->
  <path data-layer="hover-{n}" display="none" d="{d}" fill="none" stroke="{a}" stroke-width="4"
        opacity="0.9" filter="url(#hoverGlow)"/>
  <g data-layer="hover-{n}" display="none">
    <path d="{d}" fill="url(#hoverFill)" stroke="#9be6ff" stroke-width="1.2"
          stroke-linejoin="round"/>{extra}
  </g>'''.format(n=n, d=shape_d, a=ACC, extra=extra)


def rrect(r, **kw):
    attrs = ' '.join('%s="%s"' % (k.replace('_', '-'), v) for k, v in kw.items())
    return '<rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" rx="%.2f" %s/>' % (
        r['x'], r['y'], r['w'], r['h'], r['rx'], attrs)


def wheel_ridges():
    out = []
    y = WHEEL['y'] + 3
    while y < WHEEL['y'] + WHEEL['h'] - 3:
        out.append('M%.2f,%.2f H%.2f' % (WHEEL['x'] + 1.5, y, WHEEL['x'] + WHEEL['w'] - 1.5))
        y += 3.2
    return ' '.join(out)


def grip_lines(side):
    out = []
    for y in range(176, 346, 4):
        xs = [p[0] for p in body_pts if (p[0] - 150) * side > 0 and abs(p[1] - y) < 0.6]
        if not xs:
            continue
        x_edge = min(xs) if side < 0 else max(xs)
        out.append('M%.2f,%.2f L%.2f,%.2f' % (x_edge - side * 2, y, x_edge - side * 12, y - 2))
    return ' '.join(out)


top = '''<?xml version="1.0" encoding="UTF-8"?>
<!-- TOLV, top view. Design size 300 x 400 (rendered at 2x). The plain picture is everything
     without a data-layer; the layers hover-1 .. hover-6 are the glowing buttons laid exactly over
     it (1 left, 2 right, 3 middle, 4 forward, 5 back, 6 DPI). The layer "spots" marks the centre
     of each button: resources/ModelSpots.h repeats these centres for the program, and the
     resources test checks that both agree. -->
<svg xmlns="http://www.w3.org/2000/svg" width="300" height="400" viewBox="0 0 300 400">
  <defs>
    <radialGradient id="shell" cx="138" cy="255" r="150" gradientUnits="userSpaceOnUse"
                    gradientTransform="translate(138 255) scale(0.9 1.25) translate(-138 -255)">
      <stop offset="0" stop-color="#2a2e34"/>
      <stop offset="0.55" stop-color="#1c1f23"/>
      <stop offset="1" stop-color="#0c0d0f"/>
    </radialGradient>
    <linearGradient id="btnL" x1="0" y1="26" x2="0" y2="180" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#1a1d21"/>
      <stop offset="0.55" stop-color="#262a30"/>
      <stop offset="1" stop-color="#202328"/>
    </linearGradient>
    <linearGradient id="btnSheen" x1="80" y1="0" x2="220" y2="0" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#000000" stop-opacity="0.45"/>
      <stop offset="0.22" stop-color="#000000" stop-opacity="0"/>
      <stop offset="0.78" stop-color="#000000" stop-opacity="0"/>
      <stop offset="1" stop-color="#000000" stop-opacity="0.5"/>
    </linearGradient>
    <linearGradient id="wheel" x1="0" y1="62" x2="0" y2="112" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#0e1012"/>
      <stop offset="0.3" stop-color="#3a3f46"/>
      <stop offset="0.5" stop-color="#4a5058"/>
      <stop offset="0.7" stop-color="#3a3f46"/>
      <stop offset="1" stop-color="#0e1012"/>
    </linearGradient>
    <linearGradient id="dpi" x1="0" y1="126" x2="0" y2="148" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#3a3f46"/>
      <stop offset="1" stop-color="#1c1f23"/>
    </linearGradient>
    <linearGradient id="sideBtn" x1="70" y1="0" x2="86" y2="0" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#40464e"/>
      <stop offset="1" stop-color="#1a1d21"/>
    </linearGradient>
    <linearGradient id="rim" x1="70" y1="26" x2="230" y2="386" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.32"/>
      <stop offset="0.45" stop-color="#ffffff" stop-opacity="0.08"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0.02"/>
    </linearGradient>
    <linearGradient id="hoverFill" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#00beff" stop-opacity="0.42"/>
      <stop offset="1" stop-color="#00beff" stop-opacity="0.16"/>
    </linearGradient>
    <radialGradient id="logo" cx="150" cy="292" r="14" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#9be6ff"/>
      <stop offset="1" stop-color="#00beff"/>
    </radialGradient>

    <filter id="under"><feGaussianBlur stdDeviation="12"/><feOffset dx="0" dy="10"/></filter>
    <filter id="contact"><feGaussianBlur stdDeviation="5"/><feOffset dx="0" dy="4"/></filter>
    <filter id="edgeShade"><feGaussianBlur stdDeviation="7"/></filter>
    <filter id="soft16"><feGaussianBlur stdDeviation="16"/></filter>
    <filter id="soft5"><feGaussianBlur stdDeviation="5"/></filter>
    <filter id="soft2"><feGaussianBlur stdDeviation="2"/></filter>
    <filter id="soft1"><feGaussianBlur stdDeviation="1"/></filter>
    <filter id="hoverGlow"><feGaussianBlur stdDeviation="6"/></filter>

    <clipPath id="body"><path d="{BODY_D}"/></clipPath>
    <clipPath id="leftBtn"><path d="{LEFT_D}"/></clipPath>
    <clipPath id="rightBtn"><path d="{RIGHT_D}"/></clipPath>
  </defs>

  <!-- under-glow and contact shadow -->
  <path d="{BODY_D}" fill="{ACC}" opacity="0.22" filter="url(#under)"/>
  <path d="{BODY_D}" fill="#000000" opacity="0.8" filter="url(#contact)"/>

  <!-- side buttons, tucked under the shell -->
  <path d="{FWD_D}" fill="url(#sideBtn)" stroke="#08090b" stroke-width="0.8"/>
  <path d="{BACK_D}" fill="url(#sideBtn)" stroke="#08090b" stroke-width="0.8"/>

  <!-- shell -->
  <path d="{BODY_D}" fill="url(#shell)"/>
  <g clip-path="url(#body)" opacity="0.55">
    <path d="{GRIP_L}" stroke="#050607" stroke-width="0.9" stroke-linecap="round" fill="none"/>
    <path d="{GRIP_R}" stroke="#050607" stroke-width="0.9" stroke-linecap="round" fill="none"/>
  </g>
  <path d="{BODY_D}" fill="none" stroke="#000000" stroke-width="22" opacity="0.7"
        filter="url(#edgeShade)" clip-path="url(#body)"/>
  <ellipse cx="132" cy="262" rx="42" ry="70" fill="#ffffff" opacity="0.07"
           filter="url(#soft16)" clip-path="url(#body)"/>
  <ellipse cx="146" cy="250" rx="18" ry="58" fill="#ffffff" opacity="0.05"
           filter="url(#soft16)" clip-path="url(#body)"/>
  <path d="M112,214 C118,250 122,290 134,328" stroke="#ffffff" stroke-width="7" fill="none"
        stroke-linecap="round" opacity="0.07" filter="url(#soft5)" clip-path="url(#body)"/>

  <!-- buttons -->
  <path d="{LEFT_D}" fill="url(#btnL)"/>
  <path d="{RIGHT_D}" fill="url(#btnL)"/>
  <rect x="70" y="20" width="160" height="170" fill="url(#btnSheen)" clip-path="url(#leftBtn)"/>
  <rect x="70" y="20" width="160" height="170" fill="url(#btnSheen)" clip-path="url(#rightBtn)"/>
  <ellipse cx="116" cy="92" rx="16" ry="44" fill="#ffffff" opacity="0.06"
           filter="url(#soft5)" clip-path="url(#leftBtn)"/>
  <ellipse cx="184" cy="92" rx="16" ry="44" fill="#ffffff" opacity="0.045"
           filter="url(#soft5)" clip-path="url(#rightBtn)"/>
  <path d="{LEFT_D}" fill="none" stroke="#050607" stroke-width="1.4" stroke-linejoin="round"/>
  <path d="{RIGHT_D}" fill="none" stroke="#050607" stroke-width="1.4" stroke-linejoin="round"/>
  <path d="{SEAM_D}" fill="none" stroke="#ffffff" stroke-opacity="0.07" stroke-width="0.8"
        transform="translate(0 1.3)"/>

  <!-- channel, wheel, DPI button -->
  {CHAN_RECT}
  <rect x="141" y="58" width="18" height="58" rx="7" fill="{ACC}" opacity="0.55"
        filter="url(#soft2)"/>
  {WHEEL_RECT}
  <path d="{RIDGES}" stroke="#000000" stroke-opacity="0.45" stroke-width="1.1"/>
  <rect x="146" y="64" width="3" height="46" rx="1.5" fill="#ffffff" fill-opacity="0.08"/>
  {DPI_RECT}
  <rect x="145.5" y="127.2" width="9" height="1" rx="0.5" fill="#ffffff" fill-opacity="0.18"/>
  <rect x="146.5" y="140" width="7" height="2.4" rx="1.2" fill="{ACC}" opacity="0.9"
        filter="url(#soft1)"/>
  <rect x="147" y="140.4" width="6" height="1.6" rx="0.8" fill="#9be6ff"/>

  <!-- palm logo -->
  <path d="M141,284 H159 V287.5 L156.5,290 H152 V305 H148 V290 H139 V286 Z" fill="{ACC}"
        opacity="0.9" filter="url(#soft2)"/>
  <path d="M141,284 H159 V287.5 L156.5,290 H152 V305 H148 V290 H139 V286 Z" fill="url(#logo)"/>

  <!-- rim light -->
  <path d="{BODY_D}" fill="none" stroke="url(#rim)" stroke-width="1.1"/>
{HOVERS}

  <!-- centres of the buttons (not drawn in any picture of the skin) -->
  <g data-layer="spots" display="none" fill="none" stroke="#ff00ff" stroke-width="1">
{SPOTS}
  </g>
</svg>
'''

hovers = ''
hovers += hover(1, LEFT_D)
hovers += hover(2, RIGHT_D)
wheel_d = 'M%.2f,%.2f h%.2f v%.2f h%.2f Z' % (WHEEL['x'], WHEEL['y'], WHEEL['w'], WHEEL['h'], -WHEEL['w'])
def rr_d(r):
    x, y, w, h, rx = r['x'], r['y'], r['w'], r['h'], r['rx']
    return ('M%.2f,%.2f H%.2f A%.2f,%.2f 0 0 1 %.2f,%.2f V%.2f A%.2f,%.2f 0 0 1 %.2f,%.2f H%.2f '
            'A%.2f,%.2f 0 0 1 %.2f,%.2f V%.2f A%.2f,%.2f 0 0 1 %.2f,%.2f Z') % (
        x + rx, y, x + w - rx, rx, rx, x + w, y + rx, y + h - rx, rx, rx, x + w - rx, y + h,
        x + rx, rx, rx, x, y + h - rx, y + rx, rx, rx, x + rx, y)
hovers += hover(3, rr_d(WHEEL), '\n    <path d="%s" stroke="#ffffff" stroke-opacity="0.35" stroke-width="1.1"/>' % wheel_ridges())
hovers += hover(4, FWD_D)
hovers += hover(5, BACK_D)
hovers += hover(6, rr_d(DPI))

spots = '\n'.join('    <circle id="spot-%d" cx="%g" cy="%g" r="11"/>' % (k, v[0], v[1])
                  for k, v in sorted(SPOTS_TOP.items()))

svg = top
for k, v in dict(BODY_D=BODY_D, LEFT_D=LEFT_D, RIGHT_D=RIGHT_D, SEAM_D=SEAM_D, ACC=ACC,
                 FWD_D=FWD_D, BACK_D=BACK_D, GRIP_L=grip_lines(-1), GRIP_R=grip_lines(1),
                 CHAN_RECT=rrect(CHAN, fill='#050607', stroke='#000000', stroke_width='0.8'),
                 WHEEL_RECT=rrect(WHEEL, fill='url(#wheel)'),
                 DPI_RECT=rrect(DPI, fill='url(#dpi)', stroke='#050607', stroke_width='0.8'),
                 RIDGES=wheel_ridges(), HOVERS=hovers, SPOTS=spots).items():
    svg = svg.replace('{' + k + '}', v)
open(OUT + '/Mouse.svg', 'w').write(svg)
print('top spots', SPOTS_TOP)


# --------------------------------------------------------------------------------------------
# Side view (left side), 300 x 300 design units; the front points left.

SIDE = [(22, 196), (15, 185), (16, 172), (27, 163), (52, 151), (92, 133), (136, 118),
        (180, 111), (220, 115), (252, 129), (274, 150), (284, 173), (282, 190), (270, 197),
        (200, 200), (100, 200), (40, 199)]
side_segs = catmull(SIDE)
SIDE_D = bez_path(side_segs)
side_pts = sample(side_segs, 0.5)


def top_y(x):
    cand = [p[1] for p in side_pts if abs(p[0] - x) < 0.6 and p[1] < 180]
    return min(cand)


def band(x0, x1, off0, off1, r=5.0):
    """A pill following the top edge, between top_y+off0 and top_y+off1, round ends."""
    def f(x):
        d = min(x - x0, x1 - x)
        u = max(0.0, (r - d) / r)
        return math.sqrt(max(0.0, 1 - u * u))
    mid = (off0 + off1) / 2.0
    half = (off1 - off0) / 2.0
    xs = [x0 + (x1 - x0) * k / 80 for k in range(81)]
    upper = [(x, top_y(x) + mid - half * f(x)) for x in xs]
    lower = [(x, top_y(x) + mid + half * f(x)) for x in reversed(xs)]
    return poly(upper + lower)


def button_band():
    # the left button seen from the side: from the nose back to where it meets the shell
    xs = [16 + k * 0.5 for k in range(int((156 - 16) / 0.5) + 1)]
    upper = [(x, top_y(x) - 0.01) for x in xs if x >= 17]

    def depth(x):
        if x < 118:
            return 11.0
        t = (x - 118) / (156 - 118)
        return 11.0 * (1 - t * t)
    lower = [(x, top_y(x) + depth(x)) for x in reversed(xs) if x >= 17]
    return poly(upper + lower), poly(lower, closed=False)


BTN_SIDE_D, BTN_SEAM_D = button_band()
FWD_SIDE = (106, 148)
BACK_SIDE = (152, 194)
FWD_SIDE_D = band(FWD_SIDE[0], FWD_SIDE[1], 19, 31)
BACK_SIDE_D = band(BACK_SIDE[0], BACK_SIDE[1], 19, 31)
SPOTS_SIDE = {4: (127, round(top_y(127) + 25)), 5: (173, round(top_y(173) + 25))}


def thumb_rest():
    pts = [(104, 171), (128, 163), (170, 158), (212, 158), (236, 166), (238, 180), (222, 188),
           (170, 190), (124, 189), (104, 184)]
    return bez_path(catmull(pts))


def diagonal_lines(x0, x1, y0, y1, gap=4.0):
    out = []
    x = x0 - (y1 - y0)
    while x < x1:
        out.append('M%.1f,%.1f L%.1f,%.1f' % (x, y1, x + (y1 - y0), y0))
        x += gap
    return ' '.join(out)


side = '''<?xml version="1.0" encoding="UTF-8"?>
<!-- TOLV, left side view. Design size 300 x 300 (rendered at 2x); the front points left. The
     layer "spots" marks the centres of the forward and back buttons, repeated in
     resources/ModelSpots.h and checked by the resources test. -->
<svg xmlns="http://www.w3.org/2000/svg" width="300" height="300" viewBox="0 0 300 300">
  <defs>
    <linearGradient id="shell" x1="0" y1="110" x2="0" y2="200" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#30353b"/>
      <stop offset="0.3" stop-color="#1f2226"/>
      <stop offset="1" stop-color="#0b0c0e"/>
    </linearGradient>
    <linearGradient id="ends" x1="14" y1="0" x2="286" y2="0" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#000000" stop-opacity="0.55"/>
      <stop offset="0.15" stop-color="#000000" stop-opacity="0"/>
      <stop offset="0.85" stop-color="#000000" stop-opacity="0"/>
      <stop offset="1" stop-color="#000000" stop-opacity="0.6"/>
    </linearGradient>
    <linearGradient id="button" x1="0" y1="120" x2="0" y2="185" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#363b42"/>
      <stop offset="1" stop-color="#1a1d21"/>
    </linearGradient>
    <linearGradient id="sideBtn" x1="0" y1="130" x2="0" y2="160" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#4a5058"/>
      <stop offset="0.5" stop-color="#2a2e34"/>
      <stop offset="1" stop-color="#16181b"/>
    </linearGradient>
    <linearGradient id="wheel" x1="0" y1="0" x2="1" y2="0">
      <stop offset="0" stop-color="#15181b"/>
      <stop offset="0.5" stop-color="#4a5058"/>
      <stop offset="1" stop-color="#15181b"/>
    </linearGradient>
    <linearGradient id="rim" x1="14" y1="0" x2="286" y2="0" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.1"/>
      <stop offset="0.5" stop-color="#ffffff" stop-opacity="0.35"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0.05"/>
    </linearGradient>
    <linearGradient id="strip" x1="30" y1="0" x2="278" y2="0" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#00beff" stop-opacity="0"/>
      <stop offset="0.2" stop-color="#00beff"/>
      <stop offset="0.8" stop-color="#00beff"/>
      <stop offset="1" stop-color="#00beff" stop-opacity="0"/>
    </linearGradient>

    <filter id="floor"><feGaussianBlur stdDeviation="6 2.5"/></filter>
    <filter id="glow"><feGaussianBlur stdDeviation="3"/></filter>
    <filter id="soft8"><feGaussianBlur stdDeviation="8"/></filter>
    <filter id="soft3"><feGaussianBlur stdDeviation="3"/></filter>
    <filter id="soft1"><feGaussianBlur stdDeviation="1.2"/></filter>

    <clipPath id="body"><path d="{SIDE_D}"/></clipPath>
    <clipPath id="thumb"><path d="{THUMB_D}"/></clipPath>
  </defs>

  <!-- floor: shadow and the light of the base strip -->
  <ellipse cx="150" cy="202" rx="132" ry="5" fill="#000000" opacity="0.9" filter="url(#floor)"/>
  <ellipse cx="152" cy="203" rx="110" ry="4" fill="{ACC}" opacity="0.2" filter="url(#floor)"/>

  <!-- wheel, standing out of the top -->
  <ellipse cx="62" cy="{WHEEL_CY}" rx="19" ry="16" fill="url(#wheel)" stroke="#07080a"
           stroke-width="0.8"/>
  <path d="{WHEEL_RIDGES}" stroke="#000000" stroke-opacity="0.55" stroke-width="1.1"/>
  <ellipse cx="62" cy="{WHEEL_CY}" rx="19" ry="16" fill="none" stroke="{ACC}" stroke-width="2"
           opacity="0.5" filter="url(#soft3)"/>

  <!-- shell -->
  <path d="{SIDE_D}" fill="url(#shell)"/>
  <path d="{SIDE_D}" fill="url(#ends)"/>
  <path d="{THUMB_D}" fill="#0b0c0e" opacity="0.75"/>
  <path d="{THUMB_LINES}" stroke="#000000" stroke-width="1" stroke-opacity="0.8"
        clip-path="url(#thumb)"/>
  <path d="{THUMB_D}" fill="none" stroke="#000000" stroke-width="6" opacity="0.8"
        filter="url(#soft3)" clip-path="url(#thumb)"/>
  <path d="{THUMB_D}" fill="none" stroke="#ffffff" stroke-opacity="0.06" stroke-width="0.8"
        transform="translate(0 0.8)"/>
  <ellipse cx="170" cy="128" rx="80" ry="10" fill="#ffffff" opacity="0.08"
           filter="url(#soft8)" clip-path="url(#body)"/>

  <!-- left button -->
  <path d="{BTN_D}" fill="url(#button)"/>
  <path d="{BTN_SEAM_D}" fill="none" stroke="#050607" stroke-width="1.3"/>
  <path d="{BTN_SEAM_D}" fill="none" stroke="#ffffff" stroke-opacity="0.07" stroke-width="0.8"
        transform="translate(0 1.2)"/>

  <!-- forward and back buttons -->
  <path d="{FWD_D}" fill="#000000" opacity="0.7" filter="url(#soft1)" transform="translate(0 1.5)"/>
  <path d="{BACK_D}" fill="#000000" opacity="0.7" filter="url(#soft1)" transform="translate(0 1.5)"/>
  <path d="{FWD_D}" fill="url(#sideBtn)" stroke="#07080a" stroke-width="0.8"/>
  <path d="{BACK_D}" fill="url(#sideBtn)" stroke="#07080a" stroke-width="0.8"/>
  <path d="{FWD_HI}" fill="none" stroke="#ffffff" stroke-opacity="0.22" stroke-width="0.8"
        stroke-linecap="round"/>
  <path d="{BACK_HI}" fill="none" stroke="#ffffff" stroke-opacity="0.22" stroke-width="0.8"
        stroke-linecap="round"/>

  <!-- base strip -->
  <rect x="30" y="190" width="248" height="3" fill="{ACC}" opacity="0.45" filter="url(#glow)"/>
  <rect x="30" y="191" width="248" height="1.2" fill="url(#strip)"/>
  <rect x="30" y="193.5" width="248" height="5" fill="#07080a" clip-path="url(#body)"/>

  <!-- rim light along the top -->
  <path d="{TOP_EDGE}" fill="none" stroke="#ffffff" stroke-width="3" opacity="0.18"
        filter="url(#soft3)" clip-path="url(#body)"/>
  <path d="{TOP_EDGE}" fill="none" stroke="url(#rim)" stroke-width="1.1"/>

  <!-- centres of the buttons (not drawn in any picture of the skin) -->
  <g data-layer="spots" display="none" fill="none" stroke="#ff00ff" stroke-width="1">
{SPOTS}
  </g>
</svg>
'''


def wheel_ridges_side():
    cy = top_y(62) + 8
    out = []
    for k in range(-8, 9):
        x = 62 + 18 * math.sin(k / 9.0 * math.pi / 2)
        out.append('M%.2f,%.2f V%.2f' % (x, cy - 16 * math.cos(k / 9.0 * math.pi / 2) + 1, cy))
    return ' '.join(out), cy


def highlight(x0, x1, off):
    pts = [(x, top_y(x) + off) for x in [x0 + 4 + (x1 - x0 - 8) * k / 30 for k in range(31)]]
    return poly(pts, closed=False)


ridges, wcy = wheel_ridges_side()
top_edge = poly([p for p in side_pts if p[1] < 185 and 18 < p[0] < 282 and p[1] <= top_y(p[0]) + 0.1],
                closed=False)
svg = side
for k, v in dict(SIDE_D=SIDE_D, THUMB_D=thumb_rest(),
                 THUMB_LINES=diagonal_lines(96, 244, 150, 196, 3.2),
                 BTN_D=BTN_SIDE_D, BTN_SEAM_D=BTN_SEAM_D, FWD_D=FWD_SIDE_D, BACK_D=BACK_SIDE_D,
                 FWD_HI=highlight(FWD_SIDE[0], FWD_SIDE[1], 20.6),
                 BACK_HI=highlight(BACK_SIDE[0], BACK_SIDE[1], 20.6),
                 WHEEL_CY='%.2f' % wcy, WHEEL_RIDGES=ridges, TOP_EDGE=top_edge, ACC=ACC,
                 SPOTS='\n'.join('    <circle id="spot-%d" cx="%g" cy="%g" r="11"/>' % (k, v[0], v[1])
                                 for k, v in sorted(SPOTS_SIDE.items()))).items():
    svg = svg.replace('{' + k + '}', v)
open(OUT + '/../TOLV_Side.svg', 'w').write(svg)
print('side spots', SPOTS_SIDE)
