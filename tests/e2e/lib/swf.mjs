// A tiny hand assembler for SWF 6 movies: just the tags the harness's own movies need. It is
// deliberately independent of the C++ movie library, so the harness can be proven on its own.
import { deflateSync } from "node:zlib";

export const TWIPS = 20;

// Writes bit fields most significant bit first, then whole bytes once aligned.
export class BitWriter {
  constructor() {
    this.bytes = [];
    this.acc = 0;
    this.nbits = 0;
  }
  ub(value, bits) {
    for (let i = bits - 1; i >= 0; --i) {
      this.acc = (this.acc << 1) | ((value >>> i) & 1);
      if (++this.nbits === 8) this.flushByte();
    }
    return this;
  }
  sb(value, bits) {
    return this.ub(value & ((1 << bits) - 1) >>> 0, bits);
  }
  flushByte() {
    this.bytes.push(this.acc & 0xff);
    this.acc = 0;
    this.nbits = 0;
  }
  align() {
    if (this.nbits > 0) this.ub(0, 8 - this.nbits);
    return this;
  }
  u8(v) {
    this.align();
    this.bytes.push(v & 0xff);
    return this;
  }
  u16(v) {
    return this.u8(v).u8(v >> 8);
  }
  u32(v) {
    return this.u16(v & 0xffff).u16(v >>> 16);
  }
  raw(bytes) {
    this.align();
    for (const b of bytes) this.bytes.push(b);
    return this;
  }
  str(s) {
    return this.raw(Buffer.from(s + "\0", "utf8"));
  }
  rgb([r, g, b]) {
    return this.u8(r).u8(g).u8(b);
  }
  rgba([r, g, b, a = 255]) {
    return this.u8(r).u8(g).u8(b).u8(a);
  }
  toBuffer() {
    this.align();
    return Buffer.from(this.bytes);
  }
}

// Bits a signed value needs (at least one for the sign).
export function signedBits(...values) {
  let bits = 1;
  for (const v of values) {
    const magnitude = v < 0 ? ~v : v;
    bits = Math.max(bits, 32 - Math.clz32(magnitude) + 1);
  }
  return bits;
}

export function rect(w, xmin, xmax, ymin, ymax) {
  const n = signedBits(xmin, xmax, ymin, ymax);
  w.ub(n, 5).sb(xmin, n).sb(xmax, n).sb(ymin, n).sb(ymax, n);
  return w.align();
}

// A translation-only matrix (twips).
export function translate(w, tx = 0, ty = 0) {
  w.ub(0, 1).ub(0, 1); // no scale, no rotate
  const n = tx === 0 && ty === 0 ? 0 : signedBits(tx, ty);
  w.ub(n, 5);
  if (n > 0) w.sb(tx, n).sb(ty, n);
  return w.align();
}

export function tag(code, body = Buffer.alloc(0)) {
  const w = new BitWriter();
  if (body.length < 63) {
    w.u16((code << 6) | body.length);
  } else {
    w.u16((code << 6) | 0x3f).u32(body.length);
  }
  return Buffer.concat([w.toBuffer(), body]);
}

export const Tag = {
  End: 0,
  ShowFrame: 1,
  DoAction: 12,
  SetBackgroundColor: 9,
  DefineShape3: 32,
  DefineButton2: 34,
  PlaceObject2: 26,
  DefineText2: 33,
  DefineFont2: 48,
};

export function showFrame() {
  return tag(Tag.ShowFrame);
}

export function setBackgroundColor(rgb) {
  return tag(Tag.SetBackgroundColor, new BitWriter().rgb(rgb).toBuffer());
}

// A DefineShape3 of one axis-aligned rectangle in pixels filled with an RGBA colour.
export function rectangleShape(id, { x, y, width, height, color }) {
  const [x0, y0, w0, h0] = [x, y, width, height].map((v) => v * TWIPS);
  const w = new BitWriter().u16(id);
  rect(w, x0, x0 + w0, y0, y0 + h0);
  w.u8(1).u8(0x00).rgba(color); // one solid fill
  w.u8(0); // no line styles
  w.ub(1, 4).ub(0, 4); // fill bits, line bits
  // Style change: move to the corner and select fill style 1 as fill 0 of the edges.
  const m = signedBits(x0, y0);
  w.ub(0, 1).ub(0, 1).ub(0, 1).ub(0, 1).ub(1, 1).ub(1, 1); // flags: fill 0, move to
  w.ub(m, 5).sb(x0, m).sb(y0, m).ub(1, 1);
  const edge = (dx, dy) => {
    const n = Math.max(2, signedBits(dx, dy));
    w.ub(1, 1).ub(1, 1).ub(n - 2, 4);
    if (dx !== 0 && dy !== 0) {
      w.ub(1, 1).sb(dx, n).sb(dy, n);
    } else {
      w.ub(0, 1).ub(dx === 0 ? 1 : 0, 1).sb(dx === 0 ? dy : dx, n);
    }
  };
  edge(w0, 0);
  edge(0, h0);
  edge(-w0, 0);
  edge(0, -h0);
  w.ub(0, 6); // end of shape
  return tag(Tag.DefineShape3, w.toBuffer());
}

