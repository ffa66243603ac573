#include "settings/frmOptions.h"
