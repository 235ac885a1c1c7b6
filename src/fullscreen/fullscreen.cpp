#include "fullscreen/fullscreen.h"
