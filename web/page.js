// The page around the show: the query string as its command line, the loading bar (data package
// and music), the start button that browsers need before they play sound, full screen, the end
// and a way to play again. ?start=170 starts there, ?size=640x360 sets the picture's pixels,
// ?capture=9000,24000&fps=10 hands frames to a driving script (scripts/web-capture.sh) and
// ?bench=1 times every frame.
'use strict';

const query = new URLSearchParams(location.search);
const panel = document.getElementById('panel');
const fill = document.getElementById('fill');
const statusLine = document.getElementById('status');
const startButton = document.getElementById('start');
const againButton = document.getElementById('again');
const fullscreenButton = document.getElementById('fullscreen');
const canvas = document.getElementById('canvas');

const capture = query.get('capture');
const bench = query.has('bench');
const offline = capture !== null || bench;
const musicFile = query.get('music') || 'biisi.mp3';

// What a driving script reads: the show's console lines, the frames and the end.
window.demoPage = { lines: [], frames: [], done: false, ended: false, started: false, bench: null, error: null };

function say(text) {
  statusLine.textContent = text;
}

function fail(text) {
  window.demoPage.error = text;
  fill.style.width = '0';
  say(text);
  panel.hidden = false;
  startButton.hidden = true;
}

// The show's command line: [width height] [--start S] [--capture ... --fps N] [--bench].
function showArguments() {
  const args = [];
  const size = /^(\d+)x(\d+)$/.exec(query.get('size') || '');
  if (size) {
    args.push(size[1], size[2]);
  } else {
    const ratio = window.devicePixelRatio || 1;
    args.push(String(Math.round(innerWidth * ratio)), String(Math.round(innerHeight * ratio)));
  }
  if (query.has('start')) args.push('--start', query.get('start'));
  if (capture !== null) args.push('--capture', capture);
  if (bench) args.push('--bench');
  if (query.has('fps')) args.push('--fps', query.get('fps'));
  if (query.has('samples')) args.push('--samples', query.get('samples'));
  return args;
}

function hasWebGl2() {
  try {
    return document.createElement('canvas').getContext('webgl2') !== null;
  } catch (e) {
    return false;
  }
}

// Loading: the data package and the music, each half of the bar.
const progress = { data: 0, music: offline ? 1 : 0 };
function showProgress() {
  fill.style.width = `${Math.round((progress.data + progress.music) * 50)}%`;
}

let runtimeReady = false;
let musicSettled = offline;

const music = { context: null, buffer: null, error: null };

async function loadMusic() {
  try {
    music.context = new AudioContext();
  } catch (e) {
    music.error = `this browser has no Web Audio (${e.message})`;
    return;
  }
  try {
    const response = await fetch(musicFile);
    if (!response.ok) throw new Error(`${musicFile} was not found beside the page (HTTP ${response.status})`);
    const total = Number(response.headers.get('Content-Length')) || 0;
    const reader = response.body.getReader();
    const parts = [];
    let received = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      parts.push(value);
      received += value.length;
      if (total > 0) progress.music = 0.5 * received / total;
      showProgress();
    }
    const bytes = new Uint8Array(received);
    let at = 0;
    for (const part of parts) {
      bytes.set(part, at);
      at += part.length;
    }
    say('Decoding the music…');
    music.buffer = await music.context.decodeAudioData(bytes.buffer);
  } catch (e) {
    music.error = e.message || String(e);
  } finally {
    progress.music = 1;
    showProgress();
  }
}

function readyToStart() {
  if (!runtimeReady || !musicSettled) return;
  if (offline) {
    start();
    return;
  }
  say(music.buffer ? 'Ready.' : `Ready, without music: ${music.error}.`);
  startButton.hidden = false;
  startButton.focus();
}

function start() {
  window.demoPage.clickedAt = performance.now();
  panel.hidden = true;
  startButton.hidden = true;
  if (!offline) fullscreenButton.hidden = false;
  // Browsers let sound start only from a gesture such as this click.
  if (music.context) music.context.resume();
  canvas.focus();
  Module.callMain(showArguments());
}

