// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime's pure parts in Node.js, without a browser: parameter reading, layout, link
// judgement and placement. Run: node --test tests/browser/
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const km = require('../../data/kestrune-menu.js');

const params = (pairs) => new Map(Object.entries(pairs).map(([k, v]) => [k.toLowerCase(), v]));
const itemCount = (applet) => {
  let count = 0;
  const pending = [...applet.menus];
  while (pending.length) {
    const menu = pending.pop();
    for (const item of menu.items) { count++; if (item.sub) pending.push(item.sub); }
  }
  return count;
};

test('the counts in Misc are bounded by what the page holds', () => {
  const cases = [
    [{ I0: 'x' }, 0],
    [{ 'I0-0': 'A', 'I0-1': 'B', Misc: '1,2,-0,' }, 2],
    // Menus numbered past the page's parameter count are not read.
    [{ ApStyle: '', 'MStyle-5': '', 'IStyle-5': '', 'I5-0': 'A', Misc: '6,0,0,0,0,0,1,-5,' }, 0],
    // Two menus share one item budget: the first one's claim uses it up.
    [{ 'I0-0': 'A', 'I1-0': 'B', Misc: '2,40,1,-0,-1,' }, 1],
    [{ 'I0-0': 'A', 'I1-0': 'B', Misc: '2,1,1,-0,0-1,' }, 2],
    [{ 'I0-0': 'A', Misc: '1,1,-0,0-0,' }, 1],
  ];
  for (const [page, items] of cases) assert.equal(itemCount(km.parseApplet(params(page), '300', '100')), items, JSON.stringify(page));
});

test('items: a comma in a text joins the description, line breaks split the label', () => {
  const applet = km.parseApplet(params({ 'I0-0': 'One|_#`Two,say, more,a.gif,,,,,main,go.htm', Misc: '1,1,-0,' }), 'x', '-3');
  const [item] = applet.menus[0].items;
  assert.deepEqual([item.lines, item.description, item.target, item.link], [['One', 'Two'], 'say, more', 'main', 'go.htm']);
  assert.deepEqual([applet.width, applet.height], [400, 0]);
});

test('links a browser would run as script get no href', () => {
  const base = 'https://club.example/teams/';
  const cases = [
    ['u10.html?a=1#b', 'https://club.example/teams/u10.html?a=1#b'], ['../', 'https://club.example/'],
    ['mailto:a@b.example', 'mailto:a@b.example'], ['', ''],
    ['javascript:alert(1)', ''], [' JAVASCRIPT:alert(1)', ''], ['java\tscript:alert(1)', ''], ['\x01javascript:x', ''],
    ['vbscript:x', ''], ['data:text/html;base64', ''], ['DATA:text/html,x', ''], ['http://[bad', ''],
  ];
  for (const [link, href] of cases) assert.equal(km.judgeLink(link, base), href, link);
});

test('one key per page: query, fragment and index pages do not count', () => {
  const same = [['https://a.example/x/index.html?q#f', 'https://a.example/x/'], ['file:///s/index.htm', 'file:///s/'],
    ['https://a.example/p.html#top', 'https://a.example/p.html?from=menu']];
  for (const [a, b] of same) assert.equal(km.pageKey(a), km.pageKey(b), `${a} ${b}`);
  const other = [['https://a.example/x/', 'https://a.example/y/'], ['https://a.example/x/main.html', 'https://a.example/x/'],
    ['https://a.example/p.html', 'https://b.example/p.html']];
  for (const [a, b] of other) assert.notEqual(km.pageKey(a), km.pageKey(b), `${a} ${b}`);
  assert.equal(km.pageKey('mailto:a@b.example'), '');
});

test('layout: menus from their corner, items along or down', () => {
  const menu = { items: [{}, {}, {}], align: 1, corner: 0, x: 10, y: 5, w: 50, h: 20, gap: 2, bkStyle: 0 };
  assert.deepEqual(km.menuRect(menu, 0, 0), { l: 10, t: 5, r: 164, b: 25 });
  assert.deepEqual(km.itemRect(menu, 2, { x: 0, y: 0 }), { l: 114, t: 5, r: 164, b: 25 });
  const up = { ...menu, align: 0, corner: 2, bkStyle: 2 };
  assert.deepEqual(km.menuRect(up, 100, 100), { l: 59, t: 40, r: 110, b: 105 });
  assert.deepEqual(km.subOrigin(up, 1, { x: 100, y: 100 }), { x: 59, y: 62 });
});

test('the box reserves the top-level menus, or the whole applet with a background image', () => {
  const tops = [{ rect: { r: 300, b: 26 } }, { rect: { r: 120, b: 40 } }];
  assert.deepEqual(km.reservedSize({ width: 844, height: 121 }, tops, false), { w: 300, h: 40 });
  assert.deepEqual(km.reservedSize({ width: 200, height: 30 }, tops, false), { w: 200, h: 30 });
  assert.deepEqual(km.reservedSize({ width: 400, height: 240 }, tops, true), { w: 400, h: 240 });
});

test('a sub menu crossing an edge opens to the other side, or moves as far as the edge asks', () => {
  const view = { width: 320, height: 480 };
  const rect = (left, top, width, height) => ({ left, top, right: left + width, bottom: top + height });
  const cases = [
    [rect(100, 50, 100, 100), rect(0, 50, 98, 24), [0, 0]],
    [rect(250, 50, 100, 100), rect(150, 50, 98, 24), [-202, 0]], // mirrored: left of its opener
    [rect(250, 50, 100, 100), rect(20, 50, 98, 24), [-30, 0]], // no room there: moved to the edge
    [rect(10, 420, 100, 100), rect(0, 420, 10, 24), [0, -76]], // opens upwards, to its opener's foot
    [rect(-20, -5, 100, 100), rect(0, 0, 10, 10), [20, 5]],
  ];
  for (const [menu, opener, shift] of cases) assert.deepEqual(km.shiftInto(menu, opener, view), shift, JSON.stringify(menu));
});
