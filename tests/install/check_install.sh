#!/usr/bin/env bash
# Checks of the install tree, run by CTest from the build folder:
#   check_install.sh BUILD CHECK
# CHECK is one of: tree (install into a DESTDIR, make it read-only, run the
# installed programs from elsewhere with a temporary home), thumbnail,
# desktop (the validators on the installed files), package (the .deb and
# lintian). A check whose tool is missing exits 77, which CTest reports as
# skipped.
set -euo pipefail

build=$(cd "$1" && pwd)
check=$2
work=$(mktemp -d)
cleanup() {
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

need() {
  command -v "$1" >/dev/null || { echo "skipped: $1 is not installed"; exit 77; }
}

install_tree() {
  DESTDIR="$work/root" cmake --install "$build" --prefix /usr >"$work/install.log" ||
    { cat "$work/install.log" >&2; fail "cmake --install"; }
  tree="$work/root/usr"
}

# The command run as a user that cannot write into the install tree: as
# "nobody" when the checks run as root, whom no permission bit stops.
as_user() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"
  else
    "$@"
  fi
}

check_tree() {
  install_tree
  for f in bin/GlimmerBay bin/bbxedit bin/bbx \
           share/glimmerbay/models.bbx share/glimmerbay/Config.xml share/glimmerbay/GameData.xml \
           share/glimmerbay/Credits.xml share/glimmerbay/WWW.html share/glimmerbay/sfx/00.wav \
           share/glimmerbay/sfx/10.wav share/glimmerbay/sfx/intro.wav share/glimmerbay/sfx/muza.mp3 \
           share/man/man1/bbx.1.gz share/man/man1/bbxedit.1.gz share/man/man6/GlimmerBay.6.gz \
           share/applications/pl.glimmerbay.GlimmerBay.desktop share/applications/pl.glimmerbay.bbxedit.desktop \
           share/metainfo/pl.glimmerbay.GlimmerBay.metainfo.xml share/metainfo/pl.glimmerbay.bbxedit.metainfo.xml \
           share/mime/packages/bbx-models.xml share/thumbnailers/bbx.thumbnailer \
           share/icons/hicolor/16x16/apps/glimmerbay.png share/icons/hicolor/256x256/apps/bbxedit.png \
           share/icons/hicolor/48x48/mimetypes/application-x-bbx-models.png share/doc/glimmerbay/copyright; do
    [ -s "$tree/$f" ] || fail "$f is not installed"
  done
  [ ! -e "$tree/share/glimmerbay/model_ids.csv" ] || fail "model_ids.csv is installed"

  chmod -R a-w "$work/root"
  chmod 755 "$work"
  home="$work/home"
  mkdir -p "$home/.config/glimmerbay"
  # Damaged: cut short, with a count that is no number.
  printf '<config><gfx><bpp>32</bpp><sprites>many</sprites>' >"$home/.config/glimmerbay/Config.xml"
  chmod -R a+rwX "$home"
  cd "$home"

  for program in GlimmerBay bbxedit bbx; do
    version=$(as_user env HOME="$home" "$tree/bin/$program" --version) || fail "$program --version"
    [[ $version == "$program "[0-9]* ]] || fail "$program --version printed '$version'"
    as_user env HOME="$home" "$tree/bin/$program" --help | grep -q "usage: $program" || fail "$program --help"
  done

  # The installed game from another folder, headless, with no XDG variables
  # set: its defaults below the home count. Still running after the
  # intro's first seconds means it found its data and started.
  status=0
  as_user env -u XDG_CONFIG_HOME -u XDG_STATE_HOME -u XDG_DATA_HOME HOME="$home" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 6 "$tree/bin/GlimmerBay" --windowed \
    >"$work/game.out" 2>&1 || status=$?
  [ "$status" -eq 124 ] || { cat "$work/game.out" >&2; fail "the game ended by itself with status $status"; }
  log="$home/.local/state/glimmerbay/Errors.log"
  [ -f "$log" ] || fail "no Errors.log in the state folder"
  grep -q "Treść:      $home/.config/glimmerbay/Config.xml: " "$log" || { cat "$log" >&2; fail "the log lacks the entry"; }
  [ ! -e "$tree/share/glimmerbay/Errors.log" ] || fail "a log was written into the install tree"
}

