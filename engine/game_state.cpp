#include "engine/game_state.h"

bool g_gameRunning = false;
int g_exitCode = 0;
