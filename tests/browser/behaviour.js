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
  const items = (menu) => [...menu.querySelectorAll(':scope > li > .km-item')];
  const topMenu = (b) => b.querySelector('.km-area > .km-menu');
  // The element that says whether an item's sub menu is open: the item or its own button.
  const control = (item) => (item.hasAttribute('aria-expanded') ? item : item.parentElement.querySelector(':scope > .km-sub'));
  const expanded = (item) => control(item)?.getAttribute('aria-expanded');
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
    const [first, second] = items(topMenu(b));
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
    check('hover opens the sub menu', opened && expanded(first) === 'true', expanded(first));
    pointer(topMenu(b), 'pointerover');
    await wait(700);
    check('the gap between items keeps menus open', sub(first) && document.body.contains(sub(first)));
    pointer(b, 'pointerover');
    await wait(390);
    check('still open at 390 ms', !!sub(first));
    await wait(20);
    check('closed at 410 ms', !sub(first) && expanded(first) === 'false');
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
      expanded(first) === 'false', prevented);
    document.removeEventListener('click', guard);
  }]);

  // ---- hostile texts
  steps.push(['hostile', async () => {
    const b = box('hostile');
    const all = items(topMenu(b));
    check('hostile: no element from a text', b.querySelectorAll('script, img, b, applet, iframe').length === 0,
      b.innerHTML.slice(0, 300));
    check('hostile: texts shown as written', same(all.slice(0, 4).map(label), window.HOSTILE_LABELS), JSON.stringify(all.map(label)));
    check('hostile: description as written', all[0].title === window.HOSTILE_LABELS[0], all[0].title);
    check('hostile: script links get no href', [2, 4, 5, 6].every((i) => !all[i].hasAttribute('href')),
      all.map((a) => a.getAttribute('href')));
    check('hostile: descriptions shown as text', [0, 1].every((i) => description(all[i])?.textContent === window.HOSTILE_LABELS[i]));
    // A data: link that got through has failed above; leaving the page would lose the results.
    const stay = (e) => { if (e.target.closest('a')?.protocol === 'data:') e.preventDefault(); };
    document.addEventListener('click', stay);
    for (const item of all) { pointer(item, 'pointerover'); pointer(item, 'pointerdown'); pointer(item, 'pointerup'); item.click(); }
    await wait(50);
    document.removeEventListener('click', stay);
    check('hostile: nothing ran', window.pwned === undefined, window.pwned);
    check('hostile: _blank target kept', all[3].target === '_blank' && all[3].href.endsWith('/new.htm'), all[3].outerHTML.slice(0, 200));
  }]);

  // ---- damaged parameters
  steps.push(['damaged', async () => {
    const drawn = window.DAMAGED.map((id) => box(id));
    check('damaged: every applet replaced', drawn.every(Boolean), drawn.map(Boolean));
    check('damaged: no applet left', document.querySelectorAll('applet').length === 0);
    const counts = drawn.map((b) => (b ? b.querySelectorAll('.km-item').length : -1));
    check('damaged: what can be read is drawn', same(counts, window.DAMAGED_ITEMS), counts);
    for (const b of drawn.filter(Boolean)) {
      for (const item of b.querySelectorAll('.km-item')) {
        pointer(item, 'pointerover');
        const opened = sub(item);
        if (opened) for (const inner of items(opened)) pointer(inner, 'pointerover');
      }
    }
  }]);

  // ---- the disclosure navigation pattern, walked by keys through three levels
  steps.push(['keyboard', async () => {
    const b = box('keyboard');
    const tops = items(topMenu(b));
    const [fruit, vegetables, grains] = tops;
    const toggle = control(fruit);
    const focused = () => label(document.activeElement) || document.activeElement.getAttribute('aria-label');
    const shown = (el) => el.getClientRects().length > 0;
    const tabOrder = () => [...b.querySelectorAll('a[href], button')].filter(shown)
      .map((el) => label(el) || `[${el.getAttribute('aria-label')}]`);
    check('nav labelled with the page title', b.getAttribute('aria-label') === document.title, b.getAttribute('aria-label'));
    check('no menu roles', !document.querySelector('[role=menubar], [role=menu], [role=menuitem], [aria-haspopup]'));
    check('linked parent: a link and its own button', fruit.tagName === 'A' && toggle !== fruit &&
      toggle.tagName === 'BUTTON' && toggle.getAttribute('aria-label') === 'Fruit' &&
      document.getElementById(toggle.getAttribute('aria-controls')) === fruit.parentElement.querySelector(':scope > .km-menu'));
    check('parent without link: one button', vegetables.tagName === 'BUTTON' && control(vegetables) === vegetables &&
      !vegetables.parentElement.querySelector('.km-sub'));
    check('tab order when closed', same(tabOrder(), ['Fruit', '[Fruit]', 'Vegetables', 'Grains']), tabOrder());
    toggle.focus();
    key('Enter');
    check('Enter opens', expanded(fruit) === 'true' && !!sub(fruit), expanded(fruit));
    key(' ');
    check('Space closes', expanded(fruit) === 'false' && !sub(fruit), expanded(fruit));
    key(' ');
    check('tab order when open', same(tabOrder(), ['Fruit', '[Fruit]', 'Apples', 'Berries', 'Cherries', 'Vegetables', 'Grains']),
      tabOrder());
    key('ArrowDown');
    check('Down enters the open sub menu', focused() === 'Apples', focused());
    key('ArrowDown');
    key('Enter');
    const berries = items(sub(fruit))[1];
    check('Enter on a parent without link opens', focused() === 'Berries' && expanded(berries) === 'true', focused());
    key('ArrowRight');
    check('Right enters a sub menu beside', focused() === 'Kiwi', focused());
    key('End');
    check('End', focused() === 'Mango', focused());
    key('Home');
    check('Home', focused() === 'Kiwi', focused());
    key('ArrowDown');
    check('Down moves on', focused() === 'Lime', focused());
    key('Escape');
    check('Escape closes and returns to the button', focused() === 'Berries' && expanded(berries) === 'false' &&
      !sub(berries), focused());
    key('Escape');
    check('Escape again closes to the top button', document.activeElement === toggle && expanded(fruit) === 'false' &&
      !sub(fruit), focused());
    key('ArrowRight');
    check('Right moves along the top', focused() === 'Vegetables', focused());
    key('ArrowLeft');
    check('Left moves back', document.activeElement === toggle, focused());
    key('End');
    check('End of the top', focused() === 'Grains', focused());
    key('Home');
    check('Home of the top', focused() === 'Fruit', focused());
    vegetables.focus();
    vegetables.click();
    check('a click without pointer toggles', expanded(vegetables) === 'true', expanded(vegetables));
    key('Escape');
    check('Escape on an open button closes it', expanded(vegetables) === 'false' && document.activeElement === vegetables);
    // Whatever opened a sub menu, its button says so.
    pointer(fruit, 'pointerover');
    check('hover: aria-expanded follows', expanded(fruit) === 'true' && !!sub(fruit));
    const outside = document.getElementById('outside');
    outside.focus();
    check('focus leaving closes', expanded(fruit) === 'false' && !sub(fruit));
  }]);

  // ---- the Mouse Over look follows the focus, and leaves with it
  steps.push(['focus look', async () => {
    const b = box('keyboard');
    const grains = items(topMenu(b))[2];
    const normal = colours(grains);
    grains.focus();
    check('focus: Mouse Over look', !same(colours(grains), normal), colours(grains));
    document.getElementById('outside').focus();
    check('focus gone: Normal look again', same(colours(grains), normal), colours(grains));
  }]);

  // ---- the width that decides the form: an applet exactly as wide as its place stays drawn
  steps.push(['width', async () => {
    check('as wide as its place: desktop form', !box('exact').classList.contains('km-compact'));
    check('one pixel wider: compact form', box('wider').classList.contains('km-compact'));
    const b = box('wider');
    const menuButton = b.querySelector('.km-toggle');
    check('compact button named Menu', menuButton.textContent.replace('\u2630', '').trim() === 'Menu' &&
      !menuButton.hasAttribute('aria-label'), menuButton.textContent);
    menuButton.click();
    const link = b.querySelector('.km-area > .km-menu > li > a[href]');
    link.focus();
    key('Escape');
    check('Escape in the compact list returns to the menu button', document.activeElement === menuButton &&
      menuButton.getAttribute('aria-expanded') === 'false', document.activeElement.outerHTML.slice(0, 80));
    menuButton.click();
    const parent = b.querySelector('.km-area button.km-item');
    parent.click();
    check('compact: a parent without link is one button that opens its group', parent.getAttribute('aria-expanded') === 'true' &&
      !!sub(parent) && !parent.parentElement.querySelector('.km-sub'));
  }]);

  // ---- labels wider than their item are cut as the Menu Preview cuts them
  steps.push(['cut', async () => {
    const b = box('cut');
    const all = [...b.querySelectorAll('.km-item')];
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
