#!/usr/bin/env bash
# Installs what is missing, builds, starts a private PostgreSQL cluster and runs every test on both
# engines (SQLite and PostgreSQL); the cluster is stopped and removed however the tests end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/compila.sh
source tools/postgres.sh
trap detiene_postgres EXIT
inicia_postgres
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
