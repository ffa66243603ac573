#include "platform/SystemInfo.h"
