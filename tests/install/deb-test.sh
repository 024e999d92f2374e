#!/usr/bin/env bash
# Packs the build into plyforge_VERSION_amd64.deb and checks what it holds and that
# its dependencies were computed from the binaries.
#   usage: deb-test.sh BUILD_DIR CPACK VERSION
set -euo pipefail
build=${1:?usage: deb-test.sh BUILD_DIR CPACK VERSION}
cpack=${2:?}
version=${3:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "deb-test: $*" >&2; exit 1; }

"$cpack" -G DEB -B "$work" --config "$build/CPackConfig.cmake" > "$work/cpack.log" ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$work/plyforge_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$work"; fail "no $(basename "$deb")"; }

depends=$(dpkg-deb -f "$deb" Depends)
packages=$(tr ',' '\n' <<< "$depends" | awk '{print $1}')
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6charts6 libqt6svg6 qt6-qpa-plugins; do
  grep -qxF "$library" <<< "$packages" || fail "Depends lacks $library: $depends"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in ./usr/bin/plyforge ./usr/bin/plyforge-cli ./usr/share/plyforge/html/Theory.html \
    ./usr/share/plyforge/examples/quasi-isotropic.plyforge ./usr/share/applications/plyforge.desktop \
    ./usr/share/mime/packages/plyforge.xml ./usr/share/icons/hicolor/scalable/apps/plyforge.svg; do
  grep -qx "$file" <<< "$contents" || fail "the package lacks $file"
done
echo "deb-test: ok ($depends)"
