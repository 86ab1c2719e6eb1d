// The page: the dialog built from the module's own layout, its controls passed on to the
// commands, and what the commands report shown in the page's elements. Appended to the
// module's script, so the site has one script. Nothing is sent anywhere: files are read
// from the user's choice into the module's memory and saved files are offered as downloads.
(function () {
  'use strict';

  const Kind = { PushButton: 0, CheckBox: 1, PushCheckBox: 2, StatusEdit: 3, GroupBox: 4,
                 Slider: 5, ProgressBar: 6, Picture: 7 };
  const Id = { Exit: 1, SaveMt: 4, OpenBase: 5, OpenMt: 9, StatusLine: 1001, Viewer: 1005,
               Progress: 1007 };
  const kToneHz = 570;
  const kToneMs = 500;
  const kOpenFolder = '/open';
  const kSaveFolder = '/save';

  const elements = new Map();     // control id -> the element that shows it
  const fileInputs = new Map();   // "Open Base" / "&Open MT" -> its <input type="file">
  let busy = false;               // a command runs (maybe waiting for the user)
  let droppedFile = null;         // taken by the next file choice instead of the chooser
  let audio = null;

  const page = {
    // Files larger than this are refused before they reach the module's memory.
    fileLimit: 512 * 1024 * 1024,
    busy: false,            // read by the tests: a command is running
    lastCommandMs: 0,
    tones: 0,               // how many refused-key tones were sounded       // how long the last command took, waits for the user included
    setStatus(text) {
      elements.get(Id.StatusLine).textContent = text;
    },
    setEnabled(id, enabled) {
      const element = elements.get(id);
      if (element) {
        element.disabled = !enabled;
      }
    },
    setChecked(id, checked) {
      const element = elements.get(id);
      if (!element) {
        return;
      }
      if (element.type === 'checkbox') {
        element.checked = checked;
      } else {
        element.setAttribute('aria-pressed', checked ? 'true' : 'false');
      }
    },
    setProgressRange(low, high) {
      const bar = elements.get(Id.Progress);
      bar.dataset.low = String(low);
      bar.max = Math.max(high - low, 1);
    },
    setProgress(position) {
      const bar = elements.get(Id.Progress);
      const low = Number(bar.dataset.low || 0);
      bar.value = Math.min(Math.max(position - low, 0), bar.max);
    },
    warn(text) {
      console.warn(text);
    },
    chooseOpenFile(control) {
      return chooseFile(control).then((file) => (file ? storeFile(control, file) : null));
    },
    askYesNo(question) {
      return ask(question);
    },
    drawText: drawText,
    viewerPainted(pointer, width, height) {
      const canvas = document.getElementById('viewer');
      const bytes = new Uint8ClampedArray(HEAPU8.buffer, pointer, width * height * 4);
      canvas.getContext('2d').putImageData(new ImageData(bytes.slice(), width, height), 0, 0);
      page.paintedAt = performance.now();
    },
  };
  Module.page = page;
  window.calvethPage = page;

  // The file the user picks for the command, or null when the choice is cancelled.
  function chooseFile(control) {
    if (droppedFile) {
      const file = droppedFile;
      droppedFile = null;
      return Promise.resolve(file);
    }
    const input = fileInputs.get(control);
    input.value = '';
    return new Promise((resolve) => {
      const done = (file) => {
        input.removeEventListener('change', changed);
        input.removeEventListener('cancel', cancelled);
        resolve(file);
      };
      const changed = () => done(input.files.length > 0 ? input.files[0] : null);
      const cancelled = () => done(null);
      input.addEventListener('change', changed);
      input.addEventListener('cancel', cancelled);
      input.click();
    });
  }

  // Puts the file into the module's file system under its own name, the previous file of
  // the same command removed. A file that cannot be read, or is too large for the page,
  // becomes a path with nothing behind it: the command then says the file did not open.
  async function storeFile(control, file) {
    const folder = kOpenFolder + '/' + control;
    clearFolder(folder);
    const path = folder + '/' + file.name.replace(/\//g, '_');
    if (file.size > page.fileLimit) {
      return path;
    }
    try {
      FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
      page.fileStoredAt = performance.now();
    } catch (error) {
      console.warn('could not read ' + file.name + ': ' + error);
      try { FS.unlink(path); } catch (ignored) { /* never written */ }
    }
    return path;
  }

  // The question in the page's own modal box; Yes is the default answer.
  function ask(question) {
    const box = document.getElementById('question');
    box.querySelector('p').textContent = question;
    box.hidden = false;
    const yes = box.querySelector('button[data-answer="yes"]');
    const no = box.querySelector('button[data-answer="no"]');
    yes.focus();
    return new Promise((resolve) => {
      const answer = (value) => {
        yes.onclick = null;
        no.onclick = null;
        box.hidden = true;
        resolve(value);
      };
      yes.onclick = () => answer(true);
      no.onclick = () => answer(false);
    });
  }

  // A legend text on its box, drawn by the 2-D context and copied into the viewer's pixels.
  const textCanvas = document.createElement('canvas');
  function fontOf(face, pixelHeight) {
    const family = face ? '"' + face + '", "Liberation Sans", Arimo, Helvetica, sans-serif'
                        : 'sans-serif';
    return Math.max(pixelHeight, 1) + 'px ' + family;
  }
  function drawText(pixels, width, height, stride, x, y, text, face, pixelHeight, colour,
                    background) {
    const css = (rgb) => '#' + rgb.toString(16).padStart(6, '0');
    let context = textCanvas.getContext('2d', { willReadFrequently: true });
    context.font = fontOf(face, pixelHeight);
    const metrics = context.measureText(text);
    const ascent = Math.ceil(metrics.fontBoundingBoxAscent);
    const boxWidth = Math.max(Math.round(metrics.width), 1);
    const boxHeight = Math.max(ascent + Math.ceil(metrics.fontBoundingBoxDescent), 1);
    textCanvas.width = boxWidth;
    textCanvas.height = boxHeight;
    context = textCanvas.getContext('2d', { willReadFrequently: true });
    context.font = fontOf(face, pixelHeight);
    context.fillStyle = css(background);
    context.fillRect(0, 0, boxWidth, boxHeight);
    context.fillStyle = css(colour);
    context.textBaseline = 'alphabetic';
    context.fillText(text, 0, ascent);
    const box = context.getImageData(0, 0, boxWidth, boxHeight).data;
    for (let row = 0; row < boxHeight; ++row) {
      const pictureY = y + row;
      if (pictureY < 0 || pictureY >= height) {
        continue;
      }
      const left = Math.max(x, 0);
      const right = Math.min(x + boxWidth, width);
      if (right <= left) {
        continue;
      }
      const from = (row * boxWidth + (left - x)) * 4;
      HEAPU8.set(box.subarray(from, from + (right - left) * 4),
                 pixels + (pictureY * stride + left) * 4);
    }
  }

  function tone() {
    page.tones += 1;
    try {
      audio = audio || new AudioContext();
      const oscillator = audio.createOscillator();
      oscillator.frequency.value = kToneHz;
      oscillator.connect(audio.destination);
      oscillator.start();
      oscillator.stop(audio.currentTime + kToneMs / 1000);
    } catch (error) {
      console.warn('no tone: ' + error);
    }
  }

  // A click on a control: "&G" and "e&Xit" are the page's own, the rest go to the commands.
  async function press(id) {
    if (busy) {
      return;
    }
    if (id === Id.Viewer) {
      toggleViewer();
      return;
    }
    if (id === Id.Exit) {
      endSession();
      return;
    }
    busy = page.busy = true;
    const started = performance.now();
    try {
      await Module.ccall('calveth_press', 'number', ['number'], [id], { async: true });
    } finally {
      busy = page.busy = false;
      page.lastCommandMs = performance.now() - started;
    }
    offerSavedFiles();
  }

  // Each file the command saved goes to the user as a download and leaves the module.
  function offerSavedFiles() {
    for (const name of FS.readdir(kSaveFolder)) {
      if (name === '.' || name === '..') {
        continue;
      }
      const path = kSaveFolder + '/' + name;
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

  function viewerShown() {
    return !document.getElementById('viewer-panel').hidden;
  }

  function toggleViewer() {
    const panel = document.getElementById('viewer-panel');
    const shown = !viewerShown();
    panel.hidden = !shown;
    page.setChecked(Id.Viewer, shown);
    Module._calveth_show_viewer(shown ? 1 : 0);
  }

  // "e&Xit": the session ends and a fresh one starts, as if the page had just opened.
  function endSession() {
    if (viewerShown()) {
      toggleViewer();
    }
    for (const id of fileInputs.keys()) {
      clearFolder(kOpenFolder + '/' + id);
    }
    const bar = elements.get(Id.Progress);
    bar.value = 0;
    page.setStatus('');
    Module._calveth_start();
  }
  function clearFolder(folder) {
    for (const name of FS.readdir(folder)) {
      if (name !== '.' && name !== '..') {
        FS.unlink(folder + '/' + name);
      }
    }
  }

  // The caption without its "&", and the letter after it as the access key.
  function captionParts(caption) {
    const at = caption.indexOf('&');
    if (at < 0 || at + 1 >= caption.length) {
      return { text: caption, key: '' };
    }
    return { text: caption.slice(0, at) + caption.slice(at + 1),
             key: caption[at + 1].toLowerCase() };
  }

  // Dialog units to pixels with the dialog font's metrics, as a dialog of the desktop does.
  function baseUnits(dialog) {
    const context = textCanvas.getContext('2d');
    context.font = getComputedStyle(dialog).font;
    const alphabet = context.measureText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
    const height = Math.ceil(alphabet.fontBoundingBoxAscent + alphabet.fontBoundingBoxDescent);
    return { width: (Math.floor(Math.round(alphabet.width) / 26) + 1) >> 1, height: height };
  }
  const mulDivRounded = (a, b, c) => Math.round((a * b) / c);

  function buildDialog() {
    const layout = JSON.parse(UTF8ToString(Module._calveth_dialog_template()));
    const dialog = document.getElementById('dialog');
    const body = dialog.querySelector('.client');
    const units = baseUnits(dialog);
    const place = (element, entry) => {
      element.style.left = mulDivRounded(entry.x, units.width, 4) + 'px';
      element.style.top = mulDivRounded(entry.y, units.height, 8) + 'px';
      element.style.width = mulDivRounded(entry.w, units.width, 4) + 'px';
      element.style.height = mulDivRounded(entry.h, units.height, 8) + 'px';
    };
    dialog.querySelector('.title').textContent = layout.caption;
    body.style.width = mulDivRounded(layout.width, units.width, 4) + 'px';
    body.style.height = mulDivRounded(layout.height, units.height, 8) + 'px';
    for (const entry of layout.controls) {
      const caption = captionParts(entry.caption);
      let element;
      let placed;
      switch (entry.kind) {
        case Kind.PushButton:
        case Kind.PushCheckBox:
          element = document.createElement('button');
          element.type = 'button';
          element.textContent = caption.text;
          if (entry.kind === Kind.PushCheckBox) {
            element.setAttribute('aria-pressed', 'false');
          }
          if (entry.defaultFrame) {
            element.classList.add('default-frame');
          }
          placed = element;
          break;
        case Kind.CheckBox: {
          placed = document.createElement('span');
          placed.className = 'check';
          element = document.createElement('input');
          element.type = 'checkbox';
          element.id = 'control-' + entry.id;
          const label = document.createElement('label');
          label.htmlFor = element.id;
          label.textContent = caption.text;
          placed.append(element, label);
          // The command toggles the box itself: the browser's own toggle is undone first.
          element.addEventListener('click', (event) => event.preventDefault());
          break;
        }
        case Kind.StatusEdit:
          element = document.createElement('div');
          element.setAttribute('role', 'status');
          element.className = 'status';
          placed = element;
          break;
        case Kind.GroupBox:
          placed = document.createElement('fieldset');
          placed.append(Object.assign(document.createElement('legend'),
                                      { textContent: caption.text }));
          break;
        case Kind.Slider:
          element = document.createElement('input');
          element.type = 'range';
          placed = element;
          break;
        case Kind.ProgressBar:
          element = document.createElement('progress');
          element.max = 100;
          element.value = 0;
          placed = element;
          break;
        default:
          placed = document.createElement('div');
          placed.className = 'banner';
          placed.textContent = 'CALVETH II';
      }
      place(placed, entry);
      placed.hidden = !entry.visible;
      if (element && 'disabled' in element) {
        element.disabled = !entry.enabled;
      }
      if (element && caption.key) {
        element.accessKey = caption.key;
      }
      body.appendChild(placed);
      if (entry.id === 0 || !element) {
        continue;
      }
      elements.set(entry.id, element);
      if (entry.kind === Kind.PushButton || entry.kind === Kind.PushCheckBox ||
          entry.kind === Kind.CheckBox) {
        element.addEventListener('click', () => press(entry.id));
      }
    }
    for (const id of [Id.OpenBase, Id.OpenMt]) {
      const input = document.createElement('input');
      input.type = 'file';
      input.accept = '.obj';
      input.hidden = true;
      input.id = 'file-' + id;
      dialog.appendChild(input);
      fileInputs.set(id, input);
      FS.mkdirTree(kOpenFolder + '/' + id);
    }
  }

  // A file dropped on the dialog: the base, or the MT once a base is open.
  function acceptDrops() {
    const dialog = document.getElementById('dialog');
    dialog.addEventListener('dragover', (event) => event.preventDefault());
    dialog.addEventListener('drop', (event) => {
      event.preventDefault();
      const file = event.dataTransfer && event.dataTransfer.files[0];
      if (!file || busy) {
        return;
      }
      const id = Module._calveth_base_open() ? Id.OpenMt : Id.OpenBase;
      if (elements.get(id).disabled) {
        return;
      }
      droppedFile = file;
      press(id);
    });
  }

  // Enter and Esc do not end the dialog, they sound the refused-key tone; the question box
  // keeps its keys.
  function refuseEnterAndEsc() {
    document.addEventListener('keydown', (event) => {
      if (!document.getElementById('question').hidden) {
        return;
      }
      if (event.key === 'Enter' || event.key === 'Escape') {
        event.preventDefault();
        tone();
      }
    }, true);
  }

  // The viewer panel is moved by its title bar.
  function movablePanel() {
    const panel = document.getElementById('viewer-panel');
    const bar = panel.querySelector('.title');
    bar.addEventListener('pointerdown', (event) => {
      const startX = event.clientX - panel.offsetLeft;
      const startY = event.clientY - panel.offsetTop;
      bar.setPointerCapture(event.pointerId);
      const move = (e) => {
        panel.style.left = Math.max(0, e.clientX - startX) + 'px';
        panel.style.top = Math.max(0, e.clientY - startY) + 'px';
      };
      const up = () => {
        bar.removeEventListener('pointermove', move);
        bar.removeEventListener('pointerup', up);
      };
      bar.addEventListener('pointermove', move);
      bar.addEventListener('pointerup', up);
    });
  }

  Module.onRuntimeInitialized = function () {
    buildDialog();
    acceptDrops();
    refuseEnterAndEsc();
    movablePanel();
    Module._calveth_start();
    window.calvethReadyMs = performance.now();
    document.body.dataset.ready = 'true';
  };
})();