// An RGB picture from the show, bottom row first, as a PNG data URL.
function pngOf(pixels, width, height) {
  const picture = document.createElement('canvas');
  picture.width = width;
  picture.height = height;
  const context = picture.getContext('2d');
  const image = context.createImageData(width, height);
  for (let y = 0; y < height; ++y) {
    const from = (height - 1 - y) * width * 3;
    const to = y * width * 4;
    for (let x = 0; x < width; ++x) {
      image.data[to + 4 * x] = pixels[from + 3 * x];
      image.data[to + 4 * x + 1] = pixels[from + 3 * x + 1];
      image.data[to + 4 * x + 2] = pixels[from + 3 * x + 2];
      image.data[to + 4 * x + 3] = 255;
    }
  }
  context.putImageData(image, 0, 0);
  return picture.toDataURL('image/png');
}

function line(text) {
  window.demoPage.lines.push(text);
  console.log(text);
}

var Module = {
  canvas,
  noInitialRun: true,
  demoMusic: music,
  print: line,
  printErr: (text) => {
    window.demoPage.lines.push(text);
    console.warn(text);
  },
  setStatus: (text) => {
    // The data package says "Downloading data... (loaded/total)".
    const counts = /\((\d+)\/(\d+)\)/.exec(text || '');
    if (counts && Number(counts[2]) > 0) {
      progress.data = 0.5 * Number(counts[1]) / Number(counts[2]);
      showProgress();
    }
    if (text) say(text.replace(/\(\d+\/\d+\)/, '').replace('...', '…'));
  },
  onRuntimeInitialized: () => {
    runtimeReady = true;
    progress.data = 1;
    showProgress();
    if (!musicSettled) say('Loading the music…');
    readyToStart();
  },
  onAbort: (what) => fail(`The show stopped: ${what}`),
  noWebGl2: () => fail('This browser gives no WebGL 2 context; the show needs WebGL 2.'),
  badOptions: () => fail(`The page's options were refused: ${window.demoPage.lines.slice(-1)[0]}`),
  showStarted: () => {
    window.demoPage.started = true;
    // The first frame is drawn on the next animation frame.
    requestAnimationFrame(() => {
      window.demoPage.firstFrameMs = performance.now() - window.demoPage.clickedAt;
    });
  },
  showEnded: () => {
    window.demoPage.ended = true;
    fullscreenButton.hidden = true;
    if (document.fullscreenElement) document.exitFullscreen();
    if (offline) return;
    fill.style.width = '0';
    document.getElementById('bar').hidden = true;
    say('The show has ended.');
    panel.hidden = false;
    againButton.hidden = false;
    againButton.focus();
  },
  captureFrame: (name, text, pixels, width, height) => {
    window.demoPage.frames.push({ name, line: `${name} ${text}`, png: pngOf(pixels, width, height) });
  },
  captureDone: () => {
    window.demoPage.done = true;
  },
  benchDone: (table) => {
    window.demoPage.bench = table;
    window.demoPage.done = true;
  },
};

startButton.addEventListener('click', start);
againButton.addEventListener('click', () => location.reload());
fullscreenButton.addEventListener('click', () => canvas.requestFullscreen().then(() => canvas.focus()));

function loadScript(src) {
  const script = document.createElement('script');
  script.src = src;
  script.async = false;  // in order: the data package registers itself before the program runs
  script.onerror = () => fail(`${src} could not be loaded; serve the page with its files beside it.`);
  document.body.appendChild(script);
}

if (!hasWebGl2()) {
  fail('This browser has no WebGL 2, which the show draws with. A current Firefox, Chrome, Edge or Safari has it.');
} else {
  say('Loading the data…');
  showProgress();
  if (!offline) loadMusic().then(() => { musicSettled = true; readyToStart(); });
  // The data package first: it registers itself with Module before the program starts.
  loadScript('demo-data.js');
  loadScript('demo.js');
}
