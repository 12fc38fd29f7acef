#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, only those missing.
# --bench: also the peers the benchmarks compare against.
# --desktop: also what a Japanese Debian desktop commonly has beside that, so the tests can be run
# against it: the fonts installed next to ours (printing pulls in the URW fonts; noto-cjk is the
# desktops' default Japanese font) and the time zone data.
set -euo pipefail

# The last row: validators and tools of the install checks, and what `make package` runs.
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl1-mesa-dev
          libgtest-dev libgmock-dev libbenchmark-dev libzstd-dev libxxhash-dev libuchardet-dev
          fonts-ipafont-gothic qt6-translations-l10n
          desktop-file-utils appstream groff-base dpkg-dev file)
for option in "$@"; do
  case "$option" in
    --bench) packages+=(libre2-dev ripgrep clang libqscintilla2-qt6-dev) ;;
    --desktop) packages+=(fonts-urw-base35 fonts-noto-mono fonts-droid-fallback fonts-noto-cjk tzdata) ;;
    *) echo "usage: $0 [--bench] [--desktop]" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
