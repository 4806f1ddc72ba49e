"""A parameter sweep of parts on a dask.distributed cluster of worker processes.

Each part is a drilled bracket: an L-shaped block with a row of square
holes, every edge chamfered (the outer edges and the holes' rims bevelled,
the inside corner of the L filled). The sweep builds one part per parameter set on
the workers; the solids come back to this process by pickling (their exact
polygon lists, nothing recomputed) and are identical to a local build.

    pip install .[dask]
    python examples/sweep_dask.py
"""

from dataclasses import dataclass
from fractions import Fraction

from dask.distributed import Client, LocalCluster

import corvanthium as cv


@dataclass(frozen=True)
class Bracket:
    length: int  # along x
    width: Fraction  # along y
    holes: int
    chamfer: Fraction


def build(part: Bracket) -> cv.Solid:
    """The exact solid of one bracket."""
    w = part.width
    ell = [(0, 0), (part.length, 0), (part.length, 1), (1, 1), (1, 3), (0, 3)]
    body = cv.prism(ell, w, label="bracket").rotate_quarter("x").translate(0, w, 0)
    for i in range(part.holes):
        x = Fraction(part.length * (i + 1), part.holes + 1) + Fraction(1, 2)
        hole = cv.box("1/2", "1/2", 3, label=f"hole{i}").translate(x - Fraction(1, 4), w / 2 - Fraction(1, 4), -1)
        body = body - hole
    return body.chamfer(part.chamfer)


def sweep_parameters() -> list[Bracket]:
    return [
        Bracket(length, Fraction(width, 2), holes, Fraction(1, 20))
        for length in (4, 6)
        for width in (2, 3)
        for holes in (1, 2, 3)
    ]


def run_sweep(client: Client, parts: list[Bracket]) -> list[cv.Solid]:
    """The parts built on the cluster, in order."""
    futures = client.map(build, parts, pure=False)
    solids: list[cv.Solid] = client.gather(futures)
    return solids


def main() -> None:
    parts = sweep_parameters()
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True) as cluster, Client(cluster) as client:
        remote = run_sweep(client, parts)
    for part, solid in zip(parts, remote, strict=True):
        local = build(part)
        assert solid.canonical() == local.canonical() and solid.volume == local.volume
        print(f"{part}: {solid}")
    print(f"{len(parts)} parts built on the cluster, each identical to a local build")


if __name__ == "__main__":
    main()
