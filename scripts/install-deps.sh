#!/usr/bin/env bash
# Installs every Debian package Vestrel needs to build, run and test, and nothing that
# is already there. Quiet when nothing is missing. Works as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ninja-build
  qt6-base-dev qt6-multimedia-dev libqt6svg6
  libopencv-dev libtiff-dev libgif-dev libhpdf-dev zlib1g-dev libzstd-dev
  libtesseract-dev tesseract-ocr-chi-sim tesseract-ocr-eng tesseract-ocr
  libv4l-dev libudev-dev libxcb1-dev libxcb-xtest0-dev
  libfreetype-dev libfontconfig-dev fonts-arphic-uming fonts-liberation
  ghostscript libreoffice-writer-nogui libreoffice-calc-nogui libreoffice-impress-nogui
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  poppler-utils qpdf
  clang libclang-rt-14-dev
  strace
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}" >&2
if [[ $(id -u) -eq 0 ]]; then
  run_as_root=()
elif command -v sudo >/dev/null; then
  run_as_root=(sudo)
else
  echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get update -qq
"${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
