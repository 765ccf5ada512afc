// Drives the browser build (out/web/) in the system's headless Chromium through puppeteer-core,
// serving the folder itself on 127.0.0.1. Modes:
//   capture --at T1,T2,... --size WxH --fps N --out DIR   frames as the capture tool writes them
//   bench --size WxH --fps N                               the frame-time table of every slot
//   checks        start-up lines, clock, Escape, no music with --start, no WebGL 2 (JSON)
// Options for all: --web DIR (default out/web), --timeout SECONDS (default 900).
import { createServer } from 'node:http';
import { readFile, mkdir, writeFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import puppeteer from 'puppeteer-core';

const args = process.argv.slice(2);
const mode = args[0];
function option(name, fallback) {
  const at = args.indexOf(name);
  return at >= 0 && at + 1 < args.length ? args[at + 1] : fallback;
}
const webDir = resolve(option('--web', 'out/web'));
const timeoutMs = Number(option('--timeout', '900')) * 1000;

const types = {
  '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.mp3': 'audio/mpeg',
};

// A static server of the folder, as any web server would serve it.
function serve(dir) {
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = normalize(join(dir, path === '/' ? 'index.html' : path));
    if (!file.startsWith(dir)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream',
                                'Content-Length': body.length });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((done) => server.listen(0, '127.0.0.1', () => done(server)));
}

async function browser() {
  return puppeteer.launch({
    executablePath: process.env.DEMO_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    protocolTimeout: timeoutMs,
    args: ['--no-sandbox', '--disable-dev-shm-usage', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--autoplay-policy=no-user-gesture-required', '--window-size=1280,800'],
  });
}

async function openPage(chromium, base, search) {
  const page = await chromium.newPage();
  page.on('pageerror', (error) => console.error(`page error: ${error.message}`));
  await page.goto(`${base}/${search}`);
  return page;
}

async function waitFor(page, condition, what, ms = timeoutMs) {
  try {
    await page.waitForFunction(condition, { timeout: ms, polling: 100 });
  } catch (e) {
    const state = await page.evaluate(() => ({ error: window.demoPage.error, lines: window.demoPage.lines }));
    throw new Error(`${what} did not happen: ${state.error || ''}\n${state.lines.join('\n')}`);
  }
}

async function captureMode(chromium, base) {
  const out = resolve(option('--out', 'web-frames'));
  const size = option('--size', '640x360');
  const fps = option('--fps', '60');
  const at = option('--at', '');
  await mkdir(out, { recursive: true });
  const page = await openPage(chromium, base, `?capture=${at}&size=${size}&fps=${fps}`);
  await waitFor(page, () => window.demoPage.done || window.demoPage.error, 'the capture');
  const result = await page.evaluate(() => ({ error: window.demoPage.error, frames: window.demoPage.frames }));
  if (result.error) throw new Error(result.error);
  for (const frame of result.frames) {
    const file = join(out, frame.name);
    await writeFile(file, Buffer.from(frame.png.replace(/^data:image\/png;base64,/, ''), 'base64'));
    console.log(`${join(out, frame.line)}`);
  }
}

async function benchMode(chromium, base) {
  const page = await openPage(chromium, base, `?bench=1&size=${option('--size', '640x360')}&fps=${option('--fps', '60')}&samples=${option('--samples', '4')}`);
  await waitFor(page, () => window.demoPage.done || window.demoPage.error, 'the benchmark');
  const table = await page.evaluate(() => window.demoPage.bench);
  process.stdout.write(table);
}

// The show as people start it: the button, then the music's clock.
async function startShow(chromium, base, search) {
  const opened = Date.now();
  const page = await openPage(chromium, base, search);
  await waitFor(page, () => !document.getElementById('start').hidden || window.demoPage.error, 'the start button');
  const ready = Date.now();
  await page.click('#start');
  await waitFor(page, () => window.demoPage.started || window.demoPage.error, 'the start');
  return { page, loadMs: ready - opened };
}

async function checksMode(chromium, base) {
  const report = {};
  {
    const { page, loadMs } = await startShow(chromium, base, '?size=640x360');
    report.loadMs = loadMs;
    await waitFor(page, () => window.demoPage.firstFrameMs !== undefined, 'the first frame', 30000);
    report.firstFrameMs = await page.evaluate(() => window.demoPage.firstFrameMs);
    // The music clock against the page's over 10 s.
    const samples = await page.evaluate(async () => {
      const taken = [];
      const t0 = performance.now();
      while (performance.now() - t0 < 10000) {
        taken.push([performance.now(), Module.demoPlayer.anchorMs + (Module.demoPlayer.now() - Module.demoPlayer.anchorS) * 1000]);
        await new Promise((r) => setTimeout(r, 100));
      }
      return taken;
    });
    const [p0, m0] = samples[0];
    const [p1, m1] = samples[samples.length - 1];
    const rate = (m1 - m0) / (p1 - p0);
    let worst = 0;
    for (const [p, m] of samples) worst = Math.max(worst, Math.abs(m - (m0 + rate * (p - p0))));
    report.clock = { rate, worstMs: worst, seconds: (p1 - p0) / 1000, musicDecoded: await page.evaluate(() => !!Module.demoMusic.buffer) };
    report.lines = await page.evaluate(() => window.demoPage.lines);
    await page.keyboard.press('Escape');
    await waitFor(page, () => window.demoPage.ended, 'the end on Escape', 10000);
    report.escape = await page.evaluate(() => ({ ended: window.demoPage.ended, playAgain: !document.getElementById('again').hidden }));
    await page.close();
  }
  {
    const { page } = await startShow(chromium, base, '?size=320x180&start=170&music=no-such-music.mp3');
    const t0 = await page.evaluate(() => Module.demoPlayer.anchorMs + (Module.demoPlayer.now() - Module.demoPlayer.anchorS) * 1000);
    await new Promise((r) => setTimeout(r, 2000));
    const t1 = await page.evaluate(() => Module.demoPlayer.anchorMs + (Module.demoPlayer.now() - Module.demoPlayer.anchorS) * 1000);
    report.noMusic = { lines: await page.evaluate(() => window.demoPage.lines), advancedMs: t1 - t0,
                       status: await page.evaluate(() => document.getElementById('status').textContent) };
    await page.close();
  }
  {
    // A browser without WebGL 2: the page says so in words.
    const page = await chromium.newPage();
    await page.evaluateOnNewDocument(() => {
      const getContext = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
        return kind === 'webgl2' ? null : getContext.call(this, kind, ...rest);
      };
    });
    await page.goto(`${base}/`);
    await waitFor(page, () => window.demoPage.error, 'the words on a missing WebGL 2', 10000);
    report.noWebGl2 = await page.evaluate(() => ({ status: document.getElementById('status').textContent,
                                                  start: !document.getElementById('start').hidden }));
    await page.close();
  }
  console.log(JSON.stringify(report, null, 2));
}

const server = await serve(webDir);
const base = `http://127.0.0.1:${server.address().port}`;
const chromium = await browser();
let failed = false;
try {
  if (mode === 'capture') await captureMode(chromium, base);
  else if (mode === 'bench') await benchMode(chromium, base);
  else if (mode === 'checks') await checksMode(chromium, base);
  else throw new Error(`unknown mode ${mode}: capture, bench or checks`);
} catch (e) {
  console.error(`web-driver: ${e.message}`);
  failed = true;
} finally {
  await chromium.close();
  server.close();
}
process.exit(failed ? 1 : 0);