check_thumbnail() {
  install_tree
  bbx="$tree/bin/bbx"
  "$bbx" thumbnail "$tree/share/glimmerbay/models.bbx" "$work/first.png" --size 128 || fail "thumbnail of the shipped models"
  [ "$(head -c 8 "$work/first.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "the thumbnail is no PNG"
  # Width and height from the IHDR chunk: 128 x 128.
  [ "$(od -An -tu1 -j16 -N8 "$work/first.png" | tr -s ' ')" = " 0 0 0 128 0 0 0 128" ] || fail "the thumbnail is not 128 x 128"

  printf 'BBX1\001\000' >"$work/damaged.bbx"
  status=0
  "$bbx" thumbnail "$work/damaged.bbx" "$work/damaged.png" --size 64 2>"$work/err" || status=$?
  [ "$status" -eq 1 ] || fail "a damaged file gave status $status"
  [ ! -e "$work/damaged.png" ] || fail "a damaged file left an output file"
  grep -q "damaged.bbx" "$work/err" || fail "the error does not name the file"

  # The thumbnailer entry as a file manager runs it (%i %o %s).
  exec_line=$(sed -n 's/^Exec=//p' "$tree/share/thumbnailers/bbx.thumbnailer")
  command=${exec_line//%i/$tree/share/glimmerbay/models.bbx}
  command=${command//%o/$work/manager.png}
  command=${command//%s/256}
  PATH="$tree/bin:$PATH" bash -c "$command" || fail "the thumbnailer's command failed: $command"
  [ "$(od -An -tu1 -j16 -N8 "$work/manager.png" | tr -s ' ')" = " 0 0 1 0 0 0 1 0" ] || fail "the manager's thumbnail is not 256 x 256"
}

check_desktop() {
  need desktop-file-validate
  need appstreamcli
  need update-mime-database
  install_tree
  desktop-file-validate "$tree"/share/applications/*.desktop || fail "desktop-file-validate"
  appstreamcli validate --no-net "$tree"/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
  # The file type: the database built from it knows the magic and the glob.
  mkdir -p "$work/mime/packages"
  cp "$tree/share/mime/packages/bbx-models.xml" "$work/mime/packages/"
  update-mime-database "$work/mime"
  grep -q "application/x-bbx-models" "$work/mime/types" || fail "the MIME type is not registered"
  grep -q "application/x-bbx-models:\*\.bbx" "$work/mime/globs" || fail "*.bbx is not the type's glob"
  grep -aq "BBX1" "$work/mime/magic" || fail "BBX1 is not the type's magic"
  grep -q "^MimeType=application/x-bbx-models;" "$tree/share/applications/pl.glimmerbay.bbxedit.desktop" ||
    fail "the editor is not registered for the type"
}

check_package() {
  need dpkg-shlibdeps
  need lintian
  (cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log") ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
  deb=$(ls "$work"/out/*.deb)
  depends=$(dpkg-deb -f "$deb" Depends)
  for library in libsdl2 libqt6widgets6 libpng16; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
  done
  listing=$(dpkg-deb -c "$deb")
  [[ $listing == *" ./usr/share/glimmerbay/models.bbx"* ]] || fail "the package lacks the game's data"
  [[ $listing == *" ./usr/bin/GlimmerBay"* ]] || fail "the package lacks the game"
  lintian --fail-on error "$deb" || fail "lintian reports errors"
}

case "$check" in
  tree) check_tree ;;
  thumbnail) check_thumbnail ;;
  desktop) check_desktop ;;
  package) check_package ;;
  *) fail "unknown check $check" ;;
esac
echo "ok: $check"
