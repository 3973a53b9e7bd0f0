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

  function readApplet(element) {
    const params = readParams(element);
    const f = String(params.get('apstyle') ?? '').split(',');
    const applet = {
      width: Math.max(0, int(element.getAttribute('width'), 400)),
      height: Math.max(0, int(element.getAttribute('height'), 200)),
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
  function linkUrl(link) {
    if (!link) return '';
    try {
      const url = new URL(link, document.baseURI);
      return /^(javascript|vbscript|data):$/i.test(url.protocol) ? '' : url.href;
    } catch { return ''; }
  }

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
    el.className = `km-item ${stateRule(menu, state)}`;
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

  // Desktop form: the menus drawn in a box of the applet's size. Compact form (the box does
  // not fit the width available): a "menu" button opening a full-width list, each sub menu
  // a group opened by its own toggle.
  const STYLE_TEXT = `
.kestrune-menu{display:inline-block;position:relative;overflow:hidden;isolation:isolate;vertical-align:baseline;
  text-align:left;background-repeat:no-repeat;line-height:normal;font-size:0}
.kestrune-menu ul,.kestrune-menu li{list-style:none;margin:0;padding:0}
.kestrune-menu .km-area{display:contents}
.kestrune-menu .km-menu{position:absolute;box-sizing:border-box}
.kestrune-menu .km-menu .km-menu{z-index:1}
.kestrune-menu .km-menu[hidden],.kestrune-menu [hidden]{display:none!important}
.kestrune-menu .km-framed::after{content:"";position:absolute;inset:0;border:1px solid var(--km-frame);pointer-events:none}
.kestrune-menu .km-item{position:absolute;display:flex;flex-direction:column;justify-content:center;overflow:hidden;box-sizing:border-box;text-decoration:none;
  cursor:default;outline-offset:-2px;-webkit-tap-highlight-color:transparent;user-select:text;
  background-repeat:no-repeat;line-height:normal;contain:strict}
.kestrune-menu a.km-item[href]{cursor:pointer}
.kestrune-menu .km-line{position:relative;white-space:pre;overflow:visible}
.kestrune-menu .km-bevel{position:absolute;inset:0;box-sizing:border-box;pointer-events:none}
.kestrune-menu .km-toggle,.kestrune-menu .km-sub{display:none}
.kestrune-menu.km-compact{display:block;width:auto!important;height:auto!important;max-width:100%;font-size:16px}
.km-compact .km-toggle{display:block;box-sizing:border-box;width:100%;min-height:44px;padding:8px 12px;text-align:left;font:inherit;
  color:#fff;background:#1f1f1f;border:0;cursor:pointer}
.km-compact .km-area{display:none}
.km-compact.km-open .km-area{display:block}
.km-compact .km-menu{position:static!important;width:auto!important;height:auto!important;display:block}
.km-compact .km-menu .km-menu{padding-left:12px}
.km-compact li{display:flex;flex-wrap:wrap}
.km-compact .km-item{position:relative!important;left:auto!important;top:auto!important;width:auto!important;height:auto!important;
  flex:1 1 0;min-width:0;min-height:44px;padding:4px 8px;contain:none}
.km-compact .km-line{left:0!important;align-self:stretch!important;white-space:normal;overflow-wrap:anywhere}
.km-compact .km-sub{display:block;flex:0 0 44px;min-height:44px;font:16px sans-serif;color:#fff;background:#1f1f1f;border:0;
  border-left:1px solid #555;cursor:pointer}
.km-compact li>.km-menu{flex:0 0 100%}
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

  class AppletBox {
    constructor(element) {
      this.applet = readApplet(element);
      this.path = { top: -1, items: [] };
      this.openLast = true; // whether the last item on the path shows its sub menu
      this.onItem = false;
      this.pressed = false;
      this.keyboard = false;
      this.timer = 0;
      this.touchOpened = null;
      this.compact = false;
      this.lit = null;
      this.tops = [];
      this.chain = [];
      this.nodes = [];
      this.box = this.buildBox(element);
      element.replaceWith(this.box);
      this.watchWidth();
    }

    buildBox(element) {
      const a = this.applet;
      const title = document.title.trim() || 'Menu';
      const box = document.createElement('nav');
      box.className = 'kestrune-menu';
      box.setAttribute('aria-label', title);
      Object.assign(box.style, { width: `${a.width}px`, height: `${a.height}px`, backgroundColor: rgb(a.bkColor) });
      const image = mediaUrl(a.bkImage);
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
      this.toggle.append(icon, title);
      box.append(this.toggle, this.area);
      a.menus.forEach((menu, t) => {
        if (menu.items.length) this.tops.push(this.buildMenu(this.area, menu, t, 0, { x: 0, y: 0 }, null));
      });
      this.roving();
      this.listen(box);
      return box;
    }

    // Every menu of every level is made up front, closed ones hidden, so that every link
    // is in the document from the start.
    buildMenu(parent, menu, top, level, origin, opener) {
      const rect = clamped(menuRect(menu, origin.x, origin.y));
      const el = document.createElement('ul');
      el.className = 'km-menu';
      el.id = nextId('menu');
      if (opener) {
        el.setAttribute('aria-labelledby', opener.el.id);
        el.hidden = true;
      }
      place(el, rect, opener ? opener.record.rect : { l: 0, t: 0 });
      if (menu.bkStyle === 2 || menu.bkStyle === 3) el.style.backgroundColor = rgb(menu.bkColor);
      if (menu.bkStyle === 1 || menu.bkStyle === 3) {
        el.classList.add('km-framed');
        el.style.setProperty('--km-frame', rgb(menu.styles[NORMAL].fr));
      }
      const record = { menu, top, level, origin, rect, el, opener, nodes: [] };
      menu.items.forEach((item, index) => record.nodes.push(this.buildItem(record, item, index)));
      parent.appendChild(el);
      return record;
    }

    buildItem(record, item, index) {
      const link = linkUrl(item.link);
      const li = document.createElement('li');
      const el = document.createElement(link ? 'a' : 'div');
      el.className = 'km-item';
      el.id = nextId('item');
      if (link) {
        el.href = link;
        el.target = item.target;
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
      const node = { item, menu: record.menu, record, index, el, li, rect, state: -1, sub: null, button: null };
      el.kmNode = node;
      paintItem(node, NORMAL);
      this.nodes.push(node);
      record.el.appendChild(li);
      if (item.sub && item.sub.items.length && record.level + 1 >= MAX_DEPTH) {
        console.warn('kestrune-menu: sub menus nested more than ' + (MAX_DEPTH - 1) + ' levels deep are left out.');
      } else if (item.sub && item.sub.items.length) {
        const button = document.createElement('button');
        button.type = 'button';
        button.className = 'km-sub';
        button.setAttribute('aria-label', labelText(item));
        button.textContent = '\u25b8';
        button.kmNode = node;
        li.appendChild(button);
        node.button = button;
        node.sub = this.buildMenu(li, item.sub, record.top, record.level + 1,
          subOrigin(record.menu, index, record.origin), node);
        button.setAttribute('aria-controls', node.sub.el.id);
      }
      return node;
    }

    // Roles of the desktop form, the navigation menubar; the compact form is a plain list
    // of links with disclosure buttons.
    roving() {
      for (const record of this.records()) {
        record.el.setAttribute('role', record.level === 0 ? 'menubar' : 'menu');
        record.el.setAttribute('aria-orientation', horizontal(record.menu) ? 'horizontal' : 'vertical');
      }
      for (const node of this.nodes) {
        node.li.setAttribute('role', 'none');
        node.el.setAttribute('role', 'menuitem');
        node.el.tabIndex = -1;
        if (node.sub) {
          node.el.setAttribute('aria-haspopup', 'menu');
          node.el.setAttribute('aria-expanded', 'false');
        }
      }
      const first = this.tops[0]?.nodes[0];
      if (first) first.el.tabIndex = 0;
    }

    plainList() {
      for (const record of this.records()) {
        record.el.removeAttribute('role');
        record.el.removeAttribute('aria-orientation');
      }
      for (const node of this.nodes) {
        node.li.removeAttribute('role');
        node.el.removeAttribute('role');
        node.el.removeAttribute('aria-haspopup');
        node.el.removeAttribute('aria-expanded');
        if (node.el.href) node.el.tabIndex = 0; else node.el.removeAttribute('tabindex');
        if (node.button) this.disclose(node, false);
      }
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

    // Checked when the browser has laid the page out (a resize observer's first report), so
    // drawing forces no layout of its own.
    watchWidth() {
      const check = () => this.setCompact(this.applet.width > availableWidth(this.box));
      window.addEventListener('resize', check);
      if (!window.ResizeObserver) return check();
      const watcher = new ResizeObserver(check);
      watcher.observe(document.documentElement);
      if (this.box.parentElement) watcher.observe(this.box.parentElement);
    }

    setCompact(on) {
      if (on === this.compact) return;
      this.close();
      this.light(null);
      for (const record of this.records()) if (record.level > 0) record.el.hidden = true;
      this.compact = on;
      this.box.classList.toggle('km-compact', on);
      this.showList(false);
      if (on) this.plainList(); else this.roving();
    }

    showList(open) {
      this.box.classList.toggle('km-open', open);
      this.toggle.setAttribute('aria-expanded', String(open));
    }

    disclose(node, open) {
      node.sub.el.hidden = !open;
      node.button.setAttribute('aria-expanded', String(open));
      node.button.textContent = open ? '\u25be' : '\u25b8';
    }

    // Compact form: the item under the finger or the focus in its Mouse Over look.
    light(node) {
      if (this.lit === node) return;
      if (this.lit) paintItem(this.lit, NORMAL);
      this.lit = node;
      if (node) paintItem(node, OVER);
    }

    // ---- the open path

    hasSub(node) { return !!node.sub; }

    pathTo(node) {
      const level = node.record.level;
      return { top: node.record.top, items: [...this.path.items.slice(0, level), node.index] };
    }

    stateOf(node) {
      const { record, index } = node;
      const onPath = record.top === this.path.top && record.level < this.path.items.length &&
        this.path.items[record.level] === index && (record.level === 0 || this.chain[record.level - 1] === record);
      if (!onPath) return NORMAL;
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
      for (const r of this.chain) if (!wanted.includes(r)) this.showSub(r, false);
      for (const r of wanted) this.showSub(r, true);
      this.chain = wanted;
      for (const node of new Set([...old, ...this.pathNodes()])) this.refresh(node);
    }

    showSub(record, open) {
      if (record.el.hidden !== open) return;
      record.el.hidden = !open;
      record.opener.el.setAttribute('aria-expanded', String(open));
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
      const el = target instanceof Element ? target.closest('.km-item') : null;
      return el && this.box.contains(el) ? el.kmNode : null;
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
      if (focused && focused !== node) node.el.focus({ preventScroll: true });
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

    clicked(e) {
      const target = e.target instanceof Element ? e.target : null;
      if (target === this.toggle || this.toggle.contains(target)) {
        this.showList(!this.box.classList.contains('km-open'));
        return;
      }
      const button = target && target.closest('.km-sub');
      const node = button ? button.kmNode : this.nodeOf(target);
      if (!node) return;
      if (this.compact) {
        if (node.sub && (button || !node.el.href)) this.disclose(node, node.sub.el.hidden);
        return;
      }
      if (this.touchOpened === node || !node.el.href) {
        e.preventDefault();
        this.touchOpened = null;
      }
    }

    // ---- keyboard, as the WAI-ARIA navigation menubar

    focused(target) {
      const node = this.nodeOf(target);
      if (!node) return;
      if (this.compact) return this.light(node);
      if (node.record.level === 0) {
        for (const record of this.tops) for (const n of record.nodes) n.el.tabIndex = n === node ? 0 : -1;
      }
      const path = this.pathTo(node);
      clearTimeout(this.timer);
      this.timer = 0;
      if (!this.samePath(path)) this.setPath(path, false);
    }

    ring(node) {
      return node.record.level === 0 ? this.tops.flatMap((r) => r.nodes) : node.record.nodes;
    }

    // Focus first: the element that had it may lie in a sub menu about to close.
    focusNode(node, openSub = false) {
      if (!node) return;
      node.el.focus();
      this.setPath(this.pathTo(node), openSub);
    }

    openAndFocus(node, last) {
      if (!this.hasSub(node)) return false;
      this.setPath(this.pathTo(node), true);
      const nodes = node.sub.nodes;
      this.focusNode(last ? nodes[nodes.length - 1] : nodes[0]);
      return true;
    }

    closeToParent(node) {
      const opener = node.record.opener;
      if (!opener) return false;
      this.focusNode(opener);
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
      const across = horizontal(node.menu);
      const ring = this.ring(node);
      const at = ring.indexOf(node);
      const move = (i) => this.focusNode(ring[(i + ring.length) % ring.length],
        node.record.level === 0 && this.openLast && this.path.items.length === 1 && this.hasSub(node));
      let handled = true;
      switch (e.key) {
        case across ? 'ArrowRight' : 'ArrowDown': move(at + 1); break;
        case across ? 'ArrowLeft' : 'ArrowUp': move(at - 1); break;
        case across ? 'ArrowDown' : 'ArrowRight':
          if (!this.openAndFocus(node, false)) handled = this.nextTop(node, 1);
          break;
        case across ? 'ArrowUp' : 'ArrowLeft':
          if (node.record.level === 0) handled = this.openAndFocus(node, true);
          else if (!(e.key === 'ArrowLeft' && node.record.level === 1 && this.nextTop(node, -1))) this.closeToParent(node);
          break;
        case 'Home': this.focusNode(ring[0]); break;
        case 'End': this.focusNode(ring[ring.length - 1]); break;
        case 'Enter':
        case ' ':
          if (node.el.href) {
            this.pressed = false;
            node.el.click();
          } else {
            handled = this.openAndFocus(node, false);
          }
          break;
        case 'Escape':
          if (!this.closeToParent(node)) {
            this.setPath(this.pathTo(node), false);
          }
          break;
        case 'Tab': {
          // From the menubar's one tab stop the browser moves on out of the menus at once.
          const stop = this.nodes.find((n) => n.el.tabIndex === 0);
          if (stop && stop !== node) stop.el.focus();
          this.close();
          handled = false;
          break;
        }
        default:
          handled = e.key.length === 1 && e.key.trim() !== '' && this.typeAhead(ring, at, e.key);
      }
      if (handled) {
        e.preventDefault();
        e.stopPropagation();
      }
    }

    // In a sub menu of a menu whose items run across, Right on an item without sub menu moves
    // on to the next top-level item, and Left in its first sub menu to the previous one, each
    // opened, as in a menubar.
    nextTop(node, step) {
      if (node.record.level === 0) return false;
      let top = node;
      while (top.record.opener) top = top.record.opener;
      if (!horizontal(top.menu)) return false;
      const ring = this.ring(top);
      const next = ring[(ring.indexOf(top) + step + ring.length) % ring.length];
      this.focusNode(next, true);
      return true;
    }

    typeAhead(ring, at, key) {
      const wanted = key.toLowerCase();
      for (let i = 1; i <= ring.length; i++) {
        const candidate = ring[(at + i) % ring.length];
        if (labelText(candidate.item).toLowerCase().startsWith(wanted)) {
          this.focusNode(candidate);
          return true;
        }
      }
      return false;
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

  window.KestruneMenu = { mount, controllers, decodeAu };
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();
})();
