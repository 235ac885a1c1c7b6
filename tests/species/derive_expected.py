#!/usr/bin/env python3
"""Works out, from the flowers' formulas alone, the numbers that the species
tests expect, and checks that the tests still hold them.

The six generators are written here again in plain Python, straight from the
description of each species (model frame, grid and stem walks with their
running sums, the part formulas, the colour rule); nothing is taken from the
C++ sources. Python's floats are IEEE doubles without fused multiply-adds, so
the sums accumulate exactly as the walks describe; only the last bits of sin
and cos may differ from the program's own, which the tests' tolerance of
1e-12 allows for.

    derive_expected.py print   prints the tables, to paste into the tests
    derive_expected.py check DIR
                               compares them with the tests in DIR; exit 1
                               and a list of differences when they disagree
"""

import math
import re
import sys
from math import cos, pi, sin

ROWS = 40
PARTS = {1: 8, 2: 4, 3: 9, 4: 9, 5: 9, 6: 11}
CHANNELS = ("x", "y", "z", "r", "g", "b", "r2", "g2", "b2")


def model_frame():
    phi, theta, psi = 0 - pi / 2, 0.0, pi + pi / 2
    m11 = cos(theta) * cos(phi) - sin(theta) * sin(phi) * cos(psi)
    m12 = cos(theta) * cos(phi) * cos(psi) + cos(theta) * sin(phi)
    m13 = sin(theta) * sin(psi)
    m21 = -sin(theta) * cos(phi) - cos(theta) * sin(phi) * cos(psi)
    m22 = cos(theta) * cos(phi) * cos(psi) - sin(theta) * sin(phi)
    m23 = cos(theta) * sin(psi)
    m31 = sin(phi) * sin(psi)
    m32 = -cos(phi) * sin(psi)
    m33 = cos(psi)

    def apply(x, y, z):
        return (m11 * x + m12 * y + m13 * z,
                m21 * x + m22 * y + m23 * z + 10,
                m31 * x + m32 * y + m33 * z)
    return apply


FRAME = model_frame()


def blend(c, F):
    return c + (1 - c) / F


class Block:
    """One species' cells: (part, row, col) -> nine channels (set B zero
    where a part does not write it)."""

    def __init__(self):
        self.cells = {}

    def put(self, part, r, c, raw, a, b=(0.0, 0.0, 0.0)):
        self.cells[(part, r, c)] = FRAME(*raw) + tuple(a) + tuple(b)


def grid_walk(R, C, u0, du, dt, T, vertex, after=None):
    """Rows 0..R, columns 0..C; t and u are running sums. `after(row_end,
    capped)` runs after the walk's own updates of each vertex."""
    t, u = 0.0, u0
    for r in range(R + 1):
        for c in range(C + 1):
            vertex(r, c, t, u)
            u = u + du
            row_end = c == C
            if row_end:
                t = t + dt
                u = u0
            capped = t >= T
            if capped:
                t = T
            if after:
                after(row_end, capped)


def stem_walk(Cs, dA, dh, vertex, h0=3.0, after=None):
    w, A, h = 0.0, 0.0, h0
    for r in range(ROWS):
        for c in range(Cs + 1):
            vertex(r, c, w, A, h)
            w = w + pi / 4
            if c == Cs:
                w = 0.0
                A = A + dA
                h = h + dh
            if after:
                after()


def grey(v, n):
    return (v,) * n


# --- species 1 -------------------------------------------------------------

