#!/usr/bin/env bash
# Fuzzes the readers of everything the game loads, with libFuzzer in a clang build with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-fuzz/).
#
#   scripts/fuzz.sh [--seconds N] [--merge] [TARGET...]
#
# Each target (default: all) runs N seconds (default 60) from its committed corpus
# (fuzz/corpus/TARGET) and seeds made from the generated core pack; new inputs collect in
# build-fuzz/corpus/TARGET. Inputs that crash land in build-fuzz/crashes/TARGET/: fix the fault,
# then copy the input into fuzz/regressions/TARGET/ so that every build replays it as a test.
# --merge adds the inputs that reach new code to the committed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
merge=0
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --merge) merge=1; shift ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) targets+=("$1"); shift ;;
  esac
done
all=(archive unpack20 ini mesh terrain picture wav settings script)
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

scripts/install-deps.sh
if ! command -v clang++ >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q 'ok installed'; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
fi

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B $build -DKESTREL_FUZZ=ON -DKESTREL_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build $build -j "$(nproc)" --target kestrel_core_pack kestrel_program_assets kestrel-pack kestrel-fuzz-seeds "${targets[@]/%/_fuzzer}"

# Seeds from the core pack as the build wrote it: definitions, meshes, pictures, landscapes, and
# the game's own sounds, scripts and settings.
seeds=$build/seeds
pack=$build/core-pack
rm -rf "$seeds"
mkdir -p "$seeds"/{archive,unpack20,ini,mesh,terrain,picture,wav,settings,script}
cp "$pack"/*.ini "$pack"/missions/*.ini "$seeds/ini/"
cp "$pack"/meshes/*.msh "$seeds/mesh/"
for landscape in "$pack"/terrain/*.hgt "$pack"/terrain/*.tex; do
  # Camera in the middle of the map, 100 m up, then the first blocks of the file.
  { printf '\x00\x80\x00\x80\x00\x19\x00\x40\x20'; head -c 4096 "$landscape"; } > "$seeds/terrain/$(basename "$landscape")"
done
find "$pack" -name '*.jpg' -size -12k | sort | head -n 24 | while read -r picture; do
  { printf '\x80'; cat "$picture"; } > "$seeds/picture/$(basename "$picture")"
done
cp $build/assets/sound/*.wav "$seeds/wav/"
cp tests/e2e/missions/*.script "$seeds/script/"
printf '[Kestrel Run]\nSkipIntro=1\nInterlaced=0\nMute=0\nVolume=3\nScreenMode=1\nDrawDistance=3\nImageQuality=2\n' \
  > "$seeds/settings/settings.ini"
$build/bin/kestrel-fuzz-seeds "$seeds/unpack20" "$pack"/*.ini "$pack"/meshes/*.msh $build/assets/sound/1[0-4]0.wav
for kind in plain solid; do
  option=(); [ $kind = solid ] && option=(--solid)
  $build/bin/kestrel-pack create "${option[@]}" "$seeds/archive/$kind.bin" "$pack"/*.ini "$pack"/meshes/drums0.msh \
    $build/assets/sound/110.wav >/dev/null
done
$build/bin/kestrel-pack create --store "$seeds/archive/stored.bin" "$pack"/content.ini >/dev/null

# A small quarantine and no malloc fill: most inputs allocate and free a few blocks, and the
# default quarantine makes every one of them fresh memory (page faults) instead of reused.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:max_malloc_fill_size=0}
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  crashes=$build/crashes/$target
  mkdir -p "$corpus" "$crashes" "fuzz/corpus/$target"
  echo "== $target: $seconds s"
  "$build/bin/${target}_fuzzer" -max_total_time="$seconds" -dict="fuzz/dict/$target.dict" -timeout=10 \
    -artifact_prefix="$crashes/" -print_final_stats=1 "$corpus" "fuzz/corpus/$target" "$seeds/$target" \
    2>"$build/$target.log" || { tail -n 40 "$build/$target.log"; echo "$target: input saved in $crashes"; exit 1; }
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|DONE' "$build/$target.log" | tail -n 3
  if [ $merge -eq 1 ]; then
    "$build/bin/${target}_fuzzer" -merge=1 "fuzz/corpus/$target" "$corpus" "$seeds/$target" 2>/dev/null
  fi
done
