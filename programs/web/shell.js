// shell: what a program's page does around the program. It shows what the
// program writes (a failure's reason, as the desktop prints it), scales the
// canvas up, and, when the address asks with ?record=N, reports the program's
// first N frames: when each was shown and, with &hash, the same 64-bit
// FNV-1a hash of its pixels as the desktop test harness logs. The report,
// with the page's title and what the program wrote, is posted as JSON to
// /report once N frames are shown or the program ends or aborts. As the
// desktop's test harness does, &quit=F closes the program at the first event
// poll of frame F (frames count by the flips), and &refuse=K makes its K-th
// image load fail. While it records, the page keeps the program's clock as
// the desktop's harness does: SDL_GetTicks moves only by the program's
// pauses, so a program paced by its clock draws the desktop's frames.
'use strict';

const params = new URLSearchParams(location.search);
const recorded = Number(params.get('record') || 0);
const hashing = params.has('hash');
const quitAt = Number(params.get('quit') || 0);
const refusedLoad = Number(params.get('refuse') || 0);
const report = {frames: [], times: [], messages: [], status: null};
let flips = 0, loads = 0, quitSent = false, clock = 0;
const messages = document.getElementById('messages');
const canvas = document.getElementById('canvas');

function show(text) {
  messages.textContent += text + '\n';
  report.messages.push(text);
}

function send() {
  if (recorded > 0 && !send.done) {
    send.done = true;
    report.title = document.title;
    fetch('/report', {method: 'POST', body: JSON.stringify(report)});
  }
}

// FNV-1a over each pixel's 0x00RRGGBB value, in two 32-bit halves.
function hash(rgba) {
  let lo = 0x84222325, hi = 0xcbf29ce4;
  for (let i = 0; i < rgba.length; i += 4) {
    lo = (lo ^ (rgba[i] << 16 | rgba[i + 1] << 8 | rgba[i + 2])) >>> 0;
    // h * (2^40 + 0x1b3) mod 2^64
    const a = (lo & 0xffff) * 0x1b3;
    const b = (lo >>> 16) * 0x1b3 + (a >>> 16);
    hi = (Math.imul(hi, 0x1b3) + (b >>> 16) + (lo << 8)) >>> 0;
    lo = ((b & 0xffff) << 16 | (a & 0xffff)) >>> 0;
  }
  return hi.toString(16).padStart(8, '0') + lo.toString(16).padStart(8, '0');
}

var Module = {
  canvas: canvas,
  print: show,
  printErr: show,
  onFlip(rgba, width) {
    ++flips;
    if (!canvas.style.width) canvas.style.width = Math.max(1, Math.floor(512 / width)) * width + 'px';
    if (report.times.length >= recorded) return;
    report.times.push(performance.now());
    if (hashing) report.frames.push(hash(rgba));
    if (report.times.length === recorded) send();
  },
  // At or after: a program that skips its poll in the quit's frame gets
  // the quit at its next one.
  onPoll() {
    if (quitSent || quitAt === 0 || flips + 1 < quitAt) return false;
    return quitSent = true;
  },
  ticks: recorded > 0 ? () => clock : undefined,
  onDelay(ms) {
    clock += ms;
  },
  onLoad() {
    return ++loads === refusedLoad ? `load ${loads} refused by the test harness` : null;
  },
  onExit(status) {
    report.status = status;
    send();
  },
  onAbort(what) {
    show(String(what));
    report.status = 'aborted';
    send();
  },
};
