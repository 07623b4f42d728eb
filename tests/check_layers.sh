#!/usr/bin/env bash
# Fails when a file of a simulation folder includes a header of the shell
# (src/app or src/view): the simulation reaches the shell only through the
# services of src/shell. Usage: check_layers.sh <src dir> <simulation folder>...
set -uo pipefail
src=$1
shift
status=0
for folder in "$@"; do
  [ -d "$src/$folder" ] || continue
  # Any include whose path names app/ or view/, however it is reached.
  if hits=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^">]*/)?(app|view)/' \
              --include='*.h' --include='*.cpp' "$src/$folder"); then
    echo "$hits"
    status=1
  fi
done
if [ "$status" != 0 ]; then
  echo "The simulation includes shell headers above; reach the shell through src/shell instead." >&2
fi
exit $status
