#!/usr/bin/env bash
# make package: Scopella's release packages for Windows, each from a release
# build of its own (build-package/), into dist/:
#   scopella-<version>-portable.zip   Scopella-<version>/x64 and /x86, each with
#                                     scopella.exe (and PANX.dll when built),
#                                     README.txt and LICENSE.txt
#   scopella-<version>-setup-x64.exe  per-user installer of the 64-bit program
#   scopella-<version>-setup-x86.exe  the same for 32-bit Windows
# Every program file, installer and uninstaller carries the project's version.
# SCOPELLA_DIST names another folder for the packages; SCOPELLA_PACKAGE_FROM
# ("<64-bit build folder>:<32-bit build folder>") packs builds that exist
# instead of making release builds (the tests use it to save the time).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh

version=$(sed -n 's/^project(Scopella VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
dist=${SCOPELLA_DIST:-$root/dist}
work=${SCOPELLA_DIST:+$dist/work}
work=${work:-$root/build-package}
declare -A from=()
if [ -n "${SCOPELLA_PACKAGE_FROM:-}" ]; then
    from=([x64]=${SCOPELLA_PACKAGE_FROM%%:*} [x86]=${SCOPELLA_PACKAGE_FROM#*:})
fi
name=Scopella-$version
stage=$work/stage/$name
rm -rf "$work/stage"
mkdir -p "$stage" "$dist"

declare -A toolchain=([x64]=x86_64 [x86]=i686)
for arch in x64 x86; do
    build=${from[$arch]:-$work/$arch}
    if [ -z "${from[$arch]:-}" ]; then
        cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-${toolchain[$arch]}.cmake" \
            -DCMAKE_BUILD_TYPE=Release -DSCOPELLA_TESTS=OFF -DSCOPELLA_BENCHMARKS=OFF >/dev/null
        targets=(scopella)
        if ninja -C "$build" -t targets all 2>/dev/null | grep -q '^panx:'; then
            targets+=(panx)
        fi
        cmake --build "$build" --target "${targets[@]}"
    fi
    mkdir -p "$stage/$arch"
    cp "$build/scopella.exe" "$stage/$arch/"
    panx=$(find "$build" -maxdepth 3 -iname panx.dll | head -n 1)
    [ -n "$panx" ] && cp "$panx" "$stage/$arch/PANX.dll"
    "${toolchain[$arch]}-w64-mingw32-strip" "$stage/$arch"/*
done
# Text files for Windows readers: CR LF line ends.
sed 's/$/\r/' README.md >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
python3 scripts/pe_version.py --expect "$version" "$stage"/*/* >/dev/null

rm -f "$dist/scopella-$version-portable.zip"
(cd "$work/stage" && zip -q -X -r "$dist/scopella-$version-portable.zip" "$name")

for arch in x64 x86; do
    files=$work/stage/setup-$arch
    rm -rf "$files"
    mkdir -p "$files"
    cp "$stage/$arch"/* "$stage/README.txt" "$stage/LICENSE.txt" "$files/"
    makensis -V2 -DVERSION="$version" -DARCH=$arch -DSTAGE="$files" \
        -DOUTFILE="$dist/scopella-$version-setup-$arch.exe" packaging/scopella.nsi
done
python3 scripts/pe_version.py --expect "$version" "$dist/scopella-$version-setup-"*.exe >/dev/null

echo "Packages in $dist:"
ls -l "$dist" | tail -n +2
