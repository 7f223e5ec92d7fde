"""The demo's component table, derived from the launcher's exported catalogue,
must say what that catalogue says: a drive or server tree that disagrees would
test the launcher against a layout it never uses."""
import json
import os
import subprocess

import pytest

import catalogue


@pytest.fixture(scope="module")
def launcher_catalogue():
    tool = os.environ.get("CANTAREL_LIST_CATALOGUE")
    if not tool:
        pytest.skip("CANTAREL_LIST_CATALOGUE names the native list_catalogue tool; the test run sets it")
    return json.loads(subprocess.run([tool], check=True, capture_output=True, text=True).stdout)["components"]


def test_same_components_in_the_same_order(launcher_catalogue):
    assert [row["id"] for row in launcher_catalogue] == [c.cid for c in catalogue.COMPONENTS]


def test_same_files_and_folders_for_every_component(launcher_catalogue):
    for row in launcher_catalogue:
        demo = catalogue.BY_ID[row["id"]]
        assert (demo.category, demo.archive) == (row["folder"], row["archive"]), row["id"]
        assert demo.server_path == row["server_path"], row["id"]
        assert demo.local_file == row["local_file"], row["id"]
        assert (demo.extraction_folder or "") == row["extraction_folder"], row["id"]
        assert demo.installed_folder == row["installed_folder"], row["id"]
