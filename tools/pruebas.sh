#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test on both engines (SQLite, and PostgreSQL on a
# private cluster that is stopped and removed however the tests end).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/compila.sh
bash tools/postgres.sh bash -c 'cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"'
