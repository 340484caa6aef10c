#pragma once
// The Windows headers of this face, in the order they need: windows.h before the others.

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
// clang-format on
