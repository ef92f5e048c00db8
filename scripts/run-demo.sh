#!/usr/bin/env bash
# Builds everything and opens the viewer on the generated demo dataset.
# Extra arguments go to the viewer, e.g. -showStreamlines 1.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
cd build
exec ./quillmere -datafile demo/demo.gri "$@"
