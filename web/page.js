// The page: the dialog built from the module's own layout, the user's clicks, keys and drops
// passed on to the module's dialog session, and what the session shows put into the page's
// elements. Appended to the module's script, so the site has one script. Nothing is sent
// anywhere: files are read from the user's choice into the module's memory and saved files
// are offered as downloads.
(function () {
  'use strict';

  const elements = new Map();     // control id -> the element that shows it
  const byId = (id) => document.getElementById(id);
  let layout = null;
  let droppedFile = null;         // taken by the next file choice instead of the chooser
  let audio = null;

  const page = {
    // Files larger than this are refused before they reach the module's memory.
    fileLimit: 512 * 1024 * 1024,
    busy: false,            // read by the tests: a command waits for the user
    tones: 0,               // how many tones were sounded
    setStatus(text) {
      elements.get(layout.statusId).textContent = text;
    },
    setWarnings(text) {
      const box = byId('warnings');
      box.textContent = text;
      box.hidden = text === '';
      box.setAttribute('aria-label', 'Warnings: ' + (text ? text.split('\n').length : 0));
    },
    setEnabled(id, enabled) {
      const element = elements.get(id);
      if (element && 'disabled' in element) {
        element.disabled = !enabled;
      }
    },
    setChecked(id, checked) {
      const element = elements.get(id);
      if (element && element.type === 'checkbox') {
        element.checked = checked;
      } else if (element) {
        element.setAttribute('aria-pressed', checked ? 'true' : 'false');
      }
    },
    setProgress(maximum, value) {
      const bar = elements.get(layout.progressId);
      bar.max = Math.max(maximum, 1);
      bar.value = value;
    },
    chooseOpenFile(folder, accept) {
      return chooseFile(accept).then((file) => (file ? storeFile(folder, file) : null));
    },
    askYesNo: ask,
    drawText: drawText,
    showViewer(x, y, placed) {
      const panel = byId('viewer-panel');
      panel.hidden = false;
      if (placed) {
        placePanel(x, y);
      }
      toFront(panel);
    },
    viewerLeft: () => byId('viewer-panel').offsetLeft,
    viewerTop: () => byId('viewer-panel').offsetTop,
    hideViewer() {
      byId('viewer-panel').hidden = true;
    },
    showPicture(pointer, width, height) {
      const bytes = new Uint8ClampedArray(HEAPU8.buffer, pointer, width * height * 4);
      viewerContext().putImageData(new ImageData(bytes.slice(), width, height), 0, 0);
      page.paintedAt = performance.now();
    },
    setViewerTitle(title) {
      byId('viewer-panel').querySelector('.caption').textContent = title;
    },
    tone(hz, ms) {
      page.tones += 1;
      try {
        audio = audio || new AudioContext();
        const oscillator = audio.createOscillator();
        oscillator.frequency.value = hz;
        oscillator.connect(audio.destination);
        oscillator.start();
        oscillator.stop(audio.currentTime + ms / 1000);
      } catch (error) {
        // A browser without sound: the key is refused all the same.
      }
    },
    // "e&Xit": the files of the ended session leave the module's memory.
    endSession() {
      for (const folder of FS.readdir('/open')) {
        if (folder !== '.' && folder !== '..') {
          clearFolder('/open/' + folder);
        }
      }
    },
  };
  Module.page = page;
  window.calvethPage = page;

  // The viewer's picture is read back by the tests and the text painter: a context made for it.
  function viewerContext() {
    return byId('viewer').getContext('2d', { willReadFrequently: true });
  }

  // A call into the module. Its answer at once, or, when the command waits for the user (a
  // file choice, the question), 1 (it took the click or key) while the page lets no other
  // click through until the command has finished.
  function call(name, types, args) {
    const answer = Module.ccall(name, 'number', types, args);
    if (!(answer instanceof Promise)) {
      offerSavedFiles();
      return answer;
    }
    page.busy = true;
    answer.finally(() => {
      page.busy = false;
      offerSavedFiles();
    });
    return 1;
  }
  const press = (id) => (page.busy ? 0 : call('calveth_press', ['number'], [id]));

  // The file the user picks for the command, or null when the choice is cancelled.
  function chooseFile(accept) {
    if (droppedFile) {
      const file = droppedFile;
      droppedFile = null;
      return Promise.resolve(file);
    }
    const input = byId('file-choice');
    input.value = '';
    input.accept = accept;
    return new Promise((resolve) => {
      const done = (file) => {
        input.onchange = input.oncancel = null;
        resolve(file);
      };
      input.onchange = () => done(input.files.length > 0 ? input.files[0] : null);
      input.oncancel = () => done(null);
      input.click();
    });
  }

  // Puts the file into its folder of the module's file system under its own name, the
  // folder's previous file removed. A file that cannot be read, or is too large for the page,
  // becomes a path with nothing behind it: the command then says the file did not open.
  async function storeFile(folder, file) {
    FS.mkdirTree(folder);
    clearFolder(folder);
    const path = folder + '/' + file.name.replace(/\//g, '_');
    if (file.size <= page.fileLimit) {
      try {
        FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
        page.fileStoredAt = performance.now();
      } catch (error) {
        try { FS.unlink(path); } catch (ignored) { /* never written */ }
      }
    }
    return path;
  }
  function clearFolder(folder) {
    for (const name of FS.readdir(folder)) {
      if (name !== '.' && name !== '..') {
        FS.unlink(folder + '/' + name);
      }
    }
  }

  // Each file the command saved goes to the user as a download and leaves the module.
  function offerSavedFiles() {
    for (const name of FS.readdir(layout.saveFolder)) {
      if (name === '.' || name === '..') {
        continue;
      }
      const path = layout.saveFolder + '/' + name;
      const bytes = FS.readFile(path);
      FS.unlink(path);
      const link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([bytes], { type: 'model/obj' }));
      link.download = name;
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    }
  }

  // The question in the page's own modal box: Yes is the default answer, Esc answers No, Tab
  // stays between the two answers, and the focus goes back where it was.
  function ask(question) {
    const box = byId('question');
    const [yes, no] = box.querySelectorAll('button');
    const before = document.activeElement;
    box.querySelector('p').textContent = question;
    box.hidden = false;
    yes.focus();
    return new Promise((resolve) => {
      const answer = (value) => {
        yes.onclick = no.onclick = box.onkeydown = null;
        box.hidden = true;
        (before && before !== document.body ? before : elements.get(layout.firstId)).focus();
        resolve(value);
      };
      yes.onclick = () => answer(true);
      no.onclick = () => answer(false);
      box.onkeydown = (event) => {
        if (event.key === 'Escape') {
          event.preventDefault();
          answer(false);
        } else if (event.key === 'Tab') {
          event.preventDefault();
          (document.activeElement === yes ? no : yes).focus();
        }
      };
    });
  }

  // A legend text on its box, drawn by the 2-D context and copied into the viewer's pixels.
  const textCanvas = document.createElement('canvas');
  const textContext = () => textCanvas.getContext('2d', { willReadFrequently: true });

  // The font's ascent and descent in whole pixels, the same in every engine: each engine
  // rounds the font's own extents at the asked size its own way (Firefox upwards, 9 px Arial
  // then has an ascent of 9 where Chromium and WebKit have 8, which moved the legend's text
  // and made the dialog taller), so they are measured at 1000 px, where they are whole
  // numbers, and scaled.
  function fontExtents(context, font) {
    const size = /(\d+(?:\.\d+)?)px/.exec(font);
    const pixels = size ? Number(size[1]) : 10;
    context.font = font.replace(/\d+(?:\.\d+)?px/, '1000px');
    const metrics = context.measureText('M');
    context.font = font;
    return [Math.round(metrics.fontBoundingBoxAscent * pixels / 1000),
            Math.round(metrics.fontBoundingBoxDescent * pixels / 1000)];
  }
  function drawText(pixels, width, height, stride, x, y, text, face, pixelHeight, colour,
                    background) {
    const css = (rgb) => '#' + rgb.toString(16).padStart(6, '0');
    const font = Math.max(pixelHeight, 1) + 'px ' + (face ? '"' + face +
      '", "Liberation Sans", Arimo, Helvetica, sans-serif' : 'sans-serif');
    const context = textContext();
    const [ascent, descent] = fontExtents(context, font);
    const boxWidth = Math.max(Math.round(context.measureText(text).width), 1);
    const boxHeight = Math.max(ascent + descent, 1);
    textCanvas.width = boxWidth;
    textCanvas.height = boxHeight;
    Object.assign(context, { font, fillStyle: css(background) });  // the resize reset them
    context.fillRect(0, 0, boxWidth, boxHeight);
    context.fillStyle = css(colour);
    context.fillText(text, 0, ascent);
    const box = context.getImageData(0, 0, boxWidth, boxHeight).data;
    const left = Math.max(x, 0);
    const right = Math.min(x + boxWidth, width);
    for (let row = 0; row < boxHeight && right > left; ++row) {
      if (y + row >= 0 && y + row < height) {
        const from = (row * boxWidth + (left - x)) * 4;
        HEAPU8.set(box.subarray(from, from + (right - left) * 4),
                   pixels + ((y + row) * stride + left) * 4);
      }
    }
  }

  // The caption with its mnemonic letter underlined, as the desktop shows it.
  function captionInto(element, caption) {
    const at = caption.indexOf('&');
    if (at < 0 || at + 1 >= caption.length) {
      element.append(caption);
      return;
    }
    const letter = caption[at + 1];
    element.append(caption.slice(0, at),
                   Object.assign(document.createElement('u'), { textContent: letter }),
                   caption.slice(at + 2));
    element.setAttribute('aria-keyshortcuts', 'Alt+' + letter.toUpperCase());
  }

  // The dialog font's base units: the width of the 52 letters and the line height.
  function fontMeasures(dialog) {
    const context = textContext();
    const [ascent, descent] = fontExtents(context, getComputedStyle(dialog).font);
    const alphabet = context.measureText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
    return [Math.round(alphabet.width), ascent + descent];
  }

  function createControl(entry) {
    switch (entry.kind) {
      case 'PushButton':
      case 'PushCheckBox': {
        const button = Object.assign(document.createElement('button'), { type: 'button' });
        captionInto(button, entry.caption);
        if (entry.kind === 'PushCheckBox') {
          button.setAttribute('aria-pressed', 'false');
        }
        button.classList.toggle('default-frame', entry.defaultFrame);
        button.onclick = () => press(entry.id);
        return [button, button];
      }
      case 'CheckBox': {
        const placed = Object.assign(document.createElement('span'), { className: 'check' });
        const box = Object.assign(document.createElement('input'),
                                  { type: 'checkbox', id: 'control-' + entry.id });
        const label = Object.assign(document.createElement('label'), { htmlFor: box.id });
        captionInto(label, entry.caption);
        placed.append(box, label);
        // The browser toggles the box and the session then sets what it holds; while a
        // command waits for the user the click is not taken, and the box stays as it was.
        box.onclick = (event) => {
          if (!press(entry.id)) {
            event.preventDefault();
          }
        };
        return [placed, box];
      }
      case 'StatusEdit': {
        const line = Object.assign(document.createElement('div'), { className: 'status' });
        line.setAttribute('role', 'status');
        layout.statusId = entry.id;
        return [line, line];
      }
      case 'GroupBox': {
        const frame = document.createElement('fieldset');
        frame.append(Object.assign(document.createElement('legend'),
                                   { textContent: entry.caption }));
        return [frame, null];
      }
      case 'Slider':
        return [Object.assign(document.createElement('input'), { type: 'range' }), null];
      case 'ProgressBar': {
        const bar = Object.assign(document.createElement('progress'), { max: 1, value: 0 });
        layout.progressId = entry.id;
        return [bar, bar];
      }
      default:
        return [Object.assign(document.createElement('div'),
                              { className: 'banner', textContent: 'CALVETH II' }), null];
    }
  }

  function buildDialog() {
    const dialog = byId('dialog');
    layout = JSON.parse(UTF8ToString(Module.ccall('calveth_layout', 'number',
                                                  ['number', 'number'], fontMeasures(dialog))));
    const body = dialog.querySelector('.client');
    dialog.querySelector('.title').textContent = layout.caption;
    body.style.width = layout.width + 'px';
    body.style.height = layout.height + 'px';
    for (const entry of layout.controls) {
      const [placed, element] = createControl(entry);
      Object.assign(placed.style, { left: entry.x + 'px', top: entry.y + 'px',
                                    width: entry.w + 'px', height: entry.h + 'px' });
      placed.hidden = !entry.visible;
      if (element && 'disabled' in element) {
        element.disabled = !entry.enabled;
      }
      if (element && !entry.tabStop) {
        element.tabIndex = -1;
      }
      body.appendChild(placed);
      if (entry.id !== 0 && element) {
        elements.set(entry.id, element);
        layout.firstId = layout.firstId || entry.id;
      }
    }
    FS.mkdirTree('/open');
    const viewer = byId('viewer');
    viewer.width = layout.viewerWidth;
    viewer.height = layout.viewerHeight;
    viewerContext();
  }

  // A file dropped anywhere on the page is the dialog's: the base, or the MT once a base is
  // open. The browser never opens it in place of the page.
  function acceptDrops() {
    document.addEventListener('dragover', (event) => event.preventDefault());
    document.addEventListener('drop', (event) => {
      event.preventDefault();
      const file = event.dataTransfer && event.dataTransfer.files[0];
      if (!file || page.busy) {
        return;
      }
      droppedFile = file;
      call('calveth_drop', [], []);
      droppedFile = null;  // a refused drop leaves it unused
    });
  }

  // Every key goes to the session first (browser shortcuts with Ctrl or Meta excepted); what
  // it takes, the browser does not act on. The question box keeps its keys.
  function passKeys() {
    document.addEventListener('keydown', (event) => {
      // The question box and the viewer's menu keep their keys.
      if (!byId('question').hidden || !byId('viewer-menu').hidden || page.busy ||
          event.ctrlKey || event.metaKey) {
        return;
      }
      const inViewer = byId('viewer-panel').contains(event.target) ? 1 : 0;
      if (call('calveth_key', ['string', 'number', 'string', 'number'],
               [event.key, inViewer, event.code, event.altKey ? 1 : 0])) {
        event.preventDefault();
      }
    }, true);
  }

  // The viewer panel: moved by its title bar, kept inside the window, closed by its close
  // box; a click on the panel or on the dialog brings it to the front.
  function placePanel(x, y) {
    const panel = byId('viewer-panel');
    const room = document.documentElement;
    panel.style.left = Math.max(0, Math.min(x, room.clientWidth - panel.offsetWidth)) + 'px';
    panel.style.top = Math.max(0, Math.min(y, room.clientHeight - panel.offsetHeight)) + 'px';
  }
  function toFront(window) {
    for (const other of document.querySelectorAll('.window')) {
      other.style.zIndex = other === window ? 2 : 1;
    }
  }
  function panelAndDialog() {
    const panel = byId('viewer-panel');
    const bar = panel.querySelector('.title');
    for (const window of document.querySelectorAll('.window')) {
      window.addEventListener('pointerdown', () => toFront(window), true);
    }
    bar.addEventListener('pointerdown', (event) => {
      if (event.target.closest('button')) {
        return;
      }
      const startX = event.clientX - panel.offsetLeft;
      const startY = event.clientY - panel.offsetTop;
      bar.setPointerCapture(event.pointerId);
      bar.onpointermove = (e) => placePanel(e.clientX - startX, e.clientY - startY);
      bar.onpointerup = () => { bar.onpointermove = bar.onpointerup = null; };
    });
    viewerMenuAndDrag(panel);
    panel.querySelector('.close').onclick = () => {
      const [x, y] = [panel.offsetLeft, panel.offsetTop];
      panel.hidden = true;
      Module._calveth_viewer_closed(x, y);
    };
  }

  // The viewer's menu (a right click, Shift+F10 or the menu key) with the entries and their
  // availability from the session, and a horizontal drag on the picture turning the view.
  function viewerMenuAndDrag(panel) {
    const canvas = byId('viewer');
    const menu = byId('viewer-menu');
    const close = () => { menu.hidden = true; canvas.focus(); };
    const open = (x, y) => {
      if (page.busy) {
        return;
      }
      menu.replaceChildren();
      for (const item of JSON.parse(UTF8ToString(Module._calveth_viewer_menu()))) {
        const entry = Object.assign(document.createElement('button'),
                                    { type: 'button', textContent: item.caption,
                                      disabled: !item.enabled });
        entry.setAttribute('role', 'menuitem');
        entry.onclick = () => { close(); Module._calveth_viewer_choose(item.entry); };
        menu.append(entry);
      }
      menu.style.left = x + 'px';
      menu.style.top = y + 'px';
      menu.hidden = false;
      (menu.querySelector('button:not(:disabled)') || menu).focus();
    };
    canvas.addEventListener('contextmenu', (event) => {
      event.preventDefault();
      open(event.clientX - panel.offsetLeft, event.clientY - panel.offsetTop);
    });
    panel.addEventListener('keydown', (event) => {
      if (event.key === 'ContextMenu' || (event.key === 'F10' && event.shiftKey)) {
        event.preventDefault();
        open(canvas.offsetLeft + canvas.width / 2, canvas.offsetTop + canvas.height / 2);
      } else if (event.key === 'Escape' && !menu.hidden) {
        event.stopPropagation();
        close();
      }
    });
    document.addEventListener('pointerdown', (event) => {
      if (!menu.hidden && !menu.contains(event.target)) {
        menu.hidden = true;
      }
    });
    canvas.addEventListener('pointerdown', (event) => {
      if (event.button !== 0 || page.busy) {
        return;
      }
      let lastX = event.clientX;
      canvas.setPointerCapture(event.pointerId);
      canvas.onpointermove = (e) => {
        Module._calveth_viewer_drag(e.clientX - lastX);
        lastX = e.clientX;
      };
      canvas.onpointerup = () => { canvas.onpointermove = canvas.onpointerup = null; };
    });
  }

  Module.onRuntimeInitialized = function () {
    buildDialog();
    acceptDrops();
    passKeys();
    panelAndDialog();
    Module._calveth_start();
    window.calvethReadyMs = performance.now();
    document.body.dataset.ready = 'true';
  };
})();
