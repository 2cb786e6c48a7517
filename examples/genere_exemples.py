#!/usr/bin/env python3
"""Writes the peak lists and cell files of examples/ (see examples/README.md).

Peak angles are computed by Bragg's law from a published cell, with a stated
zero shift and, for quartz, seeded Gaussian noise, then rounded to 0.001 deg
as a peak list gives them. Run from anywhere: python3 examples/genere_exemples.py
"""
import math
import os
import random

ICI = os.path.dirname(os.path.abspath(__file__))


def ecrit(chemin, lignes):
    with open(os.path.join(ICI, chemin), "wb") as f:
        for ligne in lignes:
            f.write(ligne.encode("ascii") + b"\r\n")


def deux_theta(d, lambda_):
    return 2 * math.degrees(math.asin(lambda_ / (2 * d)))


def ligne_cry(maille):
    return "".join("%10.4f" % v for v in maille)


def silicium():
    # NIST SRM 640d: a = 5.43123 A; Cu Ka1 = 1.5405929 A; Fd-3m: h, k, l all
    # odd, or all even with h + k + l = 4n.
    a, lambda_, zero = 5.43123, 1.5405929, 0.015
    vus = set()
    raies = []
    for h in range(0, 9):
        for k in range(0, h + 1):
            for l in range(0, k + 1):
                if (h, k, l) == (0, 0, 0):
                    continue
                parites = {h % 2, k % 2, l % 2}
                if len(parites) > 1 or (h % 2 == 0 and (h + k + l) % 4):
                    continue
                q = h * h + k * k + l * l
                if q in vus:
                    continue
                d = a / math.sqrt(q)
                if lambda_ / (2 * d) >= math.sin(math.radians(70)):
                    continue  # beyond 140 deg 2theta
                vus.add(q)
                raies.append(deux_theta(d, lambda_) + zero)
    ecrit("cubique/silicium.prn", ["%.3f" % t for t in sorted(raies)])
    ecrit("cubique/silicium.cry",
          ["Silicon SRM 640d", "CUBI", "FD-3M", ligne_cry([5.431, 5.431, 5.431, 90, 90, 90])])


def quartz():
    # Alpha quartz, P3221, a = 4.91344 A, c = 5.40524 A (ICDD PDF 46-1045);
    # mean Cu Ka 1.54180 A; zero shift -0.010 deg; noise sigma 0.003 deg, seed 640.
    a, c, lambda_, zero, sigma = 4.91344, 5.40524, 1.54180, -0.010, 0.003
    hasard = random.Random(640)
    angles = {}
    for h in range(-8, 9):
        for k in range(-8, 9):
            for l in range(0, 9):
                if (h, k, l) == (0, 0, 0) or (h == 0 and k == 0 and l % 3):
                    continue
                q = h * h + h * k + k * k
                inv_d2 = 4 * q / (3 * a * a) + l * l / (c * c)
                s = lambda_ * math.sqrt(inv_d2) / 2
                if s < 1:
                    angles[(q, l)] = deux_theta(1 / math.sqrt(inv_d2), lambda_)
    tous = sorted(angles.values())
    # Only lines that no other allowed reflection overlaps within 0.15 deg, in 20 ... 90 deg.
    isolees = [t for i, t in enumerate(tous)
               if 20 <= t <= 90 and all(abs(t - u) > 0.15 for j, u in enumerate(tous) if j != i)]
    ecrit("quartz/quartz.prn",
          ["%.3f" % (t + zero + hasard.gauss(0, sigma)) for t in isolees])
    ecrit("quartz/quartz.cry",
          ["Alpha quartz", "HEXA", "P3221", ligne_cry([4.913, 4.913, 5.405, 90, 90, 120])])


silicium()
quartz()
