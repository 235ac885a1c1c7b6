#include "settings/settings_window.h"
