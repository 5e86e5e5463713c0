#pragma once

// The Windows API for the front-end. Its MessageBox macro would rename the core's message-box
// request in every file that sees both; the front-end calls MessageBoxA by its own name.
#include <windows.h>
#undef MessageBox
