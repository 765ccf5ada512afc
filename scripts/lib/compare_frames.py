#!/usr/bin/env python3
"""Compares frames by the golden rule of the tests: a pixel matches when each channel is within
12 levels, a frame when no more than 0.5% of its pixels miss. Prints one line per pair and exits
1 when a pair fails. PNGs are read through ffmpeg, which the tests install anyway.

    compare_frames.py [--diff DIR] EXPECTED_DIR ACTUAL_DIR NAME...
"""
import subprocess
import sys
from pathlib import Path

TOLERANCE = 12
MISMATCH_SHARE = 0.005


def rgb(path):
    probe = subprocess.run(['ffprobe', '-v', 'error', '-select_streams', 'v:0', '-show_entries',
                            'stream=width,height', '-of', 'csv=p=0', str(path)],
                           check=True, capture_output=True, text=True).stdout.strip()
    width, height = (int(v) for v in probe.split(',')[:2])
    pixels = subprocess.run(['ffmpeg', '-v', 'error', '-i', str(path), '-f', 'rawvideo', '-pix_fmt', 'rgb24', '-'],
                            check=True, capture_output=True).stdout
    return width, height, pixels


def main(argv):
    diff_dir = None
    if argv[:1] == ['--diff']:
        diff_dir = Path(argv[1])
        argv = argv[2:]
    expected_dir, actual_dir, names = Path(argv[0]), Path(argv[1]), argv[2:]
    failed = False
    for name in names:
        w, h, a = rgb(expected_dir / name)
        w2, h2, b = rgb(actual_dir / name)
        if (w, h) != (w2, h2):
            print(f'{name}: {w2}x{h2}, not {w}x{h}')
            failed = True
            continue
        misses = 0
        worst = 0
        diff = bytearray(len(a))
        for i in range(0, len(a), 3):
            d = max(abs(a[i] - b[i]), abs(a[i + 1] - b[i + 1]), abs(a[i + 2] - b[i + 2]))
            worst = max(worst, d)
            if d > TOLERANCE:
                misses += 1
            diff[i] = diff[i + 1] = diff[i + 2] = min(255, 4 * d)
        share = misses / (w * h)
        ok = share <= MISMATCH_SHARE
        failed = failed or not ok
        print(f'{name}: {share * 100:.3f}% of the pixels beyond {TOLERANCE} levels (largest {worst})'
              f'{"" if ok else f", more than {MISMATCH_SHARE * 100}%: FAILS"}')
        if diff_dir is not None and not ok:
            diff_dir.mkdir(parents=True, exist_ok=True)
            subprocess.run(['ffmpeg', '-v', 'error', '-y', '-f', 'rawvideo', '-pix_fmt', 'rgb24', '-s', f'{w}x{h}',
                            '-i', '-', str(diff_dir / name)], input=bytes(diff), check=True)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
