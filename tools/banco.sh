#!/usr/bin/env bash
# Builds and runs the benchmarks on both engines: SQLite, and PostgreSQL on a private cluster that
# is stopped and removed afterwards. Arguments go to Google Benchmark (--benchmark_filter=…).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/compila.sh kx204_bench
bash tools/postgres.sh build/bench/kx204_bench "$@"
