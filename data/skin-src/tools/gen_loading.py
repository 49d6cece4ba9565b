#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes loading.svg, one frame of the loading animation: a track ring and a comet arc whose
tail fades by colour, not by transparency (GIF has only on/off transparency). The build turns
it into the animated GIF; it never runs this script.

    python3 data/skin-src/tools/gen_loading.py data/skin-src/loading.svg
"""
import math
import sys
cx=cy=32; r=24; w=5
track=(0x1e,0x25,0x2b); acc=(0x00,0xbe,0xff)
segs=48; span=290.0
out=[]
out.append('<?xml version="1.0" encoding="UTF-8"?>')
out.append('<!-- Loading animation, one frame: the renderer turns it once around its centre over all\n     frames. The tail fades by colour, not by transparency: GIF has only on/off transparency. -->')
out.append('<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">')
out.append(f'  <circle cx="{cx}" cy="{cy}" r="{r}" fill="none" stroke="#1e252b" stroke-width="{w}"/>')
def pt(a):
    return (cx+r*math.sin(math.radians(a)), cy-r*math.cos(math.radians(a)))
for i in range(segs):
    t0=i/segs; t1=(i+1)/segs
    a0=-span+span*t0; a1=-span+span*t1+ (0.6 if i<segs-1 else 0)
    t=(t0+t1)/2
    e=t**1.6
    c=tuple(round(track[k]+(acc[k]-track[k])*e) for k in range(3))
    x0,y0=pt(a0); x1,y1=pt(a1)
    out.append(f'  <path d="M{x0:.2f},{y0:.2f} A{r},{r} 0 0 1 {x1:.2f},{y1:.2f}" fill="none" stroke="#{c[0]:02x}{c[1]:02x}{c[2]:02x}" stroke-width="{w}"/>')
hx,hy=pt(0)
out.append(f'  <circle cx="{hx:.2f}" cy="{hy:.2f}" r="{w/2+0.3:.2f}" fill="#00beff"/>')
out.append(f'  <circle cx="{hx:.2f}" cy="{hy:.2f}" r="1.2" fill="#c9f2ff"/>')
out.append('</svg>')
open(sys.argv[1],'w').write('\n'.join(out)+'\n')
