#!/usr/bin/env bash
# Builds Kestrel Run and starts it: in a window where there is a display; where there is none,
# it says so and runs a short headless demo that writes screenshots. Extra arguments go to the game
# (for example --scale 3 or --fullscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build >/dev/null
# The game and the core pack it plays: without core.bin there would be no missions to fly.
cmake --build build -j "$(nproc)" --target kestrel-run kestrel_core_pack

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/kestrel-run "$@"
fi
echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty): running a headless demo instead."
mkdir -p build/demo
cd build/demo
../bin/kestrel-run --headless --script ../../scripts/demo.script
echo "Screenshots written to $(pwd):"
ls -1 ./*.png
