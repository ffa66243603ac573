#include "platform/DirectoryListing.h"
