#!/usr/bin/env python3
"""Times the GUI program against the console program under Wine, in one run.

Cases:
  1. Quillet.exe -format lf -as -ac over N files of 20 KiB named on the command
     line, minus the same call with one file (start-up and window cost taken
     out), against the same marginal time of QLTC.exe. Target: <= 1.2x.
  2. The main window adding a folder of M files (filter "*", subfolders),
     against the console's listing of the same folder, both timed inside
     quillet_gui_bench.exe; QLTC.exe's own scan of the folder (a filter that
     matches nothing) is shown for reference. Target: <= 2x. The longest time
     the window went without serving its queue is printed too.
Needs the Windows build (Quillet, QLTC, quillet_gui_bench) and an X display.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

LINE = b"a line of text with a windows line end at its end...\r\n"


def wine_run(root):
    return os.path.join(root, "scripts", "wine-run")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def write_files(folder, count, size):
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    body = (LINE * (size // len(LINE) + 1))[:size]
    names = ["f%04d.txt" % i for i in range(count)]
    for name in names:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(body)
    return names


def timed(command, cwd):
    start = time.perf_counter()
    subprocess.run(command, cwd=cwd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def best_marginal(root, program, work, count, runs):
    """Best time over `count` files and over one file, each with fresh files."""
    best = {}
    for n in (1, count):
        for _ in range(runs):
            folder = os.path.join(work, "files")
            names = write_files(folder, n, 20 * 1024)
            elapsed = timed([wine_run(root), program, "-format", "lf", "-as", "-ac"] + names
                            if program.endswith("Quillet.exe")
                            else [wine_run(root), program, "-format", "lf"] + names, folder)
            with open(os.path.join(folder, names[-1]), "rb") as f:
                if b"\r" in f.read():
                    sys.exit("bench: %s left CR bytes in %s" % (program, names[-1]))
            best[n] = min(best.get(n, elapsed), elapsed)
    return best[1], best[count]


def run_command_line_case(root, bin_dir, work, count, runs):
    rows = []
    margins = {}
    for tool in ("QLTC.exe", "Quillet.exe"):
        one, many = best_marginal(root, os.path.join(bin_dir, tool), work, count, runs)
        margins[tool] = many - one
        rows.append((tool, one, many, many - one))
    print("\n%d files of 20 KiB on the command line -> LF (best of %d; seconds)" % (count, runs))
    print("%-12s %10s %12s %12s" % ("program", "1 file", "%d files" % count, "marginal"))
    for tool, one, many, margin in rows:
        print("%-12s %10.3f %12.3f %12.3f" % (tool, one, many, margin))
    print("Quillet / QLTC marginal: %.2fx (target <= 1.2x)" % (margins["Quillet.exe"] / margins["QLTC.exe"]))


def write_tree(folder, files, folders):
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    for d in range(folders):
        sub = os.path.join(folder, "folder%02d" % d)
        os.makedirs(sub)
        for i in range(files // folders):
            open(os.path.join(sub, "file%05d.txt" % i), "wb").close()


def run_folder_case(root, bin_dir, work, files, runs):
    tree = os.path.join(work, "tree")
    write_tree(tree, files, 10)
    best = None
    for _ in range(runs):
        out = subprocess.run([wine_run(root), os.path.join(bin_dir, "quillet_gui_bench.exe"), windows_path(tree)],
                             check=True, capture_output=True, text=True).stdout
        values = dict((k, float(v)) for k, v in re.findall(r"(\w+)=([\d.]+)", out))
        if best is None or values["add_ms"] < best["add_ms"]:
            best = values
    qltc_scan = min(timed([wine_run(root), os.path.join(bin_dir, "QLTC.exe"), "-format", "lf", "-filter",
                           "no.such.name", "-ss", windows_path(tree)], work) for _ in range(runs))
    print("\nAdding a folder of %d files, filter *, subfolders (best of %d)" % (files, runs))
    print("console listing in-process: %8.0f ms" % best["list_ms"])
    print("main window adding rows:    %8.0f ms  (%d rows)" % (best["add_ms"], best["rows"]))
    print("QLTC.exe scan, whole process: %6.0f ms  (reference)" % (qltc_scan * 1000))
    print("bare list view, same rows:  %8.0f ms  (inserts alone, redrawing off; reference)" % best["bare_insert_ms"])
    print("one cross-thread SendMessage: %6.1f us (reference)" % best["bare_send_us"])
    print("window / listing: %.1fx (target <= 2x); longest time without serving the queue: %.0f ms"
          % (best["add_ms"] / best["list_ms"], best["longest_gap_ms"]))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=os.path.join(root, "build", "windows", "bin"))
    parser.add_argument("--files", type=int, default=1000, help="files on the command line")
    parser.add_argument("--folder-files", type=int, default=100000, help="files in the scanned folder")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    for name in ("Quillet.exe", "QLTC.exe", "quillet_gui_bench.exe"):
        if not os.path.exists(os.path.join(args.bin, name)):
            sys.exit("bench: %s is missing; build the windows preset first" % name)
    base = "/dev/shm" if os.path.isdir("/dev/shm") else None
    work = tempfile.mkdtemp(prefix="ql-gui-bench-", dir=base)
    try:
        subprocess.run([wine_run(root)], check=True)
        run_command_line_case(root, args.bin, work, args.files, args.runs)
        run_folder_case(root, args.bin, work, args.folder_files, args.runs)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
