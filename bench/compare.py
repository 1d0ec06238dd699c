#!/usr/bin/env python3
"""Times QLTC against dos2unix, unix2dos, unix2mac and cp on identical,
page-cached copies of the same files, in one run, and prints a table with
throughput and ratios.

Cases: four 512 MiB files (CRLF text -> LF, LF text -> CRLF, mixed line ends
-> CR, no line ends -> LF) and a tree of 100,000 files of 2 KiB in 10 folders
(-> LF). Every tool gets a fresh copy of the same source before each timed run;
each time is the best of a few runs. The files live in memory (/dev/shm when it
has room), so the numbers measure the programs, not the disk.
"""
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


def best_of(runs, prepare, command, shell=False):
    best = None
    for _ in range(runs):
        prepare()
        elapsed = timed(command, shell)
        best = elapsed if best is None else min(best, elapsed)
    return best


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


def run_large(qltc, work, size_mib, runs, rows):
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
        t_qltc = best_of(runs, fresh_copy(src, mine), [qltc, "-format", fmt, mine])
        t_peer = best_of(max(1, runs - 1), fresh_copy(src, theirs), peer + [theirs])
        t_cp = best_of(runs, remove(copy), ["cp", src, copy])
        # unix2mac turns only LF into CR, so its output is not the same task's.
        check = ("same output" if filecmp.cmp(mine, theirs, shallow=False) else "OUTPUT DIFFERS") \
            if same_result else "(peer converts LF only)"
        name = "%s, %d MiB" % (title, size_mib)
        rows.append((name, "QLTC", t_qltc, size_mib, None, check))
        rows.append((name, peer[0], t_peer, size_mib, t_peer / t_qltc, ""))
        rows.append((name, "cp", t_cp, size_mib, t_cp / t_qltc, ""))
        for path in (src, mine, theirs, copy):
            os.remove(path)


def run_small(qltc, work, files, folders, runs, rows):
    src = os.path.join(work, "tree-source")
    write_tree(src, files, folders, 2048)
    mine, theirs, copy = (os.path.join(work, n) for n in ("tree-qltc", "tree-peer", "tree-copy"))
    t_qltc = best_of(runs, fresh_copy(src, mine), [qltc, "-format", "lf", "-filter", "*", "-ss", mine])
    peer = "find '%s' -type f -print0 | xargs -0 dos2unix -q" % theirs
    t_peer = best_of(runs, fresh_copy(src, theirs), peer, shell=True)
    t_cp = best_of(runs, remove(copy), ["cp", "-r", src, copy])
    same = subprocess.run(["diff", "-r", "-q", mine, theirs], stdout=subprocess.DEVNULL).returncode == 0
    mib = files * 2048 / MIB
    name = "%d files of 2 KiB in %d folders -> LF" % (files, folders)
    rows.append((name, "QLTC -ss", t_qltc, mib, None, "same output" if same else "OUTPUT DIFFERS"))
    rows.append((name, "find|xargs dos2unix", t_peer, mib, t_peer / t_qltc, ""))
    rows.append((name, "cp -r", t_cp, mib, t_cp / t_qltc, ""))
    for path in (src, mine, theirs, copy):
        shutil.rmtree(path)


def print_table(rows):
    print()
    print("%-44s %-20s %9s %10s %18s  %s" % ("case", "tool", "seconds", "MB/s", "tool time / QLTC", "check"))
    print("-" * 118)
    last = None
    for name, tool, seconds, mib, ratio, check in rows:
        shown = name if name != last else ""
        last = name
        rate = mib * MIB / seconds / 1e6
        ratio_text = "%.2fx" % ratio if ratio is not None else "-"
        print("%-44s %-20s %9.3f %10.0f %18s  %s" % (shown, tool, seconds, rate, ratio_text, check))
    print()
    print("tool time / QLTC above 1 means QLTC is faster by that factor. Targets: >= 15x for")
    print("dos2unix/unix2dos on large files, cp/QLTC >= 0.67 (within 1.5x of cp), >= 1 on small files.")


def choose_work_dir(requested, needed_bytes, root):
    if requested:
        os.makedirs(requested, exist_ok=True)
        return tempfile.mkdtemp(prefix="ql-bench-", dir=requested)
    for base in ("/dev/shm", os.path.join(root, "build")):
        if os.path.isdir(base) and shutil.disk_usage(base).free > needed_bytes:
            return tempfile.mkdtemp(prefix="ql-bench-", dir=base)
    sys.exit("bench: no folder with %d MiB free" % (needed_bytes // MIB))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("qltc", nargs="?", default=os.path.join(root, "build", "native", "bin", "QLTC"))
    parser.add_argument("--size-mib", type=int, default=512, help="size of each large file")
    parser.add_argument("--files", type=int, default=100000, help="number of small files")
    parser.add_argument("--folders", type=int, default=10)
    parser.add_argument("--runs", type=int, default=3, help="timed runs per tool; the best counts")
    parser.add_argument("--dir", help="where to put the files (default /dev/shm if it has room)")
    args = parser.parse_args()

    for tool in ("dos2unix", "unix2dos", "unix2mac", "cp"):
        if not shutil.which(tool):
            sys.exit("bench: %s is not installed (scripts/setup installs it)" % tool)
    qltc = os.path.abspath(args.qltc)
    work = choose_work_dir(args.dir, 5 * args.size_mib * MIB + 2 * args.files * 8192, root)
    print("QLTC: %s\nfiles in: %s" % (qltc, work))
    rows = []
    try:
        run_large(qltc, work, args.size_mib, args.runs, rows)
        run_small(qltc, work, args.files, args.folders, max(1, args.runs - 1), rows)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print_table(rows)


if __name__ == "__main__":
    main()