def species1(M, F, grid_walk=grid_walk):
    g = Block()
    for part in range(4):
        def vertex(r, c, t, u, part=part):
            q = cos(1.1 * t) + sin(1.1 * t)
            if part == 0:
                x = 3 * cos(t) * sin(t / 2) * cos(u) / 1.4 - 3 * sin(t) * cos(u) / 1.2 - 1 / 3
                y = 3 * cos(t) * sin(t) * sin(u) / 1.4
            elif part == 1:
                th = u + pi / 2
                x = 3 * cos(t) * sin(t) * cos(th) / 1.4 - 1 / 3
                y = 3 * cos(t) * sin(t / 2) * sin(th) / 1.4 - 3 * sin(t) * cos(u) / 1.2
            elif part == 2:
                th = u + pi
                x = 3 * sin(t) * cos(u) / 1.2 + 3 * cos(t) * sin(t / 2) * cos(th) / 1.4 - 1 / 3
                y = 3 * cos(t) * sin(t) * sin(th) / 1.4
            else:
                th = (u + pi) + pi / 2
                x = 3 * cos(t) * sin(t) * cos(th) / 1.4 - 1 / 3
                y = 3 * sin(t) * cos(u) / 1.2 + 3 * cos(t) * sin(t / 2) * sin(th) / 1.4
            z = 3 * cos(t * q / 1.2)
            w1 = t / 5 + pi / 5 - u * u / 5
            w2 = t / 9 + pi / 7 - u * u / 5
            w3 = t / 7 + pi / 9 - u * u / 5
            if F == 1:
                a = b = grey(sin(w1), 3)
            else:
                red = cos(u) + sin(w1) + (1 - sin(w1) + cos(u)) / F
                a = (red, blend(sin(w2), F), blend(sin(w3), F))
                b = (red, blend(sin(w3), F), blend(sin(w2), F))
            g.put(part, r, c, (x, y, z), a, b)
        grid_walk(6 * M, 2 * M, -pi / 4, pi / (4 * M), pi / (12 * M), pi / 2, vertex)

    def stem(r, c, w, A, h):
        rho = 0.02
        x = 3 * sin(2.2 * A) / 4 + 3 * sin(rho) * cos(w) - 1 / 3
        y = 3 * sin(rho) * sin(w)
        if F == 1:
            a = grey(cos(A / 4 + pi / 3), 3)
        else:
            rb = blend(0.1 * sin(A / 2), F)
            a = (rb, blend(cos(A / 3 + 1), F), rb)
        g.put(4, r, c, (x, y, h), a)
    stem_walk(7, pi / 80, 3 / 16, stem)

    for part in (5, 6, 7):
        def vertex(r, c, t, u, part=part):
            k = 1.1 if part == 5 else 1.2
            q = cos(k * t) + sin(k * t)
            th = u + 2 * pi / 3
            if part >= 6:
                th = th + 2 * pi / 3
            if part == 7:
                th = th + 2 * pi / 3
            if part == 5:
                x = 3 * sin(t) / 4 + 3 * cos(t) * sin(t / 3) * cos(th) + 0.6 - 1 / 3
                y = 3 * cos(t) * sin(t / 3) * sin(th) - sin(t)
                z = 3 * cos(t * q / 1.7) + 2.1
            elif part == 6:
                x = 3 * sin(t) / 4 + 3 * cos(t) * sin(t / 3) * cos(th) + 0.75 - 1 / 3
                y = sin(t) + 3 * cos(t) * sin(t / 3) * sin(th)
                z = 3 * cos(t * q / 1.7) + 3.6
            else:
                x = 3 * cos(t) * sin(t / 3) * cos(th) + 0.5 - sin(t) - 1 / 3
                y = 3 * cos(t) * sin(t / 3) * sin(th)
                z = 3 * cos(t * q / 1.7) + 5.1
            if F == 1:
                a = grey(sin(t / 4 + 0.3 - u * u), 3)
            else:
                rb = blend(sin(t / 5 - u * u), F)
                a = (rb, blend(sin(t / 5 + 0.3 - u * u), F), rb)
            g.put(part, r, c, (x, y, z), a)
        grid_walk(6 * M, M, -pi / 8, pi / (4 * M), pi / (10 * M), pi / 2, vertex)
    return g


# --- species 2 -------------------------------------------------------------

