#!/usr/bin/env bash
# Whole-process timings, side by side with a bare C++ process, in one hyperfine run.
# Usage: bench/process_timings.sh [build-dir]   (a Release build with the benchmark)
set -euo pipefail
build=${1:-build}
here=$(dirname "$0")
pllcfg=$build/pllcfg
bare=$build/bench/pllcfg_bare_process
command -v hyperfine >/dev/null || { echo "needs hyperfine (apt-get install hyperfine)" >&2; exit 1; }
# Sweeps: 300 frequencies, log-uniform (every decade alike, the long-scan family at its
# natural share of about 4%) and linear (40% in the long-scan family), each process
# started by xargs as a script would.
hyperfine -N --warmup 2 --runs 10 \
  "xargs -n1 -a $here/sweep_frequencies.txt $bare" \
  "xargs -n1 -a $here/sweep_frequencies.txt $pllcfg" \
  "xargs -n1 -a $here/sweep_linear_frequencies.txt $pllcfg"
# Single runs: the slowest frequencies the worst-case scan finds (see the README), the
# near-tie families, an average one and the lowest.
hyperfine -N --warmup 20 --runs 300 \
  "$bare" "$pllcfg 761.899536" "$pllcfg 380.949829" "$pllcfg 685.710449" \
  "$pllcfg 684.937012" "$pllcfg 685.709961" "$pllcfg 285.712341" "$pllcfg 27.3" "$pllcfg 0.008"
