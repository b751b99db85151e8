// The Windows platform layer on the real system (under Wine in CI).
#include "support/Suite.h"
