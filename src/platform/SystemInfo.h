#pragma once
// Finding the system-information program and opening the help page.
