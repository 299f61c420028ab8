#!/usr/bin/env bash
# Checks that every include points down the layers (see ARCHITECTURE.md): a folder may include its
# own headers and those of the layers below it, never one above. Prints each offending include.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each folder and what it may include besides itself, bottom first.
declare -A debajo=(
    [kx204]=""
    [qivera/db]="kx204"
    [qivera/sesion]="kx204 qivera/db"
    [qivera/services]="kx204 qivera/db qivera/sesion"
    [qivera/printing]="kx204 qivera/db qivera/sesion qivera/services"
    [qivera/signing]="kx204 qivera/db qivera/sesion qivera/services qivera/printing"
    [qivera/mail]="kx204 qivera/db qivera/sesion qivera/services qivera/printing"
    [qivera/demo]="kx204 qivera/db qivera/sesion qivera/services qivera/printing qivera/signing"
    [qivera/host]="kx204 qivera/db qivera/sesion qivera/services qivera/printing qivera/signing qivera/mail"
    [qivera/desktop]="kx204 qivera/db qivera/sesion qivera/services qivera/printing qivera/signing qivera/mail
                      qivera/demo qivera/host"
    [qivera/script]="kx204 qivera/db qivera/sesion qivera/services qivera/printing qivera/signing qivera/mail
                     qivera/demo qivera/host qivera/desktop"
)

# The layer a path belongs to: its qivera/ folder, or kx204 for the whole component.
capa() {
    case "$1" in
        kx204/*) echo kx204 ;;
        qivera/*) echo "$1" | cut -d/ -f1-2 ;;
    esac
}

fallas=0
while IFS=: read -r archivo _ linea; do
    incluido=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$linea")
    origen=$(capa "$archivo")
    destino=$(capa "$incluido")
    [[ -z "$destino" || "$origen" == "$destino" ]] && continue
    if [[ -z "${debajo[$origen]+x}" ]]; then
        echo "$archivo: the folder $origen has no place among the layers"
        fallas=1
    elif ! grep -qw -- "$destino" <<<"${debajo[$origen]}"; then
        echo "$archivo: $origen may not include $incluido"
        fallas=1
    fi
done < <(grep -rn --include='*.cpp' --include='*.hpp' '#include "' kx204 qivera)
exit "$fallas"
