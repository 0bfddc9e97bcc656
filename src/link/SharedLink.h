#pragma once

#include "link/UnitLink.h"

#include <mutex>

// The link to the unit as the window's thread and the sending thread share it: whoever talks to the
// unit holds the link for the whole exchange (a command and its answer, the three settings blocks),
// so that no two exchanges ever interleave.
class SharedLink {
public:
    explicit SharedLink(HidPort& port) : link_(port) {}

    template <typename Exchange> auto With(Exchange exchange) {
        const std::scoped_lock lock(mutex_);
        return exchange(link_);
    }

private:
    std::mutex mutex_;
    UnitLink link_;
};
