// SPDX-License-Identifier: GPL-3.0-or-later
// Behaviour of the runtime, one check after another; every outcome goes into the results.
// Errors reaching the page are caught from the start (this file loads before the runtime).
window.KM_ERRORS = [];
window.addEventListener('error', (e) => window.KM_ERRORS.push(String(e.message)));
window.addEventListener('unhandledrejection', (e) => window.KM_ERRORS.push(String(e.reason)));
for (const kind of ['error', 'warn']) {
  const original = console[kind].bind(console);
  console[kind] = (...args) => { window.KM_ERRORS.push(args.join(' ')); original(...args); };
}

// After the load event, so the runtime (which starts on DOMContentLoaded) has drawn the menus.
window.addEventListener('load', async () => {
  const results = [];
  const check = (name, ok, detail = '') => results.push({ name, ok: !!ok, detail: String(detail) });
  const wait = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
  const box = (id) => document.querySelector(`#${id} nav.kestrune-menu`);
  const items = (menu) => [...menu.querySelectorAll(':scope > li > [role=menuitem]')];
  const sub = (item) => item.parentElement.querySelector(':scope > .km-menu:not([hidden])');
  const description = (item) => document.getElementById(item.getAttribute('aria-describedby'));
  const label = (item) => [...item.querySelectorAll('.km-line')].map((l) => l.textContent).join('\n');
  const pointer = (el, type, extra = {}) =>
    el.dispatchEvent(new PointerEvent(type, { bubbles: type !== 'pointerleave', pointerType: 'mouse', button: 0, ...extra }));
  const key = (k) => document.activeElement.dispatchEvent(new KeyboardEvent('keydown', { key: k, bubbles: true, cancelable: true }));
  const colours = (el) => { const s = getComputedStyle(el); return [s.backgroundColor, s.color]; };
  const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);

  const steps = [];
  // ---- state colours, status line, tooltip and the close delay
  steps.push(['states', async () => {
    const b = box('states');
    const [first, second] = items(b.querySelector('[role=menubar]'));
    const normal = ['rgb(16, 32, 48)', 'rgb(240, 224, 208)'];
    const over = ['rgb(64, 80, 96)', 'rgb(160, 176, 192)'];
    const clicked = ['rgb(112, 128, 144)', 'rgb(1, 2, 3)'];
    check('normal colours', same(colours(second), normal), colours(second));
    pointer(second, 'pointerover');
    check('mouse over colours', same(colours(second), over), colours(second));
    check('others stay normal', same(colours(first), normal), colours(first));
    check('description as the accessible description', description(second)?.textContent === 'Second item',
      second.getAttribute('aria-describedby'));
    check('description as tooltip', second.title === 'Second item', second.title);
    check('no status strip over the items', !b.querySelector('.km-status, [role=status]'));
    pointer(second, 'pointerdown');
    check('clicked colours', same(colours(second), clicked), colours(second));
    pointer(second, 'pointerup');
    check('released: mouse over again', same(colours(second), over), colours(second));
    pointer(first, 'pointerover');
    const opened = sub(first);
    check('hover opens the sub menu', opened && opened.getAttribute('role') === 'menu' && first.getAttribute('aria-expanded') === 'true');
    pointer(b.querySelector('[role=menubar]'), 'pointerover');
    await wait(700);
    check('the gap between items keeps menus open', sub(first) && document.body.contains(sub(first)));
    pointer(b, 'pointerover');
    await wait(390);
    check('still open at 390 ms', !!sub(first));
    await wait(20);
    check('closed at 410 ms', !sub(first) && first.getAttribute('aria-expanded') === 'false');
    check('closed: normal colours', same(colours(first), normal), colours(first));
    // Touch: the first tap opens the sub menu instead of following the link, the second follows.
    const prevented = [];
    const guard = (e) => { prevented.push(e.defaultPrevented); e.preventDefault(); };
    document.addEventListener('click', guard);
    const tap = () => {
      pointer(first, 'pointerdown', { pointerType: 'touch' });
      pointer(first, 'pointerup', { pointerType: 'touch' });
      first.dispatchEvent(new MouseEvent('click', { bubbles: true, cancelable: true }));
    };
    tap();
    check('first tap opens', !!sub(first) && prevented[0] === true, prevented);
    tap();
    check('second tap closes and follows the link', !sub(first) && prevented[1] === false &&
      first.getAttribute('aria-expanded') === 'false', prevented);
    document.removeEventListener('click', guard);
  }]);

  // ---- hostile texts
  steps.push(['hostile', async () => {
    const b = box('hostile');
    const all = items(b.querySelector('[role=menubar]'));
    check('hostile: no element from a text', b.querySelectorAll('script, img, b, applet, iframe').length === 0,
      b.innerHTML.slice(0, 300));
    check('hostile: texts shown as written', same(all.slice(0, 4).map(label), window.HOSTILE_LABELS), JSON.stringify(all.map(label)));
    check('hostile: description as written', all[0].title === window.HOSTILE_LABELS[0], all[0].title);
    check('hostile: script links get no href', [2, 4, 5].every((i) => !all[i].hasAttribute('href')),
      all.map((a) => a.getAttribute('href')));
    check('hostile: descriptions shown as text', [0, 1].every((i) => description(all[i])?.textContent === window.HOSTILE_LABELS[i]));
    for (const item of all) { pointer(item, 'pointerover'); pointer(item, 'pointerdown'); pointer(item, 'pointerup'); item.click(); }
    await wait(50);
    check('hostile: nothing ran', window.pwned === undefined, window.pwned);
    check('hostile: _blank target kept', all[3].target === '_blank' && all[3].href.endsWith('/new.htm'), all[3].outerHTML.slice(0, 200));
  }]);

  // ---- damaged parameters
  steps.push(['damaged', async () => {
    const drawn = window.DAMAGED.map((id) => box(id));
    check('damaged: every applet replaced', drawn.every(Boolean), drawn.map(Boolean));
    check('damaged: no applet left', document.querySelectorAll('applet').length === 0);
    const counts = drawn.map((b) => (b ? b.querySelectorAll('[role=menuitem]').length : -1));
    check('damaged: what can be read is drawn', same(counts, window.DAMAGED_ITEMS), counts);
    for (const b of drawn.filter(Boolean)) {
      for (const item of b.querySelectorAll('[role=menuitem]')) {
        pointer(item, 'pointerover');
        const opened = sub(item);
        if (opened) for (const inner of items(opened)) pointer(inner, 'pointerover');
      }
    }
  }]);

  // ---- keyboard walk through three levels, as the navigation menubar pattern
  steps.push(['keyboard', async () => {
    const b = box('keyboard');
    const bar = b.querySelector('[role=menubar]');
    const tops = items(bar);
    const focused = () => label(document.activeElement);
    check('nav labelled with the page title', b.getAttribute('aria-label') === document.title, b.getAttribute('aria-label'));
    check('menubar orientation', bar.getAttribute('aria-orientation') === 'horizontal');
    check('one tab stop', b.querySelectorAll('[tabindex="0"]').length === 1 && tops[0].tabIndex === 0);
    check('popup marked', tops[0].getAttribute('aria-haspopup') === 'menu' && tops[0].getAttribute('aria-expanded') === 'false');
    tops[0].focus();
    key('ArrowDown');
    check('Down opens the sub menu', focused() === 'Apples' && tops[0].getAttribute('aria-expanded') === 'true', focused());
    const level1 = sub(tops[0]);
    check('sub menu vertical', level1 && level1.getAttribute('aria-orientation') === 'vertical');
    key('ArrowDown');
    check('Down moves on', focused() === 'Berries', focused());
    key('ArrowRight');
    check('Right opens the third level', focused() === 'Kiwi', focused());
    key('ArrowLeft');
    check('Left returns to the parent and closes', focused() === 'Berries' &&
      items(level1)[1].getAttribute('aria-expanded') === 'false' && !sub(items(level1)[1]), focused());
    key('ArrowRight');
    key('End');
    check('End', focused() === 'Mango', focused());
    key('Home');
    check('Home', focused() === 'Kiwi', focused());
    key('m');
    check('type-ahead', focused() === 'Mango', focused());
    key('ArrowDown');
    check('Down wraps', focused() === 'Kiwi', focused());
    key('Escape');
    const berries = items(level1)[1];
    check('Escape returns to the item', focused() === 'Berries' && berries.getAttribute('aria-expanded') === 'false',
      focused());
    key('ArrowUp');
    key('ArrowUp');
    check('Up wraps', focused() === 'Cherries', focused());
    key('Escape');
    check('Escape closes to the menubar', focused() === 'Fruit' && tops[0].getAttribute('aria-expanded') === 'false',
      focused());
    key('ArrowRight');
    check('Right moves along the menubar', focused() === 'Vegetables' && tops[1].tabIndex === 0 && tops[0].tabIndex === -1,
      focused());
    key('ArrowDown');
    check('Down opens the next sub menu', focused() === 'Leek', focused());
    key('ArrowLeft');
    check('Left moves to the previous menubar item, opened', focused() === 'Fruit' &&
      tops[0].getAttribute('aria-expanded') === 'true' && tops[1].getAttribute('aria-expanded') === 'false', focused());
    key('Enter');
    key('ArrowDown');
    key('ArrowRight');
    key('m');
    key('Enter');
    await wait(50);
    check('Enter follows the link', location.hash === '#mango', location.hash);
    key('Escape');
    key('Escape');
    check('Escape back to the menubar', focused() === 'Fruit', focused());
    key('Tab');
  }]);

  // ---- labels wider than their item are cut as the Menu Preview cuts them
  steps.push(['cut', async () => {
    const b = box('cut');
    const all = [...b.querySelectorAll('[role=menuitem]')];
    check('cut: three items', all.length === 3);
    all.forEach((item, align) => {
      const range = document.createRange();
      range.selectNodeContents(item.querySelector('.km-line'));
      const text = range.getBoundingClientRect(), r = item.getBoundingClientRect();
      const width = Math.round(text.width), offset = 3;
      const wanted = [offset, Math.trunc((r.width - width) / 2) + offset, r.width - width - offset][align];
      check(`cut: alignment ${align} places the label as the preview`, width > r.width &&
        Math.abs(text.left - r.left - wanted) <= 1.5, `${text.left - r.left} vs ${wanted}, ${width} in ${r.width}`);
    });
  }]);

  // ---- AU sounds decoded by the runtime: the same samples as the program's decoder
  steps.push(['sounds', async () => {
    const au = (encoding, channels, bytes, declared = bytes.length) => {
      const buffer = new ArrayBuffer(24 + bytes.length);
      const view = new DataView(buffer);
      [0x2e736e64, 24, declared, encoding, 8000, channels].forEach((v, i) => view.setUint32(i * 4, v));
      bytes.forEach((b, i) => view.setUint8(24 + i, b));
      return buffer;
    };
    const samples = (pcm) => pcm.channels.map((c) => [...c].map((v) => Math.round(v * 32768)));
    const decode = window.KestruneMenu.decodeAu;
    check('mu-law', same(samples(decode(au(1, 1, [0x00, 0x7f, 0x80, 0xff, 0x3c]))), [[-32124, 0, 32124, 0, -2364]]));
    check('A-law', same(samples(decode(au(27, 1, [0x55, 0xd5, 0x2a, 0xaa, 0x00]))), [[-8, 8, -32256, 32256, -5504]]));
    const linear = decode(au(3, 2, [0x7f, 0xff, 0x80, 0x00, 0x12, 0x34, 0xff], 6));
    check('16-bit stereo, declared size and a cut frame', linear.rate === 8000 &&
      same(samples(linear), [[32767], [-32768]]), JSON.stringify(samples(linear)));
    check('not AU or damaged: nothing', decode(new ArrayBuffer(10)) === null && decode(au(99, 1, [1])) === null &&
      decode(au(1, 0, [1])) === null);
  }]);

  for (const [name, step] of steps) {
    try { await step(); } catch (error) { check(`${name} ran through`, false, error && error.stack); }
  }

  check('no errors on the page', window.KM_ERRORS.length === 0, window.KM_ERRORS.join(' | '));
  document.getElementById('results').textContent = JSON.stringify(results);
});
