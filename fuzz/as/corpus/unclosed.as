if (a) {
 x = [1, 2
