#!/usr/bin/env bash
# Installs the Debian packages that the named parts of the build need, only
# those that are missing. Groups: core windows qt deb package wayland bench fuzz web browser.
set -euo pipefail

declare -A group_packages=(
  [core]="g++ cmake make libgtest-dev libgmock-dev"
  [windows]="g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev g++-multilib wine wine64 wine32:i386 fonts-wine xvfb xauth file"
  [qt]="qt6-base-dev qt6-qpa-plugins fonts-liberation"
  [deb]="dpkg-dev file"
  [package]="dpkg-dev lintian desktop-file-utils groff-base man-db file"
  [wayland]="qt6-wayland"
  [bench]="hyperfine ffmpeg libbenchmark-dev time valgrind"
  [fuzz]="clang libclang-rt-14-dev"
  [web]="emscripten"
  [browser]="chromium chromium-driver python3-selenium"
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
native=() foreign=()
for package in "${wanted[@]}"; do
  if [[ $package == *:i386 ]]; then foreign+=("$package"); else native+=("$package"); fi
done
export DEBIAN_FRONTEND=noninteractive
if [[ ${#foreign[@]} -gt 0 ]]; then
  dpkg --print-foreign-architectures | grep -q '^i386$' || $sudo dpkg --add-architecture i386
fi
echo "install-deps: installing ${wanted[*]}"
$sudo apt-get update -qq
[[ ${#native[@]} -eq 0 ]] || $sudo apt-get install -y -qq --no-install-recommends "${native[@]}" >/dev/null
# The 32-bit packages (Wine's 32-bit loader) serve only where the kernel runs
# 32-bit programs: a machine that cannot have them goes on without.
if [[ ${#foreign[@]} -gt 0 ]] && ! $sudo apt-get install -y -qq --no-install-recommends "${foreign[@]}" >/dev/null; then
  echo "install-deps: ${foreign[*]} not installed: the 32-bit Windows programs will not run here" >&2
fi
