#!/usr/bin/env bash
# Builds the desktop program and nodrix3-cli (Release) and starts the desktop program on the
# bundled example study (examples/study.nex); without a display it shows the example through
# nodrix3-cli instead.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

cmake --preset release >/dev/null
cmake --build --preset release

example=examples/study.nex
args=()
[ -f "$example" ] && args+=("$example")

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: the desktop program needs a graphical session." >&2
  echo "Start it from a desktop with ./run.sh, or under a virtual display with:" >&2
  echo "  xvfb-run -a build/release/nodrix3 ${args[*]:-}" >&2
  echo "Meanwhile, the example as nodrix3-cli reads it:" >&2
  exec build/release/nodrix3-cli info "$example"
fi
exec build/release/nodrix3 "${args[@]}"
