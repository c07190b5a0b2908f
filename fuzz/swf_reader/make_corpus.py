#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_swf_reader: small hand-assembled SWF files, one per kind of tag the
clip import rewrites, plain (FWS) and compressed (CWS). Run it from this folder."""
import struct
import zlib


class Bits:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def ub(self, v, bits):
        for i in range(bits - 1, -1, -1):
            self.acc = (self.acc << 1) | ((v >> i) & 1)
            self.n += 1
            if self.n == 8:
                self.out.append(self.acc)
                self.acc = self.n = 0
        return self

    def sb(self, v, bits):
        return self.ub(v & ((1 << bits) - 1), bits)

    def done(self):
        if self.n:
            self.out.append(self.acc << (8 - self.n))
            self.acc = self.n = 0
        return bytes(self.out)


def u16(v):
    return struct.pack('<H', v)


def rect(x0, x1, y0, y1):
    return Bits().ub(16, 5).sb(x0, 16).sb(x1, 16).sb(y0, 16).sb(y1, 16).done()


def translate(x, y):
    return Bits().ub(0, 1).ub(0, 1).ub(16, 5).sb(x, 16).sb(y, 16).done()


IDENTITY = Bits().ub(0, 7).done()
NO_CXFORM = Bits().ub(0, 6).done()


def tag(code, body, long_form=False):
    if len(body) < 63 and not long_form:
        return u16(code << 6 | len(body)) + body
    return u16(code << 6 | 0x3f) + struct.pack('<I', len(body)) + body


def movie(tags, version=6, compressed=False, frames=1):
    body = rect(0, 11000, 0, 8000) + u16(12 << 8) + u16(frames) + b''.join(tags) + u16(0)
    head = (b'CWS' if compressed else b'FWS') + bytes([version]) + struct.pack('<I', 8 + len(body))
    return head + (zlib.compress(body) if compressed else body)


def square_shape(cid, fill):
    b = Bits().ub(1, 4).ub(0, 4).ub(0, 1).ub(0x03, 5).ub(1, 5).sb(0, 1).sb(0, 1).ub(1, 1)
    for d in (200, -200):
        b.ub(1, 1).ub(1, 1).ub(14, 4).ub(0, 1).ub(0, 1).sb(d, 16)
        b.ub(1, 1).ub(1, 1).ub(14, 4).ub(0, 1).ub(1, 1).sb(d, 16)
    b.ub(0, 1).ub(0x12, 5).ub(1, 1)  # fill 0 and new styles
    records = b.done() + b'\x01' + fill + b'\x00' + Bits().ub(1, 4).ub(0, 4).ub(0, 6).done()
    return tag(32, u16(cid) + rect(0, 200, 0, 200) + b'\x01' + fill + b'\x00' + records)


def bitmap(cid):
    return tag(36, u16(cid) + b'\x05' + u16(2) + u16(2) + zlib.compress(b'\xff' * 16), True)


def place2(depth, cid, x=0, y=0):
    return tag(26, b'\x06' + u16(depth) + u16(cid) + translate(x, y))


SHOW = tag(1, b'')
SOLID = b'\x00\xff\x00\x00\xff'
BITMAP_FILL = b'\x41' + u16(1) + IDENTITY


def font(cid):
    glyph = Bits().ub(1, 4).ub(0, 4).ub(0, 6).done()
    return tag(48, u16(cid) + b'\x84\x00\x01F' + u16(1) + u16(4) + u16(6) + glyph + u16(65) +
               u16(900) + u16(200) + u16(0) + u16(500) + rect(0, 0, 0, 0) + u16(0))


def text(cid, font_id):
    glyphs = Bits().ub(0, 1).sb(100, 8).done()
    return tag(33, u16(cid) + rect(0, 400, 0, 400) + IDENTITY + b'\x01\x08' + b'\x8d' + u16(font_id) +
               b'\x00\x00\x00\xff' + u16(0) + u16(400) + b'\x01' + glyphs + b'\x00')


def button(cid, shape_id):
    record = b'\x0f' + u16(shape_id) + u16(1) + IDENTITY + NO_CXFORM
    actions = u16(0) + u16(8) + b'\x81\x02\x00\x02\x00\x07\x00'
    return tag(34, u16(cid) + b'\x00' + u16(2 + len(record) + 1) + record + b'\x00' + actions)


def sprite(cid, shape_id):
    inner = place2(1, shape_id, 100, 100) + SHOW + tag(28, u16(1)) + SHOW + u16(0)
    return tag(39, u16(cid) + u16(2) + inner)


def write(name, data):
    with open('corpus/' + name, 'wb') as f:
        f.write(data)


write('empty.swf', movie([]))
write('shape_solid.swf', movie([square_shape(2, SOLID), place2(1, 2), SHOW]))
write('shape_bitmap.swf', movie([bitmap(1), square_shape(2, BITMAP_FILL), place2(1, 2), SHOW]))
write('text.swf', movie([font(3), text(4, 3), place2(1, 4), SHOW]))
write('button.swf', movie([square_shape(2, SOLID), button(5, 2), place2(1, 5), SHOW]))
write('sprite.swf', movie([square_shape(2, SOLID), sprite(6, 2), place2(1, 6), SHOW, tag(12, b'\x07\x00'), SHOW],
                          frames=2))
write('jpeg_tables.swf', movie([tag(8, b'\xff\xd8\xff\xdb\x00\x02\xff\xd9'),
                                tag(6, u16(7) + b'\xff\xd8\xff\xc0\x00\x02\xff\xd9'), SHOW]))
write('everything_cws.swf', movie([tag(69, b'\x00\x00\x00\x00'), tag(9, b'\x10\x20\x30'), bitmap(1),
                                   square_shape(2, BITMAP_FILL), font(3), text(4, 3), button(5, 2), sprite(6, 2),
                                   place2(1, 2), place2(2, 4), place2(3, 5), place2(4, 6), SHOW,
                                   tag(28, u16(2)), SHOW], version=10, compressed=True, frames=2))
