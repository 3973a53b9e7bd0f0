// SPDX-License-Identifier: GPL-3.0-or-later
// The top page of the link test: asks the menu frames to click their items one after the
// other and records where each landing page arrived.
// Listening starts at once: the frames report ready before this page's own load event.
{
  const got = [];
  const steps = [
    () => frames.menu.postMessage('click:0', '*'),    // target "main"
    () => frames.holder.frames[0].postMessage('click:1', '*'),  // target "_parent"
    () => frames.menu.postMessage('click:2', '*'),    // target "_self"
  ];
  let ready = 0;
  const finish = () => { document.getElementById('results').textContent = JSON.stringify(got); };
  window.addEventListener('message', (e) => {
    if (e.data && e.data.ready !== undefined) {
      if (++ready === 2) steps.shift()();
      return;
    }
    got.push(e.data);
    if (steps.length) steps.shift()(); else finish();
  });
  setTimeout(finish, 8000);
}
