#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# Works as root or through sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-svg-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libalglib-dev
  xvfb xauth fonts-dejavu-core openbox
  muscle clustalw tracetuner staden-io-lib-utils seqtk scrm plink1.9
  phylip python3-biopython
  emboss
  snakemake
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  echo "error: packages missing (${missing[*]}) and neither root nor sudo is available" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
