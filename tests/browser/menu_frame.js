// SPDX-License-Identifier: GPL-3.0-or-later
// Inside a menu frame: clicks an item when asked, as a visitor's press and release would.
window.addEventListener('load', () => {
  const click = (n) => {
    const item = document.querySelectorAll('.km-item')[n];
    for (const type of ['pointerover', 'pointerdown', 'pointerup'])
      item.dispatchEvent(new PointerEvent(type, { bubbles: true, pointerType: 'mouse', button: 0 }));
    item.click();
  };
  window.addEventListener('message', (e) => {
    if (typeof e.data === 'string' && e.data.startsWith('click:')) click(Number(e.data.slice(6)));
  });
  if (location.search === '?top') click(3);
  else top.postMessage({ ready: window.name }, '*');
});
