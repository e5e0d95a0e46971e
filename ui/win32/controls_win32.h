// Every windowless control of the toolkit, by family.
#pragma once

#include "ui/win32/buttons_win32.h"
#include "ui/win32/control_base_win32.h"
#include "ui/win32/gauges_win32.h"
#include "ui/win32/lists_win32.h"
#include "ui/win32/radios_win32.h"
