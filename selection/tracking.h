// Tracking one selection from press to release. The public calls are in
// menu/marking_menu.h; the modes a root's `mode` field holds are named in
// core/menu_tree.h.
#pragma once

#include "core/menu_tree.h"
#include "menu/marking_menu.h"
