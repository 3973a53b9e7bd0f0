// SPDX-License-Identifier: MIT
/* Kestrune menu runtime: draws the menus of a Kestrune page with HTML and CSS.
 *
 * Browsers no longer run applets. This script reads the <param> lines of every
 * <applet code="trelvix.class"> of the page and puts in its place a box of the applet's
 * size that shows the same menus, laid out by the same rules as Kestrune's Menu Preview,
 * or, where the box does not fit the width available (phones, zoom), a compact menu.
 * One file, no dependencies, no network access beyond the page's own media files.
 */
(() => {
  'use strict';

  const CLASS_FILE = 'trelvix.class';
  const LINE_BREAK = '|_#`';
  const CLOSE_DELAY = 400; // ms, as the Menu Preview
  const COORD_LIMIT = 1 << 22;
  const INT32_MIN = -2147483648;
  const INT32_MAX = 2147483647;
  // The same depth as the program's readers: menus nested deeper are left out, with a word.
  const MAX_DEPTH = 2001;
  const BACKGROUND_CODES = ['01', '02', '11', '12'];
  const FONT_FAMILIES = [
    '"Times New Roman", "Liberation Serif", "DejaVu Serif", serif',
    'Helvetica, Arial, "Liberation Sans", "DejaVu Sans", sans-serif',
    '"Courier New", "Liberation Mono", "DejaVu Sans Mono", monospace',
  ];
  const NORMAL = 0, OVER = 1, CLICKED = 2;

  // ---- reading the parameters ---------------------------------------------------------

  const clamp32 = (v) => Math.min(INT32_MAX, Math.max(INT32_MIN, v));
  const limit = (v) => Math.min(COORD_LIMIT, Math.max(-COORD_LIMIT, v));

  function int(text, fallback) {
    const t = String(text ?? '').trim();
    if (!/^[+-]?\d{1,10}$/.test(t)) return fallback;
    const v = Number(t);
    return v >= INT32_MIN && v <= INT32_MAX ? v : fallback;
  }

  function color(text, fallback) {
    let t = String(text ?? '').trim();
    if (t.startsWith('#')) t = t.slice(1);
    if (!/^[0-9a-fA-F]{6}$/.test(t)) return fallback;
    const v = parseInt(t, 16);
    return [(v >> 16) & 255, (v >> 8) & 255, v & 255];
  }

  function digits(text, count) {
    const t = String(text ?? '').trim();
    return t.length === count && /^\d+$/.test(t) ? [...t].map(Number) : null;
  }

  function readParams(applet) {
    const params = new Map();
    for (const p of applet.querySelectorAll('param')) {
      const name = (p.getAttribute('name') ?? '').trim().toLowerCase();
      if (name && !params.has(name)) params.set(name, p.getAttribute('value') ?? '');
    }
    return params;
  }

  function defaultStyle() {
    return { bk: [0, 0, 0], fr: [255, 255, 255], border: 0, fill: 1, dir: 1, effect: 0, font: 0, size: 14,
      fstyle: 0, textAlign: 0, textOff: 0, imgAlign: 0, imgOff: 0 };
  }

  function readMenuStyle(value, menu) {
    const f = String(value ?? '').split(',');
    menu.bkColor = color(f[0], menu.bkColor);
    const code = BACKGROUND_CODES.indexOf((f[1] ?? '').trim());
    if (code >= 0) menu.bkStyle = code;
    const keys = ['align', 'corner', 'x', 'y', 'w', 'h', 'gap', 'border'];
    keys.forEach((key, i) => { menu[key] = int(f[i + 2], menu[key]); });
  }

  function readItemStyles(value, menu) {
    const f = String(value ?? '').split(',');
    for (let state = 0; state < 3; state++) {
      const b = f.slice(state * 12, state * 12 + 12);
      const s = menu.styles[state];
      s.bk = color(b[0], s.bk);
      s.fr = color(b[1], s.fr);
      const fill = digits(b[2], 3);
      if (fill) [s.dir, s.fill, s.border] = [fill[0], fill[1], fill[2] - 1];
      s.effect = int(b[3], s.effect);
      s.font = int(b[4], s.font);
      s.size = int(b[5], s.size);
      s.fstyle = int(b[6], s.fstyle);
      const align = digits(b[7], 2);
      if (align) [s.imgAlign, s.textAlign] = align;
      s.imgOff = int(b[8], s.imgOff);
      s.textOff = int(b[9], s.textOff);
    }
  }

  // A comma in a text splits it for the applet; the surplus joins the description, as
  // Kestrune reads it back.
  function readItem(value) {
    let f = String(value ?? '').split(',');
    let description = f[1] ?? '';
    if (f.length > 9) {
      const surplus = f.length - 9;
      description = f.slice(1, surplus + 2).join(',');
      f = [f[0], description, ...f.slice(surplus + 2)];
    }
    const text = (f[0] ?? '').split(LINE_BREAK).join('\r\n');
    return {
      label: text,
      lines: text.split('\r\n').map((line) => line.replace(/[\r\n]/g, ' ')),
      description,
      images: [f[2] ?? '', f[3] ?? '', f[4] ?? ''],
      sounds: [f[5] ?? '', f[6] ?? ''],
      target: (f[7] ?? '').trim() || '_self',
      link: (f[8] ?? '').trim(),
      sub: null,
    };
  }

  function newMenu() {
    return { bkColor: [0, 0, 0], bkStyle: 0, align: 0, corner: 0, x: 40, y: 15, w: 80, h: 20, gap: 5, border: 0,
      styles: [defaultStyle(), defaultStyle(), defaultStyle()], items: [] };
  }

  // params: the page's parameters by lower-case name; width and height: the applet's attributes.
  function parseApplet(params, width, height) {
    const f = String(params.get('apstyle') ?? '').split(',');
    const applet = {
      width: Math.max(0, int(width, 400)),
      height: Math.max(0, int(height, 200)),
      bkColor: color(f[0], [0, 0, 0]), bkImage: (f[2] ?? '').trim(), bkMode: int(f[3], 0),
      bkX: int(f[4], 0), bkY: int(f[5], 0), bkSound: (f[6] ?? '').trim(), menus: [],
    };
    const misc = String(params.get('misc') ?? '').split(',');
    if (misc.length && misc[misc.length - 1].trim() === '') misc.pop();
    // The counts in "Misc" are the page's word: the work they ask for is bounded by what the
    // page holds, so a short hand-written page cannot claim millions of menus and items.
    let slots = 2 * params.size + 16;
    const menuCount = Math.max(0, Math.min(int(misc[0], 0), params.size, misc.length));
    const menus = [];
    const emitted = [];
    for (let k = 0; k < menuCount; k++) {
      const menu = newMenu();
      readMenuStyle(params.get(`mstyle-${k}`), menu);
      readItemStyles(params.get(`istyle-${k}`), menu);
      const count = Math.max(0, Math.min(int(misc[k + 1], 0), slots));
      slots -= count;
      for (let j = 0; j < count; j++) {
        const value = params.get(`i${k}-${j}`);
        const item = value === undefined ? null : readItem(value);
        emitted.push(item);
        if (item) menu.items.push(item);
      }
      menus.push(menu);
    }
    const attached = new Set();
    for (const field of misc.slice(menuCount + 1)) {
      const t = field.trim();
      const dash = t.indexOf('-');
      if (dash < 0) continue;
      const k = int(t.slice(dash + 1), -1);
      if (k < 0 || k >= menuCount || attached.has(k)) continue;
      if (dash === 0) {
        attached.add(k);
        applet.menus.push(menus[k]);
      } else {
        const item = emitted[int(t.slice(0, dash), -1)];
        if (!item || item.sub) continue;
        attached.add(k);
        item.sub = menus[k];
      }
    }
    return applet;
  }

  // ---- layout: the rules of the Menu Preview ------------------------------------------

  const horizontal = (menu) => menu.align !== 0;

  function menuRect(menu, ox, oy) {
    const n = menu.items.length;
    let w = menu.w, h = menu.h;
    if (horizontal(menu)) w = n * (menu.w + menu.gap) - menu.gap;
    else h = n * (menu.h + menu.gap) - menu.gap;
    if (menu.bkStyle === 2) { w++; h++; }
    const ax = ox + menu.x, ay = oy + menu.y;
    const left = menu.corner === 1 || menu.corner === 2 ? ax - w : ax;
    const top = menu.corner === 2 || menu.corner === 3 ? ay - h : ay;
    return { l: clamp32(left), t: clamp32(top), r: clamp32(left + w), b: clamp32(top + h) };
  }

  function itemCorner(menu, index, rect) {
    return horizontal(menu) ? { x: clamp32(rect.l + index * (menu.w + menu.gap)), y: rect.t }
      : { x: rect.l, y: clamp32(rect.t + index * (menu.h + menu.gap)) };
  }

  function clamped(r) {
    const c = { l: limit(r.l), t: limit(r.t), r: limit(r.r), b: limit(r.b) };
    return c.r <= c.l || c.b <= c.t ? { l: 0, t: 0, r: 0, b: 0 } : c;
  }

  function itemRect(menu, index, origin) {
    const c = itemCorner(menu, index, menuRect(menu, origin.x, origin.y));
    return clamped({ l: c.x, t: c.y, r: clamp32(c.x + menu.w), b: clamp32(c.y + menu.h) });
  }

  function subOrigin(menu, index, origin) {
    const c = itemCorner(menu, index, menuRect(menu, origin.x, origin.y));
    return { x: limit(c.x), y: limit(c.y) };
  }

  // ---- drawing ---------------------------------------------------------------------------

  const rgb = (c) => `rgb(${c[0]}, ${c[1]}, ${c[2]})`;
  const mix = (c, to, amount) => c.map((v, i) => Math.floor(v + (to[i] - v) * amount + 0.5));
  const lighter = (c) => mix(c, [255, 255, 255], 0.6);
  const darker = (c) => mix(c, [0, 0, 0], 0.6);

  // Media come from the page's own site only: a name leading to another host or scheme is
  // not fetched.
  function mediaUrl(name) {
    if (!name) return '';
    try {
      const url = new URL(name, document.baseURI);
      return /^(https?|file):$/.test(url.protocol) && url.protocol === location.protocol && url.host === location.host
        ? url.href : '';
    } catch { return ''; }
  }

  // Links run in the visitor's browser: script URLs are not followed.
  function judgeLink(link, base) {
    if (!link) return '';
    try {
      const url = new URL(link, base);
      return /^(javascript|vbscript|data):$/i.test(url.protocol) ? '' : url.href;
    } catch { return ''; }
  }

  // One key per page of an address as the URL parser writes it: query and fragment do not
  // count, and a folder is its index page. Plain string work: every link of a big menu is
  // compared.
  function pageKey(href) {
    const page = /^(https?|file):\/\/[^?#]*/.exec(href);
    return page ? page[0].replace(/\/index\.html?$/i, '/') : '';
  }

  const linkUrl = (link) => judgeLink(link, document.baseURI);

  const cssUrl = (href) => `url("${href.replace(/["\\\n\r]/g, (c) => encodeURIComponent(c))}")`;

  function place(el, r, origin) {
    el.style.cssText = `left:${r.l - origin.l}px;top:${r.t - origin.t}px;width:${r.r - r.l}px;height:${r.b - r.t}px`;
  }

  // Gradients 2 to 5 run left to right, 6 to 9 top to bottom, between black or white and
  // the item colour; two-way ones reach the second colour in the middle and return.
  function gradientOf(style) {
    const c = style.bk;
    if (style.fill < 2 || style.fill > 9) return '';
    const kind = (style.fill - 2) % 4;
    const other = kind === 0 || kind === 2 ? [0, 0, 0] : [255, 255, 255];
    const [start, end] = kind < 2 ? [other, c] : [c, other];
    const dir = style.fill < 6 ? 'to right' : 'to bottom';
    return style.dir === 1 ? `linear-gradient(${dir}, ${rgb(start)}, ${rgb(end)} 50%, ${rgb(start)})`
      : `linear-gradient(${dir}, ${rgb(start)}, ${rgb(end)})`;
  }

  function shadowOf(style) {
    const bk = style.bk, text = style.fr;
    const at = (dx, dy, c) => `${dx}px ${dy}px 0 ${rgb(c)}`;
    switch (style.effect) {
      case 1: {
        const rings = [];
        for (let dy = -1; dy <= 1; dy++) for (let dx = -1; dx <= 1; dx++) if (dx || dy) rings.push(at(dx, dy, text));
        return { color: bk, shadow: rings.join(', ') };
      }
      case 2: return { color: text, shadow: `${at(-1, -1, darker(bk))}, ${at(1, 1, lighter(bk))}` };
      case 3: return { color: text, shadow: `${at(-1, -1, lighter(bk))}, ${at(1, 1, darker(bk))}` };
      case 4: return { color: text, shadow: at(2, 2, darker(bk)) };
      default: return { color: text, shadow: 'none' };
    }
  }

  function imagePosition(style) {
    const off = style.imgOff;
    if (style.imgAlign === 1) return `calc(50% + ${off}px) center`;
    if (style.imgAlign === 2) return `right ${off}px center`;
    return `left ${off}px center`;
  }

  // Raised and sunken borders: rings of the item colour's shades, at most half the item.
  const bevelRings = (menu) => Math.max(0, Math.min(menu.border, Math.floor(Math.min(menu.w, menu.h) / 2)));
  const hasBevel = (menu) => bevelRings(menu) > 0 && menu.styles.some((s) => s.border === 1 || s.border === 2);

  // The look of a menu's items in one state is one style rule, made on first use, so that
  // drawing an item or changing its state only sets a class.
  let styleSheet = null;
  let ruleCounter = 0;

  function stateRule(menu, state) {
    menu.rules ??= [];
    if (menu.rules[state]) return menu.rules[state];
    const style = menu.styles[state];
    const name = `km-s${++ruleCounter}`;
    const gradient = gradientOf(style);
    const look = shadowOf(style);
    const shift = style.textAlign === 2 ? -style.textOff : style.textOff;
    const rings = bevelRings(menu);
    let bevel = 'display:none';
    if (rings > 0 && (style.border === 1 || style.border === 2)) {
      const [a, b] = style.border === 1 ? [lighter(style.bk), darker(style.bk)] : [darker(style.bk), lighter(style.bk)];
      bevel = `display:block;border:${rings}px solid;border-color:${rgb(a)} ${rgb(b)} ${rgb(b)} ${rgb(a)}`;
    }
    const rules = [
      `.${name}{background-color:${style.fill === 0 || gradient ? 'transparent' : rgb(style.bk)};` +
        `background-image:${gradient || 'none'};font-family:${FONT_FAMILIES[style.font] ?? FONT_FAMILIES[0]};` +
        `font-size:${Math.min(400, Math.max(1, style.size))}px;` +
        `font-weight:${style.fstyle === 1 || style.fstyle === 3 ? 'bold' : 'normal'};` +
        `font-style:${style.fstyle === 2 || style.fstyle === 3 ? 'italic' : 'normal'};color:${rgb(look.color)}}`,
      `.${name}{text-shadow:${look.shadow};text-align:${['left', 'center', 'right'][style.textAlign] ?? 'left'}}`,
      // A label wider than its item is cut as the Menu Preview cuts it: centred ones on both sides.
      `.${name}>.km-line{left:${shift}px;align-self:${['flex-start', 'center', 'flex-end'][style.textAlign] ?? 'flex-start'}}`,
      `.${name}>.km-bevel{${bevel}}`,
    ];
    for (const rule of rules) styleSheet.insertRule(rule, styleSheet.cssRules.length);
    menu.rules[state] = name;
    return name;
  }

  // Paints one item in one state: fill, image, label and bevel, as the preview does.
  function paintItem(node, state) {
    const { item, menu, el } = node;
    const style = menu.styles[state];
    el.className = `km-item km-state${state} ${stateRule(menu, state)}`;
    const image = mediaUrl(item.images[state] || item.images[0]);
    if (image) {
      const gradient = gradientOf(style);
      el.style.backgroundImage = gradient ? `${cssUrl(image)}, ${gradient}` : cssUrl(image);
      el.style.backgroundPosition = gradient ? `${imagePosition(style)}, 0 0` : imagePosition(style);
    } else if (node.hadImage) {
      el.style.backgroundImage = el.style.backgroundPosition = '';
    }
    node.hadImage = !!image;
    node.state = state;
  }

  // ---- one applet on the page ------------------------------------------------------------

  // Desktop form: the menus drawn where the applet was; the box reserves only what is always
  // shown (the top-level menus, or the applet's background image), sub menus lie over the
  // page. Compact form (the applet does not fit the width available): a "Menu" button
  // opening a full-width list. Both are site navigation as the disclosure pattern has it:
  // lists of links, a button for each sub menu.
  const STYLE_TEXT = `
.kestrune-menu{display:inline-block;position:relative;z-index:20;isolation:isolate;vertical-align:top;
  text-align:left;background-repeat:no-repeat;line-height:normal;font-size:0}
.kestrune-menu ul,.kestrune-menu li{list-style:none;margin:0;padding:0}
.kestrune-menu .km-area{display:contents}
.kestrune-menu .km-menu{position:absolute;box-sizing:border-box}
.kestrune-menu .km-menu .km-menu{z-index:1}
.kestrune-menu .km-menu[hidden],.kestrune-menu [hidden]{display:none!important}
.kestrune-menu .km-framed::after{content:"";position:absolute;inset:0;border:1px solid var(--km-frame);pointer-events:none}
.kestrune-menu .km-item{position:absolute;display:flex;flex-direction:column;justify-content:center;overflow:hidden;box-sizing:border-box;text-decoration:none;
  margin:0;padding:0;border:0;border-radius:0;appearance:none;letter-spacing:normal;
  cursor:default;outline-offset:-2px;-webkit-tap-highlight-color:transparent;user-select:text;
  background-repeat:no-repeat;line-height:normal;contain:strict}
.kestrune-menu a.km-item[href],.kestrune-menu button.km-item{cursor:pointer}
.kestrune-menu .km-line{position:relative;white-space:pre;overflow:visible}
.kestrune-menu .km-bevel{position:absolute;inset:0;box-sizing:border-box;pointer-events:none}
.kestrune-menu .km-toggle{display:none}
.kestrune-menu .km-sub{position:absolute;box-sizing:border-box;margin:0;padding:0;border:0;opacity:0;pointer-events:none;
  font:14px sans-serif;color:#fff;background:#1f1f1f;outline-offset:-2px}
.kestrune-menu .km-sub:focus-visible{opacity:1}
.kestrune-menu.km-compact{display:block;width:auto!important;height:auto!important;max-width:100%;font-size:16px}
.km-compact .km-toggle{display:block;box-sizing:border-box;width:100%;min-height:44px;padding:8px 12px;text-align:left;font:inherit;
  color:#fff;background:#1f1f1f;border:0;cursor:pointer}
.km-compact .km-area{display:none}
.km-compact.km-open .km-area{display:block}
.km-compact .km-menu{position:static!important;width:auto!important;height:auto!important;display:block;translate:none!important}
.km-compact .km-menu .km-menu{padding-left:12px}
.km-compact li{display:flex;flex-wrap:wrap}
.km-compact .km-item{position:relative!important;left:auto!important;top:auto!important;width:auto!important;height:auto!important;
  flex:1 1 0;min-width:0;min-height:44px;padding:4px 8px;contain:none}
.km-compact .km-line{left:0!important;align-self:stretch!important;white-space:normal;overflow-wrap:anywhere}
.km-compact button.km-item{padding-right:32px}
.km-compact button.km-item::after{content:"\\25b8"/"";position:absolute;right:12px;top:50%;translate:0 -50%}
.km-compact button.km-item[aria-expanded=true]::after{content:"\\25be"/""}
.km-compact .km-parent>.km-item{background-image:none!important}
.km-compact .km-sub{position:static!important;display:block;flex:0 0 44px;min-height:44px;opacity:1;pointer-events:auto;font:16px sans-serif;
  border-left:1px solid #555;cursor:pointer}
.km-compact li>.km-menu{flex:0 0 100%}
@media (forced-colors:active){.kestrune-menu .km-state1{outline:2px dashed Highlight}
  .kestrune-menu .km-state2,.kestrune-menu [aria-current=page]{outline:3px solid Highlight}
  .kestrune-menu [aria-current]{text-decoration:underline}.kestrune-menu :focus-visible{outline:3px solid CanvasText}}
@media print{.kestrune-menu,.kestrune-menu *{color:#000!important;background:#fff!important;text-shadow:none!important}
  .kestrune-menu .km-sub,.kestrune-menu .km-bevel{display:none!important}}
@media (prefers-reduced-motion: reduce){.kestrune-menu *{transition:none!important;animation:none!important}}`;

  let idCounter = 0;
  const controllers = [];
  const nextId = (kind) => `km-${kind}-${++idCounter}`;

  function ensureStyleSheet() {
    if (styleSheet && styleSheet.ownerNode && styleSheet.ownerNode.isConnected) return;
    const style = document.createElement('style');
    style.textContent = STYLE_TEXT;
    (document.head ?? document.documentElement).appendChild(style);
    styleSheet = style.sheet;
  }

  const labelText = (item) => item.lines.join(' ').trim();
  const focusable = (el) => !!el && (el.tagName === 'BUTTON' || (el.tagName === 'A' && el.hasAttribute('href')));

  // The block that gives the box its width: inline parents only wrap it.
  function availableWidth(box) {
    let host = box.parentElement;
    while (host && host.parentElement && /^(inline|contents)$/.test(getComputedStyle(host).display)) host = host.parentElement;
    const view = document.documentElement.clientWidth || window.innerWidth;
    if (!host) return view;
    const s = getComputedStyle(host);
    const inner = host.clientWidth - parseFloat(s.paddingLeft) - parseFloat(s.paddingRight);
    return Math.min(view, inner > 0 ? inner : view);
  }

  // What the box keeps free on the page: its background image where it has one, else the
  // top-level menus, never more than the applet.
  function reservedSize(applet, tops, hasImage) {
    if (hasImage) return { w: applet.width, h: applet.height };
    let w = 0, h = 0;
    for (const record of tops) { w = Math.max(w, record.rect.r); h = Math.max(h, record.rect.b); }
    return { w: Math.min(applet.width, w), h: Math.min(applet.height, h) };
  }

  // Moves an open sub menu back into the window: first to the other side of its opener,
  // else as far as the edge asks. Returns the shift [dx, dy].
  function shiftInto(menu, opener, view) {
    const axis = (lo, hi, openLo, openHi, size) => {
      if (hi <= size && lo >= 0) return 0;
      const mirrored = openLo + openHi - hi;
      if (hi > size && mirrored >= 0 && mirrored + (hi - lo) <= size) return mirrored - lo;
      const d = hi > size ? size - hi : 0;
      return lo + d < 0 ? -lo : d;
    };
    return [axis(menu.left, menu.right, opener.left, opener.right, view.width),
      axis(menu.top, menu.bottom, opener.top, opener.bottom, view.height)];
  }

  class AppletBox {
    constructor(element) {
      this.applet = parseApplet(readParams(element), element.getAttribute('width'), element.getAttribute('height'));
      this.path = { top: -1, items: [] };
      this.openLast = true; // whether the last item on the path shows its sub menu
      this.onItem = false;
      this.pressed = false;
      this.keyboard = false;
      this.keepOnScreen = true;
      this.timer = 0;
      this.touchOpened = null;
      this.compact = false;
      this.lit = null;
      this.tops = [];
      this.chain = [];
      this.nodes = [];
      this.box = this.buildBox(element);
      this.markCurrent();
      this.watchWidth(element);
      element.replaceWith(this.box);
    }

    buildBox(element) {
      const a = this.applet;
      const box = document.createElement('nav');
      box.className = 'kestrune-menu';
      box.setAttribute('aria-label', document.title.trim() || 'Menu');
      const image = mediaUrl(a.bkImage);
      box.style.backgroundColor = rgb(a.bkColor);
      if (image) {
        box.style.backgroundImage = cssUrl(image);
        if (a.bkMode === 1) Object.assign(box.style, { backgroundRepeat: 'repeat', backgroundPosition: '0 0' });
        else box.style.backgroundPosition = `${a.bkX}px ${a.bkY}px`;
      }
      const id = element.getAttribute('id');
      if (id) box.id = id;
      this.area = document.createElement('div');
      this.area.className = 'km-area';
      this.area.id = nextId('list');
      this.toggle = document.createElement('button');
      this.toggle.type = 'button';
      this.toggle.className = 'km-toggle';
      this.toggle.setAttribute('aria-expanded', 'false');
      this.toggle.setAttribute('aria-controls', this.area.id);
      const icon = document.createElement('span');
      icon.setAttribute('aria-hidden', 'true');
      icon.textContent = '\u2630 ';
      this.toggle.append(icon, 'Menu');
      box.append(this.toggle, this.area);
      this.buildMenus();
      const size = reservedSize(a, this.tops, !!image);
      Object.assign(box.style, { width: `${size.w}px`, height: `${size.h}px` });
      this.listen(box);
      return box;
    }

    // Every menu of every level is made up front, closed ones hidden, so that every link
    // is in the document from the start. Walked with a stack of its own: a chain of sub
    // menus may be as deep as the program allows.
    buildMenus() {
      const pending = [];
      this.applet.menus.forEach((menu, t) => {
        if (menu.items.length) pending.push({ parent: this.area, menu, top: t, level: 0, origin: { x: 0, y: 0 }, opener: null });
      });
      pending.reverse();
      let warned = false;
      while (pending.length) {
        const job = pending.pop();
        const record = this.buildMenu(job);
        if (!job.opener) this.tops.push(record);
        const subs = [];
        for (const node of record.nodes) {
          const sub = node.item.sub;
          if (!sub || !sub.items.length) continue;
          if (!node.opens) {
            if (!warned) console.warn(`kestrune-menu: sub menus nested more than ${MAX_DEPTH - 1} levels deep are left out.`);
            warned = true;
            continue;
          }
          this.addToggle(node);
          subs.push({ parent: node.li, menu: sub, top: record.top, level: record.level + 1,
            origin: subOrigin(record.menu, node.index, record.origin), opener: node });
        }
        for (let i = subs.length - 1; i >= 0; i--) pending.push(subs[i]);
      }
    }

    buildMenu({ parent, menu, top, level, origin, opener }) {
      const rect = clamped(menuRect(menu, origin.x, origin.y));
      const el = document.createElement('ul');
      el.className = 'km-menu';
      el.id = nextId('menu');
      if (opener) el.hidden = true;
      place(el, rect, opener ? opener.record.rect : { l: 0, t: 0 });
      if (menu.bkStyle === 2 || menu.bkStyle === 3) el.style.backgroundColor = rgb(menu.bkColor);
      if (menu.bkStyle === 1 || menu.bkStyle === 3) {
        el.classList.add('km-framed');
        el.style.setProperty('--km-frame', rgb(menu.styles[NORMAL].fr));
      }
      const record = { menu, top, level, origin, rect, el, opener, nodes: [] };
      menu.items.forEach((item, index) => record.nodes.push(this.buildItem(record, item, index)));
      parent.appendChild(el);
      if (opener) {
        opener.sub = record;
        opener.control.setAttribute('aria-controls', el.id);
      }
      return record;
    }

    buildItem(record, item, index) {
      const link = linkUrl(item.link);
      const opens = !!(item.sub && item.sub.items.length) && record.level + 1 < MAX_DEPTH;
      const li = document.createElement('li');
      // A parent without a link of its own is the button that opens its sub menu.
      const el = document.createElement(link ? 'a' : opens ? 'button' : 'div');
      el.id = nextId('item');
      if (link) {
        el.href = link;
        el.target = item.target;
      } else if (opens) {
        el.type = 'button';
        el.setAttribute('aria-expanded', 'false');
      }
      const rect = itemRect(record.menu, index, record.origin);
      place(el, rect, record.rect);
      for (const line of item.lines) {
        const span = document.createElement('span');
        span.className = 'km-line';
        span.textContent = line;
        el.appendChild(span);
      }
      if (hasBevel(record.menu)) {
        const bevel = document.createElement('span');
        bevel.className = 'km-bevel';
        bevel.setAttribute('aria-hidden', 'true');
        el.appendChild(bevel);
      }
      li.appendChild(el);
      // The description is the tooltip and the accessible description: it never covers an item.
      if (item.description) {
        el.title = item.description;
        const text = document.createElement('span');
        text.id = nextId('desc');
        text.hidden = true;
        text.textContent = item.description;
        el.setAttribute('aria-describedby', text.id);
        li.appendChild(text);
      }
      const node = { item, menu: record.menu, record, index, el, li, rect, state: -1, sub: null, button: null,
        control: null, current: false, opens, href: link };
      el.kmNode = node;
      paintItem(node, NORMAL);
      this.nodes.push(node);
      record.el.appendChild(li);
      return node;
    }

    // A linked parent keeps its link and gets a button of its own beside it: on the
    // desktop it lies over the item's end, seen only when it has the keyboard focus.
    addToggle(node) {
      // In the compact form the toggle's arrow stands for the item's own picture (often an arrow).
      node.li.className = 'km-parent';
      if (node.el.tagName === 'BUTTON') {
        node.control = node.el;
        return;
      }
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'km-sub';
      button.setAttribute('aria-expanded', 'false');
      button.setAttribute('aria-label', labelText(node.item) || 'Sub menu');
      button.textContent = '\u25b8';
      const { l, t, r, b } = node.rect, width = Math.min(r - l, Math.max(24, b - t));
      place(button, { l: r - width, t, r, b }, node.record.rect);
      button.kmNode = node;
      node.li.insertBefore(button, node.el.nextSibling);
      node.button = node.control = button;
    }

    // The item leading to the page shown, found from the browser's location, is drawn in
    // its Clicked look; the items above it are marked as its trail.
    markCurrent() {
      const here = pageKey(location.href);
      const node = here && this.nodes.find((n) => n.href && pageKey(n.href) === here);
      if (!node) return;
      node.current = true;
      node.el.setAttribute('aria-current', 'page');
      paintItem(node, CLICKED);
      for (let up = node.record.opener; up; up = up.record.opener) up.el.setAttribute('aria-current', 'true');
    }

    records() {
      const all = [];
      const pending = [...this.tops];
      while (pending.length) {
        const record = pending.pop();
        all.push(record);
        for (const node of record.nodes) if (node.sub) pending.push(node.sub);
      }
      return all;
    }

    // ---- desktop or compact

    // Decided once before the box is shown (no flash of the other form), then again when
    // the window or the box's place changes; a change is made in the next frame, so that
    // the resize observer never sees the sizes it reports change under it.
    watchWidth(element) {
      const wanted = () => this.applet.width > availableWidth(this.box.isConnected ? this.box : element);
      // The fallback list inside need not be laid out to measure.
      const display = element.style.display;
      element.style.display = 'none';
      this.setCompact(wanted());
      element.style.display = display;
      let frame = 0;
      const check = () => {
        if (frame || wanted() === this.compact) return;
        frame = requestAnimationFrame(() => { frame = 0; this.setCompact(wanted()); });
      };
      window.addEventListener('resize', check);
      if (!window.ResizeObserver) return;
      const watcher = new ResizeObserver(check);
      watcher.observe(document.documentElement);
      const host = element.parentElement;
      return host && watcher.observe(host);
    }

    setCompact(on) {
      if (on === this.compact) return;
      this.close();
      this.light(null);
      for (const record of this.records()) if (record.opener) this.showSub(record, false);
      this.compact = on;
      this.box.classList.toggle('km-compact', on);
      this.showList(false);
    }

    showList(open) {
      this.box.classList.toggle('km-open', open);
      this.toggle.setAttribute('aria-expanded', String(open));
    }

    disclose(node, open) {
      this.showSub(node.sub, open);
    }

    // Compact form: the item under the finger or the focus in its Mouse Over look.
    light(node) {
      if (this.lit === node) return;
      const old = this.lit;
      this.lit = node;
      if (old) this.refresh(old);
      if (node) paintItem(node, OVER);
    }

    // ---- the open path

    hasSub(node) { return !!node.sub; }

    pathTo(node) {
      const items = [];
      for (let n = node; n; n = n.record.opener) items.push(n.index);
      return { top: node.record.top, items: items.reverse() };
    }

    stateOf(node) {
      const { record, index } = node;
      const onPath = record.top === this.path.top && record.level < this.path.items.length &&
        this.path.items[record.level] === index && (record.level === 0 || this.chain[record.level - 1] === record);
      if (this.lit === node) return OVER;
      if (!onPath) return node.current ? CLICKED : NORMAL;
      return this.pressed && record.level + 1 === this.path.items.length ? CLICKED : OVER;
    }

    setPath(path, openLast = true) {
      const old = this.pathNodes();
      this.path = path;
      this.openLast = openLast;
      const topRecord = this.tops.find((r) => r.top === path.top);
      const wanted = [];
      let record = topRecord;
      for (let level = 0; record && level < path.items.length; level++) {
        const node = record.nodes[path.items[level]];
        if (!node) { path.items.length = level; break; }
        const opens = this.hasSub(node) && (openLast || level + 1 < path.items.length);
        if (!opens) break;
        record = node.sub;
        wanted.push(record);
      }
      const keep = new Set(wanted);
      for (const r of this.chain) if (!keep.has(r)) this.showSub(r, false);
      for (const r of wanted) this.showSub(r, true);
      this.chain = wanted;
      for (const node of new Set([...old, ...this.pathNodes()])) this.refresh(node);
    }

    // The toggle's aria-expanded follows its sub menu, whatever opened or closed it.
    showSub(record, open) {
      if (record.el.hidden !== open) return;
      record.el.hidden = !open;
      const control = record.opener.control;
      control.setAttribute('aria-expanded', String(open));
      if (control === record.opener.button) control.textContent = open ? '\u25be' : '\u25b8';
      if (open) this.fitOnScreen(record);
    }

    fitOnScreen(record) {
      record.el.style.translate = '';
      if (this.compact || !this.keepOnScreen) return;
      const root = document.documentElement;
      const [dx, dy] = shiftInto(record.el.getBoundingClientRect(), record.opener.el.getBoundingClientRect(),
        { width: root.clientWidth || window.innerWidth, height: root.clientHeight || window.innerHeight });
      if (dx || dy) record.el.style.translate = `${dx}px ${dy}px`;
    }

    pathNodes() {
      const nodes = [];
      let record = this.tops.find((r) => r.top === this.path.top);
      for (let level = 0; record && level < this.path.items.length; level++) {
        const node = record.nodes[this.path.items[level]];
        if (!node) break;
        nodes.push(node);
        record = this.chain[level];
        if (record && record.opener !== node) break;
      }
      return nodes;
    }

    refresh(node) {
      const state = this.stateOf(node);
      if (state !== node.state) paintItem(node, state);
    }

    close() {
      clearTimeout(this.timer);
      this.timer = 0;
      this.onItem = false;
      this.pressed = false;
      if (this.path.top >= 0) this.setPath({ top: -1, items: [] });
    }

    focusedNode() {
      const node = this.nodeOf(document.activeElement);
      return node && this.keyboard ? node : null;
    }

    // The close delay ran out: a keyboard user keeps the menus down to the focused item.
    settle() {
      this.timer = 0;
      const focused = this.focusedNode();
      if (focused) {
        this.onItem = false;
        this.pressed = false;
        this.setPath(this.pathTo(focused), this.samePath(this.pathTo(focused)) && this.openLast);
      } else {
        this.close();
      }
    }

    // ---- pointer

    listen(box) {
      box.addEventListener('pointerover', (e) => { if (e.pointerType !== 'touch') this.pointerAt(e.target); });
      box.addEventListener('pointerleave', (e) => { if (e.pointerType !== 'touch') this.pointerAway(); });
      box.addEventListener('pointerdown', (e) => this.pointerDown(e));
      box.addEventListener('pointerup', () => this.pointerUp());
      box.addEventListener('click', (e) => this.clicked(e));
      box.addEventListener('keydown', (e) => this.key(e));
      box.addEventListener('focusin', (e) => this.focused(e.target));
      box.addEventListener('focusout', (e) => {
        if (e.relatedTarget && !box.contains(e.relatedTarget)) { this.close(); this.light(null); }
      });
      // A tap elsewhere closes what a tap opened.
      document.addEventListener('pointerdown', (e) => {
        this.keyboard = false;
        if (!box.contains(e.target)) this.close();
      }, { capture: true, passive: true });
    }

    nodeOf(target) {
      const el = target instanceof Element ? target.closest('.km-item, .km-sub') : null;
      return el && this.box.contains(el) ? el.kmNode : null;
    }

    // Where the keyboard focus goes for an item: the item, its button, or the nearest above.
    focusTarget(node) {
      for (let n = node; n; n = n.record.opener) {
        if (focusable(n.el)) return n.el;
        if (n.control) return n.control;
      }
      return null;
    }

    pointerAt(target) {
      const node = this.nodeOf(target);
      if (this.compact) return this.light(node);
      const inMenu = target instanceof Element && target.closest('.km-menu');
      if (!node && !inMenu) return this.pointerAway();
      clearTimeout(this.timer);
      this.timer = 0;
      if (!node) {
        // Between the items of an open menu: keep what is open.
        if (this.onItem) {
          this.onItem = false;
          this.pressed = false;
          this.setPath(this.path, this.openLast);
        }
        return;
      }
      const path = this.pathTo(node);
      if (this.onItem && this.samePath(path) && this.openLast) return;
      this.pressed = false;
      this.onItem = true;
      this.setPath(path, true);
      // The keyboard focus follows the pointer rather than vanish with a closing menu.
      const focused = this.focusedNode();
      const next = focused && focused !== node && this.focusTarget(node);
      if (next) next.focus({ preventScroll: true });
      sounds.play(node.item.sounds[0]);
    }

    pointerAway() {
      if (this.compact) return this.light(null);
      if (this.onItem) {
        this.onItem = false;
        this.pressed = false;
        this.setPath(this.path, this.openLast);
      }
      if (this.path.top < 0 || this.timer) return;
      this.timer = setTimeout(() => this.settle(), CLOSE_DELAY);
    }

    samePath(path) {
      return path.top === this.path.top && path.items.length === this.path.items.length &&
        path.items.every((v, i) => v === this.path.items[i]);
    }

    pointerDown(e) {
      if (e.button !== 0 || this.compact) return;
      const node = this.nodeOf(e.target);
      if (!node) return;
      // A first tap opens a sub menu; tapping the open item again closes it (and follows
      // its link, if it has one).
      const isOpen = this.samePath(this.pathTo(node)) && this.openLast;
      const touch = e.pointerType === 'touch' && this.hasSub(node);
      this.touchOpened = touch && !isOpen ? node : null;
      this.touchClosed = touch && isOpen ? node : null;
      this.pointerAt(e.target);
      this.pressed = true;
      this.refresh(node);
      sounds.play(node.item.sounds[1]);
    }

    pointerUp() {
      if (!this.pressed) return;
      this.pressed = false;
      if (this.touchClosed) {
        this.setPath(this.pathTo(this.touchClosed), false);
        this.touchClosed = null;
      }
      for (const node of this.pathNodes()) this.refresh(node);
    }

    isOpen(node) { return !!node.sub && !node.sub.el.hidden; }

    clicked(e) {
      const target = e.target instanceof Element ? e.target : null;
      if (target === this.toggle || this.toggle.contains(target)) {
        this.showList(!this.box.classList.contains('km-open'));
        return;
      }
      const node = this.nodeOf(target);
      if (!node) return;
      const onControl = !!node.control && node.control.contains(target);
      if (this.compact) {
        if (onControl) this.disclose(node, !this.isOpen(node));
        return;
      }
      // A click without a pointer (a screen reader's, an activated button) toggles; the
      // pointer's own has opened the sub menu already.
      if (onControl && e.detail === 0 && !this.touchOpened) this.toggleSub(node);
      if (this.touchOpened === node || !node.el.href) {
        e.preventDefault();
        this.touchOpened = null;
      }
    }

    toggleSub(node) {
      this.onItem = false;
      this.pressed = false;
      this.setPath(this.pathTo(node), !this.isOpen(node));
    }

    // ---- keyboard, as the disclosure navigation pattern

    focused(target) {
      const node = this.nodeOf(target);
      if (!node) return;
      if (this.compact) return this.light(node);
      const path = this.pathTo(node);
      clearTimeout(this.timer);
      this.timer = 0;
      // Back to a button from its open sub menu (Shift+Tab): the sub menu stays open.
      if (!this.samePath(path)) this.setPath(path, this.isOpen(node));
    }

    // The keyboard's stops in one menu: links and buttons, in their order.
    stops(record) {
      const all = [];
      for (const node of record.nodes) {
        if (focusable(node.el)) all.push(node.el);
        if (node.button) all.push(node.button);
      }
      return all;
    }

    moveFocus(el) {
      if (!el) return false;
      el.focus();
      return true;
    }

    key(e) {
      this.keyboard = true;
      if (this.compact) {
        if (e.key === 'Escape' && this.box.classList.contains('km-open')) {
          this.showList(false);
          this.toggle.focus();
        }
        return;
      }
      const node = this.nodeOf(e.target);
      if (!node || e.altKey || e.ctrlKey || e.metaKey) return;
      const onControl = e.target === node.control;
      const stops = this.stops(node.record);
      const at = stops.indexOf(e.target);
      // Into the open sub menu: Down as in the pattern, and Right where sub menus open beside.
      const into = e.key === 'ArrowDown' || (e.key === 'ArrowRight' && !horizontal(node.menu));
      let handled = true;
      switch (e.key) {
        case 'Enter':
        case ' ':
          if (onControl) this.toggleSub(node); else handled = false;
          break;
        case 'Escape':
          handled = this.escape(node, onControl);
          break;
        case 'ArrowDown':
        case 'ArrowRight':
          if (onControl && into && this.isOpen(node)) handled = this.moveFocus(this.stops(node.sub)[0]);
          else handled = this.moveFocus(stops[at + 1]);
          break;
        case 'ArrowUp':
        case 'ArrowLeft':
          handled = this.moveFocus(at > 0 ? stops[at - 1] : node.record.opener?.control);
          break;
        case 'Home': handled = this.moveFocus(stops[0]); break;
        case 'End': handled = this.moveFocus(stops[stops.length - 1]); break;
        default: handled = false;
      }
      if (handled) {
        e.preventDefault();
        e.stopPropagation();
      }
    }

    // Escape closes the innermost open sub menu and gives the focus to its button.
    escape(node, onControl) {
      if (onControl && this.isOpen(node)) {
        this.setPath(this.pathTo(node), false);
        return true;
      }
      const opener = node.record.opener;
      if (!opener) return false;
      opener.control.focus();
      this.setPath(this.pathTo(opener), false);
      return true;
    }
  }

  // ---- sounds: AU files decoded here, played with Web Audio ------------------------------

  function decodeAu(bytes) {
    const view = new DataView(bytes);
    if (bytes.byteLength < 24 || view.getUint32(0) !== 0x2e736e64) return null;
    const offset = view.getUint32(4), declared = view.getUint32(8);
    const encoding = view.getUint32(12), rate = view.getUint32(16), channels = view.getUint32(20);
    const widths = { 1: 1, 2: 1, 3: 2, 4: 3, 5: 4, 6: 4, 7: 8, 27: 1 };
    const width = widths[encoding];
    if (!width || offset < 24 || offset > bytes.byteLength || channels < 1 || channels > 16 || rate < 1 ||
        rate > 768000) return null;
    let available = bytes.byteLength - offset;
    if (declared !== 0xffffffff) available = Math.min(available, declared);
    const frames = Math.floor(available / (width * channels));
    const out = Array.from({ length: channels }, () => new Float32Array(frames));
    for (let f = 0; f < frames; f++) {
      for (let c = 0; c < channels; c++) {
        const p = offset + (f * channels + c) * width;
        let v;
        switch (encoding) {
          case 1: v = muLaw(view.getUint8(p)); break;
          case 27: v = aLaw(view.getUint8(p)); break;
          case 2: v = view.getInt8(p) * 256; break;
          case 6: v = view.getFloat32(p) * 32767; break;
          case 7: v = view.getFloat64(p) * 32767; break;
          default: v = view.getInt16(p); // the top 16 bits of 16, 24 and 32-bit samples
        }
        out[c][f] = Number.isFinite(v) ? Math.max(-1, Math.min(1, v / 32768)) : 0;
      }
    }
    return { rate, channels: out };
  }

  function muLaw(code) {
    const u = ~code & 0xff;
    const magnitude = (((u & 0x0f) << 3) + 0x84) << ((u & 0x70) >> 4);
    return u & 0x80 ? 0x84 - magnitude : magnitude - 0x84;
  }

  function aLaw(code) {
    const a = code ^ 0x55;
    const segment = (a & 0x70) >> 4;
    let magnitude = (a & 0x0f) << 4;
    magnitude = segment === 0 ? magnitude + 8 : (magnitude + 0x108) << (segment - 1);
    return a & 0x80 ? magnitude : -magnitude;
  }

  // Browsers let a page play sound only after the visitor has interacted with it.
  const sounds = {
    context: null,
    buffers: new Map(),
    pending: [],
    unlock() {
      if (this.context) return;
      const Context = window.AudioContext ?? window.webkitAudioContext;
      if (!Context) return;
      try { this.context = new Context(); } catch { return; }
      this.pending.splice(0).forEach((name) => this.play(name));
    },
    load(href) {
      if (!this.buffers.has(href)) {
        this.buffers.set(href, fetch(href).then((r) => (r.ok ? r.arrayBuffer() : null)).then((bytes) => {
          const pcm = bytes && decodeAu(bytes);
          if (!pcm || !pcm.channels[0].length || !this.context) return null;
          const buffer = this.context.createBuffer(pcm.channels.length, pcm.channels[0].length, pcm.rate);
          pcm.channels.forEach((data, c) => buffer.copyToChannel(data, c));
          return buffer;
        }).catch(() => null));
      }
      return this.buffers.get(href);
    },
    play(name) {
      const href = mediaUrl(name);
      if (!href || !this.context) return;
      this.load(href).then((buffer) => {
        if (!buffer) return;
        const source = this.context.createBufferSource();
        source.buffer = buffer;
        source.connect(this.context.destination);
        source.start();
      }).catch(() => {});
    },
  };

  // ---- start ------------------------------------------------------------------------------

  function mount(element) {
    try {
      ensureStyleSheet();
      const controller = new AppletBox(element);
      controllers.push(controller);
      if (controller.applet.bkSound) sounds.pending.push(controller.applet.bkSound);
      return controller;
    } catch (error) {
      return null;
    }
  }

  function start() {
    const applets = [...document.getElementsByTagName('applet')]
      .filter((a) => (a.getAttribute('code') ?? '').trim().toLowerCase() === CLASS_FILE);
    applets.forEach(mount);
    const unlock = () => sounds.unlock();
    for (const type of ['pointerdown', 'keydown', 'touchstart'])
      document.addEventListener(type, unlock, { once: true, capture: true, passive: true });
  }

  // Without a page (Node.js running the unit tests) the pure parts are all there is.
  if (typeof document === 'undefined') {
    if (typeof module === 'object') module.exports = { parseApplet, judgeLink, pageKey, menuRect, itemRect, subOrigin,
      reservedSize, shiftInto, decodeAu, MAX_DEPTH };
    return;
  }
  window.KestruneMenu = { mount, controllers, decodeAu };
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();
})();
