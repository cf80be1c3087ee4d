#pragma once

#include "SimOptions.h"
#include "frame/CrosspointFrame.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace routersim {

struct Reception
{
    std::string verdict;
    std::optional<Answer> answer; // set only when a router answers with at least one byte
};

// What the routers on the line make of one received window.
Reception receive(const Options &options, const CrosspointFrame::Bytes &frame);

// "12.345 BE EF 03 00 00 00 07 55 router=3 input=0 output=7 ack"
std::string logLine(std::chrono::milliseconds sinceStart, const CrosspointFrame::Bytes &frame,
                    std::string_view verdict);

} // namespace routersim
