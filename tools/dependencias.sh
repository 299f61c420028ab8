#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and this machine lacks.
set -euo pipefail

paquetes=(
  cmake g++ make
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql postgresql qt6-pdf-dev qt6-translations-l10n
  libsqlite3-dev nlohmann-json3-dev libssl-dev libcurl4-openssl-dev fonts-dejavu-core poppler-utils
  libgtest-dev libbenchmark-dev libxml2-dev libqrencode-dev jq
  dpkg-dev lintian desktop-file-utils  # the package is built and checked
  faketime  # the sign-in tests run clients whose clocks are wrong
)

faltan=()
for paquete in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$paquete" 2>/dev/null | grep -q "install ok installed" || faltan+=("$paquete")
done

if [ "${#faltan[@]}" -gt 0 ]; then
  echo "Installing: ${faltan[*]}" >&2
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  {
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${faltan[@]}"
  } >&2
fi
