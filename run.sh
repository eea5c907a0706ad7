#!/usr/bin/env bash
# Builds the desktop program (Release) and starts it on the bundled example.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

cmake --preset release >/dev/null
cmake --build --preset release

example=examples/example.psf
args=()
[ -f "$example" ] && args+=("$example")

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: the desktop program needs a graphical session." >&2
  echo "Start it from a desktop with ./run.sh, or under a virtual display with:" >&2
  echo "  xvfb-run -a build/release/nodrix3 ${args[*]:-}" >&2
  exit 1
fi
exec build/release/nodrix3 "${args[@]}"
