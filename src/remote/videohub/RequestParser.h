#pragma once

#include "remote/videohub/BlockReader.h"
#include "remote/videohub/Request.h"

namespace videohub {

struct MatrixSize
{
    int inputs = 0;
    int outputs = 0;
};

// Classifies one block a client sent. A change is all or nothing: one line
// that does not parse or names a port outside `size` makes the whole block
// Invalid, so a refused block never half applies.
[[nodiscard]] Request ParseRequest(const RawBlock &block, MatrixSize size);

} // namespace videohub
