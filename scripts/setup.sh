#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Velmora need; does nothing when
# they are all there already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libmpfr-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev fonts-dejavu-core fonts-liberation2
  xvfb xauth xdotool xclip python3 python3-ase desktop-file-utils
  clang clang-format libclang-rt-14-dev
  pybind11-dev python3-pybind11 python3-numpy python3-pandas python3-matplotlib python3-pytest python3-dask python3-distributed
  python3-mypy lintian
  ffmpeg shared-mime-info xdg-utils libfile-mimeinfo-perl libglib2.0-bin locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The window's tests run once more under a locale with a decimal comma (ui.MainFormTest.commaLocale).
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating the locale de_DE.UTF-8"
  "${sudo[@]}" sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo[@]}" locale-gen >/dev/null
fi
