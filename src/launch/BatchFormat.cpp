#include "launch/BatchFormat.h"
