// SPDX-License-Identifier: GPL-3.0-or-later
// Times the script runtime on the applet of this page: reading the parameters, laying out
// and drawing (until the browser has placed every element), and opening a sub menu.
window.addEventListener('load', () => {
  const source = document.getElementById('source').innerHTML;
  const holder = document.getElementById('holder');
  const runs = [], opens = [], scripts = [], compact = [], desktop = [];
  for (let run = 0; run < 25; run++) {
    holder.innerHTML = source;
    const applet = holder.querySelector('applet');
    const start = performance.now();
    const controller = window.KestruneMenu.mount(applet);
    scripts.push(performance.now() - start);
    controller.box.getBoundingClientRect();
    void document.body.offsetHeight;
    runs.push(performance.now() - start);
    const item = controller.box.querySelector('[aria-haspopup]') ??  // the runtime of the menu roles, for comparison
      controller.box.querySelector('[aria-controls]:not(.km-toggle)');
    const open = performance.now();
    item.dispatchEvent(new PointerEvent('pointerover', { bubbles: true, pointerType: 'mouse' }));
    void document.body.offsetHeight;
    opens.push(performance.now() - open);
    controller.close();
    const narrow = performance.now();
    controller.setCompact(true);
    void document.body.offsetHeight;
    compact.push(performance.now() - narrow);
    const wide = performance.now();
    controller.setCompact(false);
    void document.body.offsetHeight;
    desktop.push(performance.now() - wide);
    window.KestruneMenu.controllers.length = 0;
  }
  const items = holder.querySelectorAll('.km-item').length;
  const links = holder.querySelectorAll('a[href]').length;
  const stats = (xs) => {
    const sorted = [...xs].sort((a, b) => a - b);
    return { min: sorted[0], median: sorted[Math.floor(sorted.length / 2)], max: sorted[sorted.length - 1] };
  };
  document.getElementById('results').textContent = JSON.stringify({ items, links, draw: stats(runs.slice(1)),
    firstDraw: runs[0], script: stats(scripts.slice(1)), open: stats(opens.slice(1)),
    toCompact: stats(compact.slice(1)), toDesktop: stats(desktop.slice(1)) });
});
