#!/usr/bin/env bash
# Configures and builds into build/: the targets named (bash tools/compila.sh qivera), or everything.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/dependencias.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
objetivos=()
for objetivo in "$@"; do objetivos+=(--target "$objetivo"); done
cmake --build build -j"$(nproc)" "${objetivos[@]}" >&2
