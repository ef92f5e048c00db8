#!/usr/bin/env bash
# Builds everything and runs every test (unit, GL, end-to-end) with ctest.
# Tests that need a display start their own Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
cd build
ctest --output-on-failure -j2 "$@"