def species2(M, F):
    g = Block()
    s = [0.0]

    def cup(r, c, t, u):
        q = cos(1.3 * t) + sin(1.3 * t)
        x = 3 * cos(u) * sin(t / 1.5) / 1.4 - 1 / 3
        y = 3 * sin(u) * sin(t / 1.5) / 1.4
        z = 3 * sin(2.27 * s[0]) / 8 + 3 * cos(t * q / 1.2)
        e1 = t / 5 + pi / 5
        e2 = t / 4 + pi / 7
        if F == 1:
            a = b = grey(sin(t / 5 + pi / 6), 3)
        else:
            rb = blend(sin(e1), F)
            a = (rb, blend(sin(e2), F), rb)
            b = (sin(t / 5 + pi / 3) + (1 - sin(e1)) / F,
                 sin(t / 7 + pi / 5) + (1 - sin(e2)) / F,
                 sin(t / 3 + pi / 15) + (1 - sin(e1)) / F)
        g.put(0, r, c, (x, y, z), a, b)

    def rim(row_end, capped):
        s[0] = 0.0 if row_end else s[0] + 0.7 / M
    grid_walk(6 * M, 8 * M + 1, 0.0, pi / (4 * M), pi / (12 * M), pi / 2, cup, rim)

    def stem(r, c, w, A, h):
        rho = 0.02
        x = sin(A) * h / 7 + 3 * sin(rho) * cos(w) - 1 / 3
        y = 3 * sin(rho) * sin(w)
        if F == 1:
            a = grey(sin(rho / 5 + pi / 6), 3)
        else:
            rb = blend(sin(A / 25), F)
            a = (rb, blend(cos(A / 10 + pi / 3), F), rb)
        g.put(1, r, c, (x, y, h), a)
    stem_walk(5, pi / 40, 3 / 16, stem)

    for part in (2, 3):
        def leaf(r, c, t, u, part=part):
            if part == 2:
                x = 3 * cos(t) * sin(t) * cos(u) / 2 + 0.6 - 3 * sin(t) / 1.4 - 1 / 3
                y = 3 * cos(t) * sin(t) * sin(u) / 2
                z = cos(2 * t) + 4.2
            else:
                th = u + pi
                x = 3 * sin(t) / 1.4 + 3 * cos(t) * sin(t) * cos(th) / 2 + 1 - 1 / 3
                y = 3 * cos(t) * sin(t) * sin(th) / 2
                z = cos(2 * t) + 6.6
            e3 = t / 3 - u * u
            e4 = t / 2 + 0.3 - u * u
            if F == 1:
                a = grey(sin(e4), 3)
            else:
                rb = blend(0.3 * sin(e3), F)
                a = (rb, blend(0.7 * sin(e4), F), rb)
            g.put(part, r, c, (x, y, z), a)
        grid_walk(6 * M, M, -pi / 8, pi / (4 * M), pi / (12 * M), pi / 2, leaf)
    return g


# --- species 3 -------------------------------------------------------------

