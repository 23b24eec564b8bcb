#include "tempovia/main/app_state.h"

MainProgramState g_app;
