#!/usr/bin/env bash
# Copies the SGF files of other programs that tst_sgfcorpus reads, as tests/data/sgf/sources.tsv
# lists them (folder, name, repository, commit, path), out of local git copies of those
# repositories, into OUT/<folder>/<name>. They are not kept in this repository.
#   bash scripts/get_sgf_corpus.sh GIT_ROOT OUT
# GIT_ROOT holds one bare git folder per repository, named owner+name/repo, e.g.
# GIT_ROOT/SabakiHQ+sgf/repo. Then:
#   RANVEL_SGF_CORPUS=OUT QT_QPA_PLATFORM=offscreen build/tests/tst_sgfcorpus
set -euo pipefail
root=${1:?usage: bash scripts/get_sgf_corpus.sh GIT_ROOT OUT}
out=${2:?usage: bash scripts/get_sgf_corpus.sh GIT_ROOT OUT}
list="$(dirname "$0")/../tests/data/sgf/sources.tsv"
while IFS=$'\t' read -r folder name repo commit path; do
  mkdir -p "$out/$folder"
  git --git-dir="$root/${repo/\//+}/repo" show "$commit:$path" > "$out/$folder/$name"
done < "$list"
echo "$(wc -l < "$list") files in $out"