def species3(M, F):
    g = Block()
    for part in range(6):
        def petal(r, c, t, u, part=part):
            q = cos(t) + sin(t)
            if part == 0:
                th = u
                x = 3 * cos(t) * sin(t) * cos(th) / 1.4 - 3 * sin(t) * cos(u) - 1 / 3
                y = 3 * cos(t) * sin(t) * sin(th) / 1.4
            elif part == 1:
                th = u + 2 * pi / 3
                x = 3 * sin(t) * cos(u) / 2 + 3 * cos(t) * sin(t) * cos(th) / 1.4 - 1 / 3
                y = 3 * cos(t) * sin(t) * sin(th) / 1.4 - 3 * sin(t) * cos(u)
            elif part == 2:
                th = u + 4 * pi / 3
                x = 3 * sin(t) * cos(u) / 2 + 3 * cos(t) * sin(t) * cos(th) / 1.4 - 1 / 3
                y = 3 * sin(t) * cos(u) + 3 * cos(t) * sin(t) * sin(th) / 1.4
            elif part == 3:
                th = u + pi / 3
                x = 3 * cos(t) * sin(t / 1.5) * cos(th) / 1.4 - sin(t) * cos(u) - 1 / 3
                y = 3 * cos(t) * sin(t / 1.5) * sin(th) / 1.4 - 3 * sin(t) * cos(u) / 1.8
            elif part == 4:
                th = (u + 2 * pi / 3) + pi / 3
                x = 3 * sin(t) * cos(u) / 1.5 + 3 * cos(t) * sin(t / 1.5) * cos(th) / 1.4 - 1 / 3
                y = 3 * cos(t) * sin(t / 1.5) * sin(th) / 1.4
            else:
                th = (u + 4 * pi / 3) + pi / 3
                x = 3 * cos(t) * sin(t / 1.5) * cos(th) / 1.4 - 3 * sin(t) * cos(u) / 2.7 - 1 / 3
                y = 3 * sin(t) * cos(u) / 2.7 + 3 * cos(t) * sin(t / 1.5) * sin(th) / 1.4
            z = 3 * cos(t * q / (1.3 if part <= 2 else 1.2))
            e1 = t / 2 + 0.15 - u * u / 2
            e2 = t / 15 + 0.1 - u * u
            e3 = t / 7 + 0.2 - u * u / 2
            if F == 1:
                a = b = grey(sin(t / 2 + 0.3 - u * u / 2), 3)
            else:
                green = blend(sin(e2), F)
                a = (blend(sin(e1), F), green, blend(sin(e3), F))
                b = (sin(t / 2 + 0.15 - u * u / 3) + (1 - sin(e1)) / F,
                     sin(t / 3 + 0.2 - u * u / 3) + (1 - sin(e3)) / F, green)
            g.put(part, r, c, (x, y, z), a, b)
        grid_walk(6 * M, 2 * M, -pi / 4, pi / (4 * M), pi / (12 * M), pi / 2, petal)

    def stem(r, c, w, A, h):
        rho = 0.02
        x = sin(A) * h / 7 + 3 * sin(rho) * cos(w) - 1 / 3
        y = 3 * sin(rho) * sin(w)
        if F == 1:
            a = grey(cos(A / 7 + pi / 3), 3)
        else:
            a = (blend(sin(A / 25), F), blend(cos(A / 10 + pi / 3), F),
                 blend(cos(A / 25 + 5 * pi / 11), F))
        g.put(6, r, c, (x, y, h), a)
    stem_walk(5, pi / 40, 3 / 16, stem)

    for part in (7, 8):
        def leaf(r, c, t, u, part=part):
            q = cos(1.1 * t) + sin(1.1 * t)
            if part == 7:
                x = 3 * cos(t) * sin(t) * cos(u) + 0.6 - 3 * sin(t) - 1 / 3
                y = 3 * cos(t) * sin(t / 2) * sin(u)
                z = 3 * cos(t * q / 1.1) / 2 - sin(u * u / 2) + 3.75
            else:
                th = u + pi
                x = 3 * sin(t) / 1.2 + 3 * cos(t) * sin(t) * cos(th) + 3 / 2.75 - 1 / 3
                y = 3 * cos(t) * sin(t / 2) * sin(th)
                z = 3 * cos(t * q / 1.1) / 2 - sin(u * u / 2) + 6
            if F == 1:
                a = grey(sin(t / 3 + 0.3 - u * u), 3)
            else:
                e4 = t / 7 + t / 15 - 1.5 * (u * u)
                e5 = t / 4 + 0.2 - u * u
                rb = blend(sin(e4), F)
                a = (rb, blend(sin(e5), F), rb)
            g.put(part, r, c, (x, y, z), a)
        grid_walk(6 * M, 2 * M, -pi / 8, pi / (8 * M), pi / (12 * M), pi / 2, leaf)
    return g


# --- species 4 -------------------------------------------------------------

