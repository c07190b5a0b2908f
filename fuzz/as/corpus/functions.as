function fact(n) { return n <= 1 ? 1 : n * fact(n - 1); }
var o = {v: 2, get: function () { return this.v; }, list: [1, 2.5, "x", null, undefined, true]};
o.v *= fact(4); o["w"] = o.v >>> 1 ^ ~3 & 0xFF | 1 << 2;
trace(typeof o + String(o.get()) + int(random(5)) + Number("7") + getTimer() + targetPath(this) + eval("o"));
delete o.w; x = o instanceof Object && !(o.v === 2) || o.v !== 3;
y = x++ + --o.v - void 0; gotoAndPlay(o.v + 1); gotoAndStop("end"); getURL("a", "_top", "POST");
