#!/usr/bin/env python3
"""Runs a command and measures it with every process it starts (the web engine's helpers too).

    measure_tree.py LABEL -- COMMAND...

Prints one JSON line to standard output: the label, the exit code, wall seconds, CPU seconds
(user + system of all the processes: the larger of the children's resource usage and the sum of
the last /proc sample of each process), the peak of the summed PSS and of the summed RSS of the
process tree in MB, and the most processes seen at once. The tree is sampled every 0.1 s. PSS
shares the pages that processes share between them, so its sum is the memory of the run; summed
RSS counts shared libraries once per process.
"""
import json
import os
import resource
import subprocess
import sys
import time

TICKS = os.sysconf('SC_CLK_TCK')


def children():
    by_parent = {}
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            with open(f'/proc/{entry}/stat') as f:
                stat = f.read()
            parent = int(stat[stat.rfind(')') + 2:].split()[1])
            by_parent.setdefault(parent, []).append(int(entry))
        except OSError:
            pass
    return by_parent


def tree(root):
    by_parent = children()
    pids = [root]
    for pid in pids:
        pids.extend(by_parent.get(pid, []))
    return pids


def cpu_seconds(pid):
    try:
        with open(f'/proc/{pid}/stat') as f:
            stat = f.read()
        fields = stat[stat.rfind(')') + 2:].split()
        return (int(fields[11]) + int(fields[12])) / TICKS
    except OSError:
        return None


def memory_kb(pid):
    rss = pss = 0
    try:
        with open(f'/proc/{pid}/smaps_rollup') as f:
            for line in f:
                if line.startswith('Rss:'):
                    rss = int(line.split()[1])
                elif line.startswith('Pss:'):
                    pss = int(line.split()[1])
    except OSError:
        pass
    return rss, pss


def main():
    label = sys.argv[1]
    command = sys.argv[sys.argv.index('--') + 1:]
    start = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    peak_rss = peak_pss = most = 0
    last_cpu = {}
    while process.poll() is None:
        pids = tree(process.pid)
        rss = pss = 0
        for pid in pids:
            r, p = memory_kb(pid)
            rss += r
            pss += p
            c = cpu_seconds(pid)
            if c is not None:
                last_cpu[pid] = c
        peak_rss, peak_pss, most = max(peak_rss, rss), max(peak_pss, pss), max(most, len(pids))
        time.sleep(0.1)
    wall = time.monotonic() - start
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    print(json.dumps({"label": label, "rc": process.returncode, "wall_s": round(wall, 2),
                      "cpu_s": round(max(usage.ru_utime + usage.ru_stime, sum(last_cpu.values())), 2),
                      "peak_pss_mb": round(peak_pss / 1024), "peak_rss_mb": round(peak_rss / 1024),
                      "processes": most, "load": round(os.getloadavg()[0], 2)}, ensure_ascii=False), flush=True)
    return process.returncode


if __name__ == '__main__':
    sys.exit(main())
