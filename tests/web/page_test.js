// The page in headless Chromium, driven as a user drives it, against calveth-cli's output.
//
// node page_test.js CALVETH_CLI SITE_DIR SAMPLES_DIR OUT_DIR [SCREENSHOT]
// Every case runs on a fresh page served from 127.0.0.1; one case opens the page from
// file://. Timings are printed, never asserted.
'use strict';

const { chromium } = require('playwright-core');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');

const [cli, siteDir, samples, outDir, screenshot] = process.argv.slice(2);
const chromiumPath = process.env.CALVETH_CHROMIUM || '/usr/bin/chromium';
const sample = (name) => path.join(samples, name);

// The eight generating commands: the button's text and calveth-cli's name.
const kOperations = [
  ['Mirror L->R', 'mirror-l2r'], ['Mirror R->L', 'mirror-r2l'], ['Swap', 'swap'],
  ['Reset L', 'reset-l'], ['Reset R', 'reset-r'], ['-', 'minus'], ['+', 'plus'],
  ['Melt', 'melt'],
];
const kGenerating = kOperations.map(([caption]) => caption).concat(['Save MT']);
const kQuestion = 'Some Points are not symmetrical. Shall I try Auto detection?';

// calveth-cli's printed lines (status texts), whatever its exit status.
function runCli(args) {
  try {
    return execFileSync(cli, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] })
      .trim().split('\n');
  } catch (error) {
    return String(error.stdout).trim().split('\n');
  }
}

// Waits for `predicate` (run in the page, with `arg`) to hold, up to kWaitMs; a wait that
// runs out fails at once, naming what it waited for.
const kWaitMs = 10000;
async function awaitState(page, what, predicate, arg) {
  try {
    await page.waitForFunction(predicate, arg, { timeout: kWaitMs });
  } catch (error) {
    throw new Error('waited ' + kWaitMs / 1000 + ' s in vain for ' + what + ': ' + error.message);
  }
}

