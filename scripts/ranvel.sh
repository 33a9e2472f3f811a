#!/usr/bin/env bash
# Installs what is missing, builds, then starts a program or runs every test.
#   bash scripts/ranvel.sh run          start ranvel (needs a display)
#   bash scripts/ranvel.sh run small    start ranvel_small
#   bash scripts/ranvel.sh test         run every test (no display needed), then again with
#                                       sanitizers, with a replay of the fuzz corpora
#   bash scripts/ranvel.sh windows      build Qt for Windows from Debian's sources into a cache
#                                       outside the tree, in the background on idle CPU
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
  packages=(cmake ninja-build dpkg-dev qt6-base-dev g++-mingw-w64-x86-64-posix)
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
  # Debian ships no Qt for MinGW: Qt base is built from Debian's own source package, with its
  # bundled zlib, libpng, libjpeg, FreeType, HarfBuzz and PCRE2, against the host's moc, rcc
  # and uic. The first run takes an hour or more; later runs find the build in the cache.
  cache=${RANVEL_WINDOWS_CACHE:-/var/cache/ranvel-windows}
  as_root mkdir -p "$cache"
  as_root chown "$(id -u):$(id -g)" "$cache"
  if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "Adding Debian's source packages to apt's lists"
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
      as_root tee /etc/apt/sources.list.d/ranvel-deb-src.sources >/dev/null
    as_root apt-get update -qq
  fi
  # The build keeps the toolchain's path: a copy in the cache outlives the checkout it came from.
  toolchain=$cache/mingw-w64.cmake
  cp scripts/mingw-w64.cmake "$toolchain"
  log=$cache/qt6-base.log
  build_qt() {
    set -euo pipefail
    cd "$cache"
    if [ ! -d qt6-base-src ]; then
      rm -rf source && mkdir source
      (cd source && apt-get source -qq qt6-base)
      mv "$(find source -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')" qt6-base-src
      rm -rf source
    fi
    if ! grep -qs "^CMAKE_TOOLCHAIN_FILE:.*=$toolchain\$" qt6-base-build/CMakeCache.txt; then
      rm -rf qt6-base-build
    fi
    # Debian's source leaves out Wacom's wintab.h, so the Windows plugin is built without tablets.
    flags=(-G Ninja -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$cache/qt6"
      -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
      -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
      -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_printsupport=OFF -DFEATURE_dbus=OFF
      -DFEATURE_tabletevent=OFF
      -DINPUT_opengl=no -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
      -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF)
    # A change of options reconfigures the build in place, keeping what it does not touch.
    if [ ! -f qt6-base-build/build.ninja ] || [ "$(cat qt6-base-build/ranvel-flags 2>/dev/null)" != "${flags[*]}" ]; then
      cmake -S qt6-base-src -B qt6-base-build "${flags[@]}"
      printf '%s' "${flags[*]}" >qt6-base-build/ranvel-flags
    fi
    cmake --build qt6-base-build
    cmake --install qt6-base-build
    echo "Qt for Windows is in $cache/qt6"
  }
  if [ -f "$cache/qt6/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    echo "Qt for Windows is built already: $cache/qt6"
    exit
  fi
  export -f build_qt
  export cache toolchain
  # Only the CPU nothing else wants: other builds and tests run beside it.
  nohup nice -n 19 bash -c build_qt >"$log" 2>&1 &
  echo "Building Qt for Windows in the background (process $!); its log: $log"
  exit
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