def species4(M, F):
    g = Block()
    for part in range(6):
        def petal(r, c, t, u, part=part):
            q = cos(1.1 * t) + sin(1.1 * t)
            gs = sin(1.6 * t) + cos(1.6 * t) * sin(2 * t) / sin(1.6 * t + 0.001)
            if part == 0:
                x = 3 * sin(t) * cos(u) - 1 / 3
                y = 3 * sin(t) * sin(gs * u)
                z = 3 * cos(t * q / 1.4)
            elif part == 1:
                x = 3 * sin(t) * cos(10 * pi / 11 + u) - 1 / 3
                y = 3 * sin(t) * sin(gs * u + 10 * pi / 11)
                z = 3 * cos(t * q / 1.4)
            elif part == 2:
                x = 3 * sin(t / 1.6) * cos(gs * u + pi / 2) - 1 / 3
                y = 3 * sin(t / 1.6) * sin(pi / 2 + u)
                z = 3 * cos(t * q / 1.2)
            elif part == 3:
                x = 3 * sin(t / 1.6) * cos((gs * u + pi) + pi / 2) - 1 / 3
                y = 3 * sin(t / 1.6) * sin((pi + u) + pi / 2)
                z = 3 * cos(t * q / 1.2)
            elif part == 4:
                x = 3 * sin(t / 2.4) * cos(u) - 1 / 3
                y = 3 * sin(t / 2.4) * sin(gs * u)
                z = 3 * cos(t * q / 1.1)
            else:
                x = 3 * sin(t / 2.4) * cos(pi + u) - 1 / 3
                y = 3 * sin(t / 2.4) * sin(gs * u + pi)
                z = 3 * cos(t * q / 1.1)
            e1 = t / 2 + pi / 10 - u * u / 3
            e2 = t / 15 + pi / 20 - u * u / 3
            e3 = t / 10 + pi / 10 - u * u / 3
            e4 = t / 5 + pi / 20 - u * u / 3
            if F == 1:
                a = b = grey(sin(e1), 3)
            else:
                red, green = blend(sin(e1), F), blend(sin(e2), F)
                a = (red, green, blend(sin(e3), F))
                b = (red, green if part == 0 else blend(sin(e4), F), green)
            g.put(part, r, c, (x, y, z), a, b)
        u0 = -0.9817477042468103 if part <= 1 else -1.0471975511965979
        grid_walk(6 * M, 3 * M, u0, pi / (4 * M), pi / (12 * M), pi / 2, petal)

    def stem(r, c, w, A, h):
        rho = 0.02
        x = sin(A) * h / cos(A) + 3 * sin(rho) * cos(w) - 1 / 3
        y = 3 * sin(rho) * sin(w)
        if F == 1:
            a = grey(0.5 * cos(3 * A + 0.3), 3)
        else:
            rb = blend(0.1 * cos(A), F)
            a = (rb, blend(0.5 * cos(3 * A + 0.3), F), rb)
        g.put(6, r, c, (x, y, h), a)
    stem_walk(5, pi / 640, 3 / 16, stem)

    for part in (7, 8):
        def leaf(r, c, t, u, part=part):
            q = cos(1.1 * t) + sin(1.1 * t)
            gs = sin(1.6 * t) + cos(1.6 * t) * sin(t) / sin(1.6 * t + 0.001)
            if part == 7:
                x = 3 * sin(t / 3) * cos(pi + u) + 3 / 9 - 1 / 3
                y = 3 * sin(t / 3) * sin(gs * u + pi)
                z = 3 * cos(t * q / 2) + 0.7 * 3
            else:
                x = 3 * sin(t / 3) * cos(u) + 3 / 3.6 - 1 / 3
                y = 3 * sin(t / 3) * sin(gs * u)
                z = 3 * cos(t * q / 2) + 3 * 1.5
            e5 = t / 2 + 0.5 + u * u / 2
            if F == 1:
                a = grey(0.5 * sin(e5), 3)
            else:
                a = (blend(0.2 * sin(t / 5), F), blend(0.5 * sin(e5), F),
                     blend(0.2 * sin(t / 2), F))
            g.put(part, r, c, (x, y, z), a)
        grid_walk(6 * M, 2 * M, -pi / 8, pi / (4 * M), pi / (12 * M), 1.4279966607226333, leaf)
    return g


# --- species 5 -------------------------------------------------------------

