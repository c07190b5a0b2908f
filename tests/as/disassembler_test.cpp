#include "listing.h"
