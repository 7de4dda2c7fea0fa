// Checks the site tools/web.sh built in headless Chromium against the native game:
//   node check_site.mjs SITE NATIVE_GAME DATA_FOLDER RUNS_FOLDER
// sound held until a gesture, the title pixel for pixel, every committed run's
// --dump byte for byte, real keys and a game controller reaching the game, full
// screen, and a save surviving a reload. Prints what it measured.
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, readdirSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import puppeteer from 'puppeteer-core';

const [site, native, data, runs] = process.argv.slice(2);
const game = (...args) =>
  execFileSync(native, ['--headless', '--data', data, ...args], {
    encoding: 'utf8', env: { ...process.env, XDG_DATA_HOME: scratch, XDG_CONFIG_HOME: scratch },
    maxBuffer: 1 << 28,
  });
const scratch = mkdtempSync(join(tmpdir(), 'zoa-web-'));
mkdirSync(join(scratch, 'zoa_noli'));
let failures = 0, passes = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  ok ? ++passes : ++failures;
}

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png' };
const server = createServer((req, res) => {
  const file = new URL(req.url, 'http://x').pathname.replace(/^\/$/, '/index.html');
  try {
    const body = readFileSync(join(site, file.replace(/\.\./g, '')));
    res.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' });
    res.end(body);
  } catch {
    res.writeHead(404).end();
  }
}).listen(0, '127.0.0.1');
await new Promise(r => server.once('listening', r));
const base = `http://127.0.0.1:${server.address().port}/`;

// A browser whose autoplay policy is `autoplay`, and a page in it.
async function launch(autoplay) {
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', `--autoplay-policy=${autoplay}`, '--window-size=800,600'],
  });
  const page = await browser.newPage();
  // The program's end is thrown as ExitStatus when it comes from a callback.
  page.on('pageerror', e => e.message !== 'ExitStatus' && console.log('page error:', e.message));
  page.on('console', m => m.type() !== 'log' && console.log('page:', m.text()));
  return [browser, page];
}
// Sound first, in a browser that lets a page start it only after a gesture on
// that page, as desktop browsers do (Chromium's user-gesture-required asks that
// of frames from other sites alone); the other checks need no gesture.
let [browser, page] = await launch('document-user-activation-required');

// Opens the page with a command line; when it started loading.
async function open(args) {
  const start = Date.now();
  await page.goto(base + '?args=' + encodeURIComponent(args), { waitUntil: 'load' });
  return start;
}
const lines = () => page.evaluate(() => window.zoa.out);
const waitFor = (fn, arg, timeout = 30000) => page.waitForFunction(fn, { timeout, polling: 20 }, arg);
const exited = () => waitFor(() => window.zoa.exitCode !== null, null, 120000);
// The last traced state once `pred` holds for it (a function of the parsed line).
async function lastState(pred, timeout = 15000) {
  await waitFor(p => {
    const out = window.zoa.out, last = out.length && out[out.length - 1];
    return last && last[0] === '{' && new Function('s', `return ${p}`)(JSON.parse(last));
  }, pred, timeout);
  const out = await lines();
  return JSON.parse(out[out.length - 1]);
}

