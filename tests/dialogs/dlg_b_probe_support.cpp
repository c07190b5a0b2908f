// The movie reader of the builder tests, reused to read back what the settings dialog made.
#include "movie/swf_probe.cpp"
