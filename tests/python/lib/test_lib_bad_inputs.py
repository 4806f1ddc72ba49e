"""Every bad input at every parameter of every public function and method
gives a TypeError (wrong type) or a KernelError (a value the kernel refuses)
whose message names the argument; nothing crashes and nothing else leaks."""

import pickle
from decimal import Decimal
from fractions import Fraction

import numpy as np
import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import corvanthium as cv
import corvanthium_rs as cr

SQUARE = [(0, 0), (2, 0), (2, 2), (0, 2)]
CURVE = dict(degree=2, cps=[[0, 0, 0], [1, 2, 0], [3, 1, 1]], knots=[0, 0, 0, 1, 1, 1], t="1/3", weights=[1, 2, 1])
NET = [[[0, 0, 0], [0, 1, 0]], [[1, 0, 1], [1, 1, 1]]]
SURFACE = dict(pu=1, pv=1, net=NET, ku=[0, 0, 1, 1], kv=[0, 0, 1, 1], u="1/2", v="1/4", weights=[[1, 1], [1, 2]])
SSI = dict(net_a=NET, net_b=NET, depth=2, a_box=[0, 1, 0, 1], b_box=[0, 1, 0, 1])


def solid():
    return cv.box(2, 2, 2, label="a")


GOOD_BYTES = cv.box(1, 2, 3, label="a").to_bytes()
FLIPPED = bytes([GOOD_BYTES[0]]) + bytes([GOOD_BYTES[1] ^ 4]) + GOOD_BYTES[2:]
# Stored solids that are truncated, altered or not a solid at all.
BAD_BYTES = [
    b"",
    b"CORVSD",
    GOOD_BYTES[:-1],
    GOOD_BYTES[: len(GOOD_BYTES) // 2],
    GOOD_BYTES + b"\0",
    FLIPPED,
    GOOD_BYTES[:40] + bytes([GOOD_BYTES[40] ^ 0x80]) + GOOD_BYTES[41:],
    GOOD_BYTES[:6] + b"\x02\x00" + GOOD_BYTES[8:],
    b"\x89PNG\r\n\x1a\n" + bytes(64),
    pickle.dumps(cv.box(1, 1, 1)),
]

# name -> (callable, valid keyword arguments)
CALLS = {
    "box": (cv.box, dict(dx=1, dy=2, dz=3, label="b")),
    "prism": (cv.prism, dict(outline=SQUARE, height=1, label="p")),
    "prismatoid": (cv.prismatoid, dict(bottom=SQUARE, z0=0, top=SQUARE, z1=1, label="q")),
    "translate": (solid().translate, dict(x=1, y=2, z=3)),
    "scale": (solid().scale, dict(fx=1, fy=2, fz=3)),
    "mirror": (solid().mirror, dict(axis=0)),
    "rotate_quarter": (solid().rotate_quarter, dict(axis="x", quarters=1)),
    "union": (solid().union, dict(other=cv.box(1, 1, 1), engine="bsp")),
    "cut": (solid().cut, dict(other=cv.box(1, 1, 1), engine=None)),
    "intersect": (solid().intersect, dict(other=cv.box(1, 1, 1), engine="bsp")),
    "chamfer": (solid().chamfer, dict(dist="1/10")),
    "nurbs_curve_point": (cv.nurbs_curve_point, CURVE),
    "nurbs_surface_point": (cv.nurbs_surface_point, SURFACE),
    "ssi_pairs": (cv.ssi_pairs, SSI),
    "_from_bytes": (cv._native._from_bytes, dict(data=GOOD_BYTES)),
    "union_all": (cv.union_all, dict(solids=[solid(), cv.box(1, 1, 1)], engine="local")),
    "cut_all": (solid().cut_all, dict(tools=[cv.box(1, 1, 1)], engine="bsp")),
    "same_shape": (solid().same_shape, dict(other=cv.box(1, 1, 1))),
}

# Values wrong for any exact number, with the error each gives.
NUMBER_TYPES = [0.5, float("nan"), float("inf"), True, None, [1], b"1", object(), 1j]
NUMBER_VALUES = ["1/2/3", "1/0", "", "abc", "1e100001", " 1 2", Decimal("NaN"), Decimal("-Infinity")]
SEQUENCE_TYPES = [5, "0,0", b"00", None, 0.5, object()]
COUNT_TYPES = [1.0, True, "3", None, [1]]
COUNT_VALUES = [-1, 2**63, 10**40]
AXIS_TYPES = [1.0, True, None, [0], b"x"]
AXIS_VALUES = [3, -1, 10**30, "w", "xy", ""]
LABEL_TYPES = [5, b"label", 1.5, ["a"]]

# parameter kind -> (type-error values, kernel-error values)
KINDS = {
    "number": (NUMBER_TYPES, NUMBER_VALUES),
    "optional number": ([v for v in NUMBER_TYPES if v is not None], NUMBER_VALUES),
    "numbers": (SEQUENCE_TYPES + [[0.5, 1], [1, True]], [["1/0", 1], [1, "x"]]),
    "optional numbers": ([v for v in SEQUENCE_TYPES if v is not None] + [[0.5]], [["1/2/3"]]),
    "rows": (SEQUENCE_TYPES + [[1, 2], [[0.5]], ["abc"]], [[["1/0"]], [[Decimal("NaN")]]]),
    "optional rows": ([5, [1, 2], [[True]]], [[["1/0", 1], [1, 1]]]),
    "net": (SEQUENCE_TYPES + [[1], [[1]], [[[0.25]]]], [[[["x"]]]]),
    "outline": (SEQUENCE_TYPES + [[1, 2], [(0.5, 0)], ["ab"]], [[(0, 0, 0)], [(0,)], [(0, "1/0")], [(0, 0), (1, "x")]]),
    "count": (COUNT_TYPES, COUNT_VALUES),
    "axis": (AXIS_TYPES, AXIS_VALUES),
    "quarters": ([1.5, True, "1", [1]], []),
    "label": (LABEL_TYPES, []),
    "solid": ([5, None, "box", cr.make_box("1", "1", "1", "b")], []),
    "solids": ([5, None, 1.5, [5], [solid(), "box"], [solid(), cr.make_box("1", "1", "1", "b")]], []),
    "data": ([5, None, "CORVSD", 1.5, [1, 2]], BAD_BYTES),
}

PARAMETERS = {
    "box": dict(dx="number", dy="number", dz="number", label="label"),
    "prism": dict(outline="outline", height="number", label="label"),
    "prismatoid": dict(bottom="outline", z0="number", top="outline", z1="number", label="label"),
    "translate": dict(x="number", y="number", z="number"),
    "scale": dict(fx="number", fy="optional number", fz="optional number"),
    "mirror": dict(axis="axis"),
    "rotate_quarter": dict(axis="axis", quarters="quarters"),
    "union": dict(other="solid"),
    "cut": dict(other="solid"),
    "intersect": dict(other="solid"),
    "chamfer": dict(dist="number"),
    "nurbs_curve_point": dict(degree="count", cps="rows", knots="numbers", t="number", weights="optional numbers"),
    "nurbs_surface_point": dict(
        pu="count", pv="count", net="net", ku="numbers", kv="numbers", u="number", v="number", weights="optional rows"
    ),
    "ssi_pairs": dict(net_a="net", net_b="net", depth="count", a_box="optional numbers", b_box="optional numbers"),
    "_from_bytes": dict(data="data"),
    "union_all": dict(solids="solids"),
    "cut_all": dict(tools="solids"),
    "same_shape": dict(other="solid"),
}

CASES = [
    pytest.param(name, param, value, error, id=f"{name}-{param}-{error.__name__}-{i}")
    for name, params in PARAMETERS.items()
    for param, kind in params.items()
    for error, values in zip((TypeError, cv.KernelError), KINDS[kind])
    for i, value in enumerate(values)
]


def test_the_walk_covers_every_parameter():
    assert set(PARAMETERS) == set(CALLS)
    for name, (_, valid) in CALLS.items():
        fn = CALLS[name][0]
        fn(**valid)  # the baseline call works
        assert set(PARAMETERS[name]) | {"engine"} >= set(valid), name
    assert len(CASES) > 400


@pytest.mark.parametrize(("name", "param", "value", "error"), CASES)
def test_bad_value_gives_a_named_error(name, param, value, error):
    fn, valid = CALLS[name]
    with pytest.raises(error) as info:
        fn(**{**valid, param: value})
    assert type(info.value) in (TypeError, cv.KernelError)
    assert f"argument '{param}'" in str(info.value)
    if isinstance(value, float) and PARAMETERS[name][param] in ("number", "optional number"):
        assert "exact" in str(info.value)


@pytest.mark.parametrize("name", ["union", "cut", "intersect", "union_all", "cut_all"])
@pytest.mark.parametrize("engine", ["BSP", "", "fast", 0, 1.5, b"bsp", ["bsp"]])
def test_bad_engines_are_value_errors(name, engine):
    fn, valid = CALLS[name]
    with pytest.raises(ValueError, match="argument 'engine'") as info:
        fn(**{**valid, "engine": engine})
    assert not isinstance(info.value, cv.KernelError)


@pytest.mark.parametrize("name", sorted(CALLS))
def test_call_shapes_are_type_errors(name):
    fn, valid = CALLS[name]
    with pytest.raises(TypeError, match="unexpected keyword argument 'nope'"):
        fn(**valid, nope=1)
    with pytest.raises(TypeError, match="positional argument"):
        fn(*range(12))
    required = [p for p in PARAMETERS[name] if p not in ("label", "weights", "a_box", "b_box", "fy", "fz", "quarters")]
    if required:
        with pytest.raises(TypeError, match="missing"):
            fn()


@pytest.mark.parametrize(
    ("call", "problem"),
    [
        (lambda: cv.prismatoid(SQUARE, 0, SQUARE[:3], 1), "'bottom' and 'top' must have as many points, got 4 and 3"),
        (lambda: cv.prismatoid(SQUARE[:3], 0, SQUARE, 1), "got 3 and 4"),
        (lambda: cv.prismatoid(SQUARE, 1, SQUARE, 1), "'z1' must be above 'z0', got z0 = 1 and z1 = 1"),
        (lambda: cv.prismatoid(SQUARE, 0, [(0, 0), (2, 2), (2, 0), (0, 2)], 1), "argument 'top': edge 0"),
        (lambda: cv.prismatoid([(0, 0)] * 4, 0, [(1, 1)] * 4, 1), "both lie on a line or in a point"),
        # the top given half a turn round: the sides pass through each other
        (lambda: cv.prismatoid(SQUARE, 0, [(2, 2), (0, 2), (0, 0), (2, 0)], 1), "pass through each other"),
        (lambda: cv.box(-1, 1, 1), "box: argument 'dx' must be positive, got -1"),
        (lambda: cv.box(1, 0, 1), "argument 'dy' must be positive, got 0"),
        (lambda: cv.box(1, 1, "-1/2"), "argument 'dz' must be positive, got -1/2"),
        (lambda: cv.prism(SQUARE, 0), "prism: argument 'height' must be positive, got 0"),
        (lambda: cv.prism(SQUARE, -2), "argument 'height' must be positive, got -2"),
        (lambda: cv.prism([(0, 0), (1, 0)], 1), "argument 'outline': an outline needs at least 3 points, got 2"),
        (lambda: cv.prism([(0, 0), (1, 1), (3, 3)], 1), "all 3 points lie on one line"),
        (lambda: cv.prism([(0, 0), (1, 0), (1, 1), (1, 0)], 1), "points 1 and 3 are both (1, 0)"),
        (lambda: cv.prism([(0, 0), (0, 0), (1, 0), (1, 1)], 1), "points 0 and 1 are both (0, 0)"),
        # a bow-tie: crossing edges
        (lambda: cv.prism([(0, 0), (2, 2), (2, 0), (0, 2)], 1), "edge 0 from (0, 0) to (2, 2) and edge 2 from (2, 0)"),
        # a corner on another edge: touching
        (lambda: cv.prism([(0, 0), (2, 0), (2, 2), (1, 0), (0, 2)], 1), "edge 0 from (0, 0) to (2, 0) and edge 3"),
        # an edge running back over its neighbour
        (lambda: cv.prism([(0, 0), (2, 0), (1, 0), (1, 1)], 1), "edge 1 from (2, 0) to (1, 0) run back"),
        (lambda: cv.box(1, 1, 1).chamfer(-1), "chamfer: argument 'dist' must be positive, got -1"),
        (lambda: cv.box(1, 1, 1).scale(0), "scale: argument 'fx' is 0, which would flatten the solid"),
        (lambda: cv.box(1, 1, 1).scale(2, 1, 0), "argument 'fz' is 0"),
        (lambda: cv.box(1, 1, 1).chamfer(0), "argument 'dist' must be positive, got 0"),
        (lambda: cv.nurbs_curve_point(5, CURVE["cps"], CURVE["knots"], 0), "'cps' needs at least degree + 1 = 6"),
        (lambda: cv.nurbs_curve_point(2, [[0, 0, 0, 0]] * 3, CURVE["knots"], 0), "control point 0 has 4 coordinates"),
        (lambda: cv.nurbs_curve_point(2, CURVE["cps"], CURVE["knots"], 0, weights=[0, 0, 0]), "weight 0 is 0"),
        (lambda: cv.nurbs_curve_point(2, CURVE["cps"], CURVE["knots"], 0, weights=[1, 1]), "one weight per control"),
        (lambda: cv.nurbs_curve_point(2, CURVE["cps"], CURVE["knots"], 2), "'t' must lie in the domain [0, 1]"),
        (lambda: cv.nurbs_curve_point(2, CURVE["cps"], [0, 0, 1, 0, 1, 1], 0), "'knots' must not decrease: knot 2"),
        (lambda: cv.nurbs_curve_point(2, CURVE["cps"], [0, 0, 0, 1, 1], 0), "'knots' must have one knot more"),
        (lambda: cv.nurbs_curve_point(2, CURVE["cps"], [0] * 6, 0), "'knots' gives an empty domain"),
        (lambda: cv.nurbs_surface_point(1, 1, [], [0, 0, 1, 1], [0, 0, 1, 1], 0, 0), "argument 'net' needs at least"),
        (lambda: cv.nurbs_surface_point(1, 1, NET, [0, 1], [0, 0, 1, 1], 0, 0), "argument 'ku' must have"),
        (lambda: cv.nurbs_surface_point(1, 1, NET, [0, 0, 1, 1], [0, 0, 1, 1], 0, 2), "'v' must lie in the domain"),
        (lambda: cv.nurbs_surface_point(1, 1, [NET[0], NET[1][:1]], [0, 0, 1, 1], [0, 0, 1, 1], 0, 0), "row 1 has 1"),
        (lambda: cv.nurbs_surface_point(**{**SURFACE, "weights": [[1, 1]]}), "'weights' must have one row per net row"),
        (lambda: cv.nurbs_surface_point(**{**SURFACE, "weights": [[1, 1], [1, -1]]}), "'weights[1]' must be positive"),
        (lambda: cv.ssi_pairs([], NET, 2), ""),
        (lambda: cv.ssi_pairs(NET, NET, 2, a_box=[0, 1, 0]), "argument 'a_box'"),
        (lambda: cv.ssi_pairs(NET, NET, 2, b_box=[0, 1, 0, 1, 2]), "argument 'b_box'"),
        (lambda: cv.ssi_pairs([[[0, 0, 0, 0]]], NET, 2), ""),
        (lambda: (cv.box(1, 1, 1) & cv.box(1, 1, 1).translate(3, 0, 0)).bbox, "without polygons"),
        (lambda: cv.prism([(0, 0), (2, 0), (1, 1)], 1).chamfer(1, method="cutters"), "non-rational"),
    ],
)
def test_values_the_kernel_refuses_are_kernel_errors(call, problem):
    with pytest.raises(cv.KernelError) as info:
        call()
    assert str(info.value) and problem in str(info.value)


def test_from_mesh_refuses_odd_inputs_with_its_own_errors():
    import dataclasses

    tetra = [[0, 0, 0], [1, 0, 0], [0, 1, 0], [0, 0, 1]]
    faces = [[0, 2, 1], [0, 1, 3], [0, 3, 2], [1, 2, 3]]
    assert cv.from_mesh(memoryview(np.array(tetra, dtype=np.float64)), faces).volume == Fraction(1, 6)
    with pytest.raises(cv.KernelError, match="faces: expected rows of three"):
        cv.from_mesh(tetra, [[0, 2, 1], [0, 1], [0, 3, 2], [1, 2, 3]])
    with pytest.raises(cv.KernelError, match="argument 'label': surrogates not allowed"):
        cv.from_mesh(tetra, faces, label="\ud800")
    mesh = cv.box(1, 1, 1).mesh()
    broken = dataclasses.replace(mesh, _exact_parts=(0,) * len(mesh._exact_parts))
    with pytest.raises(cv.KernelError, match="exact vertices are not readable"):
        cv.from_mesh(broken)


def test_control_points_of_fewer_coordinates_lie_in_the_plane_z_0():
    flat = cv.nurbs_curve_point(2, [[0, 0], [1, 2], [3, 1]], CURVE["knots"], "1/3")
    assert flat == cv.nurbs_curve_point(2, [[0, 0, 0], [1, 2, 0], [3, 1, 0]], CURVE["knots"], "1/3")
    assert cv.nurbs_surface_point(1, 1, [[[0], [1]], [[2], [3]]], [0, 0, 1, 1], [0, 0, 1, 1], 1, 1)[1:] == (0, 0)


_SIZE = st.fractions(min_value=-2, max_value=3, max_denominator=4)
_SHAPE = st.one_of(
    st.tuples(st.just("box"), _SIZE, _SIZE, _SIZE),
    st.tuples(st.just("prism"), st.lists(st.tuples(st.integers(-3, 3), st.integers(-3, 3)), max_size=6), _SIZE),
)
_STEP = st.one_of(
    st.tuples(st.sampled_from(["scale", "translate"]), _SIZE, _SIZE, _SIZE),
    st.tuples(st.just("mirror"), st.integers(0, 2)),
    st.tuples(st.sampled_from(["union", "cut", "intersect"]), _SHAPE),
)


def _made(shape):
    return cv.box(*shape[1:]) if shape[0] == "box" else cv.prism(shape[1], shape[2])


@settings(max_examples=100, deadline=None)
@given(_SHAPE, st.lists(_STEP, max_size=4), st.sampled_from(["local", "bsp"]))
def test_programs_of_any_arguments_give_closed_solids_or_refusals(first, steps, engine):
    try:
        s = _made(first)
        for step in steps:
            if step[0] == "mirror":
                s = s.mirror(step[1])
            elif step[0] in ("scale", "translate"):
                s = getattr(s, step[0])(*step[1:])
            else:
                s = getattr(s, step[0])(_made(step[1]), engine=engine)
    except cv.KernelError:
        return
    assert s.volume >= 0 and s.is_watertight


def test_outlines_that_narrow_or_turn_are_still_accepted():
    assert cv.prismatoid(SQUARE, 0, [(1, 1)] * 4, 3).volume == 4  # a pyramid
    assert cv.prismatoid([(1, 1)] * 4, 0, SQUARE, 3).volume == 4  # upside down
    wedge = cv.prismatoid(SQUARE, 0, [(0, 1), (2, 1), (2, 1), (0, 1)], 2)
    assert wedge.volume == 4 and wedge.is_watertight
    # clockwise, with a straight corner, many sides
    assert cv.prism([(0, 0), (0, 2), (2, 2), (2, 1), (2, 0)], 1).volume == 4


def test_huge_numbers_are_exact_or_refused_never_a_crash():
    big = cv.box(10**3000, "1e3000", 1)
    assert big.volume == 10**6000
    assert big.translate(-(10**3000), 0, 0).bbox[0][0] == -(10**3000)
    # Results of many digits come back as proper Fractions, in lowest terms.
    x = Fraction(7**20000, -(3**15000))
    low = cv.box(1, 1, 1).translate(x, 0, 0).bbox[0][0]
    assert type(low) is Fraction and low == x and (low.numerator, low.denominator) == (x.numerator, x.denominator)
    assert hash(low) == hash(x) and low + 1 == x + 1
    with pytest.raises(cv.KernelError, match="exponent"):
        cv.box("1e999999999999", 1, 1)
    with pytest.raises(cv.KernelError, match="argument 'depth'"):
        cv.ssi_pairs(NET, NET, 10**30)


class StoredSolid:
    """Pickles as a Solid does, with the given bytes as its payload."""

    def __init__(self, data):
        self.data = data

    def __reduce__(self):
        return (cv._native._from_bytes, (self.data,))


@pytest.mark.parametrize("data", BAD_BYTES, ids=range(len(BAD_BYTES)))
def test_corrupt_files_and_pickles_are_kernel_errors(tmp_path, data):
    path = tmp_path / "solid.cvs"
    path.write_bytes(data)
    with pytest.raises(cv.KernelError, match="argument 'path'.*corrupt"):
        cv.load(path)
    with pytest.raises(cv.KernelError, match="corrupt"):
        pickle.loads(pickle.dumps(StoredSolid(data)))


@pytest.mark.parametrize("path", [5, None, 1.5, [b"x"], object()])
def test_bad_paths_are_type_errors(path):
    with pytest.raises(TypeError, match="argument 'path'"):
        cv.load(path)
    with pytest.raises(TypeError, match="argument 'path'"):
        cv.box(1, 1, 1).save(path)


def test_no_way_of_making_a_solid_turns_it_inside_out():
    part = cv.prism([(0, 0), (4, 0), (4, 1), (1, 1), (1, 3), (0, 3)], 2)
    mesh = part.mesh()
    made = [
        part.scale(-1, 1, 1),
        part.scale(-1, -1, -1),
        part.mirror("y"),
        part.transform([[0, 1, 0], [1, 0, 0], [0, 0, 1]]),
        cv.from_mesh(mesh.vertices, mesh.faces[:, ::-1]),  # a mesh facing inward is turned outward
    ]
    for solid in made:
        assert solid.volume == part.volume, solid
        for engine in ("local", "bsp"):
            assert solid.union(cv.box(1, 1, 1), engine=engine).volume > 0
