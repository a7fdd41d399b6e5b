#!/usr/bin/env bash
# Installs the Debian packages that the named parts of the build need, only
# those that are missing. Groups: core windows qt deb package wayland bench fuzz.
set -euo pipefail

declare -A group_packages=(
  [core]="g++ cmake make libgtest-dev libgmock-dev"
  [windows]="g++-mingw-w64-i686 mingw-w64-i686-dev wine wine32:i386 fonts-wine xvfb xauth file"
  [qt]="qt6-base-dev qt6-qpa-plugins fonts-liberation"
  [deb]="dpkg-dev file"
  [package]="dpkg-dev lintian desktop-file-utils groff-base man-db file"
  [wayland]="qt6-wayland"
  [bench]="hyperfine ffmpeg libbenchmark-dev time valgrind"
  [fuzz]="clang libclang-rt-14-dev"
)

wanted=()
for group in "${@:-core}"; do
  [[ -n "${group_packages[$group]+x}" ]] || { echo "install-deps: unknown group $group" >&2; exit 2; }
  for package in ${group_packages[$group]}; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || wanted+=("$package")
  done
done
[[ ${#wanted[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
if printf '%s\n' "${wanted[@]}" | grep -q ':i386$'; then
  dpkg --print-foreign-architectures | grep -q '^i386$' || $sudo dpkg --add-architecture i386
fi
echo "install-deps: installing ${wanted[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${wanted[@]}" >/dev/null
