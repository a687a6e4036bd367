#!/usr/bin/env bash
# The whole test run: installs what it needs, builds the native core with sanitizers, the
# x64 and x86 cross builds and the fuzz targets, then runs every suite:
#   native (ASan+UBSan), Windows x64 and x86 under Wine, fuzz smoke runs.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh || { echo "installing the packages failed"; exit 1; }

jobs=${PEL_JOBS:-2}
# Many network cases wait on time-outs rather than the processor: run them wider.
test_jobs=${PEL_TEST_JOBS:-4}
fuzz_seconds=${PEL_FUZZ_SECONDS:-20}
log_dir=build/test-logs
mkdir -p "$log_dir"
passed=0; failed=0; failures=()

build() {  # name, cmake args...
  local name=$1; shift
  echo "== build $name (at ${SECONDS}s)"
  if ! cmake -S . -B "build/$name" -DCMAKE_BUILD_TYPE=Debug "$@" >"$log_dir/$name-configure.log" 2>&1; then
    cat "$log_dir/$name-configure.log"; return 1
  fi
  if ! cmake --build "build/$name" -j"$jobs" >"$log_dir/$name-build.log" 2>&1; then
    grep -E 'error|Error' "$log_dir/$name-build.log" | head -40; return 1
  fi
  if grep -q 'warning:' "$log_dir/$name-build.log"; then
    echo "warnings in $name:"; grep 'warning:' "$log_dir/$name-build.log" | sort -u | head -20
  fi
}

run_ctest() {  # name, extra ctest args...
  local name=$1; shift
  echo "== tests $name (at ${SECONDS}s)"
  ctest --test-dir "build/$name" --output-on-failure -j"$test_jobs" "$@" | tee "$log_dir/$name-ctest.log"
  local summary
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log_dir/$name-ctest.log" | tail -1)
  if [ -z "$summary" ]; then
    failed=$((failed + 1)); failures+=("$name: no ctest summary"); return
  fi
  local total nfail
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
  nfail=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + total - nfail)); failed=$((failed + nfail))
  [ "$nfail" -eq 0 ] || failures+=("$name: $nfail failed")
}

if build native -DPEL_SANITIZE=ON; then
  run_ctest native
else
  failed=$((failed + 1)); failures+=("native: build failed")
fi

kvsim="$root/build/native/tools/kvsim"
for arch in x86_64 i686; do
  name=win-$arch
  if build "$name" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DPEL_KVSIM="$kvsim"; then
    run_ctest "$name"
  else
    failed=$((failed + 1)); failures+=("$name: build failed")
  fi
done

if CC=clang CXX=clang++ build fuzz -DPEL_FUZZ=ON -DPEL_TESTS=OFF -DPEL_FUZZ_SECONDS="$fuzz_seconds"; then
  run_ctest fuzz
else
  failed=$((failed + 1)); failures+=("fuzz: build failed")
fi

for f in "${failures[@]}"; do echo "FAILED: $f"; done
echo "total time ${SECONDS}s"
echo "all suites: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
