#!/usr/bin/env bash
# Installs every Debian package Quorvel needs to build, run and test.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  # build tools
  build-essential cmake ninja-build pkg-config git clang clang-format libclang-rt-dev
  # libraries
  qt6-base-dev qt6-base-dev-tools libqt6svg6 libgl-dev
  libcurl4-openssl-dev libicu-dev zlib1g-dev
  # tests, benchmarks, fuzzing
  libgtest-dev libgmock-dev googletest libbenchmark-dev libcpp-httplib-dev libssl-dev
  nlohmann-json3-dev rapidjson-dev tinyproxy-bin nodejs openssl
  desktop-file-utils dpkg-dev file
  # a decimal-comma locale for the locale-independence tests
  locales
  # running the windows headless, and Chinese glyphs in screenshots
  xvfb xauth fonts-noto-cjk
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: missing packages: ${missing[*]} (run this script as root)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests run number conversions under de_DE.UTF-8, which uses a decimal comma.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then
  if [[ $(id -u) -eq 0 ]]; then
    localedef -i de_DE -f UTF-8 de_DE.UTF-8
  else
    echo "setup: locale de_DE.UTF-8 missing (run this script as root); the locale tests will fail" >&2
  fi
fi
