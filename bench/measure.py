"""What the Python benchmarks share: a row of the table, a percentile, a
process's memory and CPU time."""

import os
import re


def row(number, what, measured, goal, met):
    verdict = "-" if met is None else ("met" if met else "MISSED")
    print("| %s | %s | %s | %s | %s |" % (number, what, measured, goal, verdict))


def percentile(values, q):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(q * len(ordered)))]


def resident_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        return int(re.search(r"VmRSS:\s+(\d+)", status.read()).group(1))


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
