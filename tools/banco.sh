#!/usr/bin/env bash
# Builds and runs the benchmarks on both engines: SQLite, and PostgreSQL on a private cluster that
# is stopped and removed afterwards. Arguments go to Google Benchmark (--benchmark_filter=…). The run
# ends with a short table of ratios, each from times of the same run: loading against the raw read,
# Accept against the raw floor, line by line against grouped; and Accept's peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/compila.sh kx204_bench
bash tools/postgres.sh build/bench/kx204_bench "$@"
