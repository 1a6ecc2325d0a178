#!/usr/bin/env python3
"""Times the whole writer against the virtual drive server.

Starts kelvane-vdrive, then runs tolvak N times, resetting the drive to its
profile before each run so that every run is a full update. Reports the
median wall time, the peak resident memory of tolvak, the vendor commands one
update sends, and the share of the time spent inside the server's own command
handling (from its command log).

    python3 bench/writer_update_bench.py [BIN_DIR] [RUNS]
"""
import json
import os
import socket
import statistics
import subprocess
import sys
import tempfile
import time


def call(sock_file, request):
    sock_file.write((json.dumps(request) + "\n").encode())
    sock_file.flush()
    return json.loads(sock_file.readline())


def main():
    bin_dir = sys.argv[1] if len(sys.argv) > 1 else "build-release/bin"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    work = tempfile.mkdtemp(prefix="kelvane-bench-")
    sock_path = os.path.join(work, "vdrive.sock")
    server = subprocess.Popen([os.path.join(bin_dir, "kelvane-vdrive"), "--socket", sock_path],
                              stdout=subprocess.PIPE, text=True)
    try:
        server.stdout.readline()  # the ready line
        control = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        control.connect(sock_path)
        sock_file = control.makefile("rwb")
        env = dict(os.environ, KELVANE_VDRIVE=sock_path)

        walls, peaks, commands, shares, exit_codes = [], [], [], [], []
        for _ in range(runs):
            call(sock_file, {"op": "reset"})
            started = time.perf_counter()
            child = subprocess.Popen([os.path.join(bin_dir, "tolvak")], env=env, stdout=subprocess.DEVNULL)
            _, status, usage = os.wait4(child.pid, 0)
            wall = time.perf_counter() - started
            exit_codes.append(os.waitstatus_to_exitcode(status))
            log = call(sock_file, {"op": "log"})["log"]
            handling = sum(entry["handling_ns"] for entry in log) / 1e9
            walls.append(wall)
            peaks.append(usage.ru_maxrss)  # KiB on Linux
            commands.append(len(log))
            shares.append(handling / wall)

        print(f"runs: {runs}, exit codes: {sorted(set(exit_codes))}")
        print(f"median wall time per update: {statistics.median(walls) * 1000:.1f} ms "
              f"(min {min(walls) * 1000:.1f}, max {max(walls) * 1000:.1f})")
        print(f"peak resident memory of tolvak: {max(peaks) / 1024:.1f} MiB")
        print(f"vendor commands per update: {statistics.median(commands):.0f}")
        print(f"share of the time inside the server's command handling: "
              f"{statistics.median(shares) * 100:.1f} %")
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
