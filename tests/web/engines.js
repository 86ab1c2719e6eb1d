// The three browser engines behind one small interface, so that the scenario driver's
// page-level code is the same for each: Chromium through playwright-core, Firefox ESR through
// puppeteer-core over WebDriver BiDi, WebKitGTK's MiniBrowser through WebKitWebDriver and
// selenium-webdriver. Every engine is the system's own (Debian's packages); none is downloaded.
//
// An engine: open(url), evaluate(fn, arg) (fn runs in the page; its JSON answer, awaited),
// element(fn, arg) (the element fn finds, as the driver's handle), click(handle),
// setFile(handle, path) (the user's choice on an <input type=file>), press(key) (Enter,
// Escape, F3, a letter, Alt+letter), drag(fromX, fromY, toX, toY) (the mouse, in the page's
// coordinates), screenshot(path), version(), close().
'use strict';

const { spawn } = require('node:child_process');
const net = require('node:net');

const kViewport = { width: 1280, height: 800 };
const kStartMs = 60000;

class PlaywrightChromium {
  static async launch(executablePath) {
    const { chromium } = require('playwright-core');
    const browser = await chromium.launch({ executablePath, headless: true });
    const page = await browser.newPage({ viewport: kViewport });
    return new PlaywrightChromium(browser, page);
  }
  constructor(browser, page) {
    Object.assign(this, { browser, page, name: 'chromium' });
  }
  open(url) { return this.page.goto(url); }
  evaluate(fn, arg) { return this.page.evaluate(fn, arg); }
  async element(fn, arg) { return (await this.page.evaluateHandle(fn, arg)).asElement(); }
  click(handle) { return handle.click(); }
  setFile(handle, file) { return handle.setInputFiles(file); }
  press(key) { return this.page.keyboard.press(key); }
  async drag(fromX, fromY, toX, toY) {
    const mouse = this.page.mouse;
    await mouse.move(fromX, fromY);
    await mouse.down();
    await mouse.move(toX, toY, { steps: 4 });
    await mouse.up();
  }
  screenshot(file, clip) { return this.page.screenshot({ path: file, clip }); }
  version() { return 'Chromium ' + this.browser.version(); }
  close() { return this.browser.close(); }
}

class PuppeteerFirefox {
  static async launch(executablePath) {
    const puppeteer = require('puppeteer-core');
    const browser = await puppeteer.launch({
      browser: 'firefox', executablePath, protocol: 'webDriverBiDi', headless: true,
      defaultViewport: kViewport, timeout: kStartMs,
    });
    const page = await browser.newPage();
    return new PuppeteerFirefox(browser, page);
  }
  constructor(browser, page) {
    Object.assign(this, { browser, page, name: 'firefox' });
  }
  open(url) { return this.page.goto(url); }
  evaluate(fn, arg) { return this.page.evaluate(fn, arg); }
  async element(fn, arg) { return (await this.page.evaluateHandle(fn, arg)).asElement(); }
  click(handle) { return handle.click(); }
  setFile(handle, file) { return handle.uploadFile(file); }
  async press(key) {
    const keyboard = this.page.keyboard;
    const [modifier, letter] = key.startsWith('Alt+') ? ['Alt', key.slice(4)] : [null, key];
    if (modifier) await keyboard.down(modifier);
    await keyboard.press(letter);
    if (modifier) await keyboard.up(modifier);
  }
  async drag(fromX, fromY, toX, toY) {
    const mouse = this.page.mouse;
    await mouse.move(fromX, fromY);
    await mouse.down();
    await mouse.move(toX, toY, { steps: 4 });
    await mouse.up();
  }
  screenshot(file, clip) { return this.page.screenshot({ path: file, clip }); }
  async version() { return (await this.browser.version()).replace('/', ' '); }
  close() { return this.browser.close(); }
}

