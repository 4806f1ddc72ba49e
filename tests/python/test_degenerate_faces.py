"""Zero-area faces never stay in a solid, however large the coordinates."""

import corvanthium_rs as cr

M = 2**80 + 3 * 2**26  # the float fan sum of the flat cap below is far from zero


def test_flat_outline_near_two_to_the_eighty_loses_both_caps():
    flat = cr.make_prism(["0", "0", "3", "1", str(3 * M), str(M)], "1", "p")
    keys = flat.canonical().split(";")
    # Only the three side rectangles remain; no face lies in z = 0 or z = 1 alone.
    assert len(keys) == 3
    for key in keys:
        zs = {point.split(",")[2] for point in key.split("|")}
        assert zs == {"0/1", "1/1"}
    assert flat.volume6_str() == "0/1"


def test_nearly_flat_outline_keeps_its_caps():
    solid = cr.make_prism(["0", "0", "3", "1", str(3 * M), str(M + 1)], "1", "p")
    assert len(solid.canonical().split(";")) == 5
    # Six-fold volume = 6 * h * area, area = |3(M+1) - 3M| / 2 = 3/2.
    assert solid.volume6_str() == "9/1"
