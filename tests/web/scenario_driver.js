// The scenario table run against the page in one browser engine, through the page's
// contract only: buttons and the check box by caption, role=status, the warnings note, the
// file input, role=dialog's Yes / No, the download's Blob, canvas#viewer and the viewer
// panel's title bar and close box. Fails on the first difference, naming the scenario, the
// line of the table and both values.
//
// node scenario_driver.js ENGINE CALVETH_CLI SITE_DIR SCENARIO_DIR SAMPLES_DIR OUT_DIR
//      [--only NAME]... [--screenshot FILE]
// ENGINE: chromium, firefox or webkit (tests/web/engines.js). Timings are printed, never
// asserted.
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { PNG } = require('pngjs');
const { kEngines } = require('./engines.js');
const { readScenarios, skippedOn, withoutPathLine, wordsOf } = require('./scenario_table.js');

const [engineName, cli, siteDir, scenarioDir, samplesDir, outDir, ...options] =
  process.argv.slice(2);
const option = (name) => {
  const at = options.indexOf(name);
  return at < 0 ? null : options[at + 1];
};
const onlyNames = options.flatMap((word, i) => (options[i - 1] === '--only' ? [word] : []));
const only = onlyNames.length ? onlyNames : null;

// The table's control names and the captions the page shows them by.
const kCaptions = {
  OpenBase: 'Open Base', OpenMt: 'Open MT', MirrorRL: 'Mirror R->L', MirrorLR: 'Mirror L->R',
  Swap: 'Swap', ResetL: 'Reset L', ResetR: 'Reset R', Minus: '-', Plus: '+', Melt: 'Melt',
  SaveMt: 'Save MT', Exit: 'eXit', VertexOnly: 'vertex only (for MT)', Viewer: 'G',
};
const kKeys = { Enter: 'Enter', Esc: 'Escape', F3: 'F3' };
const kWaitMs = 10000;
// The viewer's text rows, where the page's fonts draw: the "Y-axis" box and the legend.
const kTextTop = 14;
const kTextBottom = 380;

class Difference extends Error {}

const fileOf = (name) => {
  const own = path.join(scenarioDir, 'files', name);
  return fs.existsSync(own) ? own : path.join(samplesDir, name);
};

function runCli(args) {
  execFileSync(cli, args, { stdio: ['ignore', 'ignore', 'pipe'] });
}

// ---- In the page (each function is sent to the browser as its source) ----

// What the page shows, as the table names it.
function pageState(captions) {
  const name = (element) => (element.getAttribute('aria-label') || element.textContent).trim();
  const controls = {};
  for (const button of document.querySelectorAll('#dialog button')) {
    controls[name(button)] = button;
  }
  for (const box of document.querySelectorAll('#dialog input[type=checkbox]')) {
    controls[box.labels[0].textContent.trim()] = box;
  }
  const named = (test) => Object.keys(captions)
    .filter((key) => controls[captions[key]] && test(controls[captions[key]]));
  const panel = document.getElementById('viewer-panel');
  const warnings = document.getElementById('warnings');
  return {
    status: document.querySelector('[role=status]').textContent,
    enabled: named((c) => !c.disabled && !c.closest('[hidden]')),
    checked: named((c) => c.checked === true || c.getAttribute('aria-pressed') === 'true'),
    warnings: warnings.hidden ? 0 : Number(warnings.getAttribute('aria-label').split(': ')[1]),
    warningLines: warnings.hidden ? 0 : warnings.textContent.split('\n').length,
    viewer: panel.hidden ? null : { x: panel.offsetLeft, y: panel.offsetTop },
    question: !document.querySelector('[role=dialog]').hidden,
    busy: window.calvethPage.busy,
  };
}

// The control of that caption: a button by its name, or the check box by its label.
function findControl(caption) {
  const name = (element) => (element.getAttribute('aria-label') || element.textContent).trim();
  return [...document.querySelectorAll('#dialog button')].find((b) => name(b) === caption) ||
    [...document.querySelectorAll('#dialog input[type=checkbox]')]
      .find((box) => box.labels[0].textContent.trim() === caption) || null;
}
function findAnswer(answer) {
  return [...document.querySelectorAll('[role=dialog] button')]
    .find((button) => button.textContent.trim() === answer) || null;
}
const findFileInput = () => document.querySelector('#dialog input[type=file]');
function findViewerClose() {
  return document.querySelector('[aria-label="Wire Flame Viewer"] button[aria-label=Close]');
}

