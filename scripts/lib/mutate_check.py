#!/usr/bin/env python3
"""The check's coverage, measured: damaged copies of the default data set, one mutation each from
a fixed, seeded list of kinds, each checked with demo-check and rendered with demo-capture at a
time where the damaged file is on screen. A copy whose frame differs from the clean one must be
named by the check; one that is named with its frame unchanged is a false alarm (fine for a
portability note). Prints a table by kind and the misses; exits 1 when there is a miss.

    mutate_check.py --build DIR [--sample N] [--seed S] [--keep DIR]
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

# A music time at which each data file is on screen (the frame clock at 10 fps).
ON_SCREEN = {
    'normimap.xsi': 58000, 'maasto.xsi': 58000, 'bg.xsi': 58000, 'mountains.xsi': 58000,
    'flame.xsi': 58000, 'flame2.xsi': 58000, 'lights.xsi': 58000, 'ball.xsi': 75000,
    'worm.xsi': 110000, 'wormhead.xsi': 110000, 'tykki.xsi': 170000, 'ammus.xsi': 152000,
    'postproc.XSI': 92000,
    'ship_hull.jpg': 58000, 'ship_hull_NRM.png': 58000, 'desert_sand.png': 58000, 'desert_sand_NRM.png': 58000,
    'far_ridges.png': 58000, 'flame_noise.jpg': 58000, 'particle.jpg': 58000, 'overlay.png': 58000,
    'ball_marble.jpg': 75000, 'worm_skin.jpg': 110000, 'cloudy.jpg': 9000, 'cloudy2.jpg': 197000,
    'noise.png': 141000, 'flare.jpg': 58000,
    'cannon_metal.jpg': 170000, 'cannon_env_back.jpg': 170000, 'cannon_env_bottom.jpg': 170000,
    'cannon_env_front.jpg': 170000, 'cannon_env_left.jpg': 170000, 'cannon_env_right.jpg': 170000,
    'cannon_env_top.jpg': 170000,
}

KINDS = ['delete line', 'duplicate line', 'move line', 'insert brace', 'delete brace', 'nan', 'inf', '1e40',
         'trailing letters', 'empty number', 'name case', 'swap names', 'cut file', "another file's bytes",
         'directory', 'byte order mark', 'CR LF']


def scene_files(data):
    return sorted(p.name for p in data.iterdir() if p.suffix.lower() == '.xsi')


def glsl_lines(lines):
    """Indices of lines inside quoted GLSL sources: author's text, not the file's structure."""
    inside, marked = False, set()
    for i, line in enumerate(lines):
        stripped = line.strip()
        if not inside and ('"GLSL_Program","Text","' in line or '"GLSL_ProgramF","Text","' in line):
            inside = True
            continue
        if inside:
            if stripped.startswith('",') or stripped.startswith('}",'):
                inside = False
            else:
                marked.add(i)
    return marked


def structural(lines):
    glsl = glsl_lines(lines)
    return [i for i in range(1, len(lines)) if i not in glsl and lines[i].strip()]


def number_spans(line):
    """(start, end) of each number in a value or field: digits with sign, point and exponent."""
    spans, i = [], 0
    while i < len(line):
        if line[i].isdigit() or (line[i] in '-.' and i + 1 < len(line) and line[i + 1].isdigit()):
            j = i + 1
            while j < len(line) and (line[j].isdigit() or line[j] in '.eE-+'):
                j += 1
            if i == 0 or not (line[i - 1].isalnum() or line[i - 1] == '_'):
                spans.append((i, j))
            i = j
        else:
            i += 1
    return spans


def name_spans(lines, rng):
    """Names a scene file gives and looks up: materials, images, models and the slots' uniforms."""
    found = []
    for i in structural(lines):
        line = lines[i]
        words = line.split()
        if len(words) >= 2 and words[0] in ('XSI_Material', 'XSI_Image', 'SI_Model'):
            start = line.index(words[1])
            found.append((i, start, start + len(words[1])))
        for key in ('"Image","', '"UniformName","Text","', '"Variable","Text","'):
            at = line.find(key)
            if at >= 0:
                start = at + len(key)
                end = line.find('"', start)
                if end > start:
                    found.append((i, start, end))
        if line.strip().startswith('"') and i > 0 and 'SI_TriangleList' in ''.join(lines[max(0, i - 3):i]):
            start = line.index('"') + 1
            end = line.find('"', start)
            if end > start:
                found.append((i, start, end))
    return found


