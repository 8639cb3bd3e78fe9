#!/usr/bin/python3
"""Writes the S-parameter files of a lossy, non-reciprocal fixture from its formula.

    touchstone_fixture.py OUTDIR

At 11 frequencies from 2.40 to 2.50 GHz (x = (f - 2.45 GHz) / 50 MHz):
    S11 = 0.20 at  30 + 40 x degrees     S21 = 0.80 at -100 - 60 x degrees
    S12 = 0.70 at -95 - 50 x degrees     S22 = 0.15 at -60 + 20 x degrees
written as Touchstone version 1 files in three forms (fixture_ri.s2p: RI, HZ; fixture_ma.s2p:
MA, MHZ; fixture_db.s2p: DB, GHZ, R 545.49), each with "!" comments and no END, and in the
program's own column format (fixture.txt). inverse_ri.s2p holds the two-port whose input
reflection with a load G is the fixture's load reflection for an input reflection G
(S' = S / (S11 S22 - S12 S21)). The files that must be refused: a one-port (.s1p), one-port
records in a .s2p, a four-port (.s4p), Y-parameters and a version 2 file.
"""
import cmath
import math
import os
import sys


def fixture(f_hz):
    x = (f_hz - 2.45e9) / 50e6
    p = lambda m, deg: cmath.rect(m, math.radians(deg))
    return {"11": p(0.20, 30 + 40 * x), "21": p(0.80, -100 - 60 * x),
            "12": p(0.70, -95 - 50 * x), "22": p(0.15, -60 + 20 * x)}


def inverse(s):
    d = s["11"] * s["22"] - s["12"] * s["21"]
    return {k: v / d for k, v in s.items()}


FREQS = [2.40e9 + k * 10e6 for k in range(11)]
ORDER = ["11", "21", "12", "22"]


def pair(z, fmt):
    if fmt == "RI":
        return (z.real, z.imag)
    mag, deg = abs(z), math.degrees(cmath.phase(z))
    return (20 * math.log10(mag), deg) if fmt == "DB" else (mag, deg)


def num(v):
    return repr(float(v))


def touchstone(path, fmt, unit, scale, ref, net, header_comment):
    with open(path, "w", newline="") as f:
        f.write("! " + header_comment + "\r\n")
        f.write("! written by touchstone_fixture.py\r\n")
        f.write("# %s s %s r %s\r\n" % (unit, fmt.lower(), ref))
        f.write("# GHZ S RI R 50   ! a later option line, ignored\r\n")
        for k, fr in enumerate(FREQS):
            s = net(fr)
            vals = [num(fr / scale)]
            for p in ORDER:
                vals += [num(v) for v in pair(s[p], fmt)]
            line = " ".join(vals)
            if k == 5:
                line += "  ! the middle frequency"
            f.write(line + "\r\n")


def own_format(path):
    with open(path, "w", newline="") as f:
        f.write("! the fixture in the program's own column format\r\n")
        f.write("*INFO = lossy non-reciprocal fixture\r\n")
        f.write("# GHZ S11_RE S11_IM S21_RE S21_IM S12_RE S12_IM S22_RE S22_IM\r\n")
        for fr in FREQS:
            s = fixture(fr)
            vals = [num(fr / 1e9)]
            for p in ORDER:
                vals += [num(s[p].real), num(s[p].imag)]
            f.write(" ".join(vals) + "\r\n")
        f.write("END\r\n")


def write(path, text):
    with open(path, "w", newline="") as f:
        f.write(text.replace("\n", "\r\n"))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    touchstone(os.path.join(out, "fixture_ri.s2p"), "RI", "HZ", 1.0, "50", fixture, "RI in Hz")
    touchstone(os.path.join(out, "fixture_ma.s2p"), "MA", "MHZ", 1e6, "50", fixture, "MA in MHz")
    touchstone(os.path.join(out, "fixture_db.s2p"), "DB", "GHZ", 1e9, "545.49", fixture,
               "DB in GHz, a reference impedance other than 50 ohm")
    touchstone(os.path.join(out, "inverse_ri.s2p"), "RI", "GHZ", 1e9, "50",
               lambda fr: inverse(fixture(fr)), "the fixture's inverse")
    own_format(os.path.join(out, "fixture.txt"))
    write(os.path.join(out, "one_port.s1p"), "# GHZ S RI R 50\n2.40 0.1 0.2\n2.45 0.1 0.2\n")
    write(os.path.join(out, "one_port_records.s2p"),
          "# GHZ S MA R 50\n2.40 0.1 20\n2.45 0.1 25\n")
    write(os.path.join(out, "four_port.s4p"),
          "# GHZ S MA R 50\n2.40 " + " ".join(["0.1 10"] * 4) + "\n" +
          "\n".join(" ".join(["0.1 10"] * 4) for _ in range(3)) + "\n")
    write(os.path.join(out, "y_params.s2p"), "# GHZ Y RI R 50\n2.40 " + " ".join(["0.1"] * 8) + "\n")
    write(os.path.join(out, "version2.s2p"),
          "[Version] 2.0\n# GHZ S RI R 50\n[Number of Ports] 2\n[Network Data]\n2.40 " +
          " ".join(["0.1"] * 8) + "\n[End]\n")


if __name__ == "__main__":
    main()
