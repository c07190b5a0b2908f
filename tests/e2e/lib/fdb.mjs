// Reads an .fdb font file ("fdb0", then a DefineFont2 body without its font id) far enough to lay out
// a line of text with it: glyph indices by character code and advances on the 1024-unit EM square.
export function readFdb(bytes) {
  if (bytes.toString("latin1", 0, 4) !== "fdb0") throw new Error("not an .fdb file");
  const body = bytes.subarray(4);
  let pos = 0;
  const flags = body[pos++];
  pos++; // language
  const nameLength = body[pos++];
  const name = body.toString("latin1", pos, pos + nameLength);
  pos += nameLength;
  const glyphCount = body.readUInt16LE(pos);
  pos += 2;
  const wideOffsets = (flags & 0x08) !== 0;
  const wideCodes = (flags & 0x04) !== 0;
  if (!(flags & 0x80)) throw new Error("the font has no layout");
  const tableStart = pos;
  const offset = (i) =>
    wideOffsets ? body.readUInt32LE(tableStart + 4 * i) : body.readUInt16LE(tableStart + 2 * i);
  let codes = tableStart + offset(glyphCount); // the code table offset follows the glyph offsets
  const glyphByCode = new Map();
  for (let i = 0; i < glyphCount; ++i) {
    glyphByCode.set(wideCodes ? body.readUInt16LE(codes) : body[codes], i);
    codes += wideCodes ? 2 : 1;
  }
  const advancesStart = codes + 6; // after ascent, descent and leading
  const advance = (glyph) => body.readInt16LE(advancesStart + 2 * glyph);
  return { body, name, flags, glyphCount, glyphByCode, advance };
}
