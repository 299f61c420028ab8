#!/usr/bin/env bash
# Screenshots of the desktop under a virtual X display: the window with the demo's notes loaded
# and ticked (notas.png), the header with the client taken (encabezado.png), the delivery address and
# payment method choosers (direccion.png, metodo_pago.png) and the preview of the printed invoice
# (factura.png), saved into the folder given (default capturas/).
set -euo pipefail
cd "$(dirname "$0")/.."
carpeta="$(realpath -m "${1:-capturas}")"
bash tools/compila.sh kx204_desktop_tests
command -v xvfb-run > /dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xvfb xauth >&2
KX204_CAPTURAS="$carpeta" xvfb-run -a -s "-screen 0 1400x1000x24" build/tests/kx204_desktop_tests > /dev/null
ls "$carpeta"