def species5(M, F):
    g = Block()
    for part in range(6):
        def petal(r, c, t, u, part=part):
            p = cos(t) + sin(t)
            gs = sin(2 * t) + cos(1.5 * t) * sin(2 * t) / sin(1.2 * t + 0.001)
            a_ = cos(t / 1.2) * (1.5 * u) * gs
            if part == 1:
                a_ = a_ + pi / 3
            elif part == 2:
                a_ = a_ + 2 * pi / 3
            elif part == 3:
                a_ = a_ + pi
            elif part == 4:
                a_ = (a_ + pi) + pi / 3
            elif part == 5:
                a_ = (a_ + pi) + 2 * pi / 3
            b_ = cos(t) * u / 2 + (3 - p)
            x = cos(t / 2) * sin(t) * cos(a_) * b_ - 1 / 3
            y = cos(t / 2) * sin(a_) * sin(t) * b_
            z = 3 * cos(t * p / 1.2)
            e1 = t / 2 + 0.3 - 2 * u * u
            e2 = t / 9 + 0.1 - 2 * u * u
            e3 = t / 15 + 0.3 - 2 * u * u
            e4 = t / 5 + 0.3 - 2 * u * u
            if F == 1:
                a = b = grey(sin(e1), 3)
            else:
                red, green = blend(sin(e1), F), blend(sin(e2), F)
                a = (red, green, blend(sin(e3), F))
                b = (red, sin(e4) + (1 - sin(e3)) / F, green)
            g.put(part, r, c, (x, y, z), a, b)
        grid_walk(6 * M, 2 * M, -pi / 8, pi / (8 * M), pi / (12 * M), pi / 2, petal)

    s = [0.0]

    def stem(r, c, w, A, h):
        rho = 0.02
        ss = s[0]
        x = cos(ss) * (sin(ss) * sin(A) * h / cos(A)) + 3 * sin(rho) * cos(w) - 1 / 3
        y = 3 * sin(rho) * sin(w)
        if F == 1:
            a = grey(0.5 * cos(ss / 2 + 0.1), 3)
        else:
            rb = blend(0.1 * cos(ss), F)
            a = (rb, blend(0.5 * cos(ss / 2 + 0.1), F), rb)
        g.put(6, r, c, (x, y, h), a)

    def stem_phase():
        s[0] = s[0] + pi / 340
    stem_walk(5, pi / 840, 3 / 18, stem, after=stem_phase)

    for part in (7, 8):
        ls = [0.0]

        def leaf(r, c, t, u, part=part, ls=ls):
            s_ = ls[0]
            if part == 7:
                x = cos(s_) * sin(2 * t) * 3 * cos(pi / 2 + u) / 2.5 - 0.2
                y = sin(t) / cos(t / 4) + 3 * sin(pi / 2 + u) * sin(t / 50)
                z = 3 * cos(s_) * cos(t) + 1.2 * 3
            else:
                x = cos(s_) * sin(2 * t) * 3 * cos((pi + u) + pi / 2) / 2.7 + 3 / 10 - 0.6
                y = 3 * sin((pi + u) + pi / 2) * sin(t / 3) / 5 - 1.2 * sin(t) / cos(t / 4)
                z = 3 * cos(s_) * cos(t) + 1.6 * 3
            e5 = t / 5 - 2 * u * u
            e6 = t / 3 + 0.3 - 2 * u * u
            if F == 1:
                a = grey(sin(e6), 3)
            else:
                rb = blend(sin(e5), F)
                a = (rb, blend(sin(e6), F), rb)
            g.put(part, r, c, (x, y, z), a)

        def leaf_phase(row_end, capped, ls=ls):
            if row_end:
                ls[0] = ls[0] + pi / 60
            if capped:
                ls[0] = 0.0
        grid_walk(6 * M, 2 * M, -pi / 8, pi / (8 * M), pi / (12 * M), pi / 2, leaf, leaf_phase)
    return g


# --- species 6 -------------------------------------------------------------

