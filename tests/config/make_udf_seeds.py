#!/usr/bin/env python3
"""Writes the seed files of the .UDF fuzz corpus (tests/fuzz/corpus/udf)."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "fuzz", "corpus", "udf")
TITLE = b"PX10 Panel Configuration File"


def record():
    return bytearray(60)


def header(version, panel_type=3, title=TITLE):
    r = record()
    r[1] = len(title)
    r[2:2 + len(title)] = title
    r[42], r[43], r[44] = version // 100, version % 100, panel_type
    return r


def setup_first():
    r = record()
    r[0] = 1
    r[44], r[46], r[48], r[54], r[56], r[57], r[58] = 3, 1, 1, 1, 0x80, 1, 30
    return r


def setup_second():
    r = record()
    r[0], r[1], r[13], r[19], r[26] = 1, 1, 1, 60, 1
    return r


def outputs(single_rules=None):
    r = record()
    r[0] = 2
    rules = [1, 1, 4, 5, 2, 3]
    for n in range(1, 7):
        r[2 * n - 1] = 0 if n <= 2 else 1
        if single_rules:
            r[2 * n] = single_rules[n - 1]
        else:
            r[2 * n] = 1
            bit = rules[n - 1] - 1
            r[38 + 3 * (n - 1) + bit // 8] |= 1 << (bit % 8)
    return r


def device(single_rule=1, type_code=0, text=b""):
    r = record()
    r[0], r[22], r[23], r[24] = 3, 1, type_code, single_rule
    r[25:29] = bytes([100] * 4)
    r[31], r[32] = 1, 1
    r[1] = len(text)
    r[2:2 + len(text)] = text
    return r


def rule(n):
    r = record()
    r[0], r[4], r[6], r[8] = 4, 1, 1, 1
    r[1], r[2] = {2: (3, 2), 3: (4, 0), 4: (2, 0), 5: (5, 5), 7: (6, 0)}.get(n, (0, 7))
    return r


def zone(text=b""):
    r = record()
    r[0], r[1] = 5, len(text)
    r[2:2 + len(text)] = text
    return r


def gsm():
    r = record()
    r[0], r[22], r[23], r[24] = 6, 1, 1, 1
    return r


def current():
    recs = [header(109), setup_first(), setup_second(), outputs()]
    recs += [device(type_code=5, text=b"(+3) 3-9,20") if a == 1 else device() for a in range(198)]
    recs += [rule(n) for n in range(1, 65)]
    recs += [zone(b"(50) 50-64") if z == 1 else zone() for z in range(32)]
    recs += [gsm() for _ in range(5)]
    return b"".join(recs)


def old(version):
    recs = [header(version, panel_type=0), setup_first(), outputs([30, 5, 64, 24, 0, 200])]
    recs += [device(single_rule=(a * 7) % 70) for a in range(198)]
    recs += [rule(n) for n in range(1, (33 if version < 104 else 65))]
    recs += [zone() for _ in range(32)]
    return b"".join(recs)


def main():
    os.makedirs(OUT, exist_ok=True)
    seeds = {
        "current-109.udf": current(),
        "old-107.udf": current()[:17880].replace(b"\x01\x09\x03", b"\x01\x07\x03", 1),
        "old-104.udf": old(104),
        "old-103.udf": old(103),
        "truncated-109.udf": current()[:18179],
        "wrong-title.udf": bytes(header(109, title=TITLE + b" ")) + current()[60:],
    }
    for name, data in seeds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
