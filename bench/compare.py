#!/usr/bin/env python3
"""Times QLTC against dos2unix, unix2dos, unix2mac and cp on identical,
page-cached copies of the same files, in one run, and prints a table with
throughput and ratios.

Cases: four large files (CRLF text -> LF, LF text -> CRLF, mixed line ends ->
CR, no line ends -> LF) and a tree of 100,000 files of 2 KiB in 10 folders
(-> LF), where replace_floor (built beside QLTC) also times replacing every
file by an unconverted copy, one at a time: what the file system charges any
safe in-place converter. Every case runs twice: on tmpfs (/dev/shm) and in a folder of the root
file system (build/). Every tool gets a fresh copy of the same source before
each timed run, and cp copies onto an existing file, as QLTC replaces one; each
time is the median of the runs. Machines differ, so the ratios are the result:
QLTC's time over cp's, and the peer's time over QLTC's.
"""
import statistics
import argparse
import filecmp
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

MIB = 1 << 20
LETTERS = b"abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 .,;:()[]{}=+-*/"


def text_chunk(rng, size, endings):
    """About `size` bytes of lines of 40-60 characters, each ended by one of `endings`."""
    out = bytearray()
    while len(out) < size:
        out += bytes(rng.choice(LETTERS) for _ in range(rng.randint(40, 60)))
        out += rng.choice(endings)
    del out[size:]
    # Never stop between the CR and LF of a pair: the peers leave a lone CR
    # alone, so the outputs could not be compared.
    if out.endswith(b"\r") and b"\r\n" in endings:
        out[-1:] = b"x"
    return bytes(out)


def flat_chunk(rng, size):
    return bytes(rng.choice(LETTERS) for _ in range(size))


KINDS = {
    "crlf": lambda rng, size: text_chunk(rng, size, [b"\r\n"]),
    "lf": lambda rng, size: text_chunk(rng, size, [b"\n"]),
    "mixed": lambda rng, size: text_chunk(rng, size, [b"\r\n", b"\n", b"\r"]),
    "none": flat_chunk,
}


def write_large(path, kind, size_mib):
    # A few distinct 1 MiB chunks repeated: enough variety for the converters,
    # and quick to produce.
    rng = random.Random(kind)
    chunks = [KINDS[kind](rng, MIB) for _ in range(4)]
    with open(path, "wb") as f:
        for i in range(size_mib):
            f.write(chunks[i % len(chunks)])


def write_tree(root, files, folders, size):
    rng = random.Random(7)
    samples = [text_chunk(rng, size, [b"\r\n"]) for _ in range(16)]
    per_folder = files // folders
    for d in range(folders):
        folder = os.path.join(root, "folder%02d" % d)
        os.makedirs(folder)
        for i in range(per_folder):
            with open(os.path.join(folder, "file%05d.txt" % i), "wb") as f:
                f.write(samples[i % len(samples)])


