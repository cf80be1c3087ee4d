#pragma once

#include "door/MatrixSnapshot.h"

class MainPanel;

// The running panel's matrix as protocol servers show it: read from its
// set-up, names, route state and locks.
[[nodiscard]] MatrixSnapshot readMatrix(const MainPanel &panel);
