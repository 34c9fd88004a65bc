#!/bin/sh
# installed_game.sh BUILD_DIR APP_ID
# Installs the build into a temporary DESTDIR and plays the installed program headless from
# another folder, with HOME and XDG_DATA_HOME in a temporary folder: the save must land in the
# user's folder and nothing may be written under the install prefix.
set -eu
BUILD=$1
APP_ID=$2
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

DESTDIR="$T/root" cmake --install "$BUILD" --prefix /usr >"$T/install.log" || {
  cat "$T/install.log"
  fail "cmake --install"
}
PREFIX=$T/root/usr
GAME=$PREFIX/bin/nevalt
[ -x "$GAME" ] || fail "no program at $GAME"

# Every file of the installed tree with its size and time, to compare after the runs.
snapshot() { (cd "$T/root" && find . -exec stat -c '%n %s %Y' {} + | sort); }
snapshot >"$T/tree.before"

mkdir -p "$T/home" "$T/elsewhere"
# "Start" on the title, then "セーブ" on the intermission.
printf '0 0 0 0 0\n2 300 340 1 0\n3 300 340 0 0\n5 500 120 1 0\n' >"$T/save.txt"
# "Continue" on the title.
printf '0 0 0 0 0\n2 300 370 1 0\n3 300 370 0 0\n' >"$T/continue.txt"
printf '0,0' >"$T/expected"

# play NAME SCRIPT TICKS [VAR=VALUE...]: the installed game, started from another folder with
# no --data, with our own home and no XDG_DATA_HOME unless given, and the options in GAME_ARGS.
GAME_ARGS=
play() {
  name=$1 script=$2 ticks=$3
  shift 3
  (cd "$T/elsewhere" && env -u XDG_DATA_HOME HOME="$T/home" SDL_VIDEODRIVER=dummy \
    SDL_AUDIODRIVER=dummy "$@" "$GAME" $GAME_ARGS --headless --ticks "$ticks" --input "$script" \
    --dump-state "$T/$name.json" >"$T/$name.out" 2>&1) || {
    cat "$T/$name.out"
    fail "$name: the game failed"
  }
}
field() { grep -o "\"$2\": *[-0-9]*" "$T/$1.json" | head -1 | sed 's/.*: *//'; }

# 1. XDG_DATA_HOME set: the save goes there, its folder made on the way.
play xdg "$T/save.txt" 8 XDG_DATA_HOME="$T/xdg"
cmp -s "$T/xdg/nevalt/SAVE.TXT" "$T/expected" || fail "xdg: SAVE.TXT is not 0,0 in $T/xdg/nevalt"
grep -q '"messages": *\[\]' "$T/xdg.json" || fail "xdg: a message box: $(cat "$T/xdg.json")"

# 2. XDG_DATA_HOME unset: ~/.local/share/nevalt.
play home "$T/save.txt" 8
cmp -s "$T/home/.local/share/nevalt/SAVE.TXT" "$T/expected" || fail "home: no SAVE.TXT in ~/.local/share/nevalt"

# 3. Continue reads the user's save back.
printf '4,6' >"$T/home/.local/share/nevalt/SAVE.TXT"
play continue "$T/continue.txt" 5
[ "$(field continue stage_no)" = 4 ] && [ "$(field continue max_stage)" = 6 ] ||
  fail "continue: did not read 4,6 from the user's folder"

# 4. A save folder that cannot be made: a message box, no crash, nothing written.
printf 'x' >"$T/blocker"
play blocked "$T/save.txt" 8 XDG_DATA_HOME="$T/blocker"
grep -q 'セーブできませんでした' "$T/blocked.json" || fail "blocked: no 'could not save' box"
[ "$(cat "$T/blocker")" = x ] || fail "blocked: the file in the way was changed"

# 4b. The English texts installed with the data, whatever the caller's locale: the same box.
GAME_ARGS="--lang en"
play english "$T/save.txt" 8 XDG_DATA_HOME="$T/blocker" LANG=C LC_ALL=C LANGUAGE=ja
GAME_ARGS=
grep -q 'Could not save' "$T/english.json" || fail "english: no 'Could not save' box"
grep -q '"caption": "Nevalt Stage 1"' "$T/english.json" || fail "english: the caption is not English"

# 4c. The English title picture installed beside the catalogue: the title differs from the
# Japanese one.
printf '0 0 0 0 0\n' >"$T/title.txt"
GAME_ARGS="--screenshot $T/title-en.png --lang en"
play title-en "$T/title.txt" 2
GAME_ARGS="--screenshot $T/title-ja.png"
play title-ja "$T/title.txt" 2
GAME_ARGS=
[ -s "$T/title-en.png" ] && [ -s "$T/title-ja.png" ] || fail "title: no screenshots"
! cmp -s "$T/title-en.png" "$T/title-ja.png" || fail "title: the English title is the Japanese one"

[ -z "$(ls -A "$T/elsewhere")" ] || fail "written into the working folder: $(ls -A "$T/elsewhere")"
snapshot >"$T/tree.after"
cmp -s "$T/tree.before" "$T/tree.after" || {
  diff "$T/tree.before" "$T/tree.after" >&2 || true
  fail "something under the install prefix changed"
}

# 5. A save an older game left in the data folder is read while the user's folder has none.
printf '3,5' >"$PREFIX/share/nevalt/SAVE.TXT"
play legacy "$T/continue.txt" 5 XDG_DATA_HOME="$T/fresh"
[ "$(field legacy stage_no)" = 3 ] && [ "$(field legacy max_stage)" = 5 ] ||
  fail "legacy: the old save in the data folder was not read"
[ ! -e "$T/fresh" ] || fail "legacy: reading made the user's folder"

# The desktop's own checks of the menu entry and the metadata.
desktop-file-validate "$PREFIX/share/applications/$APP_ID.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$PREFIX/share/metainfo/$APP_ID.metainfo.xml" ||
  fail "appstreamcli validate"

# Each icon is as large as the folder it stands in says (width and height from the PNG header).
for size in 32 64 128 256; do
  png=$PREFIX/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png
  [ -f "$png" ] || fail "no icon $png"
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
  [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
done
grep -q '<svg' "$PREFIX/share/icons/hicolor/scalable/apps/$APP_ID.svg" || fail "no scalable icon"

# The manual page names every option --help lists.
page=$PREFIX/share/man/man6/nevalt.6.gz
[ -f "$page" ] || fail "no manual page $page"
gzip -dc "$page" | sed 's/\\//g' >"$T/page.txt"
"$GAME" --help | grep -o -- '--[a-z][a-z-]*' | sort -u >"$T/options"
[ -s "$T/options" ] || fail "--help lists no options"
while read -r option; do
  grep -q -- "$option" "$T/page.txt" || fail "the manual page does not mention $option"
done <"$T/options"
echo "installed game: all checks passed"