// A free port on 127.0.0.1 for WebKitWebDriver.
function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// WebKitWebDriver answers once it listens; asked until then, bounded.
async function awaitListening(port, child) {
  const until = Date.now() + kStartMs;
  while (Date.now() < until) {
    if (child.exitCode !== null) {
      throw new Error('WebKitWebDriver ended with ' + child.exitCode);
    }
    const open = await new Promise((resolve) => {
      const socket = net.connect(port, '127.0.0.1', () => { socket.end(); resolve(true); });
      socket.on('error', () => resolve(false));
    });
    if (open) return;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error('WebKitWebDriver did not listen on ' + port + ' within ' + kStartMs + ' ms');
}

class SeleniumWebKit {
  // The MiniBrowser needs a display: the caller runs under Xvfb (tests/web/run_scenarios.sh).
  static async launch(miniBrowser, driverPath = '/usr/bin/WebKitWebDriver') {
    const { Builder } = require('selenium-webdriver');
    const port = await freePort();
    const child = spawn(driverPath, ['--port=' + port], { stdio: ['ignore', 'ignore', 'inherit'] });
    try {
      await awaitListening(port, child);
      const driver = await new Builder().usingServer('http://127.0.0.1:' + port)
        .withCapabilities({
          browserName: 'MiniBrowser',
          'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation'] },
        }).build();
      await driver.manage().window().setRect({ x: 0, y: 0, ...kViewport });
      return new SeleniumWebKit(driver, child);
    } catch (error) {
      child.kill();
      throw error;
    }
  }
  constructor(driver, child) {
    Object.assign(this, { driver, child, name: 'webkit' });
  }
  open(url) { return this.driver.get(url); }
  // WebDriver's Execute Script awaits a promise the function returns.
  evaluate(fn, arg) {
    return this.driver.executeScript('return (' + fn.toString() + ')(arguments[0]);', arg);
  }
  element(fn, arg) { return this.evaluate(fn, arg); }
  click(handle) { return handle.click(); }
  setFile(handle, file) { return handle.sendKeys(file); }
  async press(key) {
    const { Key } = require('selenium-webdriver');
    const named = { Enter: Key.ENTER, Escape: Key.ESCAPE, F3: Key.F3 };
    const actions = this.driver.actions({ async: true });
    if (key.startsWith('Alt+')) {
      await actions.keyDown(Key.ALT).sendKeys(key.slice(4)).keyUp(Key.ALT).perform();
    } else {
      await actions.sendKeys(named[key] || key).perform();
    }
  }
  async drag(fromX, fromY, toX, toY) {
    const at = (x, y) => ({ x: Math.round(x), y: Math.round(y), origin: 'viewport' });
    await this.driver.actions({ async: true }).move(at(fromX, fromY)).press()
      .move({ ...at(toX, toY), duration: 100 }).release().perform();
  }
  async screenshot(file, clip) {
    const fs = require('node:fs');
    const { PNG } = require('pngjs');
    const whole = PNG.sync.read(Buffer.from(await this.driver.takeScreenshot(), 'base64'));
    const part = new PNG({ width: Math.min(clip.width, whole.width),
                           height: Math.min(clip.height, whole.height) });
    PNG.bitblt(whole, part, clip.x, clip.y, part.width, part.height, 0, 0);
    fs.writeFileSync(file, PNG.sync.write(part));
  }
  async version() {
    const capabilities = await this.driver.getCapabilities();
    return 'WebKitGTK ' + capabilities.get('browserVersion') + ' (MiniBrowser)';
  }
  async close() {
    try {
      await this.driver.quit();
    } finally {
      this.child.kill();
    }
  }
}

const kEngines = {
  chromium: (env) => PlaywrightChromium.launch(env.CALVETH_CHROMIUM || '/usr/bin/chromium'),
  firefox: (env) => PuppeteerFirefox.launch(env.CALVETH_FIREFOX || '/usr/bin/firefox-esr'),
  webkit: (env) => SeleniumWebKit.launch(env.CALVETH_MINIBROWSER ||
    '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'),
};

module.exports = { kEngines, kViewport };
