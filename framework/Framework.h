// The framework layer: thin classes over Win32 with the names the program
// is written against. Include this one header.
#pragma once
#include "framework/App.h"
#include "framework/CommonDialogs.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Files.h"
#include "framework/Gdi.h"
#include "framework/Menu.h"
#include "framework/ModuleState.h"
#include "framework/Object.h"
#include "framework/Strings.h"
#include "framework/Thread.h"
#include "framework/Window.h"
