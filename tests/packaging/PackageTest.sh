#!/usr/bin/env bash
# The Debian package holds the programs and their desktop integration, and lintian finds no error
# in it. Prints what the package depends on, its size and lintian's remarks.
# Usage: PackageTest.sh quillix_VERSION_amd64.deb
set -uo pipefail
deb=$1
[ -f "$deb" ] || { echo "FAIL: no package $deb" >&2; exit 1; }

wanted=(
    ./usr/bin/quillix
    ./usr/bin/quillix-convert
    ./usr/libexec/quillix/quillix-picture-helper
    ./usr/share/applications/org.quillix.Quillix.desktop
    ./usr/share/metainfo/org.quillix.Quillix.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/org.quillix.Quillix.svg
    ./usr/share/man/man1/quillix.1.gz
    ./usr/share/man/man1/quillix-convert.1.gz
    ./usr/share/bash-completion/completions/quillix-convert
    ./usr/share/doc/quillix/copyright
    ./usr/share/doc/quillix/changelog.gz
    ./usr/share/doc/quillix/README.md
)
for size in 16 32 48 64 128 256; do
    wanted+=("./usr/share/icons/hicolor/${size}x${size}/apps/org.quillix.Quillix.png")
done

listing=$(dpkg-deb -c "$deb") || exit 1
files=$(awk '{ print $NF }' <<<"$listing")
failures=0
for file in "${wanted[@]}"; do
    grep -qxF -- "$file" <<<"$files" || { echo "FAIL: $file is not in $deb"; failures=$((failures + 1)); }
done
for program in bin/quillix bin/quillix-convert libexec/quillix/quillix-picture-helper; do
    grep -qE "^-rwxr-xr-x root/root .* \./usr/$program\$" <<<"$listing" ||
        { echo "FAIL: /usr/$program is not an executable owned by root"; failures=$((failures + 1)); }
done
# Every library the programs link is a dependency, giflib (GIF) and libpng (PNG) among them.
for library in libgif7 libpng16-16 libjpeg62-turbo; do
    dpkg-deb -f "$deb" Depends | grep -q "$library" ||
        { echo "FAIL: the package does not depend on $library"; failures=$((failures + 1)); }
done

echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, installed $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
if command -v lintian >/dev/null; then
    remarks=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v '^running with root privileges')
    echo "lintian: ${remarks:-no remarks}"
    grep -q '^E: ' <<<"$remarks" && { echo "FAIL: lintian reports errors"; failures=$((failures + 1)); }
else
    echo "lintian is not installed: not checked"
fi
[ $failures -eq 0 ] && echo "OK: the package holds all ${#wanted[@]} files"
[ $failures -eq 0 ]
