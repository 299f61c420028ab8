#!/usr/bin/env bash
# Builds and runs the benchmarks on both engines: SQLite, and PostgreSQL on a private cluster that
# is stopped and removed afterwards. Arguments go to Google Benchmark (--benchmark_filter=…). The run
# ends with a short table of ratios, each from times of the same run: loading against the raw read,
# Accept against the raw floor, line by line against grouped; and Accept's peak memory. Then one line
# for each engine the eight clerks ran on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/compila.sh kx204_bench
resultados="$(mktemp)"
configuracion="$(mktemp -d)"
trap 'rm -rf "$resultados" "$configuracion"' EXIT
# The stamping provider is a service outside this program, and the test one starts a process per stamp:
# Accept is measured sealing its CFDI and leaving it unstamped, whatever this machine or user configures.
mkdir -p "$configuracion/qivera"
printf '[timbrado]\ncomando =\n' >"$configuracion/qivera/qivera.conf"
export XDG_CONFIG_HOME="$configuracion"
bash tools/postgres.sh build/bench/kx204_bench --benchmark_out="$resultados" --benchmark_out_format=json "$@"
jq -r '.benchmarks[] | select(.run_name | startswith("OchoPuestos/")) | select(.error_occurred | not)
  | "\(.run_name | capture("puestos:(?<p>[0-9]+)").p) clerks accepting \(.run_name | capture("facturas:(?<f>[0-9]+)").f) invoices each at once on \(if (.run_name | test("motor:1")) then "PostgreSQL" else "SQLite" end): \(.facturas_por_segundo * 10 | round / 10) invoices/s, Accept median \(.mediana_ms | round) ms, slowest \(.maxima_ms | round) ms, \(.rechazos) refused"' \
  "$resultados"