// The logo waits for a gesture (its sound is its clock), then plays to the
// title with its sound running; a page without the logo starts at once, and its
// sound with the first key. The page's AudioContexts are recorded with every
// state each went through (the logo closes its own when it ends). Puppeteer
// runs its evaluations as a gesture of the player's, which would let sound
// start: the page is read through plain DevTools calls instead.
{
  await page.evaluateOnNewDocument(() => {
    window.audioContexts = [];
    window.AudioContext = class extends window.AudioContext {
      constructor(...args) {
        super(...args);
        this.seen = [this.state];
        this.addEventListener('statechange', () => this.seen.push(this.state));
        window.audioContexts.push(this);
      }
    };
  });
  const cdp = await page.createCDPSession();
  const read = async expression =>
    (await cdp.send('Runtime.evaluate', { expression, returnByValue: true })).result.value;
  const until = async (expression, ms) => {
    for (const end = Date.now() + ms; Date.now() < end; await new Promise(r => setTimeout(r, 20)))
      if (await read(expression)) return true;
    return false;
  };
  const sound = () => read('window.audioContexts.map(c => c.state).join()');

  await open('--timings');
  const asked = await until(`document.getElementById('notice').textContent.startsWith('click')`,
                            30000);
  await new Promise(r => setTimeout(r, 500));
  const waiting = asked && await sound() === '' && await read('window.zoa.out.length === 0');
  await page.keyboard.press('Space');
  await until(`window.zoa.out.some(l => l.startsWith('startup '))`, 60000);
  const timings = (await read('window.zoa.out')).find(l => l.startsWith('startup ')) ?? '';
  const logoMs = Number(timings.match(/logo_ms=([\d.]+)/)?.[1] ?? 0);
  console.log(`measure logo_ms=${logoMs} title_ms_after_gesture=${timings.match(/title_ms=([\d.]+)/)?.[1]}`);
  const played = await read(`window.audioContexts.map(c => c.seen.join('>')).join()`);
  const heard = await read(`window.audioContexts.every(c => c.seen.includes('running')) &&
                            window.audioContexts.at(-1)?.state === 'running'`);
  check(waiting && logoMs > 1000 && heard,
        `the page waits for a gesture, then plays the logo with its sound to the title (${played})`);

  await open('--no-logo --trace -');
  const started = await until('window.zoa.out.length > 5', 30000);
  const before = await sound();
  await page.keyboard.press('ArrowDown');
  await until(`window.audioContexts.every(c => c.state === 'running')`, 5000);
  const after = await sound();
  check(started && before === 'suspended' && after === 'running',
        `without the logo the game starts at once, its sound with the first key (${before}, then ${after})`);
  await browser.close();
}
[browser, page] = await launch('no-user-gesture-required');

