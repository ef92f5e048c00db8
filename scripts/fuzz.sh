#!/usr/bin/env bash
# Fuzzes the XML reader, the options loader and the dataset loader with its
# placement (tests/fuzz): installs clang and libFuzzer if missing, builds the
# targets with -DQM_FUZZ=ON into build-fuzz/ and runs each for SECONDS
# seconds (default 60), starting from the saved inputs of tests/fuzz/inputs/.
# An input that breaks a property is written to build-fuzz/findings/<target>/;
# once mended, copy it into tests/fuzz/inputs/<target>/ so that the unit test
# fuzz_replay_test keeps replaying it.
#
#   ./scripts/fuzz.sh [SECONDS] [TARGET ...]   targets: xml options dataset
#   ./scripts/fuzz.sh --dataset-inputs         rewrite tests/fuzz/inputs/dataset/
#                                              from quillmere-flowgen (needs build/)
set -euo pipefail
cd "$(dirname "$0")/.."

# A dataset input is the grid file's length (4 bytes, little-endian), the grid
# file and the data file (tests/fuzz/FuzzChecks.h).
pack() {
  local grid=$1 data=$2 out=$3 n
  n=$(stat -c %s "$grid")
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((n & 255)) $((n >> 8 & 255)) $((n >> 16 & 255)) $((n >> 24 & 255)))" >"$out"
  cat "$grid" "$data" >>"$out"
}

dataset_inputs() {
  local flowgen=build/quillmere-flowgen dir=tests/fuzz/inputs/dataset tmp
  [ -x "$flowgen" ] || { echo "build quillmere-flowgen first (./scripts/build.sh)" >&2; exit 1; }
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' RETURN
  mkdir -p "$dir"
  local small=(--nx 4 --ny 3 --channels 1)
  local -A kinds=(
    [uniform]="--field uniform ${small[*]}"
    [gyre-flipped]="--field gyre --nx 9 --ny 5 --flipped"
    [vortex-big-endian]="--field vortex --nx 9 --ny 9 --swap"
    [nan-patch]="--field rotation --nx 9 --ny 9 --channels 0 --nan-patch"
    [stretched-sink]="--field sink --nx 7 --ny 6 --spacing stretched --channels 3"
    [flat-domain]="--field saddle --nx 5 --ny 5 --y0 0 --y1 1e-30"
  )
  for broken in short-grid short-data dims2 bad-magic few-values huge; do
    kinds[$broken]="--field saddle ${small[*]} --broken $broken"
  done
  for name in "${!kinds[@]}"; do
    # shellcheck disable=SC2086
    "$flowgen" ${kinds[$name]} -o "$tmp/$name" >/dev/null
    pack "$tmp/$name.gri" "$tmp/$name.00000.dat" "$dir/$name"
  done
  echo "Wrote ${#kinds[@]} inputs to $dir"
}

if [ "${1:-}" = "--dataset-inputs" ]; then
  dataset_inputs
  exit 0
fi

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(xml options dataset)

./scripts/install-deps.sh --fuzz
cmake -S . -B build-fuzz -DQM_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

failed=()
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  findings=build-fuzz/findings/$target
  mkdir -p "$corpus" "$findings"
  cp -n tests/fuzz/inputs/"$target"/* "$corpus"/
  echo "== fuzz_$target for $seconds s"
  if ! build-fuzz/tests/fuzz/fuzz_"$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings"/ "$corpus"; then
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Properties broken in: ${failed[*]} (inputs in build-fuzz/findings/)" >&2
  exit 1
fi
echo "No property broken."