export function placeObject2({ depth, id, x = 0, y = 0, name }) {
  const w = new BitWriter();
  w.u8(0x02 | 0x04 | (name ? 0x20 : 0)).u16(depth).u16(id);
  translate(w, x * TWIPS, y * TWIPS);
  if (name) w.str(name);
  return tag(Tag.PlaceObject2, w.toBuffer());
}

// A DefineFont2 from an .fdb file's body (read with readFdb).
export function defineFont2(id, font) {
  return tag(Tag.DefineFont2, Buffer.concat([new BitWriter().u16(id).toBuffer(), font.body]));
}

// A DefineText2 of one line in `font` (an .fdb read with readFdb), origin on the baseline's left end.
// Characters the font lacks take its last glyph.
export function defineText2(id, { fontId, font, text, height, color = [0, 0, 0, 255] }) {
  const h = height * TWIPS;
  const glyphs = [...text].map((c) => font.glyphByCode.get(c.codePointAt(0)) ?? font.glyphCount - 1);
  const advances = glyphs.map((g) => Math.floor((font.advance(g) * h) / 1024));
  const width = advances.reduce((a, b) => a + b, 0);
  const glyphBits = 32 - Math.clz32(font.glyphCount - 1);
  const advanceBits = signedBits(...advances);
  const w = new BitWriter().u16(id);
  rect(w, 0, width, -h, Math.ceil(h / 4));
  translate(w, 0, 0);
  w.u8(glyphBits).u8(advanceBits);
  w.u8(0x8f).u16(fontId).rgba(color).u16(0).u16(0).u16(h).u8(glyphs.length);
  glyphs.forEach((g, i) => w.ub(g, glyphBits).sb(advances[i], advanceBits));
  w.align().u8(0);
  return tag(Tag.DefineText2, w.toBuffer());
}

// Button conditions: the release and press events over the button.
export const OnRelease = 0x0008;
export const OnPress = 0x0004;

// A DefineButton2 whose up, over, down and hit states all show one character, with one action list.
export function button2(id, { shapeId, condition = OnRelease, actions }) {
  const records = new BitWriter();
  records.u8(0x0f).u16(shapeId).u16(1);
  translate(records, 0, 0);
  records.ub(0, 1).ub(0, 1).ub(0, 4).align(); // CXFORMWITHALPHA without terms
  records.u8(0); // end of records
  const rec = records.toBuffer();
  const w = new BitWriter().u16(id).u8(0);
  w.u16(2 + rec.length); // from this field to the first condition
  w.raw(rec);
  w.u16(0); // last (and only) condition
  w.u16(condition);
  w.raw(actions);
  return tag(Tag.DefineButton2, w.toBuffer());
}

// Action bytecode: each helper returns the bytes of one action; doAction ends the list.
export const Action = {
  stop: () => Buffer.from([0x07]),
  play: () => Buffer.from([0x06]),
  trace: () => Buffer.from([0x26]),
  getVariable: () => Buffer.from([0x1c]),
  setVariable: () => Buffer.from([0x1d]),
  getMember: () => Buffer.from([0x4e]),
  gotoFrame: (index) => long(0x81, new BitWriter().u16(index).toBuffer()),
  getURL: (url, target) => long(0x83, new BitWriter().str(url).str(target).toBuffer()),
  // getURL2 with no variables sent: loadMovie when the target is a level or clip.
  getURL2: (flags = 0) => long(0x9a, Buffer.from([flags])),
  pushString: (...strings) => {
    const w = new BitWriter();
    for (const s of strings) w.u8(0).str(s);
    return long(0x96, w.toBuffer());
  },
  pushNumber: (value) => {
    const b = Buffer.alloc(9);
    b[0] = 6; // double, stored as two little-endian 32-bit halves, high half first
    const d = Buffer.alloc(8);
    d.writeDoubleLE(value);
    d.copy(b, 1, 4, 8);
    d.copy(b, 5, 0, 4);
    return long(0x96, b);
  },
};

function long(code, body) {
  return Buffer.concat([Buffer.from([code, body.length & 0xff, body.length >> 8]), body]);
}

export function actionList(...actions) {
  return Buffer.concat([...actions, Buffer.from([0])]);
}

export function doAction(...actions) {
  return tag(Tag.DoAction, actionList(...actions));
}

// Assembles a movie. `frames` is a list of tag lists; each frame ends with a ShowFrame.
export function movie({ width, height, rate = 12, background, frames, compress = false }) {
  const w = new BitWriter();
  rect(w, 0, width * TWIPS, 0, height * TWIPS);
  w.u16(Math.floor(rate * 256)).u16(frames.length);
  const parts = [w.toBuffer()];
  if (background) parts.push(setBackgroundColor(background));
  for (const frame of frames) parts.push(...frame, showFrame());
  parts.push(tag(Tag.End));
  const body = Buffer.concat(parts);
  const header = Buffer.alloc(8);
  header.write(compress ? "CWS" : "FWS", 0, "latin1");
  header[3] = 6;
  header.writeUInt32LE(8 + body.length, 4);
  return Buffer.concat([header, compress ? deflateSync(body) : body]);
}
