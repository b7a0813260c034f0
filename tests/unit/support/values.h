// Moved: the shared values are in support/builtin_fixture.h.
#pragma once
#include "support/builtin_fixture.h"
