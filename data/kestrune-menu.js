// SPDX-License-Identifier: MIT
/* Kestrune menu runtime: draws the menus of a Kestrune page with HTML and CSS.
 *
 * Browsers no longer run applets. This script reads the <param> lines of every
 * <applet code="trelvix.class"> of the page and puts in its place a box of the applet's
 * size that shows the same menus, laid out by the same rules as Kestrune's Menu Preview.
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
  const MAX_DEPTH = 256;
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
    const menuCount = Math.max(0, Math.min(int(misc[0], 0), 100000));
    const menus = [];
    const emitted = [];
    for (let k = 0; k < menuCount; k++) {
      const menu = newMenu();
      readMenuStyle(params.get(`mstyle-${k}`), menu);
      readItemStyles(params.get(`istyle-${k}`), menu);
      const count = Math.max(0, Math.min(int(misc[k + 1], 0), 100000));
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

  function mediaUrl(name) {
    if (!name) return '';
    try { return new URL(name, document.baseURI).href; } catch { return ''; }
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
      `.${name}>.km-line{left:${shift}px}`,
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

  const STYLE_TEXT = `
.kestrune-menu{display:inline-block;position:relative;overflow:hidden;vertical-align:baseline;text-align:left;
  background-repeat:no-repeat;line-height:normal;font-size:0}
.kestrune-menu .km-menu{position:absolute;margin:0;padding:0;box-sizing:border-box}
.kestrune-menu .km-item{position:absolute;display:flex;flex-direction:column;justify-content:center;overflow:hidden;box-sizing:border-box;text-decoration:none;
  cursor:default;outline-offset:-2px;-webkit-tap-highlight-color:transparent;user-select:text;
  background-repeat:no-repeat;line-height:normal;contain:strict}
.kestrune-menu a.km-item[href]{cursor:pointer}
.kestrune-menu .km-line{position:relative;white-space:pre;overflow:visible}
.kestrune-menu .km-bevel,.kestrune-menu .km-frame{position:absolute;inset:0;box-sizing:border-box;pointer-events:none}
.kestrune-menu .km-status{position:absolute;left:0;right:0;bottom:0;padding:1px 4px;font:12px/1.3 sans-serif;
  color:#fff;background:rgba(0,0,0,.72);white-space:nowrap;overflow:hidden;text-overflow:ellipsis;pointer-events:none}
.kestrune-menu .km-status:empty{display:none}
@media (prefers-reduced-motion: reduce){.kestrune-menu *{transition:none!important;animation:none!important}}`;

  let idCounter = 0;
  const controllers = [];

  function ensureStyleSheet() {
    if (styleSheet && styleSheet.ownerNode && styleSheet.ownerNode.isConnected) return;
    const style = document.createElement('style');
    style.textContent = STYLE_TEXT;
    (document.head ?? document.documentElement).appendChild(style);
    styleSheet = style.sheet;
  }

  class AppletBox {
    constructor(element) {
      this.applet = readApplet(element);
      this.path = { top: -1, items: [] };
      this.openLast = true; // whether the last item on the path shows its sub menu
      this.onItem = false;
      this.pressed = false;
      this.timer = 0;
      this.touchOpened = null;
      this.tops = [];
      this.chain = [];
      this.box = this.buildBox(element);
      element.replaceWith(this.box);
    }

    buildBox(element) {
      const a = this.applet;
      const box = document.createElement('nav');
      box.className = 'kestrune-menu';
      box.setAttribute('aria-label', document.title.trim() || 'Menu');
      Object.assign(box.style, { width: `${a.width}px`, height: `${a.height}px`, backgroundColor: rgb(a.bkColor) });
      const image = mediaUrl(a.bkImage);
      if (image) {
        box.style.backgroundImage = cssUrl(image);
        if (a.bkMode === 1) Object.assign(box.style, { backgroundRepeat: 'repeat', backgroundPosition: '0 0' });
        else box.style.backgroundPosition = `${a.bkX}px ${a.bkY}px`;
      }
      const id = element.getAttribute('id');
      if (id) box.id = id;
      a.menus.forEach((menu, t) => {
        if (menu.items.length) this.tops.push(this.buildMenu(box, menu, t, 0, { x: 0, y: 0 }, null));
      });
      this.status = document.createElement('div');
      this.status.className = 'km-status';
      this.status.setAttribute('role', 'status');
      box.appendChild(this.status);
      const first = this.tops[0]?.nodes[0];
      if (first) first.el.tabIndex = 0;
      this.listen(box);
      return box;
    }

    buildMenu(box, menu, top, level, origin, opener) {
      const rect = clamped(menuRect(menu, origin.x, origin.y));
      const el = document.createElement('div');
      el.className = 'km-menu';
      el.id = `km-menu-${++idCounter}`;
      el.setAttribute('role', level === 0 ? 'menubar' : 'menu');
      el.setAttribute('aria-orientation', horizontal(menu) ? 'horizontal' : 'vertical');
      if (opener) el.setAttribute('aria-label', opener.item.lines.join(' '));
      place(el, rect, { l: 0, t: 0 });
      if (menu.bkStyle === 2 || menu.bkStyle === 3) el.style.backgroundColor = rgb(menu.bkColor);
      const record = { menu, top, level, origin, rect, el, nodes: [] };
      menu.items.forEach((item, index) => record.nodes.push(this.buildItem(record, item, index)));
      if (menu.bkStyle === 1 || menu.bkStyle === 3) {
        const frame = document.createElement('div');
        frame.className = 'km-frame';
        frame.style.border = `1px solid ${rgb(menu.styles[NORMAL].fr)}`;
        el.appendChild(frame);
      }
      box.appendChild(el);
      return record;
    }

    buildItem(record, item, index) {
      const link = linkUrl(item.link);
      const el = document.createElement(link ? 'a' : 'div');
      el.className = 'km-item';
      el.setAttribute('role', 'menuitem');
      el.tabIndex = -1;
      if (link) {
        el.href = link;
        el.target = item.target;
      }
      if (item.description) el.title = item.description;
      if (item.sub && item.sub.items.length) {
        el.setAttribute('aria-haspopup', 'menu');
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
      const node = { item, menu: record.menu, record, index, el, rect, state: -1 };
      el.kmNode = node;
      paintItem(node, NORMAL);
      record.el.appendChild(el);
      return node;
    }

    // ---- the open path

    hasSub(node) { return !!(node.item.sub && node.item.sub.items.length); }

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
      // Sub menus that still lie on the path stay; only the rest is rebuilt.
      const topRecord = this.tops.find((r) => r.top === path.top);
      const wanted = [];
      let record = topRecord;
      for (let level = 0; record && level < path.items.length && level < MAX_DEPTH; level++) {
        const node = record.nodes[path.items[level]];
        if (!node) { path.items.length = level; break; }
        const opens = this.hasSub(node) && (openLast || level + 1 < path.items.length);
        if (!opens) break;
        const existing = this.chain[level];
        record = existing && existing.opener === node ? existing
          : this.openSub(node, level + 1);
        wanted.push(record);
      }
      for (const r of this.chain) if (!wanted.includes(r)) this.closeSub(r);
      this.chain = wanted;
      for (const node of new Set([...old, ...this.pathNodes()])) this.refresh(node);
    }

    openSub(node, level) {
      const origin = subOrigin(node.record.menu, node.index, node.record.origin);
      const record = this.buildMenu(this.box, node.item.sub, node.record.top, level, origin, node);
      record.opener = node;
      this.box.insertBefore(record.el, this.status);
      node.el.setAttribute('aria-expanded', 'true');
      node.el.setAttribute('aria-owns', record.el.id);
      return record;
    }

    closeSub(record) {
      record.el.remove();
      if (record.opener) {
        record.opener.el.setAttribute('aria-expanded', 'false');
        record.opener.el.removeAttribute('aria-owns');
      }
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
      this.showStatus('');
    }

    // The status line lies along the edge of the box away from the item, so it never hides it.
    showStatus(text, node) {
      this.status.textContent = text;
      if (!text || !node) return;
      const lower = node.rect.t + node.rect.b > this.applet.height;
      this.status.style.cssText = lower ? 'top:0;bottom:auto' : '';
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
        if (e.relatedTarget && !box.contains(e.relatedTarget)) this.close();
      });
      // A tap elsewhere closes what a tap opened.
      document.addEventListener('pointerdown', (e) => {
        if (!box.contains(e.target)) this.close();
      }, { capture: true, passive: true });
    }

    nodeOf(target) {
      const el = target instanceof Element ? target.closest('.km-item') : null;
      return el && this.box.contains(el) ? el.kmNode : null;
    }

    pointerAt(target) {
      const node = this.nodeOf(target);
      const inMenu = target instanceof Element && target.closest('.km-menu');
      if (!node && !inMenu) return this.pointerAway();
      clearTimeout(this.timer);
      this.timer = 0;
      if (!node) {
        // Between the items of an open menu: keep what is open.
        if (this.onItem) {
          this.onItem = false;
          this.pressed = false;
          this.showStatus('');
          this.setPath(this.path, this.openLast);
        }
        return;
      }
      const path = this.pathTo(node);
      if (this.onItem && this.samePath(path) && this.openLast) return;
      this.pressed = false;
      this.onItem = true;
      this.setPath(path, true);
      this.showStatus(node.item.description, node);
      sounds.play(node.item.sounds[0]);
    }

    pointerAway() {
      if (this.onItem) {
        this.onItem = false;
        this.pressed = false;
        this.showStatus('');
        this.setPath(this.path, this.openLast);
      }
      if (this.path.top < 0 || this.timer) return;
      this.timer = setTimeout(() => this.close(), CLOSE_DELAY);
    }

    samePath(path) {
      return path.top === this.path.top && path.items.length === this.path.items.length &&
        path.items.every((v, i) => v === this.path.items[i]);
    }

    pointerDown(e) {
      if (e.button !== 0) return;
      const node = this.nodeOf(e.target);
      if (!node) return;
      // A first tap opens a sub menu; a second one follows the link.
      const isOpen = this.samePath(this.pathTo(node)) && this.openLast;
      this.touchOpened = e.pointerType === 'touch' && this.hasSub(node) && !isOpen ? node : null;
      this.pointerAt(e.target);
      this.pressed = true;
      this.refresh(node);
      sounds.play(node.item.sounds[1]);
    }

    pointerUp() {
      if (!this.pressed) return;
      this.pressed = false;
      for (const node of this.pathNodes()) this.refresh(node);
    }

    clicked(e) {
      const node = this.nodeOf(e.target);
      if (!node) return;
      if (this.touchOpened === node || !node.el.href) {
        e.preventDefault();
        this.touchOpened = null;
      }
    }

    // ---- keyboard, as the WAI-ARIA navigation menubar

    focused(target) {
      const node = this.nodeOf(target);
      if (!node) return;
      if (node.record.level === 0) {
        for (const record of this.tops) for (const n of record.nodes) n.el.tabIndex = n === node ? 0 : -1;
      }
      const path = this.pathTo(node);
      clearTimeout(this.timer);
      this.timer = 0;
      if (!this.samePath(path)) this.setPath(path, false);
      this.showStatus(node.item.description, node);
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
      const sub = this.chain[node.record.level];
      const nodes = sub ? sub.nodes : [];
      const target = last ? nodes[nodes.length - 1] : nodes[0];
      if (target) this.focusNode(target);
      return true;
    }

    closeToParent(node) {
      const opener = node.record.opener;
      if (!opener) return false;
      this.focusNode(opener);
      return true;
    }

    key(e) {
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
        case 'Tab': this.close(); handled = false; break;
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
        if (candidate.item.lines.join(' ').trim().toLowerCase().startsWith(wanted)) {
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