def mutations(data, seed, per_kind):
    """(kind, file, description, make) with make(run_data) writing the damaged file."""
    rng = random.Random(seed)
    scenes = scene_files(data)
    every = sorted(p.name for p in data.iterdir())
    made = []

    def text_of(name):
        return (data / name).read_bytes().decode('latin-1')

    def replacer(name, body):
        def make(run):
            (run / name).unlink()
            (run / name).write_bytes(body)
        return make

    def writer(name, text):
        return replacer(name, text.encode('latin-1'))

    for kind in KINDS:
        for n in range(per_kind):
            if kind in ('cut file', "another file's bytes", 'directory'):
                name = rng.choice(every)
            else:
                name = rng.choice(scenes)
            text = text_of(name) if name in scenes else None
            lines = text.split('\n') if text is not None else None
            desc, new = None, None
            if kind == 'delete line':
                i = rng.choice(structural(lines))
                desc = f'line {i + 1} deleted: {lines[i].strip()[:40]}'
                new = '\n'.join(lines[:i] + lines[i + 1:])
            elif kind == 'duplicate line':
                i = rng.choice(structural(lines))
                desc = f'line {i + 1} doubled: {lines[i].strip()[:40]}'
                new = '\n'.join(lines[:i + 1] + lines[i:])
            elif kind == 'move line':
                # A line of a list moved within its list only reorders valid values: an edit.
                candidates = [i for i in structural(lines) if len(number_spans(lines[i])) < 2]
                i = rng.choice(candidates)
                j = min(len(lines) - 1, i + rng.randint(2, 12))
                moved = lines[:i] + lines[i + 1:]
                moved.insert(j, lines[i])
                desc = f'line {i + 1} moved to {j + 1}: {lines[i].strip()[:40]}'
                new = '\n'.join(moved)
            elif kind == 'insert brace':
                i = rng.choice(structural(lines))
                indent = lines[i][:len(lines[i]) - len(lines[i].lstrip('\t'))]
                desc = f'"}}" inserted before line {i + 1}'
                new = '\n'.join(lines[:i] + [indent + '}'] + lines[i:])
            elif kind == 'delete brace':
                braces = [i for i in structural(lines) if lines[i].strip() == '}']
                i = rng.choice(braces)
                desc = f'the "}}" of line {i + 1} deleted'
                new = '\n'.join(lines[:i] + lines[i + 1:])
            elif kind in ('nan', 'inf', '1e40', 'trailing letters', 'empty number'):
                candidates = [(i, s) for i in structural(lines) for s in number_spans(lines[i])
                              if not lines[i].lstrip().startswith(('xsi', 'SI_', 'XSI_'))]
                i, (a, b) = rng.choice(candidates)
                value = lines[i][a:b]
                replacement = {'nan': 'nan', 'inf': 'inf', '1e40': '1e40', 'trailing letters': value + 'x2',
                               'empty number': ''}[kind]
                desc = f'line {i + 1}: {value} -> "{replacement}"'
                lines[i] = lines[i][:a] + replacement + lines[i][b:]
                new = '\n'.join(lines)
            elif kind == 'name case':
                spans = name_spans(lines, rng)
                if not spans:
                    continue
                i, a, b = rng.choice(spans)
                name_text = lines[i][a:b]
                changed = name_text.swapcase()
                if changed == name_text:
                    continue
                desc = f'line {i + 1}: {name_text} -> {changed}'
                lines[i] = lines[i][:a] + changed + lines[i][b:]
                new = '\n'.join(lines)
            elif kind == 'swap names':
                spans = name_spans(lines, rng)
                if len(spans) < 2:
                    continue
                (i, a, b), (k, c, d) = rng.sample(spans, 2)
                first, second = lines[i][a:b], lines[k][c:d]
                if first == second:
                    continue
                desc = f'lines {i + 1} and {k + 1}: {first} <-> {second}'
                if i == k:
                    lo, hi = sorted([(a, b, second), (c, d, first)])
                    line = lines[i]
                    lines[i] = line[:lo[0]] + lo[2] + line[lo[1]:hi[0]] + hi[2] + line[hi[1]:]
                else:
                    lines[i] = lines[i][:a] + second + lines[i][b:]
                    lines[k] = lines[k][:c] + first + lines[k][d:]
                new = '\n'.join(lines)
            elif kind == 'cut file':
                size = (data / name).stat().st_size
                cut = rng.randint(0, max(0, size - 1))
                desc = f'cut at byte {cut} of {size}'
                made.append((kind, name, desc, replacer(name, (data / name).read_bytes()[:cut])))
                continue
            elif kind == "another file's bytes":
                other = rng.choice([f for f in every if Path(f).suffix.lower() != Path(name).suffix.lower()])
                desc = f'the bytes of {other}'
                made.append((kind, name, desc, replacer(name, (data / other).read_bytes())))
                continue
            elif kind == 'directory':
                desc = 'a directory in its place'

                def make(run, name=name):
                    (run / name).unlink()
                    (run / name).mkdir()
                made.append((kind, name, desc, make))
                continue
            elif kind == 'byte order mark':
                desc = 'a UTF-8 byte order mark before the header'
                new = '\xef\xbb\xbf' + text
            elif kind == 'CR LF':
                desc = 'CR LF line ends'
                new = text.replace('\n', '\r\n')
            if new is None or new == text:
                continue
            made.append((kind, name, desc, writer(name, new)))
    return made