def species6(M, F):
    g = Block()

    def spread(t, eps):
        return sin(2.6 * t) + cos(2.6 * t) * sin(2 * t) / sin(2.6 * t + eps)

    for part in range(8):
        def petal(r, c, t, u, part=part):
            c2 = cos(2 * u)
            gs = spread(t, 0.01 if part in (0, 1, 7) else 0.001)
            z = 3 * cos(t * c2)
            if part <= 3:
                a_ = (u * c2 * gs) / 1.2
                if part == 1:
                    a_ = a_ + pi / 2
                elif part == 2:
                    a_ = a_ + pi
                elif part == 3:
                    a_ = (a_ + pi) + pi / 2
                x = 3 * sin(t) * cos(a_)
                y = 3 * sin(t) * sin(a_) + 5 / 7
            elif part == 4:
                x = 3 * sin(t / 1.6) * cos(u * c2 * gs + pi / 4)
                y = 3 * sin(t / 1.6) * sin(pi / 4 + u) / 1.2 + 5 / 7
            elif part == 5:
                x = 3 * sin(t / 1.6) * cos((pi / 2 + u) + pi / 4)
                y = 3 * sin(t / 1.6) * sin((u * c2 * gs + pi / 2) + pi / 4) / 1.2 + 5 / 7
            elif part == 6:
                x = 3 * sin(t / 1.6) * cos((u * c2 * gs + pi) + pi / 4)
                y = 3 * sin(t / 1.6) * sin((pi + u) + pi / 4) / 1.2 + 5 / 7
            else:
                x = 3 * sin(t / 1.6) * cos(((u * gs + pi) + pi / 2) + pi / 4) * c2
                y = 3 * sin(t / 1.6) * sin(((pi + u) + pi / 2) + pi / 4) / 1.2 + 5 / 7
            e1 = t / 3 + 0.3 - u * u / 2
            e2 = 0.3 - u * u / 5
            e3 = t / 3 + 0.5 - u * u / 2
            if F == 1:
                a = b = grey(sin(t / 3 + 0.5 - u * u), 3)
            else:
                a = (blend(sin(e1), F), blend(sin(e2), F), blend(sin(e3), F))
                b = (sin(t / 2 + 0.5 - u * u) + (1 - sin(e1)) / F,
                     sin(0.1 - u * u) + (1 - sin(e2)) / F,
                     sin(t / 7 + 0.25 - u * u) + (1 - sin(e3)) / F)
            g.put(part, r, c, (x, y, z), a, b)
        grid_walk(4 * M, 2 * M, -pi / 8, pi / (8 * M), pi / (12 * M), pi / 4, petal)

    s = [0.0]

    def stem(r, c, w, A, h):
        rho = 0.016
        ss = s[0]
        x = sin(ss) * (cos(ss) * sin(A) * h / cos(A)) + 3 * sin(rho) * cos(w)
        y = 3 * sin(rho) * sin(w) + 5 / 7
        if F == 1:
            a = grey(0.5 * cos(ss / 2 + 0.3), 3)
        else:
            rb = blend(0.1 * cos(ss / 3), F)
            a = (rb, blend(0.5 * cos(ss / 2 + 0.3), F), rb)
        g.put(8, r, c, (x, y, h), a)

    def stem_phase():
        s[0] = s[0] + pi / 420
    stem_walk(5, pi / 840, 3 / 17, stem, after=stem_phase)

    for part in (9, 10):
        def leaf(r, c, t, u, part=part):
            c2 = cos(2 * u)
            gs = spread(t, 0.001)
            if part == 9:
                x = (3 * sin(t) * cos(((u * gs + pi) + pi / 2) + pi / 4) * c2 + 3 / 10) / 2.4
                y = 3 * sin(((pi + u) + pi / 2) + pi / 4) * sin(t / 1.6) / 2.8 + 5 / 7
                z = 3 * cos(t * c2) + 0.6 * 3
            else:
                x = (3 * sin(t) * cos(u * gs + pi) * c2 - 3 / 6) / 2.4 + (5 / 7) / 1.4
                y = 3 * sin(pi + u) * sin(t / 1.6) / 2.4 + 5 / 7
                z = 3 * cos(t * c2) + 1.5 * 3
            e4 = t / 5 - u * u
            e5 = t / 3 + 0.3 - u * u
            if F == 1:
                a = grey(sin(e5), 3)
            else:
                rb = blend(sin(e4), F)
                a = (rb, blend(sin(e5), F), rb)
            g.put(part, r, c, (x, y, z), a)
        grid_walk(4 * M, 2 * M, -pi / 8, pi / (8 * M), pi / (12 * M), pi / 4, leaf)
    return g


GENERATORS = {1: species1, 2: species2, 3: species3, 4: species4, 5: species5, 6: species6}
_cache = {}


def generate(species, M, F):
    key = (species, M, F)
    if key not in _cache:
        _cache[key] = GENERATORS[species](M, F)
    return _cache[key]


# --- the tables the tests hold ---------------------------------------------

def cell_values(species, M, F, part, row, col):
    return generate(species, M, F).cells[(part, row, col)]


def capped_rows(rows_per_m, steps_per_quarter, cap, M):
    """Rows of a grid walk whose t sits exactly at the cap."""
    dt = pi / (steps_per_quarter * M)
    t, rows = 0.0, []
    for r in range(rows_per_m * M + 1):
        if t == cap:
            rows.append(r)
        t = t + dt
        if t >= cap:
            t = cap
    return rows


def nominal_species1(part, row, col):
    """Species 1 at M = 1 at the angles the prose names (t = r pi/12 or the
    leaf cap pi/2, u = u0 + c du) rather than the accumulated sums."""
    if part <= 3:
        t, u = row * pi / 12, -pi / 4 + col * pi / 4
    else:
        t, u = min(row * pi / 10, pi / 2), -pi / 8 + col * pi / 4

    def at_nominal(R, C, u0, du, dt, T, vertex, after=None):
        vertex(row, col, t, u)
    return species1(1, 7, grid_walk=at_nominal).cells[(part, row, col)][:3]


def g17(v):
    return "%.17g" % v


# --- reading the tests -----------------------------------------------------

NUMBER = r"[-+]?(?:\d+\.?\d*(?:[eE][-+]?\d+)?|\.\d+(?:[eE][-+]?\d+)?)"


