#!/usr/bin/env bash
# Checks that every include points down the layers (see ARCHITECTURE.md): a folder may include its
# own headers and those of the layers below it, never one above. Prints each offending include.
set -euo pipefail
cd "$(dirname "$0")/.."

# The layers, bottom first; folders on one line share a layer and may not include each other.
capas=(
    "kx204"
    "qivera/db"
    "qivera/sesion"
    "qivera/services"
    "qivera/cfdi"
    "qivera/printing"
    "qivera/signing qivera/mail"
    "qivera/demo"
    "qivera/host"
    "qivera/desktop"
    "qivera/script"
)
declare -A nivel
for i in "${!capas[@]}"; do for carpeta in ${capas[$i]}; do nivel[$carpeta]=$i; done; done

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
    if [[ -z "${nivel[$origen]+x}" || -z "${nivel[$destino]+x}" ]]; then
        echo "$archivo: $origen or $destino has no place among the layers"
        fallas=1
    elif ((nivel[$destino] >= nivel[$origen])); then
        echo "$archivo: $origen may not include $incluido"
        fallas=1
    fi
done < <(grep -rn --include='*.cpp' --include='*.hpp' '#include "' kx204 qivera)
exit "$fallas"
