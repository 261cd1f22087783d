#pragma once

#include <csetjmp>

namespace Casement::DETAIL {

// Runs `step` for the C decoding libraries, whose error handlers leave a
// failing call by a long jump to `jump`: true when `step` returned, false when
// a long jump ended it. Whatever `step` runs must keep no object with a
// destructor on the frames that the jump passes over.
template <class Step>
bool guardedCall(std::jmp_buf& jump, Step&& step)
{
    if (setjmp(jump) != 0) {
        return false;
    }
    step();
    return true;
}

} // namespace Casement::DETAIL
