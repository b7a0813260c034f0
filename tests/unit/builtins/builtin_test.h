// Moved: the shared fixture is support/builtin_fixture.h.
#pragma once
#include "support/builtin_fixture.h"
