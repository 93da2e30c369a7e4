#!/usr/bin/env bash
# Every gallery page, rendered headless without the page list, equals its reviewed picture in
# testdata/pages/ (named after the page: "Lists and pickers" is lists_and_pickers.png). A page
# without a reviewed picture fails; a differing one leaves the rendering and a diff picture.
#   page_pictures_test.sh KVL-GALLERY COMPARE TESTDATA-DIR OUTPUT-DIR
set -euo pipefail
gallery=$1 compare=$2 testdata=$3 out=$4
mkdir -p "$out"

failed=0
while IFS= read -r page; do
  name=$(tr 'A-Z ' 'a-z_' <<<"$page")
  "$gallery" --png "$out/$name.png" --page "$page" --page-only
  if [[ ! -f $testdata/$name.png ]]; then
    echo "$page: no reviewed picture $testdata/$name.png (the rendering is $out/$name.png)"
    failed=1
  elif ! "$compare" "$out/$name.png" "$testdata/$name.png" "$out/$name-diff.png" \
      >"$out/$name-compare.txt"; then
    echo "$page: $(cat "$out/$name-compare.txt"); see $out/$name.png and $out/$name-diff.png"
    failed=1
  fi
done < <("$gallery" --list)
exit $failed