def read_cells(text):
    body = text[text.index("const Cell kCells[] = {"):]
    body = body[:body.index("\n};")]
    cells = []
    for m in re.finditer(r"\{\{([^}]*)\},\s*\{([^}]*)\}\}", body):
        where = [int(v) for v in m.group(1).split(",")]
        values = [float(v) for v in re.findall(NUMBER, m.group(2))]
        cells.append((tuple(where), values))
    return cells


def read_cap_cases(text):
    body = text[text.index("const CapCase kCapCases[] = {"):]
    body = body[:body.index("\n};")]
    cases = []
    pattern = (r'\{"[^"]*",\s*(\d+),\s*(\d+),\s*([^,]+),\s*'
               r'\{((?:\{[^}]*\},?\s*)+)\}\}')
    for m in re.finditer(pattern, body):
        cap_text = m.group(3).strip()
        cap = {"kPi / 2": pi / 2, "kPi / 4": pi / 4}.get(cap_text)
        if cap is None:
            cap = float(cap_text)
        rows = [[int(v) for v in re.findall(r"\d+", g)]
                for g in re.findall(r"\{([^}]*)\}", m.group(4))]
        cases.append((int(m.group(1)), int(m.group(2)), cap, rows))
    return cases


def read_nominal(text):
    body = text[text.index("const Vertex expected[] = {"):]
    body = body[:body.index("};")]
    out = []
    for m in re.finditer(r"\{(\d+),\s*(\d+),\s*(\d+),([^}]*)\}", body):
        values = [float(v) for v in re.findall(NUMBER, m.group(4))]
        out.append(((int(m.group(1)), int(m.group(2)), int(m.group(3))), values))
    return out


def read_stem_grey(text):
    m = re.search(r"Species2\.ColorG\[1\]\[r\]\[c\],\s*(" + NUMBER + ")", text)
    return float(m.group(1))


def check(folder):
    problems = []
    checked = 0

    def near(what, got, wanted, tolerance=1e-12):
        nonlocal checked
        checked += 1
        if not abs(got - wanted) <= tolerance:
            problems.append("%s: the test holds %s, the formulas give %s" %
                            (what, g17(got), g17(wanted)))

    cells_text = open(folder + "/species_cells_test.cpp").read()
    cells = read_cells(cells_text)
    if len(cells) < 60:
        problems.append("found only %d cells in species_cells_test.cpp" % len(cells))
    for where, values in cells:
        derived = cell_values(*where)
        for ch, (got, wanted) in enumerate(zip(values, derived)):
            near("cell %s %s" % (where, CHANNELS[ch]), got, wanted)

    walk_text = open(folder + "/species_walk_test.cpp").read()
    cases = read_cap_cases(walk_text)
    if len(cases) != 4:
        problems.append("found %d cap cases in species_walk_test.cpp, not 4" % len(cases))
    for rows_per_m, steps, cap, rows in cases:
        for M in range(1, 6):
            checked += 1
            wanted = capped_rows(rows_per_m, steps, cap, M)
            if rows[M] != wanted:
                problems.append("capped rows (%d rows per M, pi/%d M steps, cap %s) at M=%d: "
                                "the test holds %s, the walk gives %s" %
                                (rows_per_m, steps, g17(cap), M, rows[M], wanted))
    nominal = read_nominal(walk_text)
    if len(nominal) != 7:
        problems.append("found %d nominal species-1 vertices, not 7" % len(nominal))
    for (part, row, col), values in nominal:
        for ch, (got, wanted) in enumerate(zip(values, nominal_species1(part, row, col))):
            near("species 1 at the nominal angles, part %d (%d, %d) %s" %
                 (part, row, col, CHANNELS[ch]), got, wanted)
    near("species 2 stem grey", read_stem_grey(walk_text), sin(0.02 / 5 + pi / 6), 1e-15)

    for p in problems:
        print(p)
    print("%d numbers checked, %d differ" % (checked, len(problems)))
    return 1 if problems else 0


def print_tables(folder):
    cells = read_cells(open(folder + "/species_cells_test.cpp").read())
    print("const Cell kCells[] = {")
    for where, _ in cells:
        v = cell_values(*where)
        print("    {{%s},\n     {%s}}," % (", ".join(str(w) for w in where),
                                         ", ".join(g17(x) for x in v)))
    print("};")


def main(argv):
    if len(argv) == 3 and argv[1] == "check":
        return check(argv[2])
    if len(argv) == 3 and argv[1] == "print":
        print_tables(argv[2])
        return 0
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