function serve(root) {
  const server = http.createServer((request, response) => {
    const name = path.join(root, path.normalize(decodeURIComponent(request.url.split('?')[0]))
      .replace(/^\/+$/, '/index.html'));
    fs.readFile(name, (error, bytes) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      const type = name.endsWith('.html') ? 'text/html' : name.endsWith('.js')
        ? 'text/javascript' : 'image/png';
      response.writeHead(200, { 'Content-Type': type }).end(bytes);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

class Dialog {
  constructor(page) {
    this.page = page;
    this.requests = [];
    page.on('request', (request) => this.requests.push(request.url()));
  }
  button(caption) {
    return this.page.getByRole('button', { name: caption, exact: true });
  }
  status() {
    return this.page.getByRole('status').textContent();
  }
  // Clicks the button and answers its file chooser with the files (none: cancelled).
  async open(caption, files) {
    const chooser = this.page.waitForEvent('filechooser');
    await this.button(caption).click();
    await (await chooser).setFiles(files);
    await this.settled();
  }
  async press(caption) {
    await this.button(caption).click();
    await this.settled();
  }
  // The command has finished: nothing waits for the user and the status has been shown.
  async settled() {
    await awaitState(this.page, 'the command to finish', () => !window.calvethPage.busy);
  }
  async save() {
    const download = this.page.waitForEvent('download');
    await this.button('Save MT').click();
    const file = await download;
    const target = path.join(outDir, 'page-' + file.suggestedFilename());
    await file.saveAs(target);
    await this.settled();
    return { name: file.suggestedFilename(), bytes: fs.readFileSync(target) };
  }
  async disabled(caption) {
    return this.button(caption).isDisabled();
  }
}

// The page's saved file against calveth-cli's: header line 3 holds the download's name
// where calveth-cli writes the full path; every other byte is the same.
function assertSameMt(saved, cliFile) {
  const ours = saved.bytes.toString('latin1').split('\n');
  const theirs = fs.readFileSync(cliFile).toString('latin1').split('\n');
  assert.equal(path.basename(cliFile), saved.name);
  assert.ok(theirs[2].includes(cliFile), 'header line 3 of calveth-cli: ' + theirs[2]);
  assert.equal(ours[2], theirs[2].replace(cliFile, saved.name));
  ours.splice(2, 1);
  theirs.splice(2, 1);
  assert.equal(ours.length, theirs.length);
  assert.ok(ours.join('\n') === theirs.join('\n'), saved.name + ' differs from calveth-cli');
}

const cases = [];
const test = (name, run) => cases.push({ name, run });

test('typical run: base with the question, MT, each command saved as calveth-cli saves it',
  async (dialog) => {
    const started = Date.now();
    const questions = [];
    const chooser = dialog.page.waitForEvent('filechooser');
    await dialog.button('Open Base').click();
    await (await chooser).setFiles(sample('head_base_near.obj'));
    const box = dialog.page.getByRole('dialog');
    await box.waitFor({ state: 'visible' });
    questions.push(await box.locator('p').textContent());
    assert.equal(await dialog.status() !== undefined, true);
    await box.getByRole('button', { name: 'Yes' }).click();
    await dialog.settled();
    assert.deepEqual(questions, [kQuestion]);
    const analysed = runCli(['analyze', sample('head_base_near.obj'), '--auto', 'yes']);
    assert.equal(await dialog.status(), analysed[analysed.length - 1]);
    for (const caption of kGenerating) {
      assert.equal(await dialog.disabled(caption), true, caption + ' before an MT');
    }
    for (const [caption, op] of kOperations) {
      await dialog.open('Open MT', sample('head_smile.obj'));
      await dialog.press(caption);
      const cliDir = fs.mkdtempSync(path.join(outDir, op + '-'));
      const printed = runCli([op, '--base', sample('head_base_near.obj'), '--mt',
        sample('head_smile.obj'), '--out-dir', cliDir, '--auto', 'yes']);
      const saved = await dialog.save();
      assert.equal(await dialog.status(), printed[printed.length - 1], op);
      assertSameMt(saved, path.join(cliDir, saved.name));
    }
    // "e&Xit" ends the session: a fresh start.
    await dialog.press('eXit');
    assert.equal(await dialog.status(), '');
    for (const caption of kGenerating) {
      assert.equal(await dialog.disabled(caption), true, caption + ' after eXit');
    }
    assert.equal(await dialog.disabled('Open Base'), false);
    console.log('  typical run with 8 commands and saves: ' + (Date.now() - started) + ' ms');
  });

test('half MT: only Swap, saved as calveth-cli saves it', async (dialog) => {
  const base = path.join(outDir, 'head_half_base.obj');
  const mt = path.join(outDir, 'head_half_smile.obj');
  fs.writeFileSync(base, '#HALF\n' + fs.readFileSync(sample('head_base.obj'), 'latin1'), 'latin1');
  const lines = fs.readFileSync(sample('head_smile_vertices.obj'), 'latin1').split('\n');
  const vertices = lines.filter((line) => line.startsWith('v '));
  fs.writeFileSync(mt, vertices.slice(0, vertices.length / 2).join('\n') + '\n', 'latin1');
  await dialog.open('Open Base', base);
  await dialog.open('Open MT', mt);
  assert.equal(await dialog.status(), 'OK: CHOOSE SWAP ONLY');
  for (const caption of kGenerating) {
    assert.equal(await dialog.disabled(caption), caption !== 'Swap', caption);
  }
  await dialog.press('Swap');
  const cliDir = fs.mkdtempSync(path.join(outDir, 'half-'));
  const printed = runCli(['swap', '--base', base, '--mt', mt, '--out-dir', cliDir]);
  const saved = await dialog.save();
  assert.equal(await dialog.status(), printed[printed.length - 1]);
  assertSameMt(saved, path.join(cliDir, saved.name));
});

test('refused MT: the same text as calveth-cli, the commands withdrawn', async (dialog) => {
  await dialog.open('Open Base', sample('head_base.obj'));
  await dialog.open('Open MT', sample('hand_left_curl.obj'));
  const printed = runCli(['swap', '--base', sample('head_base.obj'), '--mt',
    sample('hand_left_curl.obj'), '--out-dir', outDir]);
  assert.match(await dialog.status(), /^ERR: MT v line unmatch/);
  assert.equal(await dialog.status(), printed[printed.length - 1]);
  for (const caption of kGenerating) {
    assert.equal(await dialog.disabled(caption), true, caption);
  }
});

test('bad base: the same text as calveth-cli, the page goes on', async (dialog) => {
  const bad = path.join(outDir, 'bad_v_line.obj');
  fs.writeFileSync(bad, 'v 1 2\nv 1 2 3\n');
  await dialog.open('Open Base', bad);
  const printed = runCli(['analyze', bad]);
  assert.equal(await dialog.status(), printed[printed.length - 1]);
  await dialog.open('Open Base', sample('head_base.obj'));
  assert.match(await dialog.status(), /^OK/);
});

test('cancelled file choice changes nothing', async (dialog) => {
  await dialog.open('Open Base', sample('head_base.obj'));
  await dialog.open('Open MT', sample('head_smile.obj'));
  const before = await dialog.status();
  await dialog.open('Open Base', []);
  await dialog.open('Open MT', []);
  assert.equal(await dialog.status(), before);
  assert.equal(await dialog.disabled('Mirror L->R'), false);
  await dialog.press('Mirror L->R');
  assert.match(await dialog.status(), /^OK/);
});

test('too large a file is refused with an ERR text and the page keeps working',
  async (dialog) => {
    await dialog.page.evaluate(() => { window.calvethPage.fileLimit = 1000; });
    await dialog.open('Open Base', sample('head_base.obj'));
    assert.match(await dialog.status(), /^ERR:/);
    await dialog.page.evaluate(() => { window.calvethPage.fileLimit = 512 * 1024 * 1024; });
    await dialog.open('Open Base', sample('head_base.obj'));
    assert.match(await dialog.status(), /^OK/);
  });

test('viewer: "G" shows the panel; its pixels are calveth-cli render\'s outside the texts',
  async (dialog) => {
    await dialog.open('Open Base', sample('head_base.obj'));
    await dialog.open('Open MT', sample('head_smile.obj'));
    await dialog.press('Mirror L->R');
    const panel = dialog.page.getByRole('region', { name: 'Wire Flame Viewer' });
    assert.equal(await panel.isVisible(), false);
    await dialog.press('G');
    assert.equal(await panel.isVisible(), true);
    assert.equal(await panel.locator('.title').textContent(), 'Wire Flame Viewer');
    const png = path.join(outDir, 'render.png');
    runCli(['render', sample('head_base.obj'), '--mt', sample('head_smile.obj'), '--op',
      'mirror-l2r', '-o', png]);
    const differences = await dialog.page.evaluate(async (pngBase64) => {
      const canvas = document.getElementById('viewer');
      const ours = canvas.getContext('2d').getImageData(0, 0, 408, 389).data;
      const image = new Image();
      image.src = 'data:image/png;base64,' + pngBase64;
      await image.decode();
      const scratch = document.createElement('canvas');
      scratch.width = 408;
      scratch.height = 389;
      scratch.getContext('2d').drawImage(image, 0, 0);
      const theirs = scratch.getContext('2d').getImageData(0, 0, 408, 389).data;
      // The texts: the legend row at the bottom and the "Y-axis" label at the top.
      const inText = (x, y) => y >= 380 || y < 16;
      let count = 0;
      let compared = 0;
      for (let y = 0; y < 389; ++y) {
        for (let x = 0; x < 408; ++x) {
          if (inText(x, y)) continue;
          ++compared;
          const k = (y * 408 + x) * 4;
          if (ours[k] !== theirs[k] || ours[k + 1] !== theirs[k + 1] ||
              ours[k + 2] !== theirs[k + 2]) ++count;
        }
      }
      return { count, compared };
    }, fs.readFileSync(png).toString('base64'));
    assert.ok(differences.compared > 100000);
    assert.equal(differences.count, 0, 'pixels differing from calveth-cli render');
    // The panel moves by its title bar, and "G" hides it again.
    const before = await panel.boundingBox();
    const bar = panel.locator('.title');
    const box = await bar.boundingBox();
    await dialog.page.mouse.move(box.x + 50, box.y + 5);
    await dialog.page.mouse.down();
    await dialog.page.mouse.move(box.x + 90, box.y + 45);
    await dialog.page.mouse.up();
    const after = await panel.boundingBox();
    assert.equal(Math.round(after.x - before.x), 40);
    if (screenshot) {
      await dialog.page.screenshot({ path: screenshot, clip: { x: 0, y: 0, width: 760, height: 500 } });
    }
    await dialog.press('G');
    assert.equal(await panel.isVisible(), false);
  });

test('the controls: captions without "&", Alt keys, the letter underlined, check box with its label',
  async (dialog) => {
    const expected = [['Open Base', ''], ['Open MT', 'O'], ['Save MT', 'S'], ['eXit', 'X'],
      ['G', 'G'], ['Mirror L->R', '']];
    for (const [caption, key] of expected) {
      const button = dialog.button(caption);
      assert.equal(await button.getAttribute('aria-keyshortcuts') || '', key ? 'Alt+' + key : '',
        caption);
      assert.equal(await button.locator('u').count(), key ? 1 : 0, caption);
      if (key) {
        assert.equal((await button.locator('u').textContent()).toUpperCase(), key, caption);
      }
    }
    const box = dialog.page.getByLabel('vertex only (for MT)');
    assert.equal(await box.getAttribute('type'), 'checkbox');
    assert.equal(await box.isChecked(), true);
    assert.equal(await box.isDisabled(), true);
  });

test('a dropped .obj opens as the base, the next as the MT', async (dialog) => {
  const drop = async (file) => {
    const text = fs.readFileSync(sample(file), 'latin1');
    const before = await dialog.status();
    await dialog.page.evaluate(([name, content]) => {
      const transfer = new DataTransfer();
      transfer.items.add(new File([content], name));
      document.getElementById('dialog').dispatchEvent(
        new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
    }, [file, text]);
    // Opening the dropped file ends with its own status text, which differs from the one
    // before (nothing, then the base's).
    await awaitState(dialog.page, 'the dropped ' + file + ' to be opened and its status shown',
      (previous) => !window.calvethPage.busy &&
        document.querySelector('[role="status"]').textContent !== previous, before);
  };
  await drop('head_base.obj');
  const base = runCli(['analyze', sample('head_base.obj')]);
  assert.equal(await dialog.status(), base[base.length - 1]);
  await drop('head_smile.obj');
  assert.equal(await dialog.disabled('Mirror L->R'), false);
  await dialog.press('Mirror L->R');
  const printed = runCli(['mirror-l2r', '--base', sample('head_base.obj'), '--mt',
    sample('head_smile.obj'), '--out-dir', fs.mkdtempSync(path.join(outDir, 'drop-'))]);
  assert.equal(await dialog.status(), printed[printed.length - 2]);  // the last is the save's
});

test('Enter and Esc sound the tone and press nothing', async (dialog) => {
  let choosers = 0;
  dialog.page.on('filechooser', () => ++choosers);
  await dialog.button('Open Base').focus();
  await dialog.page.keyboard.press('Enter');
  await dialog.page.keyboard.press('Escape');
  await awaitState(dialog.page, 'the tone of Enter and of Esc',
    () => window.calvethPage.tones >= 2);
  // A file chooser that a key opened would have been asked for before the tones: one more
  // round trip to the page brings its event, if any, before the count is read.
  await dialog.page.evaluate(() => 0);
  assert.equal(choosers, 0);
  assert.equal(await dialog.page.evaluate(() => window.calvethPage.tones), 2);
  assert.equal(await dialog.status(), '');
});

test('a 40000-vertex base opened and painted (timing only)', async (dialog) => {
  const big = path.join(outDir, 'grid_40000.obj');
  const side = 200;
  const text = [];
  for (let j = 0; j < side; ++j) {
    for (let i = 0; i < side; ++i) {
      text.push('v ' + ((i - (side - 1) / 2) / 10).toFixed(6) + ' ' + (j / 10).toFixed(6) + ' 0.0');
    }
  }
  for (let j = 0; j + 1 < side; ++j) {
    for (let i = 0; i + 1 < side; ++i) {
      const a = j * side + i + 1;
      text.push('f ' + a + ' ' + (a + 1) + ' ' + (a + side + 1) + ' ' + (a + side));
    }
  }
  fs.writeFileSync(big, text.join('\n') + '\n');
  await dialog.press('G');
  const chooser = dialog.page.waitForEvent('filechooser');
  await dialog.button('Open Base').click();
  const start = await dialog.page.evaluate(() => performance.now());
  await (await chooser).setFiles(big);
  await dialog.settled();
  const end = await dialog.page.evaluate(() => performance.now());
  assert.match(await dialog.status(), /^OK/);
  const painted = await dialog.page.evaluate(
    () => window.calvethPage.paintedAt - window.calvethPage.fileStoredAt);
  console.log('  40000-vertex base: ' + painted.toFixed(0) + ' ms from the file in memory to ' +
    'the picture on the canvas, ' + (end - start).toFixed(0) + ' ms from the file choice');
});

// A file dropped on the page: its drop event, answered as the browser would see it.
async function dropOn(dialog, selector, file) {
  const text = fs.readFileSync(sample(file), 'latin1');
  const prevented = await dialog.page.evaluate(([where, name, content]) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([content], name));
    const target = document.querySelector(where);
    const over = new DragEvent('dragover', { dataTransfer: transfer, bubbles: true, cancelable: true });
    const drop = new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true });
    return [!target.dispatchEvent(over), !target.dispatchEvent(drop)];
  }, [selector, file, text]);
  await dialog.settled();
  return prevented;
}

const hasFaceLines = (saved) => /^f /m.test(saved.bytes.toString('latin1'));

test('the "vertex only (for MT)" box shows after each click what the next "Save MT" writes',
  async (dialog) => {
    await dialog.open('Open Base', sample('head_base.obj'));
    await dialog.open('Open MT', sample('head_smile.obj'));
    const box = dialog.page.getByLabel('vertex only (for MT)');
    assert.equal(await box.isDisabled(), false);
    let before = await box.isChecked();
    // The box itself and its label, by mouse and by the Space key.
    const clicks = [() => box.click(), () => dialog.page.getByText('vertex only (for MT)').click(),
      async () => { await box.focus(); await dialog.page.keyboard.press('Space'); }, () => box.click()];
    for (const [round, click] of clicks.entries()) {
      await click();
      await dialog.settled();
      const shown = await box.isChecked();
      assert.equal(shown, !before, 'click ' + round + ' toggles the box');
      await dialog.press('Mirror L->R');
      const saved = await dialog.save();
      assert.equal(hasFaceLines(saved), !shown, 'click ' + round + ': the box shows ' + shown +
        ', the save ' + (hasFaceLines(saved) ? 'has' : 'has no') + ' face lines');
      assert.equal(await box.isChecked(), shown, 'click ' + round + ': the save leaves the box');
      before = shown;
    }
  });

test('warnings: shown on the page and in the viewer\'s title while the last command left them',
  async (dialog) => {
    const base = path.join(outDir, 'head_bad_face.obj');
    const text = fs.readFileSync(sample('head_base.obj'), 'latin1');
    fs.writeFileSync(base, text + (text.endsWith('\n') ? '' : '\n') + 'f 1 2\n', 'latin1');
    const line = text.split('\n').length + (text.endsWith('\n') ? 0 : 1);
    const warnings = dialog.page.getByLabel(/^Warnings/);
    assert.equal(await warnings.isVisible(), false, 'no warnings before a command');
    await dialog.press('G');
    await dialog.open('Open Base', base);
    assert.match(await dialog.status(), /^OK/);
    assert.equal(await warnings.isVisible(), true);
    const shown = await warnings.textContent();
    assert.match(shown, new RegExp('^line ' + line + ': F MinERR'));
    const title = await dialog.page.getByRole('region', { name: 'Wire Flame Viewer' })
      .locator('.title').textContent();
    assert.ok(title.startsWith('Wire Flame Viewer') && title.includes(shown.split('\n')[0]), title);
    await dialog.open('Open Base', sample('head_base.obj'));
    assert.equal(await warnings.isVisible(), false, 'a clean base clears them');
    assert.equal(await dialog.page.getByRole('region', { name: 'Wire Flame Viewer' })
      .locator('.title').textContent(), 'Wire Flame Viewer');
  });

test('keys: letters act only with Alt, F3 ends the session', async (dialog) => {
  let choosers = 0;
  dialog.page.on('filechooser', () => ++choosers);
  await dialog.open('Open Base', sample('head_base.obj'));
  const opened = await dialog.status();
  choosers = 0;
  await dialog.button('Open MT').focus();
  for (const key of ['o', 'g', 's', 'x', 'O', 'X']) {
    await dialog.page.keyboard.press(key);
  }
  await dialog.settled();
  assert.equal(choosers, 0, 'a plain letter pressed a button');
  assert.equal(await dialog.status(), opened, 'a plain letter ended the session');
  assert.equal(await dialog.page.getByRole('region', { name: 'Wire Flame Viewer' }).isVisible(),
    false);
  const chooser = dialog.page.waitForEvent('filechooser');
  await dialog.page.keyboard.press('Alt+o');
  await (await chooser).setFiles(sample('head_smile.obj'));
  await dialog.settled();
  assert.equal(await dialog.disabled('Mirror L->R'), false, 'Alt+O opened the MT');
  await dialog.page.keyboard.press('Alt+g');
  assert.equal(await dialog.button('G').getAttribute('aria-pressed'), 'true', 'Alt+G');
  await dialog.page.keyboard.press('F3');
  await dialog.settled();
  assert.equal(await dialog.status(), '', 'F3 ends the session');
  assert.equal(await dialog.disabled('Mirror L->R'), true);
  assert.equal(await dialog.button('G').getAttribute('aria-pressed'), 'false');
});

test('a visible focus ring on every control', async (dialog) => {
  await dialog.open('Open Base', sample('head_base.obj'));
  await dialog.open('Open MT', sample('head_smile.obj'));
  const enabled = await dialog.page.locator('.client button:enabled:visible, .client input:enabled:visible').count();
  const seen = new Map();
  for (let i = 0; i < enabled + 2; ++i) {
    await dialog.page.keyboard.press('Tab');
    const ring = await dialog.page.evaluate(() => {
      const element = document.activeElement;
      const look = () => { const s = getComputedStyle(element); return [s.outlineStyle, s.outlineWidth, s.outlineOffset, s.outlineColor].join(' '); };
      const focused = look();
      const name = element.textContent || (element.labels && element.labels[0].textContent) || element.id;
      return { name, inDialog: !!element.closest('#dialog'), focused, visible: element.matches(':focus-visible') };
    });
    if (ring.inDialog) {
      seen.set(ring.name, ring);
    }
  }
  assert.equal(seen.size, enabled, 'Tab reaches every enabled control: ' + [...seen.keys()]);
  for (const [name, ring] of seen) {
    assert.ok(ring.visible && !ring.focused.startsWith('none') && ring.focused.includes('dotted'),
      name + ' shows no focus ring: ' + ring.focused);
  }
});

test('the question box: Esc answers No, Tab stays inside, the focus comes back', async (dialog) => {
  const chooser = dialog.page.waitForEvent('filechooser');
  await dialog.button('Open Base').click();
  await (await chooser).setFiles(sample('head_base_near.obj'));
  const box = dialog.page.getByRole('dialog');
  await box.waitFor({ state: 'visible' });
  const focusedIn = () => dialog.page.evaluate(() =>
    (document.activeElement.closest('#question') ? 'question ' : 'page ') + document.activeElement.textContent);
  assert.equal(await focusedIn(), 'question Yes');
  for (const [key, expected] of [['Tab', 'question No'], ['Tab', 'question Yes'],
    ['Shift+Tab', 'question No'], ['Shift+Tab', 'question Yes']]) {
    await dialog.page.keyboard.press(key);
    assert.equal(await focusedIn(), expected, key);
  }
  await dialog.page.keyboard.press('Escape');
  await dialog.settled();
  assert.equal(await box.isVisible(), false);
  const analysed = runCli(['analyze', sample('head_base_near.obj'), '--auto', 'no']);
  assert.equal(await dialog.status(), analysed[analysed.length - 1], 'Esc answered No');
  assert.equal(await focusedIn(), 'page Open Base');
  assert.equal(await dialog.page.evaluate(() => window.calvethPage.tones), 0, 'Esc in the box is no refused key');
});

test('a file dropped anywhere is the dialog\'s, never a navigation; the hint says so',
  async (dialog) => {
    assert.equal(await dialog.page.getByText('Drop a base, then an MT').isVisible(), true);
    assert.deepEqual(await dropOn(dialog, 'body', 'head_base.obj'), [true, true]);
    assert.match(await dialog.status(), /^OK/);
    await dialog.press('G');
    assert.deepEqual(await dropOn(dialog, '#viewer', 'head_smile.obj'), [true, true]);
    assert.equal(await dialog.disabled('Mirror L->R'), false, 'the second drop is the MT');
    assert.ok(dialog.page.url().endsWith('/index.html'));
    // The arrows in the viewer turn the view: a new picture.
    const picture = () => dialog.page.evaluate(() => document.getElementById('viewer').toDataURL());
    const before = await picture();
    await dialog.page.locator('#viewer').click();
    await dialog.page.keyboard.press('ArrowRight');
    assert.notEqual(await picture(), before, 'ArrowRight in the viewer turned nothing');
    await dialog.page.keyboard.press('Home');
    assert.equal(await picture(), before, 'Home in the viewer turns the view back');
  });

// The viewer's menu (Shift+F10 in the viewer, or a right click): pairing by the mesh while the
// analysis left vertices unpaired, the four views; a drag on the picture turns the view.
test('the viewer menu pairs by the mesh and turns the view; a drag turns it too', async (dialog) => {
  const answered = dialog.page.getByRole('dialog').waitFor({ state: 'visible' })
    .then(() => dialog.page.getByRole('dialog').getByRole('button', { name: 'No' }).click());
  const chooser = dialog.page.waitForEvent('filechooser');
  await dialog.button('Open Base').click();
  await (await chooser).setFiles(sample('head_base_near.obj'));
  await answered;
  await dialog.settled();
  await dialog.press('G');
  const canvas = dialog.page.locator('#viewer');
  const picture = () => canvas.evaluate((c) => c.toDataURL());
  const front = await picture();
  const menu = dialog.page.getByRole('menu', { name: 'Viewer' });
  const items = async () => menu.getByRole('menuitem').evaluateAll((all) =>
    all.map((item) => item.textContent + (item.disabled ? ' (off)' : '')));
  await canvas.focus();
  await dialog.page.keyboard.press('Shift+F10');
  assert.deepEqual(await items(), ['Pair the rest by the mesh', 'Front', 'Left', 'Right', 'Back']);
  await menu.getByRole('menuitem', { name: 'Pair the rest by the mesh' }).click();
  assert.equal(await menu.isVisible(), false);
  const paired = runCli(['analyze', sample('head_base_near.obj'), '--auto', 'no', '--pair-by-mesh']);
  assert.equal(await dialog.status(), paired[paired.length - 1]);
  await canvas.click({ button: 'right', position: { x: 50, y: 50 } });
  assert.equal((await items())[0], 'Pair the rest by the mesh (off)');
  await menu.getByRole('menuitem', { name: 'Left' }).click();
  const left = await picture();
  assert.notEqual(left, front);
  const box = await canvas.boundingBox();
  await dialog.page.mouse.move(box.x + 100, box.y + 100);
  await dialog.page.mouse.down();
  await dialog.page.mouse.move(box.x + 190, box.y + 100, { steps: 3 });
  await dialog.page.mouse.up();
  assert.notEqual(await picture(), left, 'a drag of 90 pixels turned the view back to the front');
});

test('the viewer panel: close box, kept inside the window, no scroll bars, dialog to the front',
  async (dialog) => {
    const panel = dialog.page.getByRole('region', { name: 'Wire Flame Viewer' });
    await dialog.press('G');
    const bar = panel.locator('.caption');
    const drag = async (dx, dy) => {
      const box = await bar.boundingBox();
      await dialog.page.mouse.move(box.x + 20, box.y + 5);
      await dialog.page.mouse.down();
      await dialog.page.mouse.move(box.x + 20 + dx, box.y + 5 + dy, { steps: 4 });
      await dialog.page.mouse.up();
    };
    const viewport = dialog.page.viewportSize();
    for (const [dx, dy] of [[5000, 5000], [-5000, -5000], [5000, -5000]]) {
      await drag(dx, dy);
      const place = await panel.boundingBox();
      assert.ok(place.x >= 0 && place.y >= 0 && place.x + place.width <= viewport.width + 0.5 &&
        place.y + place.height <= viewport.height + 0.5, 'outside the window: ' + JSON.stringify(place));
      assert.deepEqual(await dialog.page.evaluate(() => [
        document.documentElement.scrollWidth <= document.documentElement.clientWidth,
        document.documentElement.scrollHeight <= document.documentElement.clientHeight]), [true, true],
        'scroll bars after a drag by ' + dx + ',' + dy);
    }
    // Over the right half of the dialog: a click on its left half brings it to the front.
    const under = await dialog.button('G').boundingBox();
    const now = await panel.boundingBox();
    await drag(under.x - 4 - now.x, 0 - now.y);
    const topAt = () => dialog.page.evaluate(([x, y]) =>
      document.elementFromPoint(x, y).closest('.window').id, [under.x + 3, under.y + 3]);
    assert.equal(await topAt(), 'viewer-panel');
    await dialog.page.locator('#dialog .title').click({ position: { x: 5, y: 5 } });
    assert.equal(await topAt(), 'dialog');
    // The close box closes it as "G" does, and "G" brings it back where it was.
    await drag(150, 100);
    const before = await panel.boundingBox();
    await panel.getByRole('button', { name: 'Close' }).click();
    assert.equal(await panel.isVisible(), false);
    assert.equal(await dialog.button('G').getAttribute('aria-pressed'), 'false');
    await dialog.press('G');
    assert.deepEqual(await panel.boundingBox(), before);
  });

(async () => {
  fs.mkdirSync(outDir, { recursive: true });
  const browser = await chromium.launch({
    executablePath: chromiumPath,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-quic'],
    // playwright gives the browser a fresh profile of its own, removed afterwards.
  });
  const server = await serve(siteDir);
  const url = 'http://127.0.0.1:' + server.address().port + '/index.html';
  let failed = 0;
  const startPage = async (address) => {
    const context = await browser.newContext({ acceptDownloads: true });
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    // A typical run leaves the console quiet: any warning or error fails the case.
    page.on('console', (message) => {
      if (message.type() === 'warning' || message.type() === 'error') {
        errors.push(message.type() + ': ' + message.text());
      }
    });
    await page.goto(address);
    await page.waitForSelector('body[data-ready="true"]');
    return { context, page, errors };
  };
  try {
    const { context, page } = await startPage('file://' + path.resolve(siteDir, 'index.html'));
    console.log('  from file://: ready after ' +
      (await page.evaluate(() => window.calvethReadyMs)).toFixed(0) + ' ms');
    await context.close();
  } catch (error) {
    ++failed;
    console.log('FAIL the page from file://\n' + error.stack);
  }
  for (const { name, run } of cases) {
    const { context, page, errors } = await startPage(url);
    const dialog = new Dialog(page);
    try {
      if (name.startsWith('typical')) {
        console.log('  from 127.0.0.1: ready after ' +
          (await page.evaluate(() => window.calvethReadyMs)).toFixed(0) + ' ms');
      }
      await run(dialog);
      assert.deepEqual(errors, []);
      const outside = dialog.requests.filter((address) => !address.startsWith(url.replace(/index\.html$/, '')) &&
        !address.startsWith('data:') && !address.startsWith('blob:'));
      assert.deepEqual(outside, [], 'requests beyond the page');
      console.log('ok   ' + name);
    } catch (error) {
      ++failed;
      console.log('FAIL ' + name + '\n' + error.stack);
    }
    await context.close();
  }
  server.close();
  await browser.close();
  console.log((cases.length + 1 - failed) + ' of ' + (cases.length + 1) + ' passed');
  process.exit(failed === 0 ? 0 : 1);
})();
