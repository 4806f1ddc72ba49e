"""The dask example: a parameter sweep of parts on a LocalCluster of worker
processes gives solids identical to a local build. Skipped when
dask.distributed is missing (pip install .[dask])."""

import importlib.util
import pickle
import sys
from pathlib import Path

import pytest

import corvanthium as cv

pytest.importorskip("dask.distributed")

EXAMPLES = Path(__file__).resolve().parents[3] / "examples"


def picklable():
    try:
        pickle.dumps(cv.box(1, 1, 1))
    except TypeError:
        return False
    return True


pytestmark = pytest.mark.skipif(not picklable(), reason="solids cannot be pickled in this build")


def load_example():
    spec = importlib.util.spec_from_file_location("sweep_dask", EXAMPLES / "sweep_dask.py")
    module = importlib.util.module_from_spec(spec)
    sys.modules["sweep_dask"] = module  # the workers unpickle build() by reference to this module
    spec.loader.exec_module(module)
    return module


def test_a_sweep_on_worker_processes_matches_a_local_build():
    from dask.distributed import Client, LocalCluster

    example = load_example()
    parts = example.sweep_parameters()[:4]
    with (
        LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster,
        Client(cluster) as client,
    ):
        client.upload_file(str(EXAMPLES / "sweep_dask.py"))
        remote = example.run_sweep(client, parts)
    for part, solid in zip(parts, remote):
        local = example.build(part)
        assert solid.canonical() == local.canonical()
        assert solid.volume == local.volume and solid.polygon_count == local.polygon_count
