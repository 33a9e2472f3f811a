#!/usr/bin/env bash
# Installs what is missing, builds, then starts a program or runs every test.
#   bash scripts/ranvel.sh run          start ranvel (needs a display)
#   bash scripts/ranvel.sh run small    start ranvel_small
#   bash scripts/ranvel.sh test         run every test (no display needed), then again with
#                                       sanitizers, with a replay of the fuzz corpora
set -euo pipefail
cd "$(dirname "$0")/.."

what=${1:-}
case "$what" in
  run|test) ;;
  *) echo "usage: bash scripts/ranvel.sh run [small] | test" >&2; exit 2 ;;
esac

packages=(g++ cmake ninja-build qt6-base-dev libgl1-mesa-dev libbenchmark-dev
          fonts-wine fonts-ipafont-mincho fonts-ipafont-gothic xvfb xauth gnugo
          desktop-file-utils appstream dpkg-dev file
          libopencv-core-dev libopencv-imgproc-dev libopencv-calib3d-dev libopencv-dnn-dev
          libjpeg-dev qt6-image-formats-plugins
          libtesseract-dev libleptonica-dev tesseract-ocr-eng pkg-config)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null; then sudo "$@"
  else echo "Installing packages needs root: run this command as root or through sudo." >&2; exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

if [ "$what" = test ]; then
  export QT_QPA_PLATFORM=offscreen
  ctest --test-dir build --output-on-failure -j2

  # The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and every fuzz
  # target's entry function run once over its committed corpus on the same instrumented code.
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" \
    -DRANVEL_FUZZ=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >/dev/null
  cmake --build build-asan
  # LeakSanitizer stays on: Qt's offscreen platform leaves nothing it reports; Tesseract's
  # own small leak per call is suppressed, and nothing else.
  LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j2
  exit
fi

program=build/ranvel
[ "${2:-}" = small ] && program=build/ranvel_small
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "$program is a desktop program and needs a display: no DISPLAY is set." >&2
  echo "Run it in a desktop session, or under a virtual X server: xvfb-run -s '-screen 0 1280x800x24' $program" >&2
  exit 1
fi
exec "$program"
