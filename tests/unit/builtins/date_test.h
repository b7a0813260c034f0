// Moved: the date fixture is support/date_fixture.h.
#pragma once
#include "support/date_fixture.h"
