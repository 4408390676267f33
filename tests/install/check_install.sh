#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user of the installed copy
# meets: the programs, the guide and the example scripts under share/vendil, a valid menu
# entry and its icon, and a vendil-cli that finds its scripts there and keeps its settings
# in the user's configuration folder.
#   check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$prefix" "$home"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install check: $*" >&2; exit 1; }
for f in bin/vendil bin/vendil-cli share/vendil/help/index.html share/vendil/help/start.html \
         share/vendil/help/style.css share/vendil/scripts/title_file_names.vbs \
         share/applications/vendil.desktop share/icons/hicolor/scalable/apps/vendil.svg; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
desktop-file-validate "$prefix/share/applications/vendil.desktop"

# The installed vendil-cli knows the installed scripts ("no script named" would exit 2) and
# writes its settings to ~/.config/vendil, not into the program's folders, which a user
# cannot write (root can write anywhere, so the check runs as an ordinary user then).
chmod 755 "$prefix" "$home"
chmod 777 "$home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
status=0
HOME=$home XDG_CONFIG_HOME= "${as_user[@]}" "$prefix/bin/vendil-cli" search \
  --script title_file_names.vbs --save-settings http://127.0.0.1:9/ >/dev/null \
  2>"$home/err" || status=$?
[ "$status" -ne 2 ] || { cat "$home/err" >&2; fail "the installed scripts were not found"; }
[ -f "$home/.config/vendil/vendil.ini" ] || fail "no settings file in the configuration folder"
[ ! -e "$prefix/bin/vendil.ini" ] || fail "settings written beside the program"
echo "install layout ok"