// The driver answers the file choice on the input itself, as the user's choice would: the
// browser's own chooser is kept from opening (headless Firefox and WebKit under automation
// cancel it at once). Each saved file's Blob and name are taken where the page makes them,
// and the browser saves nothing: Firefox and WebKit would write into the home folder, and
// MiniBrowser's list of downloads takes the room of the page.
function armPage() {
  if (window.calvethTest) return;
  const made = new Map();
  const test = { downloads: [], chooserAsked: 0 };
  window.calvethTest = test;
  const create = URL.createObjectURL;
  URL.createObjectURL = (object) => {
    const url = create.call(URL, object);
    made.set(url, object);
    return url;
  };
  document.addEventListener('click', (event) => {
    const target = event.target;
    if (target instanceof HTMLInputElement && target.type === 'file') {
      test.chooserAsked += 1;
      event.preventDefault();
    } else if (target instanceof HTMLAnchorElement && target.download && made.has(target.href)) {
      test.downloads.push({ name: target.download, blob: made.get(target.href) });
      event.preventDefault();
    }
  }, true);
}
function cancelChoice() {
  document.querySelector('#dialog input[type=file]').dispatchEvent(new Event('cancel'));
}
async function takeDownloads() {
  const taken = window.calvethTest.downloads.splice(0);
  const encode = (bytes) => {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(text);
  };
  return Promise.all(taken.map(async ({ name, blob }) =>
    ({ name, base64: encode(new Uint8Array(await blob.arrayBuffer())) })));
}
function canvasPixels() {
  const canvas = document.getElementById('viewer');
  const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  let text = '';
  for (let i = 0; i < data.length; i += 0x8000) {
    text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
  }
  return { width: canvas.width, height: canvas.height, base64: btoa(text) };
}
function titleBar() {
  const box = document.querySelector('#viewer-panel .title').getBoundingClientRect();
  return { x: box.left, y: box.top };
}

// ---- The driver ----

class PageRun {
  constructor(engine, url) {
    Object.assign(this, { engine, url, base: null, mt: null, saved: null, answer: null,
                          origin: null });
  }

  async start() {
    await this.engine.open(this.url);
    await this.until('the page to be ready', () => document.body.dataset.ready === 'true');
    await this.engine.evaluate(armPage);
  }

  // Polls the page, bounded, until `predicate` holds there; fails naming what it awaited.
  async until(what, predicate, arg) {
    const end = Date.now() + kWaitMs;
    for (;;) {
      if (await this.engine.evaluate(predicate, arg)) return;
      if (Date.now() > end) throw new Error('waited ' + kWaitMs + ' ms in vain for ' + what);
      await new Promise((resolve) => setTimeout(resolve, 10));
    }
  }

  state() { return this.engine.evaluate(pageState, kCaptions); }

  async control(name) {
    const caption = kCaptions[name];
    if (!caption) throw new Error('no control ' + name);
    const handle = await this.engine.element(findControl, caption);
    if (!handle) throw new Error('the page shows no control "' + caption + '"');
    return handle;
  }

  // The command has finished; a question it asks gets the answer the table gave before.
  async settle() {
    const end = Date.now() + kWaitMs;
    for (;;) {
      const { busy, question } = await this.state();
      if (question) {
        if (!this.answer) throw new Difference('a question was asked, no answer given');
        await this.engine.click(await this.engine.element(findAnswer, this.answer));
        this.answer = null;
      } else if (!busy) {
        return;
      } else if (Date.now() > end) {
        throw new Error('waited ' + kWaitMs + ' ms in vain for the command to finish');
      }
      await new Promise((resolve) => setTimeout(resolve, 10));
    }
  }