def timed(command, shell=False):
    start = time.perf_counter()
    subprocess.run(command, shell=shell, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def median_of(runs, prepare, command, shell=False):
    times = []
    for _ in range(runs):
        prepare()
        subprocess.run(["sync"], check=True)
        times.append(timed(command, shell))
    return statistics.median(times)


def fresh_copy(src, dst):
    def prepare():
        if os.path.isdir(dst):
            shutil.rmtree(dst)
        elif os.path.exists(dst):
            os.remove(dst)
        if os.path.isdir(src):
            subprocess.run(["cp", "-r", src, dst], check=True)
        else:
            shutil.copyfile(src, dst)
    return prepare


def remove(path):
    def prepare():
        if os.path.isdir(path):
            shutil.rmtree(path)
        elif os.path.exists(path):
            os.remove(path)
    return prepare


def run_large(qltc, work, size_mib, runs, rows, where):
    cases = [
        ("CRLF text -> LF", "crlf", "lf", ["dos2unix", "-q"], True),
        ("LF text -> CRLF", "lf", "crlf", ["unix2dos", "-q"], True),
        ("mixed -> CR", "mixed", "cr", ["unix2mac", "-q"], False),
        ("no line ends -> LF", "none", "lf", ["dos2unix", "-q"], True),
    ]
    for title, kind, fmt, peer, same_result in cases:
        src = os.path.join(work, "source-" + kind)
        write_large(src, kind, size_mib)
        mine, theirs, copy = (os.path.join(work, n) for n in ("qltc.txt", "peer.txt", "copy.txt"))
        t_qltc = median_of(runs, fresh_copy(src, mine), [qltc, "-format", fmt, mine])
        t_peer = median_of(max(1, runs - 1), fresh_copy(src, theirs), peer + [theirs])
        t_cp = median_of(runs, fresh_copy(src, copy), ["cp", src, copy])
        # unix2mac turns only LF into CR, so its output is not the same task's.
        check = ("same output" if filecmp.cmp(mine, theirs, shallow=False) else "OUTPUT DIFFERS") \
            if same_result else "(peer converts LF only)"
        name = "%s: %s, %d MiB" % (where, title, size_mib)
        rows.append((name, "QLTC", t_qltc, size_mib, None, check))
        rows.append((name, peer[0], t_peer, size_mib, t_peer / t_qltc, ""))
        rows.append((name, "cp onto a file", t_cp, size_mib, t_qltc / t_cp, ""))
        for path in (src, mine, theirs, copy):
            os.remove(path)


def run_small(qltc, work, files, folders, runs, rows, where, floor):
    src = os.path.join(work, "tree-source")
    write_tree(src, files, folders, 2048)
    mine, theirs, copy = (os.path.join(work, n) for n in ("tree-qltc", "tree-peer", "tree-copy"))
    t_qltc = median_of(runs, fresh_copy(src, mine), [qltc, "-format", "lf", "-filter", "*", "-ss", mine])
    peer = "find '%s' -type f -print0 | xargs -0 dos2unix -q" % theirs
    t_peer = median_of(runs, fresh_copy(src, theirs), peer, shell=True)
    t_cp = median_of(runs, remove(copy), ["cp", "-r", src, copy])
    t_floor = median_of(runs, fresh_copy(src, copy), [floor, copy]) if floor else None
    same = subprocess.run(["diff", "-r", "-q", mine, theirs], stdout=subprocess.DEVNULL).returncode == 0
    mib = files * 2048 / MIB
    name = "%s: %d files of 2 KiB in %d folders -> LF" % (where, files, folders)
    rows.append((name, "QLTC -ss", t_qltc, mib, None, "same output" if same else "OUTPUT DIFFERS"))
    rows.append((name, "find|xargs dos2unix", t_peer, mib, t_peer / t_qltc, ""))
    rows.append((name, "cp -r", t_cp, mib, t_qltc / t_cp, ""))
    if t_floor:
        rows.append((name, "replace, no conversion", t_floor, mib, t_floor / t_qltc, "one at a time"))
    for path in (src, mine, theirs, copy):
        shutil.rmtree(path)


def print_table(rows):
    print()
    print("%-52s %-20s %9s %10s %8s  %s" % ("case", "tool", "seconds", "MB/s", "ratio", "check"))
    print("-" * 118)
    last = None
    for name, tool, seconds, mib, ratio, check in rows:
        shown = name if name != last else ""
        last = name
        rate = mib * MIB / seconds / 1e6
        ratio_text = "%.2fx" % ratio if ratio is not None else "-"
        print("%-52s %-20s %9.3f %10.0f %8s  %s" % (shown, tool, seconds, rate, ratio_text, check))
    print()
    print("ratio: for the peers (dos2unix, unix2dos, unix2mac) their time / QLTC's, so above 1")
    print("means QLTC is faster; for cp QLTC's time / cp's, so 1.3x means QLTC takes 30% longer;")
    print("for the replace floor its time / QLTC's, like a peer's.")
    print("Targets: large files <= 1.3x cp; small files >= 2.5x dos2unix and <= 1.3x cp -r.")


def work_dirs(requested, needed_bytes, root):
    """(label, folder) pairs: tmpfs and the root file system, or the one asked for."""
    places = [("given", requested)] if requested else [("tmpfs", "/dev/shm"), ("root fs", os.path.join(root, "build"))]
    dirs = []
    for label, base in places:
        os.makedirs(base, exist_ok=True)
        if shutil.disk_usage(base).free <= needed_bytes:
            print("bench: skipping %s, %s has less than %d MiB free" % (label, base, needed_bytes // MIB))
            continue
        dirs.append((label, tempfile.mkdtemp(prefix="ql-bench-", dir=base)))
    if not dirs:
        sys.exit("bench: no folder with %d MiB free" % (needed_bytes // MIB))
    return dirs


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("qltc", nargs="?", default=os.path.join(root, "build", "native", "bin", "QLTC"))
    parser.add_argument("--size-mib", type=int, default=256, help="size of each large file")
    parser.add_argument("--files", type=int, default=100000, help="number of small files")
    parser.add_argument("--folders", type=int, default=10)
    parser.add_argument("--runs", type=int, default=5, help="timed runs per tool; the median counts")
    parser.add_argument("--dir", help="one folder for the files (default: tmpfs and the root file system)")
    parser.add_argument("--skip-small", action="store_true", help="only the large files")
    args = parser.parse_args()

    for tool in ("dos2unix", "unix2dos", "unix2mac", "cp"):
        if not shutil.which(tool):
            sys.exit("bench: %s is not installed (scripts/setup installs it)" % tool)
    qltc = os.path.abspath(args.qltc)
    floor = os.path.join(os.path.dirname(qltc), "replace_floor")
    floor = floor if os.access(floor, os.X_OK) else None
    rows = []
    for where, work in work_dirs(args.dir, 5 * args.size_mib * MIB + 2 * args.files * 8192, root):
        print("QLTC: %s\n%s: %s" % (qltc, where, work))
        try:
            run_large(qltc, work, args.size_mib, args.runs, rows, where)
            if not args.skip_small:
                run_small(qltc, work, args.files, args.folders, max(1, args.runs - 2), rows, where, floor)
        finally:
            shutil.rmtree(work, ignore_errors=True)
    print_table(rows)


if __name__ == "__main__":
    main()
