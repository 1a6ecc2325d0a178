#!/usr/bin/env bash
# The main job: an update against a virtual drive started for the purpose.
# Installs what it needs, builds an optimised tree, starts kelvane-vdrive with
# the default profile, runs tolvak against it twice (the second run finds the
# drive up to date) and stops the server.
#
#   bash tools/run-update.sh            # the update, on the console
#   bash tools/run-update.sh --dialog   # also opens the varnel dialog on the
#                                       # same virtual drive (needs a desktop)
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
build=${KELVANE_RELEASE_BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_BUILD_GUI=ON -DKELVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target kelvane-vdrive tolvak $([[ "${1:-}" == --dialog ]] && echo varnel)
bin=$build/bin

workdir=$(mktemp -d /tmp/kelvane-run-XXXXXX)
socket=$workdir/vdrive.sock
server=
start_server() {
  "$bin/kelvane-vdrive" --socket "$socket" --profile "$bin/profiles/default.json" >"$workdir/server.log" 2>&1 &
  server=$!
  for _ in $(seq 1 100); do grep -q ready "$workdir/server.log" 2>/dev/null && break; sleep 0.05; done
  echo "virtual drive server: $(cat "$workdir/server.log")"
}
stop_server() { kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; }
cleanup() { stop_server; rm -rf "$workdir"; }
trap cleanup EXIT
start_server
export KELVANE_VDRIVE=$socket

run_writer() {
  echo "--- tolvak ($1) ---"
  set +e
  "$bin/tolvak"
  local code=$?
  set -e
  echo
  echo "--- exit code $code ---"
}
run_writer "first run: the drive runs 01.02.08"
run_writer "second run: the drive is now up to date"

if [[ "${1:-}" == --dialog ]]; then
  # A fresh drive, so that the dialog finds one to update.
  stop_server
  start_server
  echo "--- varnel (close the window to finish) ---"
  "$bin/varnel" || true
fi