def frame_bytes(capture, run_dir, at_ms, out_dir):
    out_dir.mkdir(parents=True, exist_ok=True)
    result = subprocess.run(['env', '-u', 'DISPLAY', capture, '--fps', '10', '--size', '320x180', '--at', str(at_ms),
                             '--data', str(run_dir), '--out', str(out_dir)], capture_output=True, text=True)
    png = out_dir / f'frame-{at_ms}.png'
    if result.returncode != 0 or not png.exists():
        return None
    return subprocess.run(['ffmpeg', '-v', 'error', '-i', str(png), '-f', 'rawvideo', '-pix_fmt', 'rgb24', '-'],
                          capture_output=True, check=True).stdout


def check_lines(check, run_dir):
    result = subprocess.run(['env', '-u', 'DISPLAY', check, str(run_dir)], capture_output=True, text=True)
    lines = [l for l in (result.stdout + result.stderr).splitlines() if not l.startswith(str(run_dir))]
    return result.returncode, lines


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build', required=True)
    parser.add_argument('--sample', type=int, default=0, help='N mutations spread over the kinds; 0: all')
    parser.add_argument('--seed', type=int, default=30)
    parser.add_argument('--per-kind', type=int, default=20)
    parser.add_argument('--keep', help='keep the damaged copies of the misses here')
    args = parser.parse_args()
    build = Path(args.build).resolve()
    show = build / 'show'
    data = show / 'data'
    check, capture = str(build / 'demo-check'), str(build / 'demo-capture')

    every = mutations(data, args.seed, args.per_kind)
    if args.sample:
        by_kind = {}
        for m in every:
            by_kind.setdefault(m[0], []).append(m)
        chosen, round_ = [], 0
        while len(chosen) < args.sample and any(round_ < len(v) for v in by_kind.values()):
            for kind in KINDS:
                if round_ < len(by_kind.get(kind, [])) and len(chosen) < args.sample:
                    chosen.append(by_kind[kind][round_])
            round_ += 1
        every = chosen

    work = Path(tempfile.mkdtemp(prefix='mutate-check-'))
    try:
        clean_status, clean_lines = check_lines(check, show)
        clean_frames = {}
        table = {kind: [0, 0, 0, 0] for kind in KINDS}  # good, miss, false alarm, neither
        misses, alarms = [], []
        for n, (kind, name, desc, make) in enumerate(every):
            run = work / 'run'
            shutil.rmtree(run, ignore_errors=True)
            (run / 'data').mkdir(parents=True)
            os.symlink(show / 'biisi.mp3', run / 'biisi.mp3')
            for f in data.iterdir():
                os.symlink(f, run / 'data' / f.name)
            make(run / 'data')
            status, lines = check_lines(check, run)
            named = status != 0 or lines != clean_lines
            at = ON_SCREEN.get(name, 58000)
            if at not in clean_frames:
                clean_frames[at] = frame_bytes(capture, show, at, work / 'clean')
            frame = frame_bytes(capture, run, at, work / 'frames')
            changed = frame != clean_frames[at]
            slot = 0 if changed and named else 1 if changed else 2 if named else 3
            table[kind][slot] += 1
            if slot == 1:
                misses.append(f'{kind}: data/{name} {desc}')
                if args.keep:
                    shutil.copytree(run, Path(args.keep) / f'miss-{n}', symlinks=True)
            elif slot == 2:
                said = [l for l in lines if l not in clean_lines] or ['status ' + str(status)]
                alarms.append(f'{kind}: data/{name} {desc}: {said[0][:110]}')
            print(f'[{n + 1}/{len(every)}] {kind}: data/{name} {desc}: '
                  f'{"changed" if changed else "same"}, {"named" if named else "clean"}', flush=True)
        print(f'\n{"kind":<22}{"good":>6}{"miss":>6}{"alarm":>7}{"neither":>9}')
        totals = [0, 0, 0, 0]
        for kind in KINDS:
            row = table[kind]
            totals = [a + b for a, b in zip(totals, row)]
            print(f'{kind:<22}{row[0]:>6}{row[1]:>6}{row[2]:>7}{row[3]:>9}')
        print(f'{"all":<22}{totals[0]:>6}{totals[1]:>6}{totals[2]:>7}{totals[3]:>9}')
        if alarms:
            print('\nnamed, picture unchanged:\n  ' + '\n  '.join(alarms))
        if misses:
            print('\nMISSES (the picture changed, the check said clean):\n  ' + '\n  '.join(misses))
        return 1 if misses else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
