#pragma once

#include "frame/CrosspointFrame.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace routersim {

// Cuts the received byte stream into 8-byte windows that begin with the two
// start bytes. Bytes before a start are line noise and are dropped. A window
// with a bad check byte is reported, then the search resumes one byte after
// its start, so a frame hidden behind a truncated one is still found.
class FrameScanner
{
public:
    std::vector<CrosspointFrame::Bytes> feed(std::span<const std::uint8_t> data)
    {
        pending_.insert(pending_.end(), data.begin(), data.end());
        std::vector<CrosspointFrame::Bytes> windows;
        std::size_t pos = 0;
        for (;;) {
            pos = nextStart(pos);
            if (pending_.size() - pos < CrosspointFrame::Size)
                break;
            CrosspointFrame::Bytes window;
            std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(pos), window.size(), window.begin());
            windows.push_back(window);
            pos += CrosspointFrame::isWellFormed(window) ? CrosspointFrame::Size : 1;
        }
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pos));
        return windows;
    }

private:
    // A lone first start byte at the very end might be completed by the next read.
    std::size_t nextStart(std::size_t pos) const
    {
        while (pos < pending_.size() && !(pending_[pos] == CrosspointFrame::Start1 &&
                                          (pos + 1 == pending_.size() || pending_[pos + 1] == CrosspointFrame::Start2)))
            ++pos;
        return pos;
    }

    std::vector<std::uint8_t> pending_;
};

} // namespace routersim