  async step(step) {
    const [first, second] = step.words;
    switch (step.action) {
      case 'press':
        await this.engine.click(await this.control(first));
        break;
      case 'open':
      case 'cancel': {
        const asked = (await this.engine.evaluate(() => window.calvethTest.chooserAsked));
        await this.engine.click(await this.control(first));
        await this.until('the file choice of ' + first,
          (before) => window.calvethTest.chooserAsked > before, asked);
        if (step.action === 'cancel') {
          await this.engine.evaluate(cancelChoice);
          break;
        }
        await this.engine.setFile(await this.engine.element(findFileInput), fileOf(second));
        await this.settle();
        const refused = (await this.state()).status.startsWith('ERR');
        if (!refused) this[first === 'OpenBase' ? 'base' : 'mt'] = fileOf(second);
        return;
      }
      case 'answer':
        this.answer = first === 'yes' ? 'Yes' : 'No';
        return;
      case 'save': {
        await this.engine.click(await this.control('SaveMt'));
        await this.settle();
        const taken = await this.engine.evaluate(takeDownloads);
        if (taken.length !== 1) throw new Difference(taken.length + ' downloads, expected 1');
        this.saved = Buffer.from(taken[0].base64, 'base64');
        return;
      }
      case 'key':
        await this.engine.press(kKeys[first] || first);
        break;
      case 'viewer-move': {
        if (!this.origin) throw new Error('viewer-move before the viewer was first shown');
        const bar = await this.engine.evaluate(titleBar);
        const { viewer } = await this.state();
        const [x, y] = [this.origin.pageX + Number(first) - this.origin.x,
                        this.origin.pageY + Number(second) - this.origin.y];
        await this.engine.drag(bar.x + 40, bar.y + 6, bar.x + 40 + x - viewer.x,
                               bar.y + 6 + y - viewer.y);
        await this.until('the viewer to be at ' + x + ', ' + y, ([px, py]) => {
          const panel = document.getElementById('viewer-panel');
          return panel.offsetLeft === px && panel.offsetTop === py;
        }, [x, y]);
        return;
      }
      case 'viewer-close':
        await this.engine.click(await this.engine.element(findViewerClose));
        break;
      default:
        throw new Error('unknown step ' + step.action);
    }
    await this.settle();
  }

  async check(check) {
    const state = await this.state();
    const ordered = (listed) => {
      const words = wordsOf(listed);
      const names = Object.keys(kCaptions).filter((name) => words.includes(name));
      return names.length ? names.join(' ') : '-';
    };
    const list = (names) => (names.length ? names.join(' ') : '-');
    const expect = (shown, expected) => {
      if (shown !== expected) {
        throw new Difference('shown ' + JSON.stringify(shown) + ', expected ' +
                             JSON.stringify(expected));
      }
    };
    switch (check.what) {
      case 'status': return expect(state.status, check.value);
      case 'enabled': return expect(list(state.enabled), ordered(check.value));
      case 'checked': return expect(list(state.checked), ordered(check.value));
      case 'warnings':
        expect(state.warningLines, state.warnings);
        return expect(String(state.warnings), check.value);
      case 'viewer': return this.checkViewer(state.viewer, check.value);
      case 'saved': return this.checkSaved(check);
      case 'picture': return this.checkPicture(check);
      case 'not': return undefined;
      default: throw new Error('unknown check ' + check.what);
    }
  }

  // The page's panel has its own first place beside the dialog: the table's places are taken
  // relative to where the viewer was first shown.
  checkViewer(shown, value) {
    const words = wordsOf(value);
    if (words[0] === 'closed' || !shown) {
      const text = shown ? 'open at ' + shown.x + ', ' + shown.y : 'closed';
      if ((words[0] === 'closed') !== !shown) {
        throw new Difference('the viewer is ' + text + ', expected ' + value);
      }
      return;
    }
    const [x, y] = words.slice(1).map(Number);
    if (!this.origin) {
      this.origin = { x, y, pageX: shown.x, pageY: shown.y };
      return;
    }
    const expected = [this.origin.pageX + x - this.origin.x, this.origin.pageY + y - this.origin.y];
    if (shown.x !== expected[0] || shown.y !== expected[1]) {
      throw new Difference('the viewer is at ' + shown.x + ', ' + shown.y + ', expected ' +
                           expected.join(', ') + ' (the table\'s ' + x + ', ' + y + ')');
    }
  }

  checkSaved(check) {
    const [op, faces] = wordsOf(check.value);
    if (!this.saved) throw new Difference('nothing was saved');
    const expected = path.join(outDir, 'cli-' + check.line + '.obj');
    runCli([op, '--base', this.base, '--mt', this.mt, '-o', expected]
      .concat(faces === 'faces' ? ['--with-faces'] : []));
    const ours = withoutPathLine(this.saved);
    const theirs = withoutPathLine(fs.readFileSync(expected));
    if (ours !== theirs) {
      const a = ours.split('\n');
      const b = theirs.split('\n');
      const at = a.findIndex((line, i) => line !== b[i]);
      throw new Difference('the download differs from calveth-cli ' + check.value + ' at line ' +
        (at + (at >= 2 ? 2 : 1)) + ': ' + JSON.stringify(a[at]) + ' against ' +
        JSON.stringify(b[at]) + ' (' + a.length + ' and ' + b.length + ' lines)');
    }
  }

