#!/usr/bin/env bash
# Builds the Debian package (build/qivera_VERSION_ARCH.deb) and proves it: its control data and
# files, lintian where it is installed, then the package unpacked into a scratch root whose qivera,
# found on PATH, makes the demo database, plays the demo script on it and opens the desktop off
# screen. The scratch root is removed however the checks end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/compila.sh
rm -f build/qivera_*.deb
(cd build && cpack -G DEB) >&2
paquetes=(build/qivera_*.deb)
[ "${#paquetes[@]}" -eq 1 ] && [ -f "${paquetes[0]}" ] || { echo "paquete: cpack made no single qivera_*.deb" >&2; exit 1; }
paquete="$(realpath "${paquetes[0]}")"

falla() { echo "paquete: $*" >&2; exit 1; }
componente="usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/qivera/libkx204.so"

dpkg-deb --info "$paquete"
contenido="$(dpkg-deb --contents "$paquete")"
echo "$contenido"
for ruta in ./usr/bin/qivera ./$componente ./usr/share/applications/qivera.desktop \
            ./usr/share/icons/hicolor/scalable/apps/qivera.svg ./usr/share/man/man1/qivera.1.gz \
            ./usr/share/qivera/demo.jsonl ./usr/share/doc/qivera/README.md ./usr/share/doc/qivera/copyright \
            ./usr/share/doc/qivera/changelog.gz ./etc/qivera/qivera.conf; do
    grep -q " $ruta\$" <<< "$contenido" || falla "the package lacks $ruta"
done
[ "$(dpkg-deb --field "$paquete" Package)" = qivera ] || falla "the package is not named qivera"
dpkg-deb --ctrl-tarfile "$paquete" | tar -xO ./conffiles | grep -qx /etc/qivera/qivera.conf ||
    falla "/etc/qivera/qivera.conf is not a conffile"

if command -v lintian > /dev/null; then
    lintian --fail-on error "$paquete" || falla "lintian finds errors"
else
    echo "paquete: lintian is not installed, not run" >&2
fi

raiz="$(realpath "$(mktemp -d "${TMPDIR:-/tmp}/qivera-paquete-XXXXXX")")"
trap 'rm -rf "$raiz"' EXIT
dpkg-deb -x "$paquete" "$raiz"
command -v desktop-file-validate > /dev/null && desktop-file-validate "$raiz/usr/share/applications/qivera.desktop"

# An installed program depends on nothing in the build tree.
readelf -d "$raiz/usr/bin/qivera" | grep -q "$PWD" && falla "the installed qivera still looks in $PWD"
cargada="$(ldd "$raiz/usr/bin/qivera" | awk '$1 == "libkx204.so" && $3 ~ /^\// { print $3 }')"
[ -n "$cargada" ] && [ "$(realpath "$cargada")" = "$raiz/$componente" ] ||
    falla "the installed qivera loads ${cargada:-no} libkx204.so, not $raiz/$componente"
# The sample changes nothing until an administrator edits it: every key is commented out.
if grep -Ev '^[[:space:]]*(;|#|\[|$)' "$raiz/etc/qivera/qivera.conf"; then falla "the sample sets a key"; fi

# The installed program, from PATH, with a home of its own so nothing lands in the caller's.
export PATH="$raiz/usr/bin:$PATH" HOME="$raiz/casa" XDG_CONFIG_HOME="$raiz/casa/.config"
mkdir -p "$HOME"
[ "$(command -v qivera)" = "$raiz/usr/bin/qivera" ] || falla "qivera on PATH is not the installed one"
base="sqlite:$raiz/demo.db"
qivera init --db "$base" --demo
qivera script "$raiz/usr/share/qivera/demo.jsonl" --db "$base" > "$raiz/transcripcion.jsonl" ||
    { cat "$raiz/transcripcion.jsonl"; falla "the demo script failed"; }
for evento in sign print done; do
    grep -q "\"event\":\"$evento\"" "$raiz/transcripcion.jsonl" || falla "the demo script made no $evento"
done
# The desktop has no unattended end: still open after a while is the window up with its component loaded.
estado=0
QT_QPA_PLATFORM=offscreen timeout 20 qivera --db "$base" --user ADMIN --date 2026-03-15 || estado=$?
[ "$estado" -eq 124 ] || falla "the desktop ended with status $estado before it was closed"
echo "paquete: $paquete installs and runs"
