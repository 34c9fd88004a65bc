#!/bin/sh
# debian_package.sh BUILD_DIR APP_ID VERSION
# Builds the Debian package as `make package` does (CPack), into a temporary folder, and checks
# its control fields and its file list with dpkg-deb.
set -eu
BUILD=$1
APP_ID=$2
VERSION=$3
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$T" >"$T/cpack.log" 2>&1 || {
  cat "$T/cpack.log"
  fail "cpack"
}
deb=$(ls "$T"/*.deb)
dpkg-deb --info "$deb"

[ "$(dpkg-deb -f "$deb" Package)" = nevalt ] || fail "Package"
[ "$(dpkg-deb -f "$deb" Version)" = "$VERSION" ] || fail "Version is not $VERSION"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "Section is not games"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"

# Depends: the packages of the libraries the program links, found by dpkg-shlibdeps, and the
# Japanese font it looks up at run time.
depends=$(dpkg-deb -f "$deb" Depends)
# One package name a line, versions and alternatives' bars taken off.
echo "$depends" | tr ',|' '\n\n' | sed 's/^ *//; s/ .*//' >"$T/depends"
for p in libc6 libstdc++6 libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 \
  libsdl2-image-2.0-0 libfontconfig1 fonts-ipafont-gothic; do
  grep -qxF "$p" "$T/depends" || fail "Depends lacks $p: $depends"
done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$T/files"
for f in /usr/bin/nevalt \
  /usr/share/nevalt/Title.bmp /usr/share/nevalt/BG1.bmp /usr/share/nevalt/BG2.bmp \
  /usr/share/nevalt/Window.bmp /usr/share/nevalt/TileA.bmp \
  /usr/share/nevalt/locale/en/LC_MESSAGES/nevalt.mo /usr/share/nevalt/locale/en/Title.bmp \
  /usr/share/nevalt/locale/en/BG1.bmp /usr/share/nevalt/locale/en/BG2.bmp \
  /usr/share/nevalt/map001.fmf /usr/share/nevalt/map010.fmf \
  /usr/share/nevalt/tatsumakinotourai.mp3 /usr/share/nevalt/seisen.mp3 \
  /usr/share/nevalt/senka.mp3 /usr/share/nevalt/omegacentauri1.mp3 \
  /usr/share/nevalt/se01.wav /usr/share/nevalt/se02.wav /usr/share/nevalt/se03.wav \
  "/usr/share/applications/$APP_ID.desktop" "/usr/share/metainfo/$APP_ID.metainfo.xml" \
  "/usr/share/icons/hicolor/32x32/apps/$APP_ID.png" \
  "/usr/share/icons/hicolor/64x64/apps/$APP_ID.png" \
  "/usr/share/icons/hicolor/128x128/apps/$APP_ID.png" \
  "/usr/share/icons/hicolor/256x256/apps/$APP_ID.png" \
  "/usr/share/icons/hicolor/scalable/apps/$APP_ID.svg" \
  /usr/share/man/man6/nevalt.6.gz; do
  grep -qx "$f" "$T/files" || fail "the package lacks $f"
done
# Nothing a run writes, nothing outside /usr.
! grep -q 'SAVE.TXT' "$T/files" || fail "a save file in the package"
! grep -v '^/usr' "$T/files" | grep -qv '^/$' || fail "files outside /usr: $(grep -v '^/usr' "$T/files")"
echo "debian package: all checks passed"
