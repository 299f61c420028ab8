#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo database when absent and runs the demo script
# through the headless shell on a fresh copy of it (so that every run tells the same story),
# printing its transcript. The PDF, the signed XML and the mail land in demo/ejecucion/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/compila.sh qivera
base="${KX204_DB:-demo/demo.db}"
# A demo made by an earlier version is brought up to date; a missing one is made.
if [ -f "$base" ]; then
    build/qivera/qivera init --upgrade --db "sqlite:$base" >&2  # its summary, apart from what follows
else
    build/qivera/qivera init --db "sqlite:$base" --demo
fi
rm -rf demo/ejecucion && mkdir -p demo/ejecucion
cp "$base" demo/ejecucion/demo.db
build/qivera/qivera script demo/demo.jsonl --db sqlite:demo/ejecucion/demo.db
