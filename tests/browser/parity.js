// SPDX-License-Identifier: GPL-3.0-or-later
// Opens each case's menus by pointing at items, as a visitor does, and measures every shown
// menu and item relative to the applet box.
document.addEventListener('DOMContentLoaded', () => {
  const out = [];
  const relative = (el, box) => {
    const r = el.getBoundingClientRect(), b = box.getBoundingClientRect();
    return { x: Math.round(r.left - b.left), y: Math.round(r.top - b.top),
      width: Math.round(r.width), height: Math.round(r.height) };
  };
  const point = (el) => el.dispatchEvent(new PointerEvent('pointerover', { bubbles: true, pointerType: 'mouse' }));
  for (const test of window.CASES) {
    const box = document.querySelector(`#case-${test.id} nav.kestrune-menu`);
    const controller = window.KestruneMenu.controllers.find((c) => c.box === box);
    const result = { id: test.id, found: !!box, paths: [] };
    out.push(result);
    if (!box || !controller) continue;
    // The preview's rules know no window: nothing is moved to stay on screen here.
    controller.keepOnScreen = false;
    for (const path of test.paths) {
      controller.close();
      let menu = box.querySelectorAll('.km-area > .km-menu')[path[0]];
      for (let level = 1; menu && level < path.length; level++) {
        const item = menu.querySelectorAll(':scope > li > .km-item')[path[level]];
        if (!item) break;
        point(item);
        menu = item.parentElement.querySelector(':scope > .km-menu');
      }
      // The top-level menus, then the open sub menus from the outermost in.
      const shown = [...box.querySelectorAll('.km-area > .km-menu'), ...box.querySelectorAll('.km-menu .km-menu:not([hidden])')];
      const menus = shown.map((m) => ({
        rect: relative(m, box),
        items: [...m.querySelectorAll(':scope > li > .km-item')].map((i) => relative(i, box)),
      }));
      result.paths.push({ path, open: controller.path.top < 0 ? [] : [controller.path.top, ...controller.path.items],
        menus });
    }
    controller.close();
  }
  document.getElementById('results').textContent = JSON.stringify(out);
});
