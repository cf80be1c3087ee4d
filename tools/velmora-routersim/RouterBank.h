#pragma once

#include "SimOptions.h"
#include "frame/CrosspointFrame.h"

#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace routersim {

struct Reception
{
    std::string verdict;
    std::optional<Answer> answer; // set only when a router answers with at least one byte
};

// The trouble of each acknowledged frame in turn, drawn from the seed, so a
// run can be repeated frame for frame.
class TroubleDraw
{
public:
    explicit TroubleDraw(const Trouble &trouble) : trouble_(trouble), engine_(trouble.seed) {}

    // What a frame the router would acknowledge gets instead.
    Answer replace(const Answer &acknowledgement);

private:
    Trouble trouble_;
    std::mt19937 engine_;
};

// What the routers on the line make of one received window; `trouble`, when
// given, spoils some of the acknowledgements.
Reception receive(const Options &options, const CrosspointFrame::Bytes &frame, TroubleDraw *trouble = nullptr);

// "12.345 BE EF 03 00 00 00 07 55 router=3 input=0 output=7 ack"
std::string logLine(std::chrono::milliseconds sinceStart, const CrosspointFrame::Bytes &frame,
                    std::string_view verdict);

} // namespace routersim
