#include "engine/CancelFlag.h"

std::atomic<bool>& CancelFlag() {
    static std::atomic<bool> flag{false};
    return flag;
}
