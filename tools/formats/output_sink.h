// Output handed over a block at a time, in order: a command whose output runs to megabytes
// writes it as it is made rather than holding all of it.
#pragma once

#include <functional>
#include <string>

namespace velkano::tool {

using OutputSink = std::function<void(const std::string& block)>;

}  // namespace velkano::tool
