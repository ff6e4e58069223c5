#include "store/parallel.h"

#include <system_error>
#include <thread>

namespace store {

void RunBeside(const std::function<void()>& beside, const std::function<void()>& here,
               bool worthAThread) {
    std::thread second;
    if (worthAThread && std::thread::hardware_concurrency() > 1) {
        try {
            second = std::thread(beside);
        } catch (const std::system_error&) {
            // No thread to be had: the same work, one part after the other.
        }
    }
    if (!second.joinable()) beside();
    here();
    if (second.joinable()) second.join();
}

}  // namespace store
