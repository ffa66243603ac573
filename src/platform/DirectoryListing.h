#pragma once
// Listing one directory for the source-tree scan.
