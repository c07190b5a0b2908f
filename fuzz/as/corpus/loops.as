var t = 0;
for (var i = 0; i < 10; i++) { if (i % 2) continue; t += i; }
while (t > 0) { t -= 3; if (t < 5) break; }
do { t++; } while (t < 3);
for (k in _root) { if (k == "t") break; }
switch (t) { case 1: trace("one"); break; case 2: case 3: trace("few"); break; default: trace("many"); }
