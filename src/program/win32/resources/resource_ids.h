#pragma once

// The ids of tavren.exe's resources, for tavren.rc and the program alike.

// The program's icon: the first, which Explorer shows for tavren.exe.
#define TAVREN_ICON 1
