#!/usr/bin/env bash
# Installs the build into a new prefix and checks the tree a Linux desktop expects:
# the programs run from another working folder, find their files in share/plyforge
# and write their logs into the user's data folder; the desktop entry and the
# project file type are valid.
#   usage: install-test.sh BUILD_DIR CMAKE VERSION
set -euo pipefail
build=${1:?usage: install-test.sh BUILD_DIR CMAKE VERSION}
cmake=${2:?}
version=${3:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "install-test: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log"

for file in bin/plyforge bin/plyforge-cli \
    share/plyforge/html/Theory.html share/plyforge/Splash.bmp \
    share/plyforge/examples/quasi-isotropic.plyforge share/plyforge/examples/three-tensile-tests.plyforge \
    share/applications/plyforge.desktop share/mime/packages/plyforge.xml \
    share/icons/hicolor/48x48/apps/plyforge.png share/icons/hicolor/256x256/apps/plyforge.png \
    share/icons/hicolor/scalable/apps/plyforge.svg; do
  [ -f "$prefix/$file" ] || fail "$file was not installed"
done

desktop-file-validate "$prefix/share/applications/plyforge.desktop"
grep -qx 'Exec=plyforge %f' "$prefix/share/applications/plyforge.desktop" || fail "the desktop entry does not pass the file"
grep -qx 'MimeType=application/x-plyforge-project;' "$prefix/share/applications/plyforge.desktop" ||
  fail "the desktop entry does not name the project type"
update-mime-database "$prefix/share/mime"
grep -q '^50:application/x-plyforge-project:\*\.plyforge$' "$prefix/share/mime/globs2" ||
  fail "the MIME database has no *.plyforge glob"

# From a working folder that holds nothing of Plyforge, as a user of the installed copy.
mkdir -p "$work/elsewhere" "$work/home"
cd "$work/elsewhere"
export HOME=$work/home XDG_DATA_HOME=
[ "$("$prefix/bin/plyforge" --version)" = "plyforge $version" ] || fail "plyforge --version"
[ "$("$prefix/bin/plyforge-cli" --version)" = "plyforge-cli $version" ] || fail "plyforge-cli --version"
"$prefix/bin/plyforge-cli" theory "$prefix/share/plyforge/examples/quasi-isotropic.plyforge" > trace.txt
grep -q 'Ex=57.5895' "$HOME/.local/share/plyforge/TheoreticalLog.txt" ||
  fail "the theory log is not in ~/.local/share/plyforge"
"$prefix/bin/plyforge-cli" experiment "$prefix/share/plyforge/examples/three-tensile-tests.plyforge" > results.txt
[ -s "$HOME/.local/share/plyforge/ExperimentalLog.txt" ] || fail "no experiment log in ~/.local/share/plyforge"
[ -z "$(ls -A "$prefix/bin" | grep -v '^plyforge\(-cli\)\?$')" ] || fail "the programs wrote into bin/"
echo "install-test: ok"
