#!/usr/bin/env bash
# Makes pictures of numbered full-game diagrams from the real games in tests/data/games/: the
# pages a book prints (sgf2dg, one diagram for the whole game, with the "N at M" notes), rendered
# at several resolutions, cut out as screenshots, and spoilt as scans and phone photos are.
#   bash scripts/make_diagrams.sh OUT [GAME...]  every game (or those named), every kind
#   bash scripts/make_diagrams.sh --small OUT   the few pictures the tests read
# The same command makes the same pixels: every random choice is seeded by the game's name.
# Each picture is named GAME__KIND.EXT; the truth is the game's SGF, tests/data/games/GAME.sgf.
set -euo pipefail
cd "$(dirname "$0")/.."

small=0
if [ "${1:-}" = --small ]; then small=1; shift; fi
out=${1:?usage: bash scripts/make_diagrams.sh [--small] OUT [GAME...]}
shift
mkdir -p "$out"

for tool in sgf2dg pdftoppm convert; do
  command -v "$tool" >/dev/null || {
    echo "$tool is missing: apt-get install sgf2dg libpdf-create-perl poppler-utils imagemagick" >&2
    exit 1
  }
done
perl -MPDF::Create -e 1 2>/dev/null || { echo "PDF::Create is missing: apt-get install libpdf-create-perl" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A number 0..n-1 from a name and a salt, the same on every machine.
pick() { echo $(( $(printf '%s' "$1$2" | cksum | cut -d' ' -f1) % $3 )); }

# page GAME DPI [coords]: the whole page as PNG, grey.
page() {
  local game=$1 dpi=$2 extra=${3:-}
  local pdf=$work/$game$extra.pdf
  if [ ! -f "$pdf" ]; then
    cp "tests/data/games/$game.sgf" "$work/$game$extra.sgf"
    (cd "$work" && sgf2dg -converter PDF -movesPerDiagram 1000 $extra "$game$extra.sgf" >/dev/null 2>&1)
  fi
  pdftoppm -r "$dpi" -gray -png -singlefile "$pdf" "$work/page"
  echo "$work/page.png"
}

# The diagram and the notes beside it, as a reader cuts them from an e-book on screen.
screenshot() {
  local game=$1 dpi=$2
  local p; p=$(page "$game" "$dpi")
  # The diagram sits in the top half of the page, notes to its right.
  convert "$p" -crop "$(( dpi * 65 / 10 ))x$(( dpi * 4 ))+$(( dpi * 6 / 10 ))+$(( dpi * 3 / 10 ))" +repage \
    -fill '#f4ecd8' -opaque white -strip "$out/${game}__screen${dpi}.png"
}

clean() {
  local game=$1 dpi=$2
  local p; p=$(page "$game" "$dpi")
  convert "$p" -strip "$out/${game}__clean${dpi}.png"
}

coords() {
  local game=$1 dpi=$2
  local p; p=$(page "$game" "$dpi" -coords)
  convert "$p" -strip "$out/${game}__coords${dpi}.png"
}

# A flat-bed scan: a slight turn, tinted paper, soft focus, sensor noise, JPEG.
scan() {
  local game=$1 dpi=$2
  local p; p=$(page "$game" "$dpi")
  local turn
  turn=$(awk -v t="$(pick "$game" turn 91)" 'BEGIN { printf "%.1f", (t - 45) / 10 }')  # -4.5..4.5 degrees
  local seed; seed=$(pick "$game" seed 10000)
  convert "$p" -gravity north -crop 100%x50%+0+0 +repage -background white -rotate "$turn" \
    -fill '#efe4c8' -tint 60 -blur 0x0.8 -seed "$seed" -attenuate 0.6 +noise Gaussian \
    -strip -quality 75 "$out/${game}__scan${dpi}.jpg"
}

# A phone photo of the page lying flat: perspective, light falling off to one side, JPEG.
photo() {
  local game=$1 dpi=$2
  local p; p=$(page "$game" "$dpi")
  local w h
  w=$(identify -format '%w' "$p")
  h=$(identify -format '%h' "$p")
  local d=$(( w / 25 ))
  local seed; seed=$(pick "$game" seed 10000)
  convert "$p" -gravity north -crop 100%x50%+0+0 +repage -virtual-pixel white -distort Perspective \
    "0,0 $d,$(( d / 2 ))  $w,0 $(( w - d / 3 )),0  0,$h 0,$h  $w,$h $(( w - d )),$(( h - d / 2 ))" \
    \( -size "${w}x${h}" gradient:'#ffffff-#a8a8a0' -rotate 90 -resize "${w}x${h}!" \) -compose Multiply -composite \
    -blur 0x1.0 -seed "$seed" -attenuate 0.8 +noise Gaussian -strip -quality 70 "$out/${game}__photo${dpi}.jpg"
}

if [ "$small" = 1 ]; then
  clean game01_s1_l1_h0 150
  clean game09_s9_l1_h2 300
  clean game14_s14_l2_h9 600
  coords game05_s5_l4_h0 200
  screenshot game20_s20_l3_h3 170
  screenshot game02_s2_l1_h0 220
  scan game13_s13_l1_h6 300
  scan game27_s27_l5_h0 400
  photo game17_s17_l3_h0 300
  photo game36_s36_l1_h0 400
  # No board: the notes and captions of a page, without its diagram.
  p=$(page game07_s7_l0_h0 150)
  convert "$p" -crop 700x500+560+60 +repage -strip "$out/noboard__text.png"
  exit
fi

games=("$@")
if [ ${#games[@]} -eq 0 ]; then
  for sgf in tests/data/games/*.sgf; do games+=("$(basename "$sgf" .sgf)"); done
fi
for game in "${games[@]}"; do
  for dpi in 150 200 300 600 750; do clean "$game" "$dpi"; done
  coords "$game" 300
  for dpi in 170 220; do screenshot "$game" "$dpi"; done
  for dpi in 300 600; do scan "$game" "$dpi"; done
  for dpi in 300 450; do photo "$game" "$dpi"; done
done
