#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the real protocol peers need.
set -euo pipefail
packages=(
  build-essential cmake ninja-build ccache clang libclang-rt-14-dev clang-format clang-tidy
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libssl-dev libasio-dev libboost-dev libpng-dev libcli11-dev
  qt6-base-dev fonts-dejavu-core
  snmpd snmp tshark python3 openssl libxml2-utils
  libdxflib-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core python3-ezdxf
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  # tshark asks whether non-root users may capture; answer no without a prompt.
  echo "wireshark-common wireshark-common/install-setuid boolean false" | $SUDO debconf-set-selections
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
