#!/usr/bin/env bash
# Copies the professional games the corpus draws from out of the public repositories named in
# GAMES.md, at the commits named there, into OUT (by default scripts/corpus/games, which git
# ignores: the records stay in their own repositories).
#   bash scripts/corpus/get_games.sh GNUGO_GIT GLIFT_GIT [OUT]
# GNUGO_GIT and GLIFT_GIT are clones (plain or bare) of the two repositories.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
gnugo=${1:?usage: get_games.sh GNUGO_GIT GLIFT_GIT [OUT]}
glift=${2:?usage: get_games.sh GNUGO_GIT GLIFT_GIT [OUT]}
out=${3:-$here/games}
mkdir -p "$out"

gnugo_commit=84a32e9c
for f in kisei28_g7 nando/kisei27_g1 nando/meijin27_g1 nando/meijin27_g4 nando/meijin27_g5; do
  git --git-dir="$(git -C "$gnugo" rev-parse --absolute-git-dir)" show "$gnugo_commit:regression/games/$f.sgf" \
    > "$out/pro_$(basename "$f").sgf"
done

# glift keeps its test games as JavaScript strings; node joins them.
glift_commit=064cc86
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
gd=$(git -C "$glift" rev-parse --absolute-git-dir)
git --git-dir="$gd" show "$glift_commit:test/testdata/sgfs.js" > "$work/sgfs.js"
git --git-dir="$gd" show "$glift_commit:test/testdata/gogameguru_commentary.js" > "$work/ggg.js"
node -e '
  const fs = require("fs");
  globalThis.testdata = {};
  for (const f of process.argv.slice(1, 3)) (0, eval)(fs.readFileSync(f, "utf8"));
  const out = process.argv[3];
  fs.writeFileSync(out + "/pro_guli_leesedol_2014.sgf", testdata.sgfs.leeGuGame6);
  fs.writeFileSync(out + "/pro_guli_leesedol_2004.sgf", testdata.sgfs.yearbookExample);
  fs.writeFileSync(out + "/pro_hosai_goseigen_1943.sgf", testdata.gogameguru_commentary);
' "$work/sgfs.js" "$work/ggg.js" "$out"
ls "$out"
