// The window classes, registered once for the whole test program.
#pragma once

#include <gtest/gtest.h>

#include "tempovia/window/window.h"

namespace graphics_test {

inline void EnsureWindowClasses() {
    static const bool registered = RegisterWindowClasses(GetModuleHandleW(nullptr));
    ASSERT_TRUE(registered);
}

}  // namespace graphics_test