  async checkPicture(check) {
    const png = path.join(outDir, 'render-' + check.line + '.png');
    runCli(['render', this.base, '-o', png].concat(
      check.value === 'base' ? [] : ['--mt', this.mt, '--op', check.value]));
    const theirs = PNG.sync.read(fs.readFileSync(png));
    const shown = await this.engine.evaluate(canvasPixels);
    const ours = Buffer.from(shown.base64, 'base64');
    if (shown.width !== theirs.width || shown.height !== theirs.height) {
      throw new Difference('the canvas is ' + shown.width + 'x' + shown.height +
                           ', calveth-cli render\'s picture ' + theirs.width + 'x' + theirs.height);
    }
    let differing = 0;
    let firstAt = null;
    for (let y = kTextTop; y < Math.min(kTextBottom, shown.height); ++y) {
      for (let x = 0; x < shown.width; ++x) {
        const k = (y * shown.width + x) * 4;
        if (ours[k] !== theirs.data[k] || ours[k + 1] !== theirs.data[k + 1] ||
            ours[k + 2] !== theirs.data[k + 2]) {
          differing += 1;
          firstAt = firstAt || [x, y, [...ours.subarray(k, k + 3)], [...theirs.data.subarray(k, k + 3)]];
        }
      }
    }
    if (differing > 0) {
      fs.writeFileSync(path.join(outDir, 'canvas-' + check.line + '.png'), PNG.sync.write(
        Object.assign(new PNG({ width: shown.width, height: shown.height }), { data: ours })));
      throw new Difference(differing + ' pixels differ from calveth-cli render ' + check.value +
        ', the first at ' + firstAt[0] + ', ' + firstAt[1] + ': ' + firstAt[2] + ' against ' +
        firstAt[3]);
    }
  }
}

function serve(root) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.png': 'image/png' };
  const server = http.createServer((request, response) => {
    const name = path.join(root, path.normalize(decodeURIComponent(request.url.split('?')[0]))
      .replace(/^\/+$/, '/index.html'));
    fs.readFile(name, (error, bytes) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { 'Content-Type': types[path.extname(name)] || 'application/octet-stream' })
        .end(bytes);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Every scenario on a fresh page from the server; one run from file:// (the base opened).
async function main() {
  fs.mkdirSync(outDir, { recursive: true });
  const scenarios = readScenarios(path.join(scenarioDir, 'dialog_runs.txt'))
    .filter((scenario) => !only || only.includes(scenario.name));
  if (only && scenarios.length !== only.length) throw new Error('no such scenario among ' + only);
  const server = await serve(siteDir);
  const started = Date.now();
  const engine = await kEngines[engineName](process.env);
  const launched = Date.now();
  let failed = false;
  try {
    console.log(engineName + ': ' + await engine.version());
    const url = 'http://127.0.0.1:' + server.address().port + '/';
    for (const scenario of scenarios) {
      const run = new PageRun(engine, url);
      const begun = Date.now();
      await run.start();
      const skipped = [];
      for (const step of scenario.steps) {
        const reason = skippedOn(step, 'web');
        if (reason) {
          skipped.push('line ' + step.line + ' (' + reason + ')');
          continue;
        }
        let at = step;
        try {
          await run.step(step);
          for (const check of step.checks) {
            at = check;
            await run.check(check);
          }
        } catch (error) {
          const what = at === step ? step.action + ' ' + step.words.join(' ')
            : at.what + ' ' + at.value;
          throw new Error(engineName + ': scenario "' + scenario.name + '", line ' + at.line +
                          ' (' + what + '): ' + error.message);
        }
      }
      console.log('  pass  ' + scenario.name + ' (' + (Date.now() - begun) + ' ms)' +
                  (skipped.length ? '; not run: ' + skipped.join(', ') : ''));
    }
    const local = new PageRun(engine, 'file://' + path.resolve(siteDir, 'index.html'));
    await local.start();
    await local.step({ action: 'open', words: ['OpenBase', 'head_base.obj'], checks: [] });
    await local.check({ what: 'status', value: 'OK: Perfect symmetry V=3010 F=3072', line: 0 });
    console.log('  pass  the page from file:// opens a base');
    const screenshot = option('--screenshot');
    if (screenshot) {
      const shot = new PageRun(engine, url);
      await shot.start();
      for (const [action, ...words] of [['open', 'OpenBase', 'head_base.obj'],
        ['open', 'OpenMt', 'head_smile.obj'], ['press', 'MirrorLR'], ['press', 'Viewer']]) {
        await shot.step({ action, words, checks: [] });
      }
      await engine.screenshot(screenshot, { x: 0, y: 0, width: 720, height: 470 });
    }
  } catch (error) {
    console.error('FAIL ' + error.message);
    failed = true;
  } finally {
    await engine.close();
    server.close();
  }
  console.log(engineName + ': started in ' + (launched - started) + ' ms, table run in ' +
              (Date.now() - launched) + ' ms');
  process.exit(failed ? 1 : 0);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
