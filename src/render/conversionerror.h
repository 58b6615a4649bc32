#pragma once
// A malformed number in a diagram's lists stops the drawing of the whole
// diagram; its text is shown to the user as it is. The renderer shares the
// readers' integer rules, so a number that loads also draws.
#include "document/integertext.h"
