#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Whole-process speed of huegrab-cli beside the usual X11 tools.

Starts a private 1920 x 1080 Xvfb, runs each command RUNS times and prints
the minimum and median wall time per run, then the CPU that wait-pixel
uses while it waits ten seconds on an unchanging screen.

usage: cli_speed.py HUEGRAB_CLI [RUNS]
"""
import os
import shutil
import statistics
import subprocess
import sys
import time


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1080x24",
         "-noreset", "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            server.kill()
            sys.exit("cli_speed: Xvfb did not start")
        number += chunk
    os.close(read_end)
    return server, ":" + number.decode().strip()


def timed_runs(argv, env, runs, expect_status=0):
    samples = []
    for _ in range(runs):
        start = time.perf_counter()
        status = subprocess.run(argv, env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL).returncode
        samples.append((time.perf_counter() - start) * 1000)
        if status != expect_status:
            sys.exit(f"cli_speed: {' '.join(argv)} exited with {status}")
    return min(samples), statistics.median(samples)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    cli = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 25
    server, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display)
    try:
        subprocess.run(["xsetroot", "-solid", "#3366CC"], env=env, check=True)
        rows = [
            ("huegrab-cli pixel 960 540", [cli, "pixel", "960", "540"], 0),
            ("import -window root -crop 1x1+960+540 txt:-",
             ["import", "-window", "root", "-crop", "1x1+960+540", "txt:-"], 0),
            ("xdotool getmouselocation", ["xdotool", "getmouselocation"], 0),
            ("huegrab-cli pointer", [cli, "pointer"], 0),
            # A colour that is not there: the whole screen is scanned.
            ("huegrab-cli search 00FF00 (1920x1080, no match)", [cli, "search", "00FF00"], 1),
        ]
        results = {}
        print(f"{runs} runs each on a private Xvfb {display}, 1920 x 1080 x 24\n")
        print(f"{'command':<50} {'min ms':>8} {'median ms':>10}")
        for name, argv, status in rows:
            if shutil.which(argv[0]) is None and not os.path.exists(argv[0]):
                print(f"{name:<50} {'(not installed)':>19}")
                continue
            results[name] = timed_runs(argv, env, runs, status)
            print(f"{name:<50} {results[name][0]:>8.2f} {results[name][1]:>10.2f}")
        pixel = results.get(rows[0][0])
        imagemagick = results.get(rows[1][0])
        if pixel and imagemagick:
            print(f"\nimport / huegrab-cli pixel, medians: {imagemagick[1] / pixel[1]:.1f} x")

        # CPU while waiting on a screen that does not change.
        wait = 10
        start = time.perf_counter()
        waiter = subprocess.Popen([cli, "wait-pixel", "10", "10", "00FF00", "--timeout",
                                   str(wait)], env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(waiter.pid, 0)
        elapsed = time.perf_counter() - start
        cpu = usage.ru_utime + usage.ru_stime
        print(f"\nwait-pixel, {elapsed:.2f} s on an unchanging screen (exit "
              f"{os.waitstatus_to_exitcode(status)}): {cpu * 1000:.1f} ms CPU, "
              f"{100 * cpu / elapsed:.3f} % of a core")
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
