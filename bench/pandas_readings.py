#!/usr/bin/python3
# Compares the whole `plyforge-cli experiment` run on a project of 8 specimens x
# 125,000 readings (8 CSV readings files, about 27 MB) with pandas reading the same
# files with read_csv.
#
# Needs: python3 and pandas (Debian's python3-pandas; not needed by the build or the
# tests), and a Release build with the benchmarks:
#   cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLYFORGE_BUILD_BENCH=ON
#   ninja -C build-release readings_bench plyforge-cli
#   /usr/bin/python3 bench/pandas_readings.py build-release   (Debian's python, which has pandas)
import glob
import os
import subprocess
import sys
import tempfile
import time

import pandas


def best_of(runs, action):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        action()
        best = min(best, time.perf_counter() - start)
    return best


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build-release"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    with tempfile.TemporaryDirectory(prefix="plyforge-pandas-") as folder:
        project = subprocess.run([os.path.join(build, "bench", "readings_bench"), "--write-data=" + folder],
                                 check=True, capture_output=True, text=True).stdout.strip()
        files = sorted(glob.glob(os.path.join(folder, "specimen*.csv")))
        logs = os.path.join(folder, "logs")
        cli = [os.path.join(build, "src", "plyforge-cli"), "experiment", project, "--log-dir", logs]

        def run_cli():
            subprocess.run(cli, check=True, stdout=subprocess.DEVNULL)

        def run_pandas():
            for path in files:
                pandas.read_csv(path)

        run_cli()  # both read the files once from the disk before timing
        run_pandas()
        cli_time = best_of(runs, run_cli)
        pandas_time = best_of(runs, run_pandas)
        megabytes = sum(os.path.getsize(path) for path in files) / 1e6
        print(f"{len(files)} files, {megabytes:.1f} MB, best of {runs} runs")
        print(f"plyforge-cli experiment: {cli_time * 1000:8.1f} ms")
        print(f"pandas read_csv:         {pandas_time * 1000:8.1f} ms")
        print(f"ratio cli / pandas:      {cli_time / pandas_time:8.3f}")


if __name__ == "__main__":
    main()
