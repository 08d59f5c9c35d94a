#!/bin/sh
# Builds the fuzz targets with clang++-14 (libFuzzer + AddressSanitizer) in a build folder
# of their own: fuzz/build.sh [build folder, default build-fuzz] [targets...]
set -eu
cd "$(dirname "$0")/.."
carpeta=${1:-build-fuzz}
[ $# -gt 0 ] && shift
# Every fuzz/*_fuzzer.cpp unless targets are named.
[ $# -gt 0 ] || set -- $(for f in fuzz/*_fuzzer.cpp; do basename "$f" .cpp; done)
cmake -S . -B "$carpeta" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DBREZAL_FUZZ=ON -DBREZAL_TESTS=OFF -DBREZAL_BENCH=OFF -DBREZAL_WITH_ODBC=OFF -DBREZAL_WERROR=ON
cmake --build "$carpeta" -j"$(nproc)" --target "$@"
