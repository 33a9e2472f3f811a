#!/usr/bin/env bash
# Installs what is missing, builds, then starts a program or runs every test.
#   bash scripts/ranvel.sh run          start ranvel (needs a display)
#   bash scripts/ranvel.sh run small    start ranvel_small
#   bash scripts/ranvel.sh test         run every test (no display needed), then again with
#                                       sanitizers, with a replay of the fuzz corpora, and the
#                                       threaded ones under ThreadSanitizer
#   bash scripts/ranvel.sh windows      build the Windows programs and their installer, with Qt,
#                                       OpenCV and Tesseract built from Debian's sources into a
#                                       cache outside the tree
set -euo pipefail
cd "$(dirname "$0")/.."

what=${1:-}
case "$what" in
  run|test|windows) ;;
  *) echo "usage: bash scripts/ranvel.sh run [small] | test | windows" >&2; exit 2 ;;
esac

packages=(g++ cmake ninja-build qt6-base-dev libgl1-mesa-dev libbenchmark-dev
          fonts-wine fonts-ipafont-mincho fonts-ipafont-gothic xvfb xauth gnugo
          desktop-file-utils appstream dpkg-dev file
          libopencv-core-dev libopencv-imgproc-dev libopencv-calib3d-dev libopencv-dnn-dev
          libjpeg-dev qt6-image-formats-plugins
          libtesseract-dev libleptonica-dev tesseract-ocr-eng tesseract-ocr-jpn pkg-config libuchardet-dev)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null; then sudo "$@"
  else echo "Installing packages needs root: run this command as root or through sudo." >&2; exit 1
  fi
}

if [ "$what" = windows ]; then
  packages=(cmake ninja-build dpkg-dev qt6-base-dev g++-mingw-w64-x86-64-posix protobuf-compiler
            libz-mingw-w64-dev nsis tesseract-ocr-eng tesseract-ocr-jpn)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$what" = windows ]; then
  # Debian ships no Qt, OpenCV or Tesseract for MinGW: each is built from Debian's own source
  # package into a cache outside the tree, then the programs and the installer. The first run
  # takes an hour or more; later runs find the pieces in the cache and take minutes.
  cache=${RANVEL_WINDOWS_CACHE:-/var/cache/ranvel-windows}
  as_root mkdir -p "$cache"
  as_root chown "$(id -u):$(id -g)" "$cache"
  if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "Adding Debian's source packages to apt's lists"
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
      as_root tee /etc/apt/sources.list.d/ranvel-deb-src.sources >/dev/null
    as_root apt-get update -qq
  fi
  exec nice -n 10 bash scripts/windows.sh "$cache"
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
  # The tests that run long work on a worker thread beside the window, under ThreadSanitizer.
  # Tesseract's OpenMP team is kept to one thread, and the reader runs OpenCV's loops serially
  # in this build: neither library is built for the sanitizer, so their hand-overs look like races.
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=thread -O1 -fno-omit-frame-pointer" \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >/dev/null
  cmake --build build-tsan --target tst_picturepaste tst_rules
  # This sanitizer cannot start beside the wider address randomisation of newer kernels; it is
  # turned off for the run where the system lets us.
  fixed=()
  if setarch "$(uname -m)" -R true 2>/dev/null; then fixed=(setarch "$(uname -m)" -R); fi
  TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp halt_on_error=1" OMP_NUM_THREADS=1 \
  QTEST_FUNCTION_TIMEOUT=900000 \
    "${fixed[@]}" ctest --test-dir build-tsan --output-on-failure -j2 -R '^tst_(picturepaste|rules)$'
  # The Windows build under Wine, where `scripts/ranvel.sh windows` has built it on this machine.
  if [ -f "build-windows/ranvel-$(sed -n 's/^project(Ranvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)-setup.exe" ] \
     && [ -x /usr/lib/wine/wine64 ]; then
    bash scripts/windows-check.sh
  else
    echo "The Windows checks under Wine were skipped: no Windows build on this machine (bash scripts/ranvel.sh windows)."
  fi
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
