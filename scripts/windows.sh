#!/usr/bin/env bash
# The Windows build, called by `scripts/ranvel.sh windows` once the tools are installed: the
# libraries from Debian's source packages into CACHE, each once, then the programs, the folder
# the installer packs, the installer, build-windows/ranvel-VERSION-setup.exe, and the test
# programs that scripts/windows-check.sh runs under Wine.
#   bash scripts/windows.sh CACHE
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
cache=$1
version=$(sed -n 's/^project(Ranvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The build keeps the toolchain's path: a copy in the cache outlives the checkout it came from.
toolchain=$cache/mingw-w64.cmake
cmp -s scripts/mingw-w64.cmake "$toolchain" || cp scripts/mingw-w64.cmake "$toolchain"
cross=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain")
# Only the libraries built here are found, never the build machine's own.
export PKG_CONFIG_LIBDIR=$cache/deps/lib/pkgconfig:$cache/tesseract/lib/pkgconfig PKG_CONFIG_PATH=

# The unpacked source of a Debian source package, its patches applied.
source_of() {
  local package=$1 dir=$cache/$2-src
  if [ ! -d "$dir" ]; then
    mkdir -p "$cache/src-$package"
    (cd "$cache/src-$package" && apt-get source -qq --download-only "$package" 2>/dev/null)
    dpkg-source -x --no-check "$cache/src-$package"/*.dsc "$dir" >/dev/null
  fi
}

# Configures, builds and installs the unpacked source NAME-src of the cache into PREFIX.
build_install() {
  local name=$1 prefix=$2
  shift 2
  # Chained: a stage runs inside a test, where a failing command would not stop the script.
  cmake -S "$cache/$name-src" -B "$cache/$name-build" "${cross[@]}" -DCMAKE_INSTALL_PREFIX="$prefix" "$@" &&
    cmake --build "$cache/$name-build" &&
    cmake --install "$cache/$name-build"
}

# A stage runs once; its log stays in the cache.
stage() {
  local name=$1
  shift
  [ -f "$cache/$name.done" ] && return
  echo "Building $name for Windows ($(date +%H:%M)); its log: $cache/$name.log"
  if ! "$@" >"$cache/$name.log" 2>&1; then
    echo "Building $name failed; the end of its log:" >&2
    tail -20 "$cache/$name.log" >&2
    exit 1
  fi
  touch "$cache/$name.done"
}

qt() {
  source_of qt6-base qt6-base
  # Debian's source leaves out Wacom's wintab.h, so the Windows plugin is built without tablets.
  build_install qt6-base "$cache/qt6" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_printsupport=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_tabletevent=OFF \
    -DINPUT_opengl=no -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
}

# TIFF and WebP, which Qt base cannot read, from the libraries Qt's own module bundles.
imageformats() {
  source_of qt6-imageformats qt6-imageformats
  build_install qt6-imageformats "$cache/qt6" \
    -DRANVEL_WINDOWS_PREFIX="$cache/qt6" -DCMAKE_PREFIX_PATH="$cache/qt6" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_system_tiff=OFF -DFEATURE_system_webp=OFF \
    -DFEATURE_jasper=OFF -DFEATURE_mng=OFF
}

# OpenCV's dnn module reads the network's ONNX through protobuf, linked in statically; its
# generated files are made again by the build machine's protoc of the same version.
protobuf() {
  source_of protobuf protobuf
  build_install protobuf "$cache/protobuf" \
    -Dprotobuf_BUILD_TESTS=OFF -Dprotobuf_BUILD_PROTOC_BINARIES=OFF -Dprotobuf_BUILD_SHARED_LIBS=OFF \
    -Dprotobuf_WITH_ZLIB=OFF -Dprotobuf_BUILD_LIBPROTOC=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=ON
}

# The four modules the reader uses (and the two calib3d needs), no image codecs, no video.
opencv() {
  source_of opencv opencv
  build_install opencv "$cache/opencv" \
    -DRANVEL_WINDOWS_PREFIX="$cache/protobuf" \
    -DBUILD_LIST=core,imgproc,calib3d,dnn -DBUILD_SHARED_LIBS=ON \
    -DBUILD_TESTS=OFF -DBUILD_PERF_TESTS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOCS=OFF -DBUILD_opencv_apps=OFF \
    -DBUILD_JAVA=OFF -DBUILD_opencv_python3=OFF -DBUILD_opencv_python2=OFF -DWITH_ADE=OFF \
    -DBUILD_ZLIB=OFF -DWITH_PNG=OFF -DWITH_JPEG=OFF -DWITH_TIFF=OFF -DWITH_WEBP=OFF -DWITH_OPENJPEG=OFF \
    -DWITH_JASPER=OFF -DWITH_OPENEXR=OFF -DWITH_IMGCODEC_HDR=OFF -DWITH_IMGCODEC_SUNRASTER=OFF \
    -DWITH_IMGCODEC_PXM=OFF -DWITH_IMGCODEC_PFM=OFF -DWITH_FFMPEG=OFF -DWITH_GSTREAMER=OFF -DWITH_DSHOW=OFF \
    -DWITH_MSMF=OFF -DWITH_OPENCL=OFF -DWITH_IPP=OFF -DWITH_ITT=OFF -DWITH_LAPACK=OFF -DWITH_EIGEN=OFF \
    -DWITH_OPENMP=OFF -DWITH_PTHREADS_PF=OFF -DWITH_WIN32UI=OFF -DWITH_VTK=OFF -DWITH_QT=OFF -DWITH_GTK=OFF \
    -DWITH_PROTOBUF=ON -DBUILD_PROTOBUF=OFF -DPROTOBUF_UPDATE_FILES=ON -DProtobuf_PROTOC_EXECUTABLE=/usr/bin/protoc \
    -DOPENCV_DNN_OPENCL=OFF -DWITH_VA=OFF -DWITH_OBSENSOR=OFF -DCV_TRACE=OFF -DWITH_QUIRC=OFF -DWITH_1394=OFF \
    -DOPENCV_GENERATE_PKGCONFIG=OFF -DENABLE_PRECOMPILED_HEADERS=OFF
}

# libjpeg for a JPEG's luma, uchardet for an SGF file that names no character set: static.
small_libraries() {
  source_of libjpeg-turbo jpeg
  build_install jpeg "$cache/deps" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
  source_of uchardet uchardet
  build_install uchardet "$cache/deps" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_BINARY=OFF -DBUILD_STATIC=ON
  # The sources name the header by its folder, as Debian installs it.
  sed -i 's|^Cflags: -I${includedir}/uchardet$|Cflags: -I${includedir}/uchardet -I${includedir}|' \
    "$cache/deps/lib/pkgconfig/uchardet.pc"
}

# Tesseract reads the notes and gives its second opinion on numbers; Leptonica only has to
# hold the pictures the reader hands it, so it is built without codecs of its own.
tesseract() {
  source_of leptonlib leptonica
  build_install leptonica "$cache/tesseract" \
    -DBUILD_SHARED_LIBS=ON -DBUILD_PROG=OFF -DSW_BUILD=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_GIF=ON -DCMAKE_DISABLE_FIND_PACKAGE_JPEG=ON -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_TIFF=ON -DCMAKE_DISABLE_FIND_PACKAGE_ZLIB=ON
  source_of tesseract tesseract
  # MinGW's import libraries are in lower case; the name the source gives is found only on Windows.
  sed -i 's/Ws2_32/ws2_32/g' "$cache/tesseract-src/CMakeLists.txt"
  # The recogniser pads a line with noise from an engine seeded with a 64-bit number. The engine
  # keeps its state in uint_fast32_t, which is 64 bits on Linux and 32 on Windows, so Windows
  # dropped the seed's high half and read every line a little otherwise. Kept in 64 bits here,
  # it reads as Debian's build does.
  sed -i 's/^  std::minstd_rand e;$/  std::linear_congruential_engine<std::uint64_t, 48271, 0, 2147483647> e;/' \
    "$cache/tesseract-src/src/ccutil/helpers.h"
  grep -q 'linear_congruential_engine<std::uint64_t' "$cache/tesseract-src/src/ccutil/helpers.h" &&
    build_install tesseract "$cache/tesseract" \
      -DRANVEL_WINDOWS_PREFIX="$cache/tesseract" -DCMAKE_PREFIX_PATH="$cache/tesseract" \
      -DLeptonica_DIR="$cache/tesseract/lib/cmake/leptonica" \
      -DBUILD_SHARED_LIBS=ON -DBUILD_TRAINING_TOOLS=OFF -DSW_BUILD=OFF -DDISABLE_ARCHIVE=ON -DDISABLE_CURL=ON \
      -DOPENMP_BUILD=OFF -DGRAPHICS_DISABLED=ON -DDISABLE_TIFF=ON -DBUILD_TESTS=OFF -DENABLE_LTO=OFF
}

stage qt6-base qt
stage qt6-imageformats imageformats
stage protobuf protobuf
stage opencv opencv
stage libraries small_libraries
# Renamed when the stage changes, so that a cache built before is built again.
stage tesseract-seeded tesseract

echo "Building the programs for Windows ($(date +%H:%M))"
prefixes="$cache/qt6;$cache/opencv;$cache/deps;$cache/tesseract"
cmake -S "$repo" -B "$cache/ranvel-build" "${cross[@]}" -DRANVEL_WINDOWS_PREFIX="$prefixes" -DCMAKE_PREFIX_PATH="$prefixes" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >"$cache/ranvel.log"
cmake --build "$cache/ranvel-build" >>"$cache/ranvel.log"

# The folder the installer packs: the programs, the reader's module and every DLL they load,
# Tesseract's two languages, stripped of their symbols.
folder=$cache/folder
rm -rf "$folder"
cmake --install "$cache/ranvel-build" --prefix "$folder" >>"$cache/ranvel.log"
mkdir -p "$folder/platforms" "$folder/imageformats" "$folder/styles" "$folder/tessdata"
cp "$cache/qt6/bin/"Qt6{Core,Gui,Widgets,Concurrent}.dll "$folder/"
cp "$cache/qt6/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$cache/qt6/plugins/imageformats/"{qjpeg,qgif,qico,qtiff,qwebp}.dll "$folder/imageformats/"
cp "$cache/qt6/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
cp "$cache/opencv/bin/"*.dll "$cache/tesseract/bin/"*.dll "$folder/"
cp /usr/lib/gcc/x86_64-w64-mingw32/12-posix/{libstdc++-6,libgcc_s_seh-1}.dll \
   /usr/x86_64-w64-mingw32/lib/{libwinpthread-1,zlib1}.dll "$folder/"
cp /usr/share/tesseract-ocr/5/tessdata/{eng,jpn}.traineddata "$folder/tessdata/"
find "$folder" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded

# The uninstaller removes what was installed, file by file, and no folder that is not empty.
list=$cache/installed.nsh
{
  (cd "$folder" && find . -type f | sed 's|^\./||; s|/|\\|g' | sort) | sed 's|.*|  Delete "$INSTDIR\\&"|'
  (cd "$folder" && find . -mindepth 1 -type d | sed 's|^\./||; s|/|\\|g' | sort -r) | sed 's|.*|  RMDir "$INSTDIR\\&"|'
} >"$list"
mkdir -p build-windows
installer=$repo/build-windows/ranvel-$version-setup.exe
makensis -V2 -DSTAGE="$folder" -DVERSION="$version" -DOUT="$installer" -DINSTALLED="$list" windows/ranvel.nsi
echo "The installer: $installer ($(du -h "$installer" | cut -f1)); the cache: $cache ($(du -sh "$cache" | cut -f1))"

# The test programs of the record, its files and the rules, for scripts/windows-check.sh.
echo "Building the test programs for Windows ($(date +%H:%M))"
cmake -S "$repo" -B "$cache/tests-build" "${cross[@]}" -DRANVEL_WINDOWS_PREFIX="$prefixes" -DCMAKE_PREFIX_PATH="$prefixes" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DBUILD_TESTING=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >"$cache/tests.log"
cmake --build "$cache/tests-build" --target tst_cellentry tst_handicap tst_keyboard tst_ordering tst_position tst_dialect \
  tst_lock tst_open tst_save tst_filefaults tst_missingnumbers tst_search tst_notegrammar tst_readboard tst_nextfigure \
  >>"$cache/tests.log"
