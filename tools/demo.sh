#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo database when absent and
# runs the demo script through the headless shell, printing its transcript.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/compila.sh
base="${KX204_DB:-demo/demo.db}"
[ -f "$base" ] || build/qivera/qivera init --db "sqlite:$base" --demo
build/qivera/qivera script demo/demo.jsonl --db "sqlite:$base"
