#!/usr/bin/env bash
# Builds the fuzz targets with the fuzz preset and runs one of them.
# Usage: fuzz/run.sh <target> [seconds] [extra libFuzzer options...]
#   targets: settings profile sequence plan protocol_lines users exchange
# The seed corpus tests/fuzz/<target>/ is copied into build/fuzz/corpus/<target>/, which keeps
# what the run adds; inputs that find a fault land in build/fuzz/artifacts/<target>/. Copy those
# (minimised with -minimize_crash=1) into tests/fuzz/<target>/crashes/ once the fault is fixed,
# so the replay test keeps them.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?target name}"
seconds="${2:-300}"
shift $(($# < 2 ? $# : 2))

missing=()
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo -n"; fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

[ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target "fuzz_${target}" -j "$(nproc)"

corpus="build/fuzz/corpus/${target}"
artifacts="build/fuzz/artifacts/${target}"
mkdir -p "$corpus" "$artifacts"
cp -n "tests/fuzz/${target}"/* "$corpus"/ 2>/dev/null || true
# Scratch files of the file-based targets go to memory, not to the disk.
export TMPDIR="${TMPDIR:-/dev/shm}"
exec "build/fuzz/bin/fuzz_${target}" -max_total_time="$seconds" -dict="fuzz/dict/${target}.dict" \
    -artifact_prefix="${artifacts}/" -print_final_stats=1 "$@" "$corpus"
