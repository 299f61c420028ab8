#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo database when absent and opens the screen's
# window on it, signed in as ADMIN on the demo's date. Without a display the program says so and
# points to the headless shell (bash tools/demo.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/compila.sh qivera  # the window and the screen it loads; the tests build the rest
base="${KX204_DB:-demo/demo.db}"
# A demo made by an earlier version is brought up to date; a missing one is made.
if [ -f "$base" ]; then
    build/qivera/qivera init --upgrade --db "sqlite:$base" >&2  # its summary, apart from what follows
else
    build/qivera/qivera init --db "sqlite:$base" --demo
fi
exec build/qivera/qivera --db "sqlite:$base" --user "${KX204_USUARIO:-ADMIN}" --date "${KX204_FECHA:-2026-03-15}"