// The title: native --screenshot against the canvas, after the same frames.
{
  const frames = 40;
  const png = join(scratch, 'title.png');
  game('--no-logo', '--frames', String(frames), '--screenshot', png);
  // The title stands still once it is up, so any moment after the frame will do.
  const started = await open(`--no-logo --timings --trace -`);
  await waitFor(() => window.zoa.out.some(l => l.startsWith('startup ')));
  const titleMs = Date.now() - started;
  await lastState(`s.frameCounter >= ${frames}`);
  const differing = await page.evaluate(async data => {
    const img = new Image();
    img.src = 'data:image/png;base64,' + data;
    await img.decode();
    const want = document.createElement('canvas');
    want.width = 640, want.height = 480;
    want.getContext('2d').drawImage(img, 0, 0);
    const a = want.getContext('2d').getImageData(0, 0, 640, 480).data;
    const canvas = document.getElementById('canvas');
    // The picture sits in the middle of the canvas, scaled by a whole number
    // (integer scaling), whatever size the canvas has.
    const w = canvas.width, h = canvas.height, k = Math.floor(Math.min(w / 640, h / 480));
    const left = Math.floor((w - 640 * k) / 2), top = Math.floor((h - 480 * k) / 2);
    const b = canvas.getContext('2d').getImageData(0, 0, w, h).data;
    let differing = 0;
    for (let y = 0; y < 480; ++y)
      for (let x = 0; x < 640; ++x)
        for (let c = 0; c < 3; ++c)
          if (a[(y * 640 + x) * 4 + c] !== b[((top + y * k) * w + left + x * k) * 4 + c]) ++differing;
    return differing;
  }, readFileSync(png).toString('base64'));
  check(differing === 0, `title in the page equals the native screenshot (${differing} values differ)`);
  console.log(`measure title_ms_after_load=${titleMs}`);

  // Real keys: Enter starts stage 1, Right walks, F5 switches the sound off, no reload.
  await page.evaluate(() => { window.stillHere = true; });
  await page.keyboard.press('Enter');
  const inStage = await lastState('s.state.Level === 1 && s.state.TitleActive === 0');
  const x0 = inStage.sprites[0].x;
  await page.keyboard.down('ArrowRight');
  await new Promise(resolve => setTimeout(resolve, 2000));
  await page.keyboard.up('ArrowRight');
  const walked = await lastState('true');
  check(walked.sprites[0].x > x0 + 20, 'Enter on the title starts stage 1, Right walks');
  // Pacing: a frame is due once more than Time_Chai ms have passed, so frames
  // of play follow each other every Time_Chai + 1 ms, in the page as natively.
  const played = (await lines()).filter(l => l[0] === '{').map(l => JSON.parse(l))
                                 .filter(s => s.state.Level === 1 && !s.state.TitleActive);
  const [first, last] = [played[10], played[played.length - 1]];
  const interval = (last.state.LastFrameTime - first.state.LastFrameTime) /
                   (last.frameCounter - first.frameCounter);
  const due = first.state.Time_Chai + 1;
  console.log(`measure frame_interval_ms=${interval.toFixed(2)} (Time_Chai + 1 = ${due})`);
  check(interval >= due && interval < due * 1.1, 'frames of play come every Time_Chai + 1 ms');
  const before = (await lines()).length;
  await page.keyboard.press('F5');
  const stopped = await waitFor(n => window.zoa.out.slice(n).some(l => l.includes('"op": "stop"')),
                                before).then(() => true, () => false);
  check(stopped && await page.evaluate(() => window.stillHere === true),
        'F5 switches the sound off and does not reload the page');

  // F12: the screenshot is offered as a download.
  const downloads = mkdtempSync(join(scratch, 'downloads-'));
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  await page.keyboard.press('F12');
  const shot = () => readdirSync(downloads).find(f => f.endsWith('.png'));
  for (let i = 0; i < 50 && !shot(); ++i) await new Promise(r => setTimeout(r, 100));
  check(shot() && readFileSync(join(downloads, shot())).subarray(1, 4).toString() === 'PNG',
        'F12 offers the screenshot as a PNG download');

  // F11 asks the browser for full screen on the canvas (once the key is let go,
  // as a player's key is), and again leaves it.
  const tap = async key => {
    await page.keyboard.down(key);
    await new Promise(r => setTimeout(r, 150));
    await page.keyboard.up(key);
  };
  const full = () => waitFor(() => document.fullscreenElement?.id === 'canvas', null, 5000)
                       .then(() => true, () => false);
  const windowed = () => waitFor(() => !document.fullscreenElement, null, 5000)
                           .then(() => true, () => false);
  await tap('F11');
  const went = await full();
  // Left as the browser's own Escape leaves it: the next F11 asks for full
  // screen again, not to leave it.
  await page.evaluate(() => document.exitFullscreen());
  const escaped = await windowed();
  await tap('F11');
  const back = await full();
  await tap('F11');
  const left = await windowed();
  check(went && escaped && back && left,
        'F11 asks for full screen on the canvas and leaves it, also after the browser left it');
}

