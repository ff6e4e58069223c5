#pragma once

#include <functional>

namespace store {

// Runs `beside` on a second thread while this thread runs `here`, and returns
// when both are done. Where no second thread can be had (one processor, or
// none can be started), or the work is too small to be worth one, both run
// here, `beside` first. The two must not write anything the other reads.
void RunBeside(const std::function<void()>& beside, const std::function<void()>& here,
               bool worthAThread = true);

}  // namespace store
