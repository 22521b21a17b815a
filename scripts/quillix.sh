#!/usr/bin/env bash
# Installs what Quillix needs on Debian, builds it, and runs it (run), its tests (test), its
# benchmarks (bench), its fuzz targets (fuzz [SECONDS each, 60 unless given] [TARGET...]) or
# makes its Debian package (package).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# libjpeg-turbo, libpng and giflib decode JPEG, PNG and GIF; qt6-image-formats-plugins reads TIFF,
# WebP, ICNS and more in the picture helper; the validators check the desktop files that the
# package installs.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-image-formats-plugins libgtest-dev libbenchmark-dev
    fonts-dejavu-core libjpeg-turbo-progs cc65 libcli11-dev libjpeg62-turbo-dev libpng-dev libgif-dev bash-completion desktop-file-utils
    appstream man-db)
# dpkg-shlibdeps (dpkg-dev, file) works out the package's dependencies; lintian checks it.
package_tools=(dpkg-dev file lintian)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$root/$dir" -G Ninja -Wno-dev "$@" >/dev/null
    cmake --build "$root/$dir"
}

run_tests() {
    local dir=$1
    shift
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$root/$dir" --output-on-failure -j "$(nproc)" "$@"
}

case "${1:-}" in
    run)
        install_packages "${packages[@]}"
        build build/release -DCMAKE_BUILD_TYPE=Release -DQUILLIX_TESTS=OFF -DQUILLIX_BENCH=OFF
        exec "$root/scripts/main-job.sh" "$root/build/release"
        ;;
    test)
        install_packages "${packages[@]}"
        build build/test -DCMAKE_BUILD_TYPE=Release
        run_tests build/test
        echo "== again under AddressSanitizer and UndefinedBehaviorSanitizer"
        build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLIX_SANITIZE=ON -DQUILLIX_BENCH=OFF
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build/sanitize
        ;;
    bench)
        install_packages "${packages[@]}" python3 time python3-skimage
        build build/release -DCMAKE_BUILD_TYPE=Release -DQUILLIX_TESTS=OFF
        "$root/build/release/bench/quillix-bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
        "$root/bench/jpeg-end-to-end.sh" "$root/build/release"
        "$root/bench/bmp-end-to-end.sh" "$root/build/release"
        "$root/bench/folder-end-to-end.sh" "$root/build/release"
        "$root/bench/window-latency.sh" "$root/build/release"
        "$root/bench/quality-table.py" "$root/build/release"
        ;;
    fuzz)
        # libFuzzer comes with clang only; these packages are needed for fuzzing alone.
        install_packages "${packages[@]}" clang libclang-rt-14-dev
        cmake -S "$root" -B "$root/build/fuzz" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUILLIX_FUZZ=ON \
            -DQUILLIX_SANITIZE=ON -DQUILLIX_TESTS=OFF -DQUILLIX_BENCH=OFF >/dev/null
        nice cmake --build "$root/build/fuzz" --target quillix-fuzz-picture \
            quillix-fuzz-registry-overlay quillix-fuzz-disc-catalogue quillix-fuzz-packed-screen \
            quillix-fuzz-seeds
        "$root/fuzz/run-fuzzers.sh" "$root/build/fuzz" "${2:-60}" "${@:3}"
        ;;
    package)
        install_packages "${packages[@]}" "${package_tools[@]}"
        # Debian's hardening flags, without debugging information: the package is stripped.
        export DEB_BUILD_MAINT_OPTIONS=hardening=+all
        build build/package -DCMAKE_BUILD_TYPE=Release -DQUILLIX_TESTS=OFF -DQUILLIX_BENCH=OFF \
            -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS | sed 's/-g //')" \
            -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
        rm -f "$root"/build/package/quillix_*.deb
        (cd "$root/build/package" && cpack -G DEB >/dev/null)
        "$root/tests/packaging/PackageTest.sh" "$root"/build/package/quillix_*.deb
        ;;
    *)
        echo "usage: $0 run|test|bench|fuzz [SECONDS [TARGET...]]|package" >&2
        exit 2
        ;;
esac
