#pragma once

#include "door/MatrixSnapshot.h"
#include "panel/ShowMatrix.h"

class MainPanel;

// The running panel's matrix as protocol servers show it: read from its
// set-up, names, route state and locks.
[[nodiscard]] MatrixSnapshot readMatrix(const MainPanel &panel);

// The same, with whether each output's router switches its levels apart.
[[nodiscard]] ShowMatrix readShowMatrix(const MainPanel &panel);