// A game controller through the browser's Gamepad API: a standard-mapping pad
// the test holds, plugged in once the title is up. SDL learns of it from the
// window's gamepadconnected event and reads it by calling
// navigator.getGamepads() whenever the game looks for input (a browser has no
// pad events, only its state to poll); the page adds nothing to that.
{
  const fake = await page.evaluateOnNewDocument(() => {
    const pad = { id: 'test pad', index: 0, mapping: 'standard', connected: true, timestamp: 0,
                  axes: [0, 0, 0, 0],
                  buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
    let pads = [];
    Object.defineProperty(navigator, 'getGamepads', { value: () => pads });
    window.pad = {
      plug() {
        pads = [pad];
        window.dispatchEvent(Object.assign(new Event('gamepadconnected'), { gamepad: pad }));
      },
      // A (button 0) held or not, the left stick's x; SDL takes a pad whose
      // timestamp has not moved for one that did not change.
      set(a, x) {
        pad.buttons[0] = { pressed: a, value: a ? 1 : 0 };
        pad.axes[0] = x;
        pad.timestamp = performance.now();
      },
    };
  });
  const settle = () => new Promise(r => setTimeout(r, 200));
  await open('--no-logo --trace -');
  await lastState('s.state.TitleActive === 1 && s.frameCounter > 5');
  await page.evaluate(() => window.pad.plug());
  await settle();
  // A down and up on the title, then the left stick pushed right: its first push
  // since the pad came, which SDL alone takes for the stick at rest.
  await page.evaluate(() => window.pad.set(true, 0));
  await settle();
  await page.evaluate(() => window.pad.set(false, 0));
  const inStage = await lastState('s.state.Level === 1 && s.state.TitleActive === 0', 5000)
                    .catch(() => null);
  await page.evaluate(() => window.pad.set(false, 1));
  await new Promise(r => setTimeout(r, 2000));
  await page.evaluate(() => window.pad.set(false, 0));
  const walked = await lastState('true');
  check(inStage && walked.sprites[0].x > inStage.sprites[0].x + 20,
        'a game controller plugged in in the page: A starts stage 1, the stick walks');
  await page.removeScriptToEvaluateOnNewDocument(fake.identifier);
}

// A frame's cost in the page: headless frames of play, timed in the page.
{
  const run = async frames => {
    const t = await open(`--headless --play 2 --frames ${frames}`);
    await exited();
    return Date.now() - t;
  };
  const ms = (await run(3100)) - (await run(100));
  console.log(`measure headless_play_frame_ms=${(ms / 3000).toFixed(3)}`);
}

// A save made in the page survives a reload and continues from the title.
{
  await open('--play 1 --trace -');
  await lastState('s.state.Level === 1 && s.frameCounter > 100');
  await page.keyboard.press('Escape');
  await lastState('s.state.PauseActive === 1');
  // The save is in the browser's storage before the game goes on (its fsync).
  await page.keyboard.press('Enter');
  await lastState('s.state.PauseActive === 0');
  await open('--no-logo --trace -');
  await lastState('s.state.TitleActive === 1 && s.frameCounter > 5');
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Enter');
  const continued = await lastState('s.state.TitleActive === 0', 5000).catch(() => null);
  check(continued !== null && continued.state.Level === 1, 'a save survives a reload and continues');
}

// Every committed run, replayed headless in the page, ends as natively.
for (const file of readdirSync(runs).filter(f => /^stage\d+\.av$/.test(f)).sort()) {
  const stage = file.match(/\d+/)[0];
  const args = ['--play', stage, '--replay', join(runs, file), '--seed', '1', '--dump', '-'];
  const want = game(...args);
  await open(`--headless --play ${stage} --replay /runs/${file} --seed 1 --dump -`);
  await exited();
  const got = (await lines()).join('\n') + '\n';
  check(got === want, `${file} replayed in the page ends as natively (${got.length} bytes)`);
}

// One run also in the page's window, in real time: the same state at the end
// but for the clock's own readings.
{
  const args = '--play 9 --replay RUNS/stage9.av --seed 1 --dump -';
  const withoutClock = text => {
    const s = JSON.parse(text);
    delete s.state.LastFrameTime;
    delete s.state.Time2;
    return JSON.stringify(s);
  };
  const want = withoutClock(game(...args.replace('RUNS', runs).split(' ')));
  await open(args.replace('RUNS', '/runs'));
  await exited();
  const got = withoutClock((await lines()).find(l => l.startsWith('{')));
  check(got === want, 'stage9.av replayed in the page\'s window in real time ends as natively');
}

await browser.close();
server.close();
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);
