// The application's one menu bar: File (Quit) and Edit.
#pragma once

#include <memory>

#include "framework/menu.h"

namespace app {

// The menu bar, built on first use and kept until ReleaseMenuBar1().
std::shared_ptr<framework::MenuItem> MenuBar1();
void ReleaseMenuBar1();

}  // namespace app
