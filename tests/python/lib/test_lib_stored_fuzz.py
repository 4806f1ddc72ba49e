"""Stored solids edited, cut short and sealed again (the checksum recomputed,
as anyone can): whatever still loads is a closed solid of non-negative
volume that meshes; one huge number used by thousands of points is refused
at once, in little time and memory."""

import random
import resource
import struct
import time
from fractions import Fraction

import pytest
from grid_harness import polygons

import corvanthium as cv

MASK = (1 << 64) - 1


def checksum(data):
    """checksum64: eight-byte little-endian words mixed in one at a time, then the tail word."""

    def step(h, w):
        h = ((h ^ w) * 0xFF51AFD7ED558CCD) & MASK
        return h ^ (h >> 32)

    h = 0x9E3779B97F4A7C15 ^ len(data)
    for w in struct.unpack_from(f"<{len(data) // 8}Q", data):
        h = step(h, w)
    h = step(h, int.from_bytes(data[len(data) // 8 * 8 :], "little"))
    h = ((h ^ (h >> 33)) * 0xC4CEB9FE1A85EC53) & MASK
    return h ^ (h >> 33)


def sealed(body):
    head = b"CORVSD" + struct.pack("<HQ", 1, len(body)) + bytes(body)
    return head + struct.pack("<Q", checksum(head))


def varint(v):
    out = bytearray()
    while v >= 0x80:
        out.append(v & 0x7F | 0x80)
        v >>= 7
    return bytes(out + bytes([v]))


def number(q):
    n, d = q.numerator, q.denominator
    if abs(n) < 1 << 63 and d < 1 << 63:
        return b"\0" + varint(2 * n if n >= 0 else -2 * n - 1) + varint(d)
    parts = [m.to_bytes((m.bit_length() + 7) // 8, "little") for m in (abs(n), d)]
    return bytes([2 if n < 0 else 1]) + b"".join(varint(len(p)) + p for p in parts)


def stored(polys):
    """The stored form of polygons given as (loop of exact points, plane (nx, ny, nz, offset)), all labelled x."""
    values, points, planes = {}, {}, {}  # entry -> index, in first-seen order

    def index(table, key):
        return table.setdefault(key, len(table))

    loops = []
    for loop, plane in polys:
        plane_index = index(planes, tuple(index(values, Fraction(c)) for c in plane))
        loops.append((plane_index, [index(points, tuple(index(values, Fraction(c)) for c in p)) for p in loop]))
    body = varint(len(values)) + b"".join(map(number, values)) + varint(1) + varint(1) + b"x"
    for rows in (points, planes):
        body += varint(len(rows)) + b"".join(varint(i) for row in rows for i in row)
    body += varint(len(loops))
    for plane, loop in loops:
        body += varint(plane) + varint(0) + varint(len(loop)) + b"".join(map(varint, loop))
    return sealed(body)


def edited(rng, polys):
    """The polygons' stored form with a random edit, sealed again."""
    polys = [(list(loop), plane) for loop, plane in polys]
    k = rng.randrange(len(polys))
    loop, plane = polys[k]
    kind = rng.randrange(4)
    if kind == 0:  # bytes changed, cut out or put in, and perhaps the body cut short
        body = bytearray(stored(polys)[16:-8])
        for _ in range(rng.randint(1, 3)):
            at = rng.randrange(len(body))
            body[at : at + rng.randrange(2)] = bytes([rng.randrange(256)] * rng.randrange(2))
        return sealed(body[: rng.choice((len(body), rng.randrange(len(body))))])
    if kind == 1:  # a polygon dropped, repeated, turned round, or its loop started elsewhere
        polys[k : k + 1] = rng.choice([[], [polys[k]] * 2, [(loop[::-1], plane)], [(loop[1:] + loop[:1], plane)]])
    elif kind == 2:  # a corner dropped or moved onto another corner, or another polygon's plane
        at = rng.randrange(len(loop))
        loop[at : at + 1] = rng.choice([[], [rng.choice(rng.choice(polys)[0])]])
        polys[k] = (loop, rng.choice([plane, rng.choice(polys)[1]]))
    else:  # one coordinate changed wherever it occurs
        axis, step = rng.randrange(3), rng.choice((-1, 1, Fraction(1, 2)))
        old = rng.choice(loop)[axis]
        polys = [
            ([tuple(c + step if c == old and i == axis else c for i, c in enumerate(p)) for p in lp], pl)
            for lp, pl in polys
        ]
    return stored(polys)


def test_edited_and_resealed_solids_load_only_as_closed_solids():
    hole = cv.prism([(1, 1), (2, 1), (2, 2)], 3).translate(0, 0, -1)
    solids = [
        cv.box(2, 3, 1),
        cv.prism([(0, 0), (3, 0), (3, 1), (1, 1), (1, 3), (0, 3)], "3/2"),
        cv.box(3, 3, 1).cut(hole, engine="bsp").union(cv.box(1, 1, 1).translate(3, 3, 0), engine="local"),
    ]
    rng = random.Random(2024)
    loaded = 0
    for solid in solids:
        polys = polygons(solid)
        assert cv._native._from_bytes(stored(polys)).volume == solid.volume
        for _ in range(500):
            try:
                s = cv._native._from_bytes(edited(rng, polys))
            except cv.KernelError as e:
                assert "corrupt" in str(e)
                continue
            loaded += 1
            assert s.is_watertight and s.volume >= 0 and (s.polygon_count == 0 or len(s.mesh().faces) > 0)
            assert all(len(set(loop)) == len(loop) for loop, _ in polygons(s))
    assert loaded > 100  # loops started elsewhere, boxes stretched


def box(x0, y0, z0, x1, y1, z1):
    corner = [(x1 if c & 1 else x0, y1 if c & 2 else y0, z1 if c & 4 else z0) for c in range(8)]
    faces = [((0, 0, -1, -z0), (0, 2, 3, 1)), ((0, 0, 1, z1), (4, 5, 7, 6)), ((0, -1, 0, -y0), (0, 1, 5, 4))]
    faces += [((0, 1, 0, y1), (2, 6, 7, 3)), ((1, 0, 0, x1), (1, 3, 7, 5)), ((-1, 0, 0, -x0), (0, 4, 6, 2))]
    return [([corner[c] for c in loop], plane) for plane, loop in faces]


def test_a_huge_number_used_by_thousands_of_points_is_refused_quickly():
    far = Fraction(3**750000 + 2)  # 149 kB, stored once; x = far at 4,400 points and on one plane
    assert cv._native._from_bytes(stored(box(0, 0, 0, far, 1, 1))).bbox[1][0] == far
    data = stored([face for j in range(1, 1101) for face in box(0, 2 * j, 0, far, 2 * j + 1, 1)])
    assert 250_000 < len(data) < 300_000
    before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    start = time.perf_counter()
    with pytest.raises(cv.KernelError, match="large numbers"):
        cv._native._from_bytes(data)
    assert time.perf_counter() - start < 1
    assert resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - before < 256 * 1024  # KiB
