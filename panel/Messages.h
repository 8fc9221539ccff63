#pragma once
// The sentences only the window says: why it cannot start, and a choice from
// it that holds for this run only. Every other sentence is the vocabulary's.

#include <string>

#include "link/DeviceChoice.h"
#include "toolkit/Fault.h"

namespace panel {

// Why the panel cannot start, and what to do about it, in the words that fit
// where COM1's device came from.
std::string startUpFailure(const toolkit::Fault& fault,
                           const projector::DeviceChoice::Device& com1);

// A choice from the window that holds for this run only.
std::string unkeptChoice(int number, const std::string& device, const std::string& location);

}  // namespace panel
